#include "forms/ClockSteps.h"

#include <algorithm>
#include <utility>

namespace zq {

TClockSteps::TClockSteps(TCpuClock& clock, bool autoBench, int benchDelay, bool timeStampCounter,
                         std::uint32_t holdBackMs)
    : FClock(clock), FBench(autoBench && RawClockMeasurable(timeStampCounter, benchDelay)),
      FBenchDelay(benchDelay), FDialog(timeStampCounter), FHoldBack(holdBackMs) {}

std::uint32_t TClockSteps::Begin(int length) {
    {
        const TMeasuringPriority raised(FClock, true);
        FStart = MarkClockEdge(FClock);
    }
    FLength = length;
    return static_cast<std::uint32_t>(std::max(length - LeadMs, 0));
}

TClockMark TClockSteps::End() {
    const TMeasuringPriority raised(FClock, true);
    const TClockMark end = MarkClockAfter(FClock, FStart, FLength);
    FLength = 0;
    return end;
}

std::optional<std::uint32_t> TClockSteps::Step() {
    if (FHoldBack > 0)
        return std::exchange(FHoldBack, 0);
    if (FLength > 0) {
        const TClockMark end = End();
        if (FNext == TNext::Dialog) { // the component's is under way
            FFigures.ComponentSpeed = RoundClock(RawClockBetween(FStart, end));
        } else {
            // The difference in its low 32 bits, so right below about 8.59 GHz.
            const auto ticks = static_cast<std::uint32_t>(end.Stamp - FStart.Stamp);
            FFigures.DialogSpeed = ticks / ((end.Tick - FStart.Tick) * 1000.0);
        }
    }
    if (FNext == TNext::Component) {
        FNext = TNext::Dialog;
        if (FBench)
            return Begin(FBenchDelay);
    }
    if (FNext == TNext::Dialog) {
        FNext = TNext::Nothing;
        if (FDialog)
            return Begin(DialogMs);
    }
    return std::nullopt;
}

} // namespace zq
