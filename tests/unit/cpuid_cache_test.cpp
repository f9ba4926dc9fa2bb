// Cache sizes from the three descriptor sources, and the 30 feature flags.
#include <gtest/gtest.h>

#include "cpuid/cpuidAPI.h"
#include "cpuid/cpuidIntf.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

struct TSizes {
    int l1Data, l1Code, l1Unified, l2;
    friend bool operator==(const TSizes&, const TSizes&) = default;
};

TSizes Sizes(TFakeCpu& cpu) {
    return {GetL1DataSize(cpu, 0), GetL1CodeSize(cpu, 0), GetL1UnifiedSize(cpu, 0),
            GetL2Size(cpu, 0)};
}

void PrintTo(const TSizes& s, std::ostream* os) {
    *os << "{" << s.l1Data << ", " << s.l1Code << ", " << s.l1Unified << ", " << s.l2 << "}";
}

TFakeCpu IntelLevel2(TCpuRegisters level2) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x672, 0, 0, 2);
    cpu.Set(2, level2);
    return cpu;
}

TFakeCpu AmdStyle(const char (&vendor)[13], std::uint32_t signature, std::uint32_t maxEx) {
    TFakeCpu cpu = SimpleCpu(vendor, signature);
    cpu.Set(0x80000000u, {maxEx, 0, 0, 0});
    cpu.Set(0x80000005u, {0, 0, 0x40020140, 0x40020140});
    cpu.Set(0x80000006u, {0, 0, 0x01004220, 0});
    return cpu;
}

} // namespace

TEST(CpuidCache, DescriptorListTakesEveryByteInRegisterOrder) {
    const TCacheDescriptors list = DescriptorsOf({0x04030201, 0x08070605, 0x0C0B0A09, 0x800F0E0D});
    ASSERT_EQ(list.size(), 16u);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(list[i], i + 1);
    EXPECT_EQ(list[15], 0x80); // bit 31 does not hide a register
    EXPECT_EQ(ScanL1Unified(list), 16);
    EXPECT_EQ(ScanL2({}), 0);
}

TEST(CpuidCache, IntelDescriptors) {
    TFakeCpu p2 = IntelLevel2({0x03020101, 0, 0, 0x0C040843});
    EXPECT_EQ(Sizes(p2), (TSizes{16, 16, 0, 512}));

    // 0x40 (no L2) ends the L2 scan; 0x7A is not recognised anyway.
    TFakeCpu p4 = IntelLevel2({0x665B5001, 0, 0, 0x007A7040});
    EXPECT_EQ(Sizes(p4), (TSizes{0, 0, 0, 0}));

    // Entry 5 comes before entry 13.
    TFakeCpu order = IntelLevel2({0x00000001, 0x00000043, 0, 0x00000040});
    EXPECT_EQ(GetL2Size(order, 0), 512);

    const std::pair<int, int> l2[] = {{0x41, 128},  {0x42, 256},  {0x82, 256},
                                      {0x83, 512},  {0x44, 1024}, {0x84, 1024},
                                      {0x45, 2048}, {0x85, 2048}, {0x7A, 0}};
    for (auto [descriptor, size] : l2)
        EXPECT_EQ(ScanL2(DescriptorsOf({1, 0, 0, static_cast<std::uint32_t>(descriptor)})), size);
    EXPECT_EQ(ScanL1Data(DescriptorsOf({0x0A000001, 0, 0, 0x0C})), 8);
    EXPECT_EQ(ScanL1Code(DescriptorsOf({0x06000001, 0, 0, 0x08})), 8);
}

TEST(CpuidCache, LevelTwoIsRepeatedAsItsLowByteAsks) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x652, 0, 0, 2);
    cpu.Leaves[2] = {{0x00000002, 0, 0, 0x00000041}, // asks for two executions
                     {0x00000002, 0, 0, 0x00000043},
                     {0x00000002, 0, 0, 0x00000044}};
    EXPECT_EQ(GetL2Size(cpu, 0), 1024); // the last of the repeated executions
}

TEST(CpuidCache, AmdStyleSizesAndTheDuronException) {
    TFakeCpu athlon = AmdStyle("AuthenticAMD", 0x642, 0x80000006u);
    EXPECT_EQ(Sizes(athlon), (TSizes{64, 64, 0, 256}));

    TFakeCpu duron = AmdStyle("AuthenticAMD", 0x631, 0x80000006u);
    EXPECT_EQ(GetL2Size(duron, 0), 64);

    // Another vendor with extended levels uses the same fields, without the exception.
    TFakeCpu centaur = AmdStyle("CentaurHauls", 0x631, 0x80000006u);
    EXPECT_EQ(Sizes(centaur), (TSizes{64, 64, 0, 256}));

    // A count of 6 with level 0x80000006 missing: the L2 read fails.
    TFakeCpu six = AmdStyle("AuthenticAMD", 0x642, 0x80000006u);
    six.Set(0x80000000u, {0x80000005u, 0, 0, 0});
    EXPECT_EQ(GetL2Size(six, 0), 0);
}

TEST(CpuidCache, FewExtendedLevelsTakeTheIntelPath) {
    TFakeCpu k6 = AmdStyle("AuthenticAMD", 0x58C, 0x80000005u);
    EXPECT_EQ(Sizes(k6), (TSizes{0, 0, 0, 0})); // level 2 is above the highest level 1
}

TEST(CpuidCache, CyrixDescriptorsAtTheExtendedLevels) {
    TFakeCpu cpu = SimpleCpu("CyrixInstead", 0x652);
    cpu.Set(0x80000000u, {0x80000006u, 0, 0, 0});
    cpu.Set(0x80000005u, {0x0C080001, 0, 0, 0x00000080});
    cpu.Set(0x80000006u, {0x00000042, 0, 0, 0});
    EXPECT_EQ(Sizes(cpu), (TSizes{16, 16, 16, 256}));
}

TEST(CpuidCache, WithoutCpuidAllSizesAreZero) {
    TFakeCpu cpu = NoCpuid();
    EXPECT_EQ(Sizes(cpu), (TSizes{0, 0, 0, 0}));
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
        TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x683, 1u << bit);
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
        TFakeCpu cpu = SimpleCpu(vendor, 0x58C, 0x008021BF);
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
    TFakeCpu cpu = NoCpuid();
    TFeatureRecord r;
    r.Size = 35;
    std::fill_n(reinterpret_cast<std::uint8_t*>(&r) + 5, 30, std::uint8_t{1});
    EXPECT_EQ(GetFeatureRecord(cpu, r), 0);
    const auto* flags = reinterpret_cast<const std::uint8_t*>(&r) + 5;
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(flags[i], 0) << i;
}
