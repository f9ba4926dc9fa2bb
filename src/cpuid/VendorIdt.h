#pragma once
// IDT/Centaur processors: vendor texts and model naming.
#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& IDTVendor();

} // namespace zq
