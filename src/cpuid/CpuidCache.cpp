#include "cpuid/CpuidCache.h"

#include <algorithm>
#include <climits>
#include <string>

#include "cpuid/CpuidRegisters.h"
#include "cpuid/CpuidConst.h"

namespace zq {

namespace {

using enum TCacheKind;

// Intel's leaf 2 cache descriptors, sorted by code. TLB, prefetch and trace cache (micro-op)
// descriptors name no cache size and are left out, and so is 0x40 ("no L2", or "no L3" where
// there is an L2). 0x49 is an L3 on the Xeon MP of family 15, model 6 (see OfferDescriptors).
struct TCacheDescriptor {
    std::uint8_t Code;
    TCacheKind Kind;
    std::uint16_t KB;
};
constexpr TCacheDescriptor cacheDescriptors[] = {
    {0x06, ckL1Code, 8},  {0x08, ckL1Code, 16}, {0x09, ckL1Code, 32}, {0x0A, ckL1Data, 8},
    {0x0C, ckL1Data, 16}, {0x0D, ckL1Data, 16}, {0x0E, ckL1Data, 24}, {0x1D, ckL2, 128},
    {0x21, ckL2, 256},    {0x22, ckL3, 512},    {0x23, ckL3, 1024},   {0x24, ckL2, 1024},
    {0x25, ckL3, 2048},   {0x29, ckL3, 4096},   {0x2C, ckL1Data, 32}, {0x30, ckL1Code, 32},
    {0x39, ckL2, 128},    {0x3A, ckL2, 192},    {0x3B, ckL2, 128},    {0x3C, ckL2, 256},
    {0x3D, ckL2, 384},    {0x3E, ckL2, 512},    {0x41, ckL2, 128},    {0x42, ckL2, 256},
    {0x43, ckL2, 512},    {0x44, ckL2, 1024},   {0x45, ckL2, 2048},   {0x46, ckL3, 4096},
    {0x47, ckL3, 8192},   {0x48, ckL2, 3072},   {0x49, ckL2, 4096},   {0x4A, ckL3, 6144},
    {0x4B, ckL3, 8192},   {0x4C, ckL3, 12288},  {0x4D, ckL3, 16384},  {0x4E, ckL2, 6144},
    {0x60, ckL1Data, 16}, {0x66, ckL1Data, 8},  {0x67, ckL1Data, 16}, {0x68, ckL1Data, 32},
    {0x78, ckL2, 1024},   {0x79, ckL2, 128},    {0x7A, ckL2, 256},    {0x7B, ckL2, 512},
    {0x7C, ckL2, 1024},   {0x7D, ckL2, 2048},   {0x7F, ckL2, 512},    {0x80, ckL2, 512},
    {0x82, ckL2, 256},    {0x83, ckL2, 512},    {0x84, ckL2, 1024},   {0x85, ckL2, 2048},
    {0x86, ckL2, 512},    {0x87, ckL2, 1024},   {0xD0, ckL3, 512},    {0xD1, ckL3, 1024},
    {0xD2, ckL3, 2048},   {0xD6, ckL3, 1024},   {0xD7, ckL3, 2048},   {0xD8, ckL3, 4096},
    {0xDC, ckL3, 1536},   {0xDD, ckL3, 3072},   {0xDE, ckL3, 6144},   {0xE2, ckL3, 2048},
    {0xE3, ckL3, 4096},   {0xE4, ckL3, 8192},   {0xEA, ckL3, 12288},  {0xEB, ckL3, 18432},
    {0xEC, ckL3, 24576}};
static_assert(std::ranges::is_sorted(cacheDescriptors, {}, &TCacheDescriptor::Code));

constexpr int cyrixUnifiedL1 = 0x80;                 // Cyrix: 16 KB unified level 1 cache
constexpr std::uint32_t registerEmpty = 0x80000000u; // leaf 2: the register holds no descriptors

enum class TDescriptors : std::uint8_t { dsIntel, dsIntelXeonMP, dsCyrix };

// Offers the cache each byte of `reg` names, from its low byte up.
void OfferDescriptors(TCacheSizes& sizes, std::uint32_t reg, TDescriptors meaning) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int code = static_cast<int>((reg >> shift) & 0xFFu);
        if (meaning == TDescriptors::dsCyrix && code == cyrixUnifiedL1) {
            sizes.Offer(ckL1Unified, 16);
            continue;
        }
        const auto* found =
            std::ranges::lower_bound(cacheDescriptors, code, {}, &TCacheDescriptor::Code);
        if (found == std::end(cacheDescriptors) || found->Code != code)
            continue;
        const bool xeonL3 = code == 0x49 && meaning == TDescriptors::dsIntelXeonMP;
        sizes.Offer(xeonL3 ? ckL3 : found->Kind, found->KB);
    }
}

// Leaf 2 as the snapshot holds it: the last of the executions the low byte of its EAX asks for.
// That byte is the count, no descriptor; a register with bit 31 set holds none.
void OfferLeaf2(TCacheSizes& sizes, const TCpuidSnapshot& processor, TDescriptors meaning) {
    TCpuRegisters regs;
    if (!GetCpuidResult(processor, cpuidLevel::CacheDescriptors, regs))
        return;
    regs.EAX &= ~0xFFu;
    for (std::uint32_t reg : {regs.EAX, regs.EBX, regs.ECX, regs.EDX})
        if ((reg & registerEmpty) == 0)
            OfferDescriptors(sizes, reg, meaning);
}

// Cyrix's extended levels: all sixteen bytes are descriptors.
void OfferCyrixLevel(TCacheSizes& sizes, const TCpuRegisters& regs) {
    for (std::uint32_t reg : {regs.EAX, regs.EBX, regs.ECX, regs.EDX})
        OfferDescriptors(sizes, reg, TDescriptors::dsCyrix);
}

// ways x partitions x line size x sets, each field plus one; beyond 2^31 - 1 KB that figure.
std::int32_t DeterministicCacheKB(const TCpuRegisters& regs) {
    const std::uint64_t ways = (regs.EBX >> 22) + 1;
    const std::uint64_t partitions = ((regs.EBX >> 12) & 0x3FFu) + 1;
    const std::uint64_t line = (regs.EBX & 0xFFFu) + 1;
    const std::uint64_t sets = std::uint64_t{regs.ECX} + 1;
    const std::uint64_t perSet = ways * partitions * line;
    constexpr std::uint64_t mostBytes = std::uint64_t{INT_MAX} * 1024;
    if (sets > mostBytes / perSet)
        return INT_MAX;
    return static_cast<std::int32_t>(perSet * sets / 1024);
}

// Intel's leaf 4 and AMD's leaf 0x8000001D, one sub-leaf per cache: EAX bits 0-4 the type (0
// ends the list, 1 data, 2 instruction, 3 unified), bits 5-7 the level.
void OfferCacheParameters(TCacheSizes& sizes, const TCpuidSnapshot& processor, std::uint32_t leaf) {
    for (std::uint32_t subleaf = 0; subleaf < cpuidMaxCacheSubleaves; ++subleaf) {
        TCpuRegisters regs;
        if (!GetCpuidSubleaf(processor, leaf, subleaf, regs))
            return;
        const std::uint32_t type = regs.EAX & 0x1Fu;
        const std::uint32_t level = (regs.EAX >> 5) & 7u;
        if (type == 0)
            return;
        if (type > 3 || level == 0 || level > 3)
            continue;
        const TCacheKind kind = level == 3   ? ckL3
                                : level == 2 ? ckL2
                                : type == 1  ? ckL1Data
                                : type == 2  ? ckL1Code
                                             : ckL1Unified;
        sizes.Offer(kind, DeterministicCacheKB(regs));
    }
}

// Level 0x80000005: L1 data and code sizes in KB in ECX and EDX bits 24-31. Level 0x80000006:
// L2 in KB in ECX bits 16-31, L3 in 512 KB units in EDX bits 18-31.
void OfferSizeFields(TCacheSizes& sizes, const TCpuidSnapshot& processor,
                     const TCpuRegisters& level5, const std::string& vendor) {
    sizes.Offer(ckL1Data, static_cast<std::int32_t>(level5.ECX >> 24));
    sizes.Offer(ckL1Code, static_cast<std::int32_t>(level5.EDX >> 24));

    const std::uint32_t signature = ReadSignature(processor);
    const int family = SignatureFamily(signature);
    const int model = SignatureModel(signature);
    if (vendor == cpuidVendorAMD && family == 6) {
        // AMD's erratum: the Duron (model 3) and the Thunderbird of revisions A1 and A2 (model 4,
        // steppings 0 and 1) report their L2 wrongly.
        if (model == 3)
            sizes.Offer(ckL2, 64);
        else if (model == 4 && SignatureStepping(signature) <= 1)
            sizes.Offer(ckL2, 256);
    }
    TCpuRegisters level6;
    if (!GetCpuidResult(processor, cpuidLevel::ExtL2Cache, level6))
        return;
    // VIA's erratum: the C3 Samuel 2 and Ezra give their L2 in the level 1 layout.
    const bool c3 = vendor == cpuidVendorCentaur && family == 6 && (model == 7 || model == 8);
    sizes.Offer(ckL2, static_cast<std::int32_t>(c3 ? level6.ECX >> 24 : level6.ECX >> 16));
    sizes.Offer(ckL3, static_cast<std::int32_t>(level6.EDX >> 18) * 512);
}

} // namespace

TCacheSizes ReadCacheSizes(const TCpuidSnapshot& processor) {
    TCacheSizes sizes;
    if (!processor.Available())
        return sizes;
    const std::string vendor = ReadVendorString(processor);
    TCpuRegisters level5;
    const bool extended = GetCpuidResult(processor, cpuidLevel::ExtL1Cache, level5);
    if (vendor == cpuidVendorCyrix) {
        TCpuRegisters level6;
        if (extended) {
            OfferCyrixLevel(sizes, level5);
            if (GetCpuidResult(processor, cpuidLevel::ExtL2Cache, level6))
                OfferCyrixLevel(sizes, level6);
        }
        OfferLeaf2(sizes, processor, TDescriptors::dsCyrix);
    } else if (extended && vendor != cpuidVendorIntel) {
        // Leaf 0x8000001D, where the processor has it, describes each cache; the size fields of
        // 0x80000006 count every L3 of the package (one per core complex on the Ryzen 9).
        TCpuRegisters ext;
        if (GetCpuidResult(processor, cpuidLevel::ExtFeatures, ext) &&
            TestBit(ext.ECX, cpuidBitTopologyExtensions))
            OfferCacheParameters(sizes, processor, cpuidLevel::ExtCacheTopology);
        OfferSizeFields(sizes, processor, level5, vendor);
    } else {
        const std::uint32_t signature = ReadSignature(processor);
        const bool xeonMP = SignatureFamily(signature) == 15 && SignatureModel(signature) == 6;
        OfferLeaf2(sizes, processor, xeonMP ? TDescriptors::dsIntelXeonMP : TDescriptors::dsIntel);
        OfferCacheParameters(sizes, processor, cpuidLevel::CacheParameters);
    }
    return sizes;
}

} // namespace zq
