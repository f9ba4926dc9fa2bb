#pragma once
// The processor's clock: the one way the library reaches the time stamp counter, the millisecond
// tick, sleeping and the calling thread's scheduling priority (TCpuClock; the hardware clock
// executes RDTSC and calls the system, tests count time of their own), and the measurement made
// on it: the counter's rate between two marks, rounded to a customary clock figure.
#include <cstdint>

namespace zq {

class TCpuClock {
public:
    virtual ~TCpuClock() = default;

    virtual std::uint64_t ReadTimeStamp() = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
    // Gives up the processor for about `milliseconds`.
    virtual void Sleep(std::uint32_t milliseconds) = 0;

    // The calling thread's scheduling priority.
    virtual int ThreadPriority() = 0;
    virtual void SetThreadPriority(int value) = 0;
    // The number of processors the system runs (GetSystemInfo), which decides the priority.
    virtual std::uint32_t ProcessorCount() = 0;
};

// The clock of the processor that runs the calling thread (HardwarePorts).
TCpuClock& HardwareCpuClock();

// The thread priority the clock measurement raises to.
constexpr int ThreadPriorityTimeCritical = 15;

// Raises the calling thread to time-critical priority for its lifetime and restores it however
// the scope is left. The process's priority class is left alone: raising it would lift the whole
// program above every other for longer than the spin. A spin stays at its priority on a machine
// with one processor, where a time-critical thread spinning would hold every other thread of the
// machine still while it spins.
class TMeasuringPriority {
public:
    TMeasuringPriority(TCpuClock& clock, bool spins)
        : FClock(clock), FRaised(!spins || clock.ProcessorCount() > 1),
          FThread(FRaised ? clock.ThreadPriority() : 0) {
        if (FRaised)
            clock.SetThreadPriority(ThreadPriorityTimeCritical);
    }
    ~TMeasuringPriority() {
        if (FRaised)
            FClock.SetThreadPriority(FThread);
    }
    TMeasuringPriority(const TMeasuringPriority&) = delete;
    TMeasuringPriority& operator=(const TMeasuringPriority&) = delete;

private:
    TCpuClock& FClock;
    bool FRaised;
    int FThread;
};

// Whether the clock can be measured: the processor has a time stamp counter and the delay is
// positive.
bool RawClockMeasurable(bool timeStampCounter, int delay);

// The time stamp counter read right after a step of the millisecond count, with that count. Both
// ends of a measurement are taken so, so that a coarse system tick (15.6 ms on most Windows
// machines) neither shortens nor lengthens the counted stretch.
struct TClockMark {
    std::uint32_t Tick = 0;
    std::uint64_t Stamp = 0;
};
// Spins until the count's next step.
TClockMark MarkClockEdge(TCpuClock& clock);
// Spins until the first step at least `delay` ms after `start`, or, where that has passed, the
// next one. Elapsed times are compared, so a count that wraps meanwhile does not end the wait.
TClockMark MarkClockAfter(TCpuClock& clock, const TClockMark& start, int delay);
// Time stamp counter ticks per microsecond between two marks; -1.0 if no time passed.
float RawClockBetween(const TClockMark& start, const TClockMark& end);

// Counts time stamp counter ticks between two marks `delay` ms apart, spinning at time-critical
// priority (TMeasuringPriority); -1.0 when the clock is not measurable.
float MeasureRawClock(TCpuClock& clock, bool timeStampCounter, int delay);
// Rounds a raw clock to the nearest customary clock figure (whole MHz).
int RoundClock(float raw);

} // namespace zq
