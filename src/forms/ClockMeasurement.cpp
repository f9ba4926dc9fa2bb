#include "forms/ClockMeasurement.h"

#include <cstdlib>

#include "cpuid/cpuidIntf.h"
#include "forms/ProcessorPages.h"

namespace zq {

// The processor as the measuring thread sees it: the given port's, until the worker is asked to
// stop. From then on every look at the millisecond count finds it a quarter of its range further
// on, so a wait for it ends whenever the stop came, and a sleep ends at once.
class TClockMeasurement::TStoppablePort final : public TCpuPort {
public:
    TStoppablePort(TCpuPort& processor, const TWorkerThread& worker) : P(processor), W(worker) {}

    std::uint32_t ReadFlags() override { return P.ReadFlags(); }
    void WriteFlags(std::uint32_t value) override { P.WriteFlags(value); }
    TCpuRegisters Cpuid(std::uint32_t level, std::uint32_t subleaf) override {
        return P.Cpuid(level, subleaf);
    }
    std::uint64_t ReadTimeStamp() override { return P.ReadTimeStamp(); }
    std::uint32_t TickCount() override {
        if (W.Stopping())
            FRunOut += 0x40000000u;
        return P.TickCount() + FRunOut;
    }
    void Sleep(std::uint32_t milliseconds) override {
        if (HANDLE stop = W.StopEvent())
            WaitForSingleObject(stop, milliseconds);
        else
            P.Sleep(milliseconds);
    }
    int ThreadPriority() override { return P.ThreadPriority(); }
    void SetThreadPriority(int value) override { P.SetThreadPriority(value); }
    TSystemProcessorInfo ProcessorFacts() override { return P.ProcessorFacts(); }

private:
    TCpuPort& P;
    const TWorkerThread& W;
    std::uint32_t FRunOut = 0;
};

TClockMeasurement::TClockMeasurement(TCpuPort& processor)
    : FPort(std::make_unique<TStoppablePort>(processor, FWorker)) {}

TClockMeasurement::~TClockMeasurement() = default;

namespace {
// Tests of the whole program set ZQ_TEST_CLOCK_DELAY_MS to hold the measurements back that many
// milliseconds (a stop still ends the wait at once); unset, nothing waits.
std::uint32_t TestDelayMs() {
    char text[16];
    const DWORD length = GetEnvironmentVariableA("ZQ_TEST_CLOCK_DELAY_MS", text, sizeof text);
    return length > 0 && length < sizeof text ? std::strtoul(text, nullptr, 10) : 0;
}
} // namespace

void TClockMeasurement::Start(bool autoBench, int benchDelay, bool timeStampCounter,
                              std::function<void(const TClockFigures&)> done) {
    FWorker.Stop();
    FFigures = {};
    FWorker.Start(
        [this, autoBench, benchDelay, timeStampCounter, delay = TestDelayMs()] {
            if (delay > 0)
                FPort->Sleep(delay);
            if (autoBench && !FWorker.Stopping())
                FFigures.ComponentSpeed = GetCPUSpeed(*FPort, 0, benchDelay);
            if (!FWorker.Stopping())
                FFigures.DialogSpeed = MeasureClockSpeed(*FPort, timeStampCounter);
        },
        [this, done = std::move(done)] {
            if (done)
                done(FFigures);
        });
}

} // namespace zq
