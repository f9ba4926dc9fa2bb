#pragma once
// The one way the processor-identification library reaches the processor and the system:
// the identification flag, CPUID, the time stamp counter, the millisecond tick, sleeping,
// scheduling priorities and the system's processor facts. The hardware port executes the
// instructions themselves; tests answer from recorded register dumps.
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

// Priority values the clock measurement uses.
constexpr std::uint32_t PriorityClassRealtime = 0x100;
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

    virtual std::uint32_t PriorityClass() = 0;
    virtual void SetPriorityClass(std::uint32_t value) = 0;
    virtual int ThreadPriority() = 0;
    virtual void SetThreadPriority(int value) = 0;

    virtual TSystemProcessorInfo ProcessorFacts() = 0;
};

// The processor that runs the calling thread.
TCpuPort& HardwareCpuPort();

// Raises the process to the real-time class and the thread to time-critical priority for its
// lifetime; restores the thread's priority, then the process's class, however the scope is left.
class TRealtimePriority {
public:
    explicit TRealtimePriority(TCpuPort& port)
        : FPort(port), FClass(port.PriorityClass()), FThread(port.ThreadPriority()) {
        try {
            port.SetPriorityClass(PriorityClassRealtime);
            port.SetThreadPriority(ThreadPriorityTimeCritical);
        } catch (...) {
            Restore();
            throw;
        }
    }
    ~TRealtimePriority() { Restore(); }
    TRealtimePriority(const TRealtimePriority&) = delete;
    TRealtimePriority& operator=(const TRealtimePriority&) = delete;

private:
    void Restore() {
        FPort.SetThreadPriority(FThread);
        FPort.SetPriorityClass(FClass);
    }

    TCpuPort& FPort;
    std::uint32_t FClass;
    int FThread;
};

} // namespace zq
