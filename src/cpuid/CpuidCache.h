#pragma once
// Cache sizes, read the way each vendor reports them:
// - Intel: the descriptors of leaf 2 (Intel's table), then leaf 4 (deterministic cache
//   parameters, one sub-leaf per cache) for every cache they leave out; a descriptor 0xFF says
//   leaf 2 names none;
// - Cyrix: its descriptors at leaves 0x80000005 and 0x80000006, and at leaf 2; 0x80 is its
//   16 KB unified level 1 cache there;
// - every other vendor (AMD, VIA/Centaur, Transmeta, ...): leaf 0x8000001D where the processor
//   reports topology extensions (one sub-leaf per cache, leaf 4's layout), then, for every cache
//   it leaves out, the size fields of leaves 0x80000005 and 0x80000006, with the AMD Duron and
//   early Thunderbird and the VIA C3 Samuel 2 and Ezra errata; where leaf 0x80000005 does not
//   exist, the Intel way.
// Of several caches of a kind (an L2 per core, an L3 per core complex) the size is the first
// one's.
#include <array>
#include <cstdint>

#include "cpuid/CpuidSnapshot.h"

namespace zq {

enum class TCacheKind : std::uint8_t { ckL1Data, ckL1Code, ckL1Unified, ckL2, ckL3 };

// Kilobytes for each kind, 0 where the processor reports none.
struct TCacheSizes {
    std::array<std::int32_t, 5> KB{};

    std::int32_t operator[](TCacheKind kind) const { return KB[static_cast<int>(kind)]; }
    // Keeps the first nonzero size of each kind.
    void Offer(TCacheKind kind, std::int32_t kb) {
        std::int32_t& kept = KB[static_cast<int>(kind)];
        if (kept == 0)
            kept = kb;
    }
};

// Every cache of the processor; all 0 without CPUID.
TCacheSizes ReadCacheSizes(const TCpuidSnapshot& processor);

} // namespace zq
