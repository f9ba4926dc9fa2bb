#pragma once
// UMC processors: vendor texts and model naming.
#include "cpuid/cpuidVendor.h"

namespace zq {

const TCpuVendorModule& UMCVendor();

} // namespace zq
