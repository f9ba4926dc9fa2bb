#pragma once
// IDT/Centaur processors: vendor texts and model naming.
#include "cpuid/cpuidVendor.h"

namespace zq {

const TCpuVendorModule& IDTVendor();

} // namespace zq
