#pragma once
// NexGen processors: vendor texts and model naming.
#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& NexGenVendor();

} // namespace zq
