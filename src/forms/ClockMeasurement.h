#pragma once
// The System Information dialog's two clock measurements, the processor component's automatic
// benchmark and the dialog's own, taken one after the other on a worker thread once start-up has
// shown the strip, with their methods and lengths unchanged. The measuring thread reaches the
// processor through a port that a stop (at exit) ends early: sleeps end at once and the
// millisecond count runs out, and the figures of a stopped measurement are dropped.
#include <functional>
#include <memory>

#include "cpuid/cpuidPort.h"
#include "toolkit/Worker.h"

namespace zq {

struct TClockFigures {
    int ComponentSpeed = 0; // whole MHz (GetCPUSpeed); 0 without the automatic benchmark
    double DialogSpeed = 0; // MHz (MeasureClockSpeed)
};

class TClockMeasurement {
public:
    explicit TClockMeasurement(TCpuPort& processor = HardwareCpuPort());
    ~TClockMeasurement();

    // The component's measurement over `benchDelay` ms where `autoBench`, then the dialog's where
    // the processor has a time stamp counter; `done` gets both on the GUI thread.
    void Start(bool autoBench, int benchDelay, bool timeStampCounter,
               std::function<void(const TClockFigures&)> done);
    bool Busy() const { return FWorker.Busy(); }

private:
    class TStoppablePort;
    // In this order: the worker, whose thread uses the port, is destroyed (stopped) first.
    std::unique_ptr<TStoppablePort> FPort;
    TWorkerThread FWorker;
    TClockFigures FFigures; // the job's, read once its thread has ended
};

} // namespace zq
