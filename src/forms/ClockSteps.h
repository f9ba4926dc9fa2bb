#pragma once
// The System Information dialog's two clock measurements, the processor component's automatic
// benchmark and the dialog's own, one after the other, taken in steps between which the program's
// message loop runs: a step reads the time stamp counter on a step of the millisecond count (a
// spin of at most one system tick) and says how long to wait before the next, so neither the
// strip nor any other window waits for a measurement, and no second thread is needed.
#include <cstdint>
#include <optional>

#include "cpuid/CpuClock.h"

namespace zq {

struct TClockFigures {
    int ComponentSpeed = 0; // whole MHz, rounded as GetCPUSpeed rounds; 0 without the benchmark
    double DialogSpeed = 0; // MHz; 0 without a time stamp counter
};

class TClockSteps {
public:
    // Where the processor has a time stamp counter: the component's measurement over
    // `benchDelay` ms where `autoBench`, then the dialog's over half a second, the first one
    // `holdBackMs` after the first step.
    TClockSteps(TCpuClock& clock, bool autoBench, int benchDelay, bool timeStampCounter,
                std::uint32_t holdBackMs = 0);

    // Takes the next step: the milliseconds to wait before the one after it, or nothing once both
    // figures are in. A late step lengthens the counted stretch to the count's next step, whose
    // time is known, so it costs no accuracy.
    std::optional<std::uint32_t> Step();
    const TClockFigures& Figures() const { return FFigures; }

    // How long the dialog's measurement counts, and how much earlier than its end a step is asked
    // for, so that a timer's usual lateness is spent spinning rather than lengthening it.
    static constexpr int DialogMs = 500;
    static constexpr int LeadMs = 32;

private:
    std::uint32_t Begin(int length);
    TClockMark End();

    TCpuClock& FClock;
    bool FBench;
    int FBenchDelay;
    bool FDialog;
    std::uint32_t FHoldBack;
    enum class TNext { Component, Dialog, Nothing } FNext = TNext::Component; // to begin
    int FLength = 0; // of the measurement under way; 0 between measurements
    TClockMark FStart;
    TClockFigures FFigures;
};

} // namespace zq
