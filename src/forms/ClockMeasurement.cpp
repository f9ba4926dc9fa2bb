#include "forms/ClockMeasurement.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace zq {

namespace {
// Tests of the whole program set ZQ_TEST_CLOCK_DELAY_MS to hold the measurements back that many
// milliseconds; unset, nothing waits.
std::uint32_t TestDelayMs() {
    char text[16];
    const DWORD length = GetEnvironmentVariableA("ZQ_TEST_CLOCK_DELAY_MS", text, sizeof text);
    return length > 0 && length < sizeof text ? std::strtoul(text, nullptr, 10) : 0;
}
} // namespace

TClockMeasurement::TClockMeasurement(TCpuClock& clock) : FClock(clock) {
    FTimer.SetEnabled(false);
    FTimer.OnTimer = [this](TObject*) { Step(); };
}

void TClockMeasurement::Start(bool timeStampCounter,
                              std::function<void(const TClockFigures&)> done) {
    FSteps =
        std::make_unique<TClockSteps>(FClock, true, BenchDelayMs, timeStampCounter, TestDelayMs());
    FDone = std::move(done);
    // The first step on the first timer message: those come only once the queue is empty.
    FTimer.SetInterval(1);
    FTimer.SetEnabled(true);
}

void TClockMeasurement::Step() {
    FTimer.SetEnabled(false);
    // Held here while the step runs: a step that fails drops the measurement (and the window
    // procedure hands the failure over).
    std::unique_ptr<TClockSteps> steps = std::move(FSteps);
    if (!steps)
        return;
    if (const std::optional<std::uint32_t> wait = steps->Step()) {
        FSteps = std::move(steps);
        FTimer.SetInterval(std::max<std::uint32_t>(*wait, 1));
        FTimer.SetEnabled(true);
    } else if (FDone) {
        FDone(steps->Figures());
    }
}

} // namespace zq
