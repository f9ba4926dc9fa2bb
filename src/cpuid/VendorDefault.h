#pragma once
// The fallback module for unknown vendors and processors without CPUID, and the clock
// measurement. Built on the raw layer (CpuidRegisters) only: the query interface dispatches to it.
#include <cstdint>
#include <string>

#include "cpuid/CpuidVendor.h"

namespace zq {

const TCpuVendorModule& DefaultVendor();

// Names the model with one naming function per family 4, 5 and 6; other families get no name.
using TFamilyNamer = std::string (*)(int model);
std::string ModelNameByFamily(TCpuPort& port, std::uint8_t cpu, TFamilyNamer family4,
                              TFamilyNamer family5, TFamilyNamer family6);

// Whether the processor's clock can be measured: it has CPUID and a time stamp counter, and the
// delay is positive.
bool RawClockMeasurable(TCpuPort& port, int delay);

// The time stamp counter read right after a step of the millisecond count, with that count. Both
// ends of a measurement are taken so, so that a coarse system tick (15.6 ms on most Windows
// machines) neither shortens nor lengthens the counted stretch.
struct TClockMark {
    std::uint32_t Tick = 0;
    std::uint64_t Stamp = 0;
};
// Spins until the count's next step.
TClockMark MarkClockEdge(TCpuPort& port);
// Spins until the first step at least `delay` ms after `start`, or, where that has passed, the
// next one. Elapsed times are compared, so a count that wraps meanwhile does not end the wait.
TClockMark MarkClockAfter(TCpuPort& port, const TClockMark& start, int delay);
// Time stamp counter ticks per microsecond between two marks; -1.0 if no time passed.
float RawClockBetween(const TClockMark& start, const TClockMark& end);

// Counts time stamp counter ticks between two marks `delay` ms apart, spinning at time-critical
// priority (TMeasuringPriority); -1.0 when the clock is not measurable.
float MeasureRawClock(TCpuPort& port, std::uint8_t cpu, int delay);
// Rounds a raw clock to the nearest customary clock figure (whole MHz).
int RoundClock(float raw);

} // namespace zq
