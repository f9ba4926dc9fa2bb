#pragma once
// The one way the processor-identification library reaches the processor and the system:
// the identification flag, CPUID, the time stamp counter, the millisecond tick, sleeping,
// the calling thread's scheduling priority and the system's processor facts. The hardware port
// executes the instructions themselves; tests answer from recorded register dumps.
#include <cstdint>

namespace zq {

// Registers as one CPUID execution leaves them.
struct TCpuRegisters {
    std::uint32_t EAX = 0;
    std::uint32_t EBX = 0;
    std::uint32_t ECX = 0;
    std::uint32_t EDX = 0;
    friend bool operator==(const TCpuRegisters&, const TCpuRegisters&) = default;
};

// What the system says about its processors (GetSystemInfo).
struct TSystemProcessorInfo {
    std::uint32_t NumberOfProcessors = 1;
    std::uint32_t ProcessorType = 586; // 386, 486, 586, 8664 ...
};

// The thread priority the clock measurement raises to.
constexpr int ThreadPriorityTimeCritical = 15;

class TCpuPort {
public:
    virtual ~TCpuPort() = default;

    // The low 32 bits of (E/R)FLAGS, and writing them back.
    virtual std::uint32_t ReadFlags() = 0;
    virtual void WriteFlags(std::uint32_t value) = 0;
    // One CPUID execution with EAX = level and ECX = subleaf (leaves without sub-leaves ignore
    // ECX). Only called once the identification flag has proved that the instruction exists.
    virtual TCpuRegisters Cpuid(std::uint32_t level, std::uint32_t subleaf) = 0;
    virtual std::uint64_t ReadTimeStamp() = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
    // Gives up the processor for about `milliseconds`.
    virtual void Sleep(std::uint32_t milliseconds) = 0;

    // The calling thread's scheduling priority.
    virtual int ThreadPriority() = 0;
    virtual void SetThreadPriority(int value) = 0;

    virtual TSystemProcessorInfo ProcessorFacts() = 0;
};

// The processor that runs the calling thread.
TCpuPort& HardwareCpuPort();

// Raises the calling thread to time-critical priority for its lifetime and restores it however
// the scope is left. The process's priority class is left alone: raising it would lift every
// thread of the program, the strip's among them. A measurement that spins stays at its priority
// on a machine with one processor, where a time-critical thread spinning would hold every other
// thread of the program still for the length of the measurement.
class TMeasuringPriority {
public:
    TMeasuringPriority(TCpuPort& port, bool spins)
        : FPort(port), FRaised(!spins || port.ProcessorFacts().NumberOfProcessors > 1),
          FThread(FRaised ? port.ThreadPriority() : 0) {
        if (FRaised)
            port.SetThreadPriority(ThreadPriorityTimeCritical);
    }
    ~TMeasuringPriority() {
        if (FRaised)
            FPort.SetThreadPriority(FThread);
    }
    TMeasuringPriority(const TMeasuringPriority&) = delete;
    TMeasuringPriority& operator=(const TMeasuringPriority&) = delete;

private:
    TCpuPort& FPort;
    bool FRaised;
    int FThread;
};

} // namespace zq
