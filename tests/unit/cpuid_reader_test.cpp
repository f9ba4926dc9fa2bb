// Reading a processor's snapshot through the register reader: which leaves, how often, and what
// the snapshot then holds.
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "cpuid/CpuidQueries.h"
#include "cpuid/CpuidReader.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

using TReads = std::map<std::pair<std::uint32_t, std::uint32_t>, int>;

// A Zen 3 reporting every leaf the decoding reads: leaf 4 is empty, 0x8000001D lists two caches.
TFakeCpu EveryLeaf() {
    TFakeCpu cpu = SimpleCpu("AuthenticAMD", 0xA20F10, 0x178BFBFF, 0, 0x10);
    cpu.Set(2, {0x00000001, 0, 0, 0}); // one execution asked for
    cpu.Set(3, {3, 0, 0, 0});
    cpu.Set(0x10, {0x10, 0, 0, 0});
    cpu.SetSub(4, 0, {});
    cpu.Set(0x80000000u, {0x80000020u, 0, 0, 0});
    for (std::uint32_t level = 0x80000001u; level <= 0x80000008u; ++level)
        cpu.Set(level, {level, 1, 2, 3});
    cpu.Set(0x80000001u, {0, 0, 0x00400000, 0}); // topology extensions: leaf 0x8000001D
    cpu.SetSub(0x8000001Du, 0, CacheParameters(1, 1, 8, 64, 64));
    cpu.SetSub(0x8000001Du, 1, CacheParameters(3, 3, 16, 64, 32768));
    return cpu;
}

// A Pentium 4 of level 2 and extended level 0x80000004, answering a level beyond them with its
// highest standard level's registers, as Intel's processors do.
TFakeCpu Pentium4() {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0xF12, 0x3FEBFBFF, 0, 2);
    cpu.Beyond = TBeyondRange::HighestBasic;
    cpu.Set(2, {0x665B5001, 0, 0, 0x007A7040});
    cpu.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    SetBrand(cpu, "Intel(R) Pentium(R) 4 CPU 1500MHz");
    return cpu;
}

} // namespace

TEST(CpuidReader, AProcessorWithoutCpuidIsAskedNothing) {
    TFakeCpu cpu = NoCpuid(486);
    const std::uint32_t flags = cpu.ReadFlags();
    const TCpuidSnapshot snapshot = cpu.Snapshot();
    EXPECT_FALSE(snapshot.Available());
    EXPECT_EQ(snapshot.System.ProcessorType, 486u);
    EXPECT_EQ(snapshot.Find(0), nullptr);
    EXPECT_EQ(cpu.Executions, 0);
    EXPECT_EQ(cpu.ReadFlags(), flags);
}

// Each leaf once, those beyond the reported levels never; the sub-leaves up to the first of
// type 0. The snapshot holds what was read and nothing else.
TEST(CpuidReader, EachLeafTheDecodingReadsIsExecutedOnceWithinTheReportedLevels) {
    using TLeaves = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    const TLeaves extended = {
        {0x80000000u, 0}, {0x80000001u, 0}, {0x80000002u, 0}, {0x80000003u, 0}, {0x80000004u, 0}};
    TLeaves every = {{0, 0},           {1, 0},           {2, 0},           {3, 0},
                     {4, 0},           {0x80000005u, 0}, {0x80000006u, 0}, {0x8000001Du, 0},
                     {0x8000001Du, 1}, {0x8000001Du, 2}};
    every.insert(every.end(), extended.begin(), extended.end());
    TLeaves pentium4 = {{0, 0}, {1, 0}, {2, 0}};
    pentium4.insert(pentium4.end(), extended.begin(), extended.end());
    for (auto [cpu, leaves] : {std::pair{EveryLeaf(), every}, std::pair{Pentium4(), pentium4}}) {
        const TCpuidSnapshot snapshot = cpu.Snapshot();
        TReads once;
        for (const auto& leaf : leaves)
            once[leaf] = 1;
        EXPECT_EQ(cpu.ExecutionsOf, once);
        for (const auto& [level, subleaf] : leaves) {
            const TCpuRegisters* held = snapshot.Find(level, subleaf);
            ASSERT_NE(held, nullptr) << std::hex << level;
            EXPECT_EQ(*held, cpu.Cpuid(level, subleaf)) << std::hex << level;
        }
        EXPECT_EQ(snapshot.Find(0x80000007u), nullptr);
    }
    EXPECT_EQ(GetFullName(Pentium4().Snapshot()), "Intel Pentium 4 class");
    EXPECT_EQ(GetL3Size(EveryLeaf().Snapshot()), 32768);
}

TEST(CpuidReader, LevelTwoIsRepeatedAsItsLowByteAsks) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x652, 0, 0, 2);
    cpu.Leaves[2] = {{0x00000002, 0, 0, 0x00000041}, // asks for two executions
                     {0x00000002, 0, 0, 0x00000043},
                     {0x00000002, 0, 0, 0x00000044}};
    const TCpuidSnapshot snapshot = cpu.Snapshot();
    EXPECT_EQ(GetL2Size(snapshot), 1024); // the last of the repeated executions
    EXPECT_EQ((cpu.ExecutionsOf[{2, 0}]), 3);
}

// A leaf 4 that ignores ECX never ends with type 0: the reading still ends.
TEST(CpuidReader, ALeafFourThatNeverEndsIsReadUpToItsLimit) {
    TFakeCpu endless = SimpleCpu("GenuineIntel", 0x6FB, 0, 0, 4);
    endless.Beyond = TBeyondRange::HighestBasic;
    endless.Set(2, {0x00FF0001, 0, 0, 0});
    endless.Set(4, CacheParameters(1, 1, 8, 64, 64));
    const TCpuidSnapshot snapshot = endless.Snapshot();
    EXPECT_EQ(GetL1DataSize(snapshot), 32);
    EXPECT_EQ(GetL1CodeSize(snapshot), 0);
    EXPECT_EQ(GetL1UnifiedSize(snapshot), 0);
    EXPECT_EQ(GetL2Size(snapshot), 0);
    EXPECT_EQ(GetL3Size(snapshot), 0);
    EXPECT_EQ((endless.ExecutionsOf[{4, 31}]), 1);
    EXPECT_EQ(endless.ExecutionsOf.count({4, 32}), 0u);
}
