#pragma once
// The clock measurements' steps (ClockSteps) on a window timer of the GUI thread, begun once the
// message loop is idle (at start-up: after the strip is shown). Destroying the measurement (at
// exit) ends it at once: a step is never more than one system tick's spin.
#include <functional>
#include <memory>

#include "cpuid/CpuClock.h"
#include "forms/ClockSteps.h"
#include "toolkit/Timer.h"

namespace zq {

class TClockMeasurement {
public:
    // How long the processor component's automatic benchmark counts.
    static constexpr int BenchDelayMs = 500;

    explicit TClockMeasurement(TCpuClock& clock = HardwareCpuClock());

    // Where the processor has a time stamp counter, the component's benchmark, then the dialog's
    // measurement; `done` then gets both figures. A measurement under way is dropped.
    void Start(bool timeStampCounter, std::function<void(const TClockFigures&)> done);
    bool Busy() const { return static_cast<bool>(FSteps); }

private:
    void Step();

    TCpuClock& FClock;
    TTimer FTimer{nullptr};
    std::unique_ptr<TClockSteps> FSteps;
    std::function<void(const TClockFigures&)> FDone;
};

} // namespace zq
