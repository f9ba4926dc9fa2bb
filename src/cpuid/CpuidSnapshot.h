#pragma once
// The processor's CPUID leaves, read once (CpuidReader): the value that the decoding, the cache
// sizes and the vendor modules work on, so that none of them reaches the processor. With them the
// system's facts about its processors, for processors without CPUID or of a vendor no module
// knows.
#include <cstdint>
#include <utility>
#include <vector>

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

class TCpuidSnapshot {
public:
    TSystemProcessorInfo System;

    // Whether the processor has CPUID: only then is anything recorded, leaf 0 always.
    bool Available() const { return !FLeaves.empty(); }
    // Records a leaf's registers (ECX 0) or one sub-leaf's; a second record of one replaces it.
    void Set(std::uint32_t level, const TCpuRegisters& registers) { SetSub(level, 0, registers); }
    void SetSub(std::uint32_t level, std::uint32_t subleaf, const TCpuRegisters& registers);
    // The recorded registers; nullptr for what was not recorded.
    const TCpuRegisters* Find(std::uint32_t level, std::uint32_t subleaf = 0) const;
    // Whether the processor reports `level`: up to leaf 0's EAX, from 0x80000000 on up to leaf
    // 0x80000000's EAX.
    bool InRange(std::uint32_t level) const;

private:
    struct TLeaf {
        std::uint32_t Level;
        std::uint32_t Subleaf;
        TCpuRegisters Registers;
    };
    static std::pair<std::uint32_t, std::uint32_t> Key(const TLeaf& leaf) {
        return {leaf.Level, leaf.Subleaf};
    }
    std::vector<TLeaf> FLeaves; // by level, then sub-leaf
};

} // namespace zq
