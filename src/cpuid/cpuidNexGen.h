#pragma once
// NexGen processors: vendor texts and model naming.
#include "cpuid/cpuidVendor.h"

namespace zq {

const TCpuVendorModule& NexGenVendor();

} // namespace zq
