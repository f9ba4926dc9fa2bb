// The queries on a snapshot: availability, the guarded lookup, signature fields, vendor, brand
// string, serial number, the FDIV test and the query records.
#include <gtest/gtest.h>

#include "cpuid/CpuidConst.h"
#include "cpuid/CpuidQueries.h"
#include "cpuid/CpuidRegisters.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

TEST(CpuidQueries, WithoutCpuidEveryQueryAnswersItsFallbackAndMeasuresNothing) {
    const TCpuidSnapshot cpu = ProcessorWithoutCpuid();
    EXPECT_FALSE(IsCPUIDAvailable(cpu));
    EXPECT_EQ(GetMaxCPUIDLevel(cpu), -1);
    EXPECT_EQ(GetMaxCPUIDLevelEx(cpu), -1);
    EXPECT_EQ(GetVendorString(cpu), "");
    EXPECT_EQ(GetVendorCode(cpu), 0);
    for (auto query : {GetSignature, GetProcessorType, GetFamily, GetFamilyEx, GetModel, GetModelEx,
                       GetStepping, GetBrandIndex, GetFeatureWord, GetExtFeatureWord})
        EXPECT_EQ(query(cpu), -1);
    for (int bit = 0; bit < 32; ++bit)
        EXPECT_FALSE(HasFeature(cpu, bit));
    EXPECT_FALSE(IsMMX(cpu));
    EXPECT_FALSE(IsOverDrive(cpu));
    EXPECT_FALSE(HasFDivBug(cpu));
    EXPECT_EQ(GetSerialNumber(cpu), "");
    EXPECT_EQ(GetBrandString(cpu), "");
    TFakeCpu clock;
    clock.MHz = 66;
    EXPECT_EQ(GetCPUSpeed(cpu, clock, 500), 0);
    EXPECT_EQ(clock.TimeStampReads, 0) << "measured";

    TCpuRegisters out{1, 2, 3, 4};
    EXPECT_FALSE(GetCpuidResult(cpu, 0, out));
    EXPECT_EQ(CpuidLastError(), cpuidNotAvailable);
    EXPECT_EQ(out, (TCpuRegisters{1, 2, 3, 4}));
    EXPECT_EQ(ReadVendorString(cpu), "Unknown");
}

TEST(CpuidQueries, GuardedLookupChecksTheLevelRangeAndSetsTheLastError) {
    TCpuidSnapshot cpu = Processor("GenuineIntel", 0x652, 0, 0, 2);
    cpu.Set(2, {0x03020101, 0, 0, 0x0C040843});
    cpu.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    cpu.Set(0x80000004u, {0x11, 0x22, 0x33, 0x44});

    TCpuRegisters out{9, 9, 9, 9};
    EXPECT_FALSE(GetCpuidResult(cpu, 3, out)); // above the highest standard level
    EXPECT_EQ(CpuidLastError(), cpuidLevelNotSupported);
    EXPECT_EQ(out, (TCpuRegisters{9, 9, 9, 9}));
    EXPECT_FALSE(GetCpuidResult(cpu, 0x80000005u, out));
    EXPECT_EQ(CpuidLastError(), cpuidLevelNotSupported);

    EXPECT_TRUE(GetCpuidResult(cpu, 2, out));
    EXPECT_EQ(CpuidLastError(), cpuidSuccess);
    EXPECT_EQ(out.EDX, 0x0C040843u);
    EXPECT_TRUE(GetCpuidResult(cpu, 0x80000004u, out));
    EXPECT_EQ(out, (TCpuRegisters{0x11, 0x22, 0x33, 0x44}));

    // A level in range that the snapshot does not hold reads zeros, as the processor answers.
    out = {7, 7, 7, 7};
    EXPECT_TRUE(GetCpuidResult(cpu, 0x80000003u, out));
    EXPECT_EQ(out, TCpuRegisters{});
}

TEST(CpuidQueries, LevelThreeFailsOnALevelTwoProcessorWhateverTheExtendedLevel) {
    TCpuidSnapshot cpu = Processor("GenuineIntel", 0x683, 0, 0, 2);
    cpu.Set(0x80000000u, {0xFFFFFFFFu, 0, 0, 0});
    TCpuRegisters out;
    EXPECT_FALSE(GetCpuidResult(cpu, 3, out));
    EXPECT_EQ(CpuidLastError(), cpuidLevelNotSupported);
}

TEST(CpuidQueries, ExtendedLevelCount) {
    EXPECT_EQ(ExtendedLevelCount(0x80000004u), 4);
    EXPECT_EQ(ExtendedLevelCount(0x80000000u), 0);
    EXPECT_EQ(ExtendedLevelCount(0x80000007u), 7);
    // Processors since about 2003 have every level the library reads.
    EXPECT_EQ(ExtendedLevelCount(0x80000008u), 7);
    EXPECT_EQ(ExtendedLevelCount(0x80000024u), 7);
    EXPECT_EQ(ExtendedLevelCount(0xFFFFFFFFu), 7);
    // Without bit 31 the remainder alone counts.
    EXPECT_EQ(ExtendedLevelCount(0x0000052Cu), 0); // a processor without extended levels
    EXPECT_EQ(ExtendedLevelCount(0x00000008u), 0);
    EXPECT_EQ(ExtendedLevelCount(0x00000003u), 3);

    TCpuidSnapshot p4 = Processor("GenuineIntel", 0xF12);
    p4.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    EXPECT_EQ(GetMaxCPUIDLevelEx(p4), 4);
    p4.Set(0x80000000u, {0x80000008u, 0, 0, 0});
    EXPECT_EQ(GetMaxCPUIDLevelEx(p4), 7);
}

TEST(CpuidQueries, SignatureFields) {
    TCpuidSnapshot p3 = Processor("GenuineIntel", 0x00000683);
    EXPECT_EQ(GetSignature(p3), 0x683);
    EXPECT_EQ(GetProcessorType(p3), 0);
    EXPECT_EQ(GetFamily(p3), 6);
    EXPECT_EQ(GetModel(p3), 8);
    EXPECT_EQ(GetStepping(p3), 3);
    EXPECT_EQ(GetFamilyEx(p3), 0);
    EXPECT_EQ(GetModelEx(p3), 0);

    TCpuidSnapshot p4 = Processor("GenuineIntel", 0x00000F12);
    EXPECT_EQ(GetFamily(p4), 15);
    EXPECT_EQ(GetModel(p4), 1);
    EXPECT_EQ(GetStepping(p4), 2);
    EXPECT_EQ(GetFamilyEx(p4), 0);
    EXPECT_EQ(GetModelEx(p4), 0);

    // The extended family where the family is 15, the extended model where it is 6 or 15; the
    // type is bits 12-13.
    TCpuidSnapshot modern = Processor("AuthenticAMD", 0x00A50F00 | 0x1000);
    EXPECT_EQ(GetFamily(modern), 15);
    EXPECT_EQ(GetFamilyEx(modern), 0x0A);
    EXPECT_EQ(GetModel(modern), 0);
    EXPECT_EQ(GetModelEx(modern), 5);
    EXPECT_EQ(GetProcessorType(modern), 1);
    EXPECT_TRUE(IsOverDrive(modern));
    TCpuidSnapshot extModel = Processor("GenuineIntel", 0x000306F2);
    EXPECT_EQ(GetModel(extModel), 15);
    EXPECT_EQ(GetModelEx(extModel), 3);
    EXPECT_EQ(GetFamilyEx(extModel), 0);
    TCpuidSnapshot sandyBridge = Processor("GenuineIntel", 0x000206A7);
    EXPECT_EQ(GetModel(sandyBridge), 10);
    EXPECT_EQ(GetModelEx(sandyBridge), 2);
    TCpuidSnapshot family5 = Processor("GenuineIntel", 0x00030543);
    EXPECT_EQ(GetModelEx(family5), 0);

    // A level 1 that cannot be read gives a zero signature.
    TCpuidSnapshot levelZeroOnly = Processor("GenuineIntel", 0x543, 0, 0, 0);
    EXPECT_EQ(GetSignature(levelZeroOnly), 0);
    EXPECT_EQ(GetFamily(levelZeroOnly), 0);
    EXPECT_EQ(GetFeatureWord(levelZeroOnly), 0);
    EXPECT_FALSE(HasFeature(levelZeroOnly, 0));
}

TEST(CpuidQueries, VendorStringAndCode) {
    const std::pair<const char*, int> vendors[] = {
        {"GenuineIntel", 1}, {"AuthenticAMD", 2}, {"CyrixInstead", 3},
        {"CentaurHauls", 4}, {"NexGenDriven", 5}, {"UMC UMC UMC ", 6},
        {"RiseRiseRise", 7}, {"genuineintel", 0}, {"GenuineTMx86", 0}};
    for (auto [id, code] : vendors) {
        char text[13] = {};
        std::copy_n(id, 12, text);
        TCpuidSnapshot cpu = Processor(text, 0x500);
        EXPECT_EQ(GetVendorString(cpu), id);
        EXPECT_EQ(GetVendorCode(cpu), code) << id;
    }
    // Zero bytes are kept as characters.
    TCpuidSnapshot odd;
    odd.Set(0, {1, 0x00414141, 0, 0x42424242});
    const std::string text = GetVendorString(odd);
    ASSERT_EQ(text.size(), 12u);
    EXPECT_EQ(text, std::string("AAA\0BBBB\0\0\0\0", 12));
}

TEST(CpuidQueries, BrandStringKeepsLeadingBlanksAndTrailingZeros) {
    TCpuidSnapshot cpu = Processor("GenuineIntel", 0xF12);
    cpu.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    SetBrand(cpu, std::string(16, ' ') + "Intel(R) Pentium(R) 4 CPU 1.70");
    const std::string brand = GetBrandString(cpu);
    EXPECT_EQ(brand,
              std::string(16, ' ') + "Intel(R) Pentium(R) 4 CPU 1.70" + std::string(2, '\0'));

    // Only levels that can be read contribute.
    cpu.Set(0x80000000u, {0x80000003u, 0, 0, 0});
    EXPECT_EQ(GetBrandString(cpu).size(), 32u);
}

TEST(CpuidQueries, FeatureBitsAndProcessorCount) {
    TCpuidSnapshot cpu = Processor("GenuineIntel", 0x543, 0x008001BF);
    cpu.System = {2, 586};
    EXPECT_TRUE(HasFeature(cpu, 0));
    EXPECT_FALSE(HasFeature(cpu, 6));
    EXPECT_TRUE(IsMMX(cpu));
    EXPECT_FALSE(HasFeature(cpu, 32));
    EXPECT_FALSE(HasFeature(cpu, -1));
    EXPECT_EQ(GetFeatureWord(cpu), 0x008001BF);
    EXPECT_EQ(GetExtFeatureWord(cpu), 0); // level 0x80000001 not supported
    EXPECT_EQ(GetProcessorCount(cpu), 2u);
}

TEST(CpuidRecords, WrongSizeTagsAreRefusedAndLeaveTheResults) {
    TCpuidSnapshot cpu = Processor("GenuineIntel", 0x683, 0x0383F9FF, 2, 2);
    TCpuidRecord id;
    id.Size = 13;
    id.MaxLevel = 77;
    EXPECT_EQ(GetCPUIDRecord(cpu, id), cpuidWrongSize);
    EXPECT_EQ(+id.MaxLevel, 77);
    id.Size = 14;
    EXPECT_EQ(GetCPUIDRecord(cpu, id), cpuidSuccess);
    EXPECT_EQ(+id.Available, 1);
    EXPECT_EQ(+id.MaxLevel, 2);
    EXPECT_EQ(+id.MaxLevelEx, 0);

    TCacheRecord cache;
    cache.Size = 14;
    cache.L2 = 5;
    EXPECT_EQ(GetCacheRecord(cpu, cache), cpuidWrongSize);
    EXPECT_EQ(+cache.L2, 5);

    TFeatureRecord features;
    features.Size = 37;
    EXPECT_EQ(GetFeatureRecord(cpu, features), cpuidWrongSize);
    EXPECT_EQ(+features.FPU, 0);
    features.Size = 35;
    EXPECT_EQ(GetFeatureRecord(cpu, features), cpuidSuccess);
    EXPECT_EQ(+features.FPU, 1);

    TIdentRecord ident;
    ident.Size = 35;
    EXPECT_EQ(GetIdentRecord(cpu, ident), cpuidWrongSize);
    EXPECT_EQ(+ident.Family, 0);
    ident.Size = 37;
    EXPECT_EQ(GetIdentRecord(cpu, ident), cpuidSuccess);
    EXPECT_EQ(+ident.Signature, 0x683);
    EXPECT_EQ(+ident.Family, 6);
    EXPECT_EQ(+ident.Model, 8);
    EXPECT_EQ(+ident.Stepping, 3);
    EXPECT_EQ(+ident.Brand, 2);
}

TEST(CpuidFdiv, CorrectFloatingPointUnitHasNoFlaw) {
    EXPECT_FALSE(FdivFlawPresent());
    const TCpuidSnapshot cpu = Processor("GenuineIntel", 0x52C, 0x3BF);
    EXPECT_FALSE(HasFDivBug(cpu));
}

TEST(CpuidSerial, FormatsSignatureAndTheTwoSerialWords) {
    EXPECT_EQ(FormatSerialNumber(0x00000673, 0x0001A2B3, 0xC4D5E6F7),
              "0000-0673-0001-A2B3-C4D5-E6F7");
    EXPECT_EQ(FormatSerialNumber(0xFFFFFFFF, 0, 0xABCDEF01).size(), 29u);

    TCpuidSnapshot p3 = Processor("GenuineIntel", 0x673, 1u << 18, 0, 3);
    p3.Set(3, {0, 0, 0xC4D5E6F7, 0x0001A2B3});
    EXPECT_EQ(GetSerialNumber(p3), "0000-0673-0001-A2B3-C4D5-E6F7");
}

TEST(CpuidSerial, EmptyWithoutTheFeatureTheModelOrLevelThree) {
    TCpuidSnapshot bitClear = Processor("GenuineIntel", 0x673, 0, 0, 3);
    bitClear.Set(3, {0, 0, 1, 2});
    EXPECT_EQ(GetSerialNumber(bitClear), "");

    TCpuidSnapshot model6 = Processor("GenuineIntel", 0x665, 1u << 18, 0, 3);
    model6.Set(3, {0, 0, 1, 2});
    EXPECT_EQ(GetSerialNumber(model6), "");

    TCpuidSnapshot disabled = Processor("GenuineIntel", 0x673, 1u << 18, 0, 2);
    EXPECT_EQ(GetSerialNumber(disabled), "");
    EXPECT_EQ(CpuidLastError(), cpuidLevelNotSupported);

    const TCpuidSnapshot none = ProcessorWithoutCpuid();
    EXPECT_EQ(GetSerialNumber(none), "");
}
