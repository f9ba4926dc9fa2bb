#pragma once
// AMD processors: vendor texts and model naming.
#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& AMDVendor();

} // namespace zq
