#pragma once
// Rise processors: vendor texts and model naming.
#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& RiseVendor();

} // namespace zq
