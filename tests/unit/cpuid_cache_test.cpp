// Cache sizes from each vendor's sources, and the 30 feature flags, decoded from snapshots.
#include <gtest/gtest.h>

#include "cpuid/CpuidQueries.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

struct TSizes {
    int l1Data, l1Code, l1Unified, l2, l3;
    friend bool operator==(const TSizes&, const TSizes&) = default;
};

TSizes Sizes(const TCpuidSnapshot& cpu) {
    return {GetL1DataSize(cpu), GetL1CodeSize(cpu), GetL1UnifiedSize(cpu), GetL2Size(cpu),
            GetL3Size(cpu)};
}

void PrintTo(const TSizes& s, std::ostream* os) {
    *os << "{" << s.l1Data << ", " << s.l1Code << ", " << s.l1Unified << ", " << s.l2 << ", "
        << s.l3 << "}";
}

TCpuidSnapshot Intel(std::uint32_t signature, TCpuRegisters level2, std::uint32_t maxLevel = 2) {
    TCpuidSnapshot cpu = Processor("GenuineIntel", signature, 0, 0, maxLevel);
    cpu.Set(2, level2);
    return cpu;
}

TCpuidSnapshot AmdStyle(const char (&vendor)[13], std::uint32_t signature, std::uint32_t maxEx,
                        std::uint32_t level6Ecx) {
    TCpuidSnapshot cpu = Processor(vendor, signature);
    cpu.Set(0x80000000u, {maxEx, 0, 0, 0});
    cpu.Set(0x80000005u, {0, 0, 0x40020140, 0x40020140});
    cpu.Set(0x80000006u, {0, 0, level6Ecx, 0});
    return cpu;
}

} // namespace

// Intel's descriptors one at a time, in EDX of an otherwise empty leaf 2 of a Core 2: the kind
// (the order of TSizes) and size each names. The last three name none: a trace cache, a TLB,
// prefetching. 0x49 is the level 3 cache on the Xeon MP of family 15, model 6, only.
TEST(CpuidCache, IntelDescriptorTable) {
    const struct {
        int descriptor, kind, kb;
    } rows[] = {{0x2C, 0, 32},   {0x30, 1, 32},   {0x60, 0, 16},   {0x66, 0, 8},
                {0x67, 0, 16},   {0x68, 0, 32},   {0x78, 3, 1024}, {0x79, 3, 128},
                {0x7A, 3, 256},  {0x7B, 3, 512},  {0x7C, 3, 1024}, {0x7D, 3, 2048},
                {0x7F, 3, 512},  {0x80, 3, 512},  {0x82, 3, 256},  {0x83, 3, 512},
                {0x84, 3, 1024}, {0x85, 3, 2048}, {0x86, 3, 512},  {0x87, 3, 1024},
                {0x22, 4, 512},  {0xD0, 4, 512},  {0x49, 3, 4096}, {0xEC, 4, 24576},
                {0x70, 0, 0},    {0x5B, 0, 0},    {0xF0, 0, 0}};
    for (const auto& row : rows) {
        TCpuidSnapshot cpu = Intel(0x6F6, {1, 0, 0, static_cast<std::uint32_t>(row.descriptor)});
        int expected[5] = {};
        expected[row.kind] = row.kb;
        EXPECT_EQ(Sizes(cpu),
                  (TSizes{expected[0], expected[1], expected[2], expected[3], expected[4]}))
            << std::hex << row.descriptor;
    }
    TCpuidSnapshot xeonMP = Intel(0xF68, {1, 0, 0, 0x49});
    EXPECT_EQ(Sizes(xeonMP), (TSizes{0, 0, 0, 0, 4096}));
}

TEST(CpuidCache, IntelDescriptorLists) {
    const struct {
        TCpuRegisters level2;
        TSizes sizes;
    } rows[] = {
        {{0x03020101, 0, 0, 0x0C040843}, {16, 16, 0, 512, 0}},        // Pentium II
        {{0x03020101, 0, 0, 0x0C040840}, {16, 16, 0, 0, 0}},          // Celeron without L2
        {{0x665B5001, 0, 0, 0x007A7040}, {8, 0, 0, 256, 0}},          // 0x40 after an L2: no L3
        {{0x00000001, 0x00000043, 0, 0x00000041}, {0, 0, 0, 512, 0}}, // entry 5 before entry 13
        {{0x00000001, 0, 0, 0x80000043}, {0, 0, 0, 0, 0}},            // bit 31: no descriptors
        {{0x0C000043, 0, 0, 0}, {16, 0, 0, 0, 0}},                    // the low byte is the count
    };
    for (const auto& row : rows) {
        TCpuidSnapshot cpu = Intel(0x672, row.level2);
        EXPECT_EQ(Sizes(cpu), row.sizes) << std::hex << row.level2.EDX;
    }
}

// Leaf 4 answers for the caches leaf 2 does not name, a 0xFF descriptor naming none.
TEST(CpuidCache, IntelCacheParametersFillWhatLevelTwoLeavesOut) {
    TCpuidSnapshot cpu = Intel(0x6FB, {0x00FEFF01, 0, 0, 0x0000007D}, 4);
    cpu.SetSub(4, 0, CacheParameters(1, 1, 8, 64, 64));
    cpu.SetSub(4, 1, CacheParameters(2, 1, 4, 64, 128));
    cpu.SetSub(4, 2, CacheParameters(3, 2, 16, 64, 4096)); // leaf 2 has named the L2 already
    cpu.SetSub(4, 3, CacheParameters(3, 3, 12, 64, 8192));
    cpu.SetSub(4, 4, CacheParameters(3, 3, 16, 64, 8192)); // a second L3: the first one counts
    EXPECT_EQ(Sizes(cpu), (TSizes{32, 32, 0, 2048, 6144}));

    // Partitions multiply too; a size beyond 2^31 - 1 KB saturates.
    TCpuidSnapshot large = Intel(0x6FB, {0x00FF0001, 0, 0, 0}, 4);
    large.SetSub(4, 0, {0x00000063, 0xFFFFFFFF, 0xFFFFFFFF, 0});
    large.SetSub(4, 1, {0x00000021, 0x00C01FFF, 1, 0}); // 4 ways, 2 partitions, 4 KB lines, 2 sets
    EXPECT_EQ(Sizes(large), (TSizes{64, 0, 0, 0, 2147483647}));

    // Without leaf 4 only leaf 2 answers.
    TCpuidSnapshot level2Only = Intel(0xF29, {0x00FF0001, 0, 0, 0}, 2);
    level2Only.SetSub(4, 0, CacheParameters(1, 1, 8, 64, 64));
    EXPECT_EQ(Sizes(level2Only), (TSizes{0, 0, 0, 0, 0}));
}

TEST(CpuidCache, SizeFieldsAndTheirErrata) {
    const struct {
        const char* vendor;
        std::uint32_t signature;
        std::uint32_t level6Ecx;
        TSizes sizes;
    } rows[] = {
        {"AuthenticAMD", 0x631, 0x00018140, {64, 64, 0, 64, 0}},  // Duron: always 64
        {"AuthenticAMD", 0x640, 0x00018140, {64, 64, 0, 256, 0}}, // Thunderbird A1
        {"AuthenticAMD", 0x641, 0x00018140, {64, 64, 0, 256, 0}}, // Thunderbird A2
        {"CentaurHauls", 0x631, 0x01004220, {64, 64, 0, 256, 0}}, // not AMD: no erratum
        {"CentaurHauls", 0x686, 0x40040120, {64, 64, 0, 64, 0}},  // C3 Ezra: KB in 31-24
        {"CentaurHauls", 0x698, 0x00404120, {64, 64, 0, 64, 0}},  // C3 Nehemiah: as AMD
        {"GenuineTMx86", 0x543, 0x01004220, {64, 64, 0, 256, 0}}, // any other vendor
    };
    for (const auto& row : rows) {
        char vendor[13] = {};
        std::copy_n(row.vendor, 12, vendor);
        TCpuidSnapshot cpu = AmdStyle(vendor, row.signature, 0x80000006u, row.level6Ecx);
        EXPECT_EQ(Sizes(cpu), row.sizes) << row.vendor << " " << std::hex << row.signature;
    }

    // A processor without level 0x80000005 is read the Intel way.
    TCpuidSnapshot umc = Processor("UMC UMC UMC ", 0x423, 0, 0, 2);
    umc.Set(2, {0x00000001, 0, 0, 0x0C040843});
    EXPECT_EQ(Sizes(umc), (TSizes{16, 16, 0, 512, 0}));
}

// AMD's leaf 0x8000001D (leaf 4's layout) answers where level 0x80000001 reports topology
// extensions and the leaf exists; the size fields fill what it leaves out. The two sources
// differ in every size here: the leaf says 32, 32, 1024, 32768, the fields 64, 64, 512, 65536.
TEST(CpuidCache, AmdCacheTopologyLeafBeforeTheSizeFields) {
    enum TLeaf { none, all, levelThreeOnly };
    const struct {
        std::uint32_t extEcx, maxEx;
        TLeaf leaf;
        TSizes sizes;
    } rows[] = {
        {0x00400000, 0x8000001Fu, all, {32, 32, 0, 1024, 32768}},
        {0x00000000, 0x8000001Fu, all, {64, 64, 0, 512, 65536}},  // no topology extensions
        {0x00400000, 0x8000001Cu, all, {64, 64, 0, 512, 65536}},  // the leaf is beyond the range
        {0x00400000, 0x8000001Fu, none, {64, 64, 0, 512, 65536}}, // the leaf lists no cache
        {0x00400000, 0x8000001Fu, levelThreeOnly, {64, 64, 0, 512, 32768}},
    };
    for (const auto& row : rows) {
        TCpuidSnapshot cpu = AmdStyle("AuthenticAMD", 0xA20F10, row.maxEx, 0x02006140);
        cpu.Set(0x80000001u, {0, 0, row.extEcx, 0});
        cpu.Set(0x80000006u, {0, 0, 0x02006140, 0x02009140});
        std::uint32_t subleaf = 0;
        if (row.leaf == all) {
            cpu.SetSub(0x8000001Du, subleaf++, CacheParameters(1, 1, 8, 64, 64));
            cpu.SetSub(0x8000001Du, subleaf++, CacheParameters(2, 1, 8, 64, 64));
            cpu.SetSub(0x8000001Du, subleaf++, CacheParameters(3, 2, 8, 64, 2048));
        }
        if (row.leaf != none)
            cpu.SetSub(0x8000001Du, subleaf++, CacheParameters(3, 3, 16, 64, 32768));
        cpu.SetSub(0x8000001Du, subleaf, {});
        EXPECT_EQ(Sizes(cpu), row.sizes)
            << std::hex << row.extEcx << " " << row.maxEx << " " << row.leaf;
    }
}

// Cyrix's descriptors, at its extended levels when they exist and at leaf 2, where 0x80 is its
// 16 KB unified level 1 cache (Intel's 0x80 is an L2).
TEST(CpuidCache, CyrixDescriptors) {
    TCpuidSnapshot cpu = Processor("CyrixInstead", 0x652);
    cpu.Set(0x80000000u, {0x80000006u, 0, 0, 0});
    cpu.Set(0x80000005u, {0x0C080001, 0, 0, 0x00000080});
    cpu.Set(0x80000006u, {0x00000042, 0, 0, 0});
    EXPECT_EQ(Sizes(cpu), (TSizes{16, 16, 16, 256, 0}));

    cpu.Set(0x80000000u, {0x80000005u, 0, 0, 0});
    EXPECT_EQ(Sizes(cpu), (TSizes{16, 16, 16, 0, 0}));

    TCpuidSnapshot leaf2 = Processor("CyrixInstead", 0x540, 0, 0, 2);
    leaf2.Set(2, {0x00000001, 0, 0, 0x00008070});
    EXPECT_EQ(Sizes(leaf2), (TSizes{0, 0, 16, 0, 0}));
}

TEST(CpuidCache, WithoutCpuidAllSizesAreZero) {
    const TCpuidSnapshot cpu = ProcessorWithoutCpuid();
    EXPECT_EQ(Sizes(cpu), (TSizes{0, 0, 0, 0, 0}));
    TCacheRecord record;
    record.Size = 21;
    EXPECT_EQ(GetCacheRecord(cpu, record), 0);
    EXPECT_EQ(+record.L1Code, 0);
}

TEST(CpuidFeatures, RecordOrderAndBits) {
    // Every reported bit set, one at a time: exactly its flag lights up.
    const std::pair<int, std::uint8_t TFeatureRecord::*> bits[] = {
        {0, &TFeatureRecord::FPU},      {1, &TFeatureRecord::VME},    {2, &TFeatureRecord::DE},
        {3, &TFeatureRecord::PSE},      {4, &TFeatureRecord::TSC},    {5, &TFeatureRecord::MSR},
        {6, &TFeatureRecord::PAE},      {7, &TFeatureRecord::MCE},    {8, &TFeatureRecord::CX8},
        {9, &TFeatureRecord::APIC},     {11, &TFeatureRecord::SEP},   {12, &TFeatureRecord::MTRR},
        {13, &TFeatureRecord::PGE},     {14, &TFeatureRecord::MCA},   {15, &TFeatureRecord::CMOV},
        {16, &TFeatureRecord::PAT},     {17, &TFeatureRecord::PSE36}, {18, &TFeatureRecord::SERIAL},
        {19, &TFeatureRecord::CLFLUSH}, {21, &TFeatureRecord::DTS},   {22, &TFeatureRecord::ACPI},
        {23, &TFeatureRecord::MMX},     {24, &TFeatureRecord::XSR},   {25, &TFeatureRecord::SIMD},
        {26, &TFeatureRecord::SIMD2},   {27, &TFeatureRecord::SS},    {29, &TFeatureRecord::TM}};
    for (int bit = 0; bit < 32; ++bit) {
        TCpuidSnapshot cpu = Processor("GenuineIntel", 0x683, 1u << bit);
        TFeatureRecord r;
        r.Size = 35;
        ASSERT_EQ(GetFeatureRecord(cpu, r), 0);
        const auto* flags = reinterpret_cast<const std::uint8_t*>(&r) + 5;
        int set = 0;
        for (int i = 0; i < 30; ++i)
            set += flags[i];
        bool reported = false;
        for (auto [b, field] : bits)
            if (b == bit) {
                reported = true;
                EXPECT_EQ(r.*field, 1) << bit;
            }
        EXPECT_EQ(set, reported ? 1 : 0) << "bit " << bit;
    }
    // The record's byte order: flag 19 is MMX, flag 25 CLFLUSH, flag 30 TM.
    TFeatureRecord r;
    EXPECT_EQ(reinterpret_cast<std::uint8_t*>(&r.MMX) - reinterpret_cast<std::uint8_t*>(&r),
              5 + 18);
    EXPECT_EQ(reinterpret_cast<std::uint8_t*>(&r.CLFLUSH) - reinterpret_cast<std::uint8_t*>(&r),
              5 + 24);
    EXPECT_EQ(reinterpret_cast<std::uint8_t*>(&r.TM) - reinterpret_cast<std::uint8_t*>(&r), 5 + 29);
}

TEST(CpuidFeatures, ExtendedFlagsDependOnTheVendor) {
    auto record = [](const char(&vendor)[13], std::uint32_t ext) {
        TCpuidSnapshot cpu = Processor(vendor, 0x58C, 0x008021BF);
        cpu.Set(0x80000000u, {0x80000001u, 0, 0, 0});
        cpu.Set(0x80000001u, {0, 0, 0, ext});
        TFeatureRecord r;
        r.Size = 35;
        GetFeatureRecord(cpu, r);
        return r;
    };
    TFeatureRecord amd = record("AuthenticAMD", 0x80400000);
    EXPECT_EQ(+amd.AMD3DNow, 1);
    EXPECT_EQ(+amd.MMXEx, 1);
    EXPECT_EQ(+amd.AMD3DNowEx, 0);
    TFeatureRecord intel = record("GenuineIntel", 0x80400000);
    EXPECT_EQ(+intel.AMD3DNow, 1);
    EXPECT_EQ(+intel.MMXEx, 0);
    TFeatureRecord cyrix = record("CyrixInstead", 0x41000000);
    EXPECT_EQ(+cyrix.MMXEx, 1);
    EXPECT_EQ(+cyrix.AMD3DNowEx, 1);
    EXPECT_EQ(+cyrix.AMD3DNow, 0);
    TFeatureRecord centaur = record("CentaurHauls", 0x81400000);
    EXPECT_EQ(+centaur.MMXEx, 0);
}

TEST(CpuidFeatures, WithoutCpuidEveryFlagIsFalse) {
    const TCpuidSnapshot cpu = ProcessorWithoutCpuid();
    TFeatureRecord r;
    r.Size = 35;
    std::fill_n(reinterpret_cast<std::uint8_t*>(&r) + 5, 30, std::uint8_t{1});
    EXPECT_EQ(GetFeatureRecord(cpu, r), 0);
    const auto* flags = reinterpret_cast<const std::uint8_t*>(&r) + 5;
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(flags[i], 0) << i;
}
