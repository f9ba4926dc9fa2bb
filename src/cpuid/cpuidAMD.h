#pragma once
// AMD processors: vendor texts and model naming.
#include "cpuid/cpuidVendor.h"

namespace zq {

const TCpuVendorModule& AMDVendor();

} // namespace zq
