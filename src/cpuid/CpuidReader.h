#pragma once
// The one way the library reaches the processor's registers: the identification flag of EFLAGS
// and CPUID. The snapshot is read through it once; the hardware reader executes the
// instructions, tests answer from recorded register dumps.
#include <cstdint>

#include "cpuid/CpuidSnapshot.h"

namespace zq {

class TCpuidReader {
public:
    virtual ~TCpuidReader() = default;

    // The low 32 bits of (E/R)FLAGS, and writing them back.
    virtual std::uint32_t ReadFlags() = 0;
    virtual void WriteFlags(std::uint32_t value) = 0;
    // One CPUID execution with EAX = level and ECX = subleaf (leaves without sub-leaves ignore
    // ECX). Only called once the identification flag has proved that the instruction exists.
    virtual TCpuRegisters Cpuid(std::uint32_t level, std::uint32_t subleaf) = 0;
};

// True when the identification bit of EFLAGS can be changed.
bool CpuidAvailable(TCpuidReader& reader);

// With `system`, and where the processor has CPUID, leaves 0 and 0x80000000 and, where the
// processor reports them, every leaf the decoding reads, each executed once: 1, 2 (executed again
// as often as the low byte of its EAX asks, the last answer kept), 3, 4 and 0x8000001D (one
// sub-leaf per cache, up to the first of type 0 and at most cpuidMaxCacheSubleaves) and
// 0x80000001 to 0x80000006.
TCpuidSnapshot ReadCpuidSnapshot(TCpuidReader& reader, const TSystemProcessorInfo& system);

// The processor that runs the calling thread (HardwarePorts).
TCpuidReader& HardwareCpuidReader();
TSystemProcessorInfo SystemProcessorFacts();
// Its snapshot, read now.
TCpuidSnapshot ReadThisProcessor();

} // namespace zq
