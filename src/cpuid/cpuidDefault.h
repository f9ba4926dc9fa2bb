#pragma once
// The fallback module for unknown vendors and processors without CPUID, and the clock
// measurement. Built on the raw layer (cpuidAPI) only: the query interface dispatches to it.
#include <cstdint>
#include <string>

#include "cpuid/cpuidVendor.h"

namespace zq {

const TCpuVendorModule& DefaultVendor();

// Names the model with one naming function per family 4, 5 and 6; other families get no name.
using TFamilyNamer = std::string (*)(int model);
std::string ModelNameByFamily(TCpuPort& port, std::uint8_t cpu, TFamilyNamer family4,
                              TFamilyNamer family5, TFamilyNamer family6);

// Counts time stamp counter ticks for `delay` milliseconds, spinning at time-critical priority
// (TMeasuringPriority); -1.0 when the processor has no time stamp counter or the delay is not
// positive.
float MeasureRawClock(TCpuPort& port, std::uint8_t cpu, int delay);
// Rounds a raw clock to the nearest customary clock figure (whole MHz).
int RoundClock(float raw);

} // namespace zq
