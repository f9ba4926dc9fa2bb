#pragma once
// AMD processors: vendor texts and model naming.
#include "cpuid/cpuidDefault.h"

namespace zq {

const TCpuVendorModule& AMDVendor();

} // namespace zq
