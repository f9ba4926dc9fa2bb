// The program's entry point. Built for the plain Pentium and calling nothing of the runtime,
// it asks the processor for the P6 instructions before the C runtime starts (the runtime's own
// start-up code uses them) and, where they are missing, says so and ends the process.
#include <windows.h>

#include "cpuid/ProcessorCheck.h"

namespace {

// Only what the check needs, on inline assembly (this file includes nothing that could bring
// code of the runtime along).
struct TBareProcessor {
    struct TRegisters {
        std::uint32_t EAX, EBX, ECX, EDX;
    };

    std::uint32_t ReadFlags() {
        std::uint32_t value;
        asm volatile("pushfl\n\t"
                     "popl %0"
                     : "=r"(value)
                     :
                     : "memory");
        return value;
    }
    void WriteFlags(std::uint32_t value) {
        asm volatile("pushl %0\n\t"
                     "popfl"
                     :
                     : "r"(value)
                     : "cc", "memory");
    }
    TRegisters Cpuid(std::uint32_t level, std::uint32_t subleaf) {
        TRegisters r;
        asm volatile("cpuid"
                     : "=a"(r.EAX), "=b"(r.EBX), "=c"(r.ECX), "=d"(r.EDX)
                     : "a"(level), "c"(subleaf));
        return r;
    }
};

} // namespace

// The C runtime's own entry point for a windowed program.
extern "C" int WinMainCRTStartup();

extern "C" int ZentiqEntry() {
    TBareProcessor cpu;
    if (!zq::ProcessorRunsProgram(cpu)) {
        MessageBoxA(nullptr, zq::kProcessorRequirement, "Zentiq", MB_OK | MB_ICONSTOP);
        ExitProcess(1);
    }
    return WinMainCRTStartup();
}
