#pragma once
// Intel processors: vendor texts and model naming by family, model, brand index and L2 size.
#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& IntelVendor();

} // namespace zq
