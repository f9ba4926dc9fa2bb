#pragma once
// Whether the processor can run the program. The compiler and the prebuilt static runtime use
// the conditional moves and floating-point compares of the P6 generation (CMOV, FCMOV, FCOMI),
// so a Pentium MMX, K6-2, WinChip or C3 "Samuel" would stop on an illegal instruction. The
// decision is header-only and calls nothing, so that the program's entry point, built for the
// plain Pentium, can make it before any other code runs.
#include <cstdint>

namespace zq {

inline constexpr char kProcessorRequirement[] =
    "Zentiq needs a Pentium Pro, Pentium II, Athlon or later processor.";

inline constexpr std::uint32_t kIdentificationFlag = 0x00200000; // EFLAGS.ID: CPUID exists
inline constexpr std::uint32_t kFeatureFpu = 1u << 0;            // level 1, EDX
inline constexpr std::uint32_t kFeatureCmov = 1u << 15;          // with FPU: FCMOV and FCOMI too

// `cpu` offers what TCpuidReader offers: ReadFlags(), WriteFlags(value) and
// Cpuid(level, subleaf) returning the registers. CPUID runs only once the identification flag has
// proved it exists.
template <class Processor> bool ProcessorRunsProgram(Processor& cpu) {
    const std::uint32_t before = cpu.ReadFlags();
    cpu.WriteFlags(before ^ kIdentificationFlag);
    const std::uint32_t after = cpu.ReadFlags();
    cpu.WriteFlags(before);
    if (((before ^ after) & kIdentificationFlag) == 0)
        return false;
    if (cpu.Cpuid(0, 0).EAX < 1)
        return false;
    const std::uint32_t needed = kFeatureFpu | kFeatureCmov;
    return (cpu.Cpuid(1, 0).EDX & needed) == needed;
}

} // namespace zq
