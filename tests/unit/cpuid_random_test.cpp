// Arbitrary register contents must give defined results: random processors through the whole
// component, checked against what every processor must satisfy.
#include <gtest/gtest.h>

#include <random>

#include "cpuid/ProcessorIdentity.h"
#include "cpuid/CpuidQueries.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

TEST(CpuidRandom, ArbitraryRegistersGiveDefinedResults) {
    std::mt19937 rng(20261207);
    auto word = [&rng] { return static_cast<std::uint32_t>(rng()); };
    const char* vendors[] = {"GenuineIntel", "AuthenticAMD", "CyrixInstead", "CentaurHauls",
                             "NexGenDriven", "UMC UMC UMC ", "RiseRiseRise", "HygonGenuine"};
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        TFakeCpu cpu;
        cpu.Beyond = round % 2 ? TBeyondRange::HighestBasic : TBeyondRange::Zeros;
        char vendor[13] = {};
        std::copy_n(vendors[rng() % 8], 12, vendor);
        const std::uint32_t maxLevel = rng() % 3 == 0 ? word() : rng() % 5;
        cpu.Set(0, VendorLeaf(maxLevel, vendor));
        for (std::uint32_t level = 1; level <= 4; ++level) // leaf 4 the same for every sub-leaf
            cpu.Set(level, {word(), word(), word(), word()});
        const std::uint32_t maxEx = rng() % 3 == 0 ? word() : 0x80000000u + rng() % 10;
        cpu.Set(0x80000000u, {maxEx, word(), word(), word()});
        for (std::uint32_t level = 0x80000001u; level <= 0x80000008u; ++level)
            cpu.Set(level, {word(), word(), word(), word()});
        cpu.Facts = {word(), word()};
        cpu.MHz = 1 + rng() % 5000;
        cpu.StepMicros = 1 + rng() % 2000;

        TProcessorIdentity ident(nullptr, cpu.Snapshot(), cpu);
        ident.AutoBench()->SetEnabled(true);
        ident.AutoBench()->SetDelay(1 + static_cast<int>(rng() % 50));
        ident.LoadedTree();

        EXPECT_TRUE(ident.CPUID()->Available());
        EXPECT_GE(ident.CPUID()->MaxLevelEx(), 0);
        EXPECT_LE(ident.CPUID()->MaxLevelEx(), 7);
        const TCpuDetectedInfo& raw = *ident.InternalResults();
        EXPECT_GE(raw.cpuFamily(), 0);
        EXPECT_LE(raw.cpuFamily(), 15);
        EXPECT_LE(raw.cpuModel(), 15);
        EXPECT_LE(raw.cpuType(), 3);
        EXPECT_LE(raw.cpuFamilyEx(), 255);
        EXPECT_GE(raw.Brand(), 0);
        EXPECT_LE(raw.Brand(), 255);
        EXPECT_EQ(raw.VendorID().size(), 12u);
        EXPECT_TRUE(ident.Serial().empty() || ident.Serial().size() == 29u);
        EXPECT_GE(ident.Speed(), 0);
        EXPECT_GE(ident.Count(), 0);
        EXPECT_LE(ident.Count(), 255);
        for (int size : {ident.Cache()->L1Data(), ident.Cache()->L1Code(), ident.Cache()->Level1(),
                         ident.Cache()->Level2(), ident.Cache()->Level3()})
            EXPECT_GE(size, 0);
        EXPECT_LE(ident.FullName().size(), 48u + 64u);
        const TCpuVendorModule& module = VendorModule(GetVendorCode(cpu.Snapshot()));
        EXPECT_EQ(ident.Vendor(), module.LongName());
        if (ident.CPUID()->MaxLevelEx() < 4) {
            EXPECT_EQ(ident.FullName(), module.ShortName() + ident.CPU());
        }
    }
}
