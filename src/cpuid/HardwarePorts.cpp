// The hardware reader and clock: the instructions themselves (GCC inline assembly) and the
// system calls of the platform (Win32 in the Windows build, POSIX natively, where the priority is
// left alone).
#include "cpuid/CpuClock.h"
#include "cpuid/CpuidReader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#include <unistd.h>
#endif

namespace zq {

namespace {

class THardwareCpuidReader final : public TCpuidReader {
public:
#if defined(__x86_64__)
    // The pushes go below the red zone that the compiler may be using.
    std::uint32_t ReadFlags() override {
        std::uint64_t value;
        asm volatile("lea -128(%%rsp), %%rsp\n\t"
                     "pushfq\n\t"
                     "popq %0\n\t"
                     "lea 128(%%rsp), %%rsp"
                     : "=r"(value)
                     :
                     : "memory");
        return static_cast<std::uint32_t>(value);
    }
    void WriteFlags(std::uint32_t value) override {
        std::uint64_t wide = value;
        asm volatile("lea -128(%%rsp), %%rsp\n\t"
                     "pushq %0\n\t"
                     "popfq\n\t"
                     "lea 128(%%rsp), %%rsp"
                     :
                     : "r"(wide)
                     : "cc", "memory");
    }
#elif defined(__i386__)
    std::uint32_t ReadFlags() override {
        std::uint32_t value;
        asm volatile("pushfl\n\t"
                     "popl %0"
                     : "=r"(value)
                     :
                     : "memory");
        return value;
    }
    void WriteFlags(std::uint32_t value) override {
        asm volatile("pushl %0\n\t"
                     "popfl"
                     :
                     : "r"(value)
                     : "cc", "memory");
    }
#else
    // Not an x86 processor: the identification flag never changes, so CPUID is never run.
    std::uint32_t ReadFlags() override {
        return 0;
    }
    void WriteFlags(std::uint32_t) override {}
#endif

#if defined(__x86_64__) || defined(__i386__)
    TCpuRegisters Cpuid(std::uint32_t level, std::uint32_t subleaf) override {
        TCpuRegisters r;
        asm volatile("cpuid"
                     : "=a"(r.EAX), "=b"(r.EBX), "=c"(r.ECX), "=d"(r.EDX)
                     : "a"(level), "c"(subleaf));
        return r;
    }
#else
    TCpuRegisters Cpuid(std::uint32_t, std::uint32_t) override {
        return {};
    }
#endif
};

class THardwareCpuClock final : public TCpuClock {
public:
#if defined(__x86_64__) || defined(__i386__)
    std::uint64_t ReadTimeStamp() override {
        std::uint32_t lo, hi;
        asm volatile("rdtsc" : "=a"(lo), "=d"(hi));
        return (static_cast<std::uint64_t>(hi) << 32) | lo;
    }
#else
    std::uint64_t ReadTimeStamp() override {
        return 0;
    }
#endif

#ifdef _WIN32
    std::uint32_t TickCount() override {
        return ::GetTickCount();
    }
    void Sleep(std::uint32_t milliseconds) override {
        ::Sleep(milliseconds);
    }
    int ThreadPriority() override {
        return ::GetThreadPriority(::GetCurrentThread());
    }
    void SetThreadPriority(int value) override {
        ::SetThreadPriority(::GetCurrentThread(), value);
    }
#else
    std::uint32_t TickCount() override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                          static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
    }
    void Sleep(std::uint32_t milliseconds) override {
        timespec wait{static_cast<time_t>(milliseconds / 1000),
                      static_cast<long>(milliseconds % 1000) * 1000000L};
        while (nanosleep(&wait, &wait) != 0) {
        }
    }
    int ThreadPriority() override {
        return 0;
    }
    void SetThreadPriority(int) override {}
#endif
    std::uint32_t ProcessorCount() override {
        return SystemProcessorFacts().NumberOfProcessors;
    }
};

} // namespace

TCpuidReader& HardwareCpuidReader() {
    static THardwareCpuidReader reader;
    return reader;
}

TCpuClock& HardwareCpuClock() {
    static THardwareCpuClock clock;
    return clock;
}

TSystemProcessorInfo SystemProcessorFacts() {
#ifdef _WIN32
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return {info.dwNumberOfProcessors, info.dwProcessorType};
#else
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
#if defined(__x86_64__)
    const std::uint32_t type = 8664;
#else
    const std::uint32_t type = 586;
#endif
    return {n > 0 ? static_cast<std::uint32_t>(n) : 1u, type};
#endif
}

TCpuidSnapshot ReadThisProcessor() {
    return ReadCpuidSnapshot(HardwareCpuidReader(), SystemProcessorFacts());
}

} // namespace zq
