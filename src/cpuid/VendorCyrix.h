#pragma once
// Cyrix processors: vendor texts and model naming.
#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& CyrixVendor();

} // namespace zq
