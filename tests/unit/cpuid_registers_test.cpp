// The detection pipeline: availability, guarded execution, signature fields, vendor, brand
// string and the query records.
#include <gtest/gtest.h>

#include "cpuid/CpuidRegisters.h"
#include "cpuid/CpuidConst.h"
#include "cpuid/CpuidQueries.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

TEST(CpuidPipeline, WithoutCpuidEveryQueryAnswersItsFallbackAndExecutesNothing) {
    TFakeCpu cpu = NoCpuid();
    EXPECT_FALSE(IsCPUIDAvailable(cpu, 0));
    EXPECT_EQ(GetMaxCPUIDLevel(cpu, 0), -1);
    EXPECT_EQ(GetMaxCPUIDLevelEx(cpu, 0), -1);
    EXPECT_EQ(GetVendorString(cpu, 0), "");
    EXPECT_EQ(GetVendorCode(cpu, 0), 0);
    for (auto query : {GetSignature, GetProcessorType, GetFamily, GetFamilyEx, GetModel, GetModelEx,
                       GetStepping, GetBrandIndex, GetFeatureWord, GetExtFeatureWord})
        EXPECT_EQ(query(cpu, 0), -1);
    for (int bit = 0; bit < 32; ++bit)
        EXPECT_FALSE(HasFeature(cpu, 0, bit));
    EXPECT_FALSE(IsMMX(cpu, 0));
    EXPECT_FALSE(IsOverDrive(cpu, 0));
    EXPECT_FALSE(HasFDivBug(cpu, 0));
    EXPECT_EQ(GetSerialNumber(cpu, 0), "");
    EXPECT_EQ(GetBrandString(cpu, 0), "");
    EXPECT_EQ(GetCPUSpeed(cpu, 0, 500), 0);
    EXPECT_EQ(cpu.TimeStampReads, 0) << "measured";

    TCpuRegisters out{1, 2, 3, 4};
    EXPECT_FALSE(GetCpuidResult(cpu, 0, 1, out));
    EXPECT_EQ(CpuidLastError(), cpuidNotAvailable);
    EXPECT_EQ(out, (TCpuRegisters{1, 2, 3, 4}));
    EXPECT_EQ(ReadVendorString(cpu), "Unknown");
    EXPECT_EQ(cpu.Executions, 0);
}

TEST(CpuidPipeline, GuardedExecutionChecksTheLevelRangeAndSetsTheLastError) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x652, 0, 0, 2);
    cpu.Set(2, {0x03020101, 0, 0, 0x0C040843});
    cpu.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    cpu.Set(0x80000004u, {0x11, 0x22, 0x33, 0x44});

    TCpuRegisters out{9, 9, 9, 9};
    EXPECT_FALSE(GetCpuidResult(cpu, 3, 1, out)); // above the highest standard level
    EXPECT_EQ(CpuidLastError(), cpuidLevelNotSupported);
    EXPECT_EQ(out, (TCpuRegisters{9, 9, 9, 9}));
    EXPECT_FALSE(GetCpuidResult(cpu, 0x80000005u, 1, out));
    EXPECT_EQ(CpuidLastError(), cpuidLevelNotSupported);

    EXPECT_TRUE(GetCpuidResult(cpu, 2, 1, out));
    EXPECT_EQ(CpuidLastError(), cpuidSuccess);
    EXPECT_EQ(out.EDX, 0x0C040843u);
    EXPECT_TRUE(GetCpuidResult(cpu, 0x80000004u, 1, out));
    EXPECT_EQ(out, (TCpuRegisters{0x11, 0x22, 0x33, 0x44}));

    // A repeat count of 0 executes nothing and leaves the output alone.
    out = {7, 7, 7, 7};
    const int before = cpu.Executions;
    EXPECT_TRUE(GetCpuidResult(cpu, 1, 0, out));
    EXPECT_EQ(out, (TCpuRegisters{7, 7, 7, 7}));
    EXPECT_EQ(cpu.Executions, before + 2); // the two range reads only
}

TEST(CpuidPipeline, LevelThreeFailsOnALevelTwoProcessorWhateverTheExtendedLevel) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x683, 0, 0, 2);
    cpu.Set(0x80000000u, {0xFFFFFFFFu, 0, 0, 0});
    TCpuRegisters out;
    EXPECT_FALSE(GetCpuidResult(cpu, 3, 1, out));
    EXPECT_EQ(CpuidLastError(), cpuidLevelNotSupported);
}

TEST(CpuidPipeline, ExtendedLevelCount) {
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

    TFakeCpu p4 = SimpleCpu("GenuineIntel", 0xF12);
    p4.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    EXPECT_EQ(GetMaxCPUIDLevelEx(p4, 0), 4);
    p4.Set(0x80000000u, {0x80000008u, 0, 0, 0});
    EXPECT_EQ(GetMaxCPUIDLevelEx(p4, 0), 7);
}

TEST(CpuidPipeline, SignatureFields) {
    TFakeCpu p3 = SimpleCpu("GenuineIntel", 0x00000683);
    EXPECT_EQ(GetSignature(p3, 0), 0x683);
    EXPECT_EQ(GetProcessorType(p3, 0), 0);
    EXPECT_EQ(GetFamily(p3, 0), 6);
    EXPECT_EQ(GetModel(p3, 0), 8);
    EXPECT_EQ(GetStepping(p3, 0), 3);
    EXPECT_EQ(GetFamilyEx(p3, 0), 0);
    EXPECT_EQ(GetModelEx(p3, 0), 0);

    TFakeCpu p4 = SimpleCpu("GenuineIntel", 0x00000F12);
    EXPECT_EQ(GetFamily(p4, 0), 15);
    EXPECT_EQ(GetModel(p4, 0), 1);
    EXPECT_EQ(GetStepping(p4, 0), 2);
    EXPECT_EQ(GetFamilyEx(p4, 0), 0);
    EXPECT_EQ(GetModelEx(p4, 0), 0);

    // The extended family where the family is 15, the extended model where it is 6 or 15; the
    // type is bits 12-13.
    TFakeCpu modern = SimpleCpu("AuthenticAMD", 0x00A50F00 | 0x1000);
    EXPECT_EQ(GetFamily(modern, 0), 15);
    EXPECT_EQ(GetFamilyEx(modern, 0), 0x0A);
    EXPECT_EQ(GetModel(modern, 0), 0);
    EXPECT_EQ(GetModelEx(modern, 0), 5);
    EXPECT_EQ(GetProcessorType(modern, 0), 1);
    EXPECT_TRUE(IsOverDrive(modern, 0));
    TFakeCpu extModel = SimpleCpu("GenuineIntel", 0x000306F2);
    EXPECT_EQ(GetModel(extModel, 0), 15);
    EXPECT_EQ(GetModelEx(extModel, 0), 3);
    EXPECT_EQ(GetFamilyEx(extModel, 0), 0);
    TFakeCpu sandyBridge = SimpleCpu("GenuineIntel", 0x000206A7);
    EXPECT_EQ(GetModel(sandyBridge, 0), 10);
    EXPECT_EQ(GetModelEx(sandyBridge, 0), 2);
    TFakeCpu family5 = SimpleCpu("GenuineIntel", 0x00030543);
    EXPECT_EQ(GetModelEx(family5, 0), 0);

    // A level 1 that cannot be read gives a zero signature.
    TFakeCpu levelZeroOnly = SimpleCpu("GenuineIntel", 0x543, 0, 0, 0);
    EXPECT_EQ(GetSignature(levelZeroOnly, 0), 0);
    EXPECT_EQ(GetFamily(levelZeroOnly, 0), 0);
    EXPECT_EQ(GetFeatureWord(levelZeroOnly, 0), 0);
    EXPECT_FALSE(HasFeature(levelZeroOnly, 0, 0));
}

TEST(CpuidPipeline, VendorStringAndCode) {
    const std::pair<const char*, int> vendors[] = {
        {"GenuineIntel", 1}, {"AuthenticAMD", 2}, {"CyrixInstead", 3},
        {"CentaurHauls", 4}, {"NexGenDriven", 5}, {"UMC UMC UMC ", 6},
        {"RiseRiseRise", 7}, {"genuineintel", 0}, {"GenuineTMx86", 0}};
    for (auto [id, code] : vendors) {
        char text[13] = {};
        std::copy_n(id, 12, text);
        TFakeCpu cpu = SimpleCpu(text, 0x500);
        EXPECT_EQ(GetVendorString(cpu, 0), id);
        EXPECT_EQ(GetVendorCode(cpu, 0), code) << id;
    }
    // Zero bytes are kept as characters.
    TFakeCpu odd;
    odd.Set(0, {1, 0x00414141, 0, 0x42424242});
    const std::string text = GetVendorString(odd, 0);
    ASSERT_EQ(text.size(), 12u);
    EXPECT_EQ(text, std::string("AAA\0BBBB\0\0\0\0", 12));
}

TEST(CpuidPipeline, BrandStringKeepsLeadingBlanksAndTrailingZeros) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0xF12);
    cpu.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    cpu.SetBrand(std::string(16, ' ') + "Intel(R) Pentium(R) 4 CPU 1.70");
    const std::string brand = GetBrandString(cpu, 0);
    EXPECT_EQ(brand,
              std::string(16, ' ') + "Intel(R) Pentium(R) 4 CPU 1.70" + std::string(2, '\0'));

    // Only levels that can be read contribute.
    cpu.Set(0x80000000u, {0x80000003u, 0, 0, 0});
    EXPECT_EQ(GetBrandString(cpu, 0).size(), 32u);
}

TEST(CpuidPipeline, FeatureBitsAndProcessorCount) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x543, 0x008001BF);
    cpu.Facts = {2, 586};
    EXPECT_TRUE(HasFeature(cpu, 0, 0));
    EXPECT_FALSE(HasFeature(cpu, 0, 6));
    EXPECT_TRUE(IsMMX(cpu, 0));
    EXPECT_FALSE(HasFeature(cpu, 0, 32));
    EXPECT_FALSE(HasFeature(cpu, 0, -1));
    EXPECT_EQ(GetFeatureWord(cpu, 0), 0x008001BF);
    EXPECT_EQ(GetExtFeatureWord(cpu, 0), 0); // level 0x80000001 not supported
    EXPECT_EQ(GetProcessorCount(cpu, 0), 2u);
}

TEST(CpuidRecords, WrongSizeTagsAreRefusedAndLeaveTheResults) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x683, 0x0383F9FF, 2, 2);
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
