#pragma once
// UMC processors: vendor texts and model naming.
#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& UMCVendor();

} // namespace zq
