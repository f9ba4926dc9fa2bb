#pragma once
// The fallback module for unknown vendors and processors without CPUID, named from the system's
// processor type, and the naming by family that most vendor modules share. On the decoding
// (CpuidRegisters) alone: the queries dispatch to it.
#include <string>

#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& DefaultVendor();

// Names the model with one naming function per family 4, 5 and 6; other families get no name.
using TFamilyNamer = std::string (*)(int model);
std::string ModelNameByFamily(const TCpuidSnapshot& processor, TFamilyNamer family4,
                              TFamilyNamer family5, TFamilyNamer family6);

} // namespace zq
