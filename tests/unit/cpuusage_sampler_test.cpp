// The sampler through its public operations, on a scripted system.
#include <gtest/gtest.h>

#include "common/AllocCounter.h"
#include "unit/cpuusage_fake_system.h"
#include "unit/cpuusage_perf_block.h"

#include "cpuusage/CpuUsage.h"
#include "toolkit/Exceptions.h"

#include <optional>
#include <string>

using namespace zq;
using namespace zq::testing;

namespace {

const std::string kNoObject = "Unable to locate the \"Processor\" performance object";
const std::string kNoCounter = "Unable to locate the \"% of CPU usage\" performance counter";
const std::string kBadIndex = "CPU index out of bounds";

// Runs `action` and returns the failure's message, or "" when nothing was raised.
template <typename F> std::string FailureOf(F&& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

class CpuUsageNt : public ::testing::Test {
protected:
    void Sample(const TSystemTime& time, const std::vector<std::int64_t>& idle,
                std::optional<std::int64_t> total = {}) {
        system.Block = ProcessorBlock(time, idle, total).Bytes;
        sampler.TakeCpuSample();
    }

    TFakeSystem system;
    TCpuUsageSampler sampler{system};
};

} // namespace

TEST(CpuUsageStartup, AllocatesTheBufferAndChoosesTheSource) {
    TFakeSystem nt;
    TCpuUsageSampler ntSampler(nt);
    EXPECT_TRUE(ntSampler.IsNT());
    EXPECT_EQ(ntSampler.BufferSize(), 8192u);
    EXPECT_EQ(ntSampler.ProcessorCount(), -1);
    EXPECT_TRUE(nt.SizesAsked.empty());

    TFakeSystem win9x;
    win9x.Platform = 1;
    TCpuUsageSampler sampler9x(win9x);
    EXPECT_FALSE(sampler9x.IsNT());
    EXPECT_TRUE(win9x.Log.empty());

    TFakeSystem broken;
    broken.Platform.reset();
    EXPECT_EQ(FailureOf([&] { TCpuUsageSampler s(broken); }), "Can't get the Windows version");
}

TEST_F(CpuUsageNt, FractionIsOneMinusTheIdleShareOfTheElapsedTime) {
    Sample(At(0), {1'000'000, 50'000'000, 0});
    EXPECT_EQ(sampler.ProcessorCount(), 3);
    Sample(At(1), {3'500'000, 60'000'000, 0}); // one second = 10'000'000
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.75);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.0);
    EXPECT_EQ(sampler.CpuLoadFraction(2), 1.0); // no idle time at all: exactly 1

    // Idle time beyond the millisecond time stamp: slightly below 0, not clamped.
    Sample(At(1, 500), {3'500'000, 65'010'000, 0});
    EXPECT_NEAR(sampler.CpuLoadFraction(1), -0.002, 1e-12);

    // Every later sample shifts: the fraction compares the last two only.
    Sample(At(3, 500), {8'500'000, 65'010'000, 0});
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.75);
    EXPECT_EQ(sampler.CpuLoadFraction(1), 1.0);
}

TEST_F(CpuUsageNt, SameSystemTimeGivesExactlyZero) {
    Sample(At(5, 250), {0, 0});
    Sample(At(5, 250), {7, 123});
    EXPECT_EQ(sampler.CpuLoadFraction(0), 0.0);
    EXPECT_EQ(sampler.CpuLoadFraction(1), 0.0);
}

TEST_F(CpuUsageNt, IndexMustNameAProcessorOfTheFirstSample) {
    Sample(At(0), {0});
    Sample(At(1), {5'000'000});
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.5);
    EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(1); }), kBadIndex);
    EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(-1); }), kBadIndex);
    EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(INT32_MIN); }), kBadIndex);
}

TEST_F(CpuUsageNt, FirstRequestWithoutASampleTakesOne) {
    system.Block = ProcessorBlock(At(0), {0, 0}).Bytes;
    EXPECT_NO_THROW(sampler.CpuLoadFraction(1));
    EXPECT_EQ(system.SizesAsked.size(), 1u);
    EXPECT_EQ(sampler.ProcessorCount(), 2);
    sampler.CpuLoadFraction(0);
    EXPECT_EQ(system.SizesAsked.size(), 1u);
}

TEST_F(CpuUsageNt, BufferGrowsInFixedStepsAndKeepsItsSize) {
    // Pad the block with trailing bytes to make it larger than the buffer.
    auto block = ProcessorBlock(At(0), {0}).Bytes;
    block.resize(10'000, 0);
    system.Block = block;
    sampler.TakeCpuSample();
    EXPECT_EQ(system.SizesAsked, (std::vector<std::uint32_t>{8192, 12288}));
    EXPECT_EQ(sampler.BufferSize(), 12288u);

    block.resize(13'000, 0);
    system.Block = block;
    system.SizesAsked.clear();
    sampler.TakeCpuSample();
    EXPECT_EQ(system.SizesAsked, (std::vector<std::uint32_t>{12288, 16384}));

    system.Block = ProcessorBlock(At(1), {2'000'000}).Bytes;
    system.SizesAsked.clear();
    sampler.TakeCpuSample();
    EXPECT_EQ(system.SizesAsked, (std::vector<std::uint32_t>{16384}));
    EXPECT_EQ(sampler.BufferSize(), 16384u);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.8);
}

TEST_F(CpuUsageNt, EndlessMoreDataStopsAtTheBufferLimit) {
    system.Block.assign(kMaxBufferSize + 1, 0);
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    EXPECT_EQ(sampler.BufferSize(), kMaxBufferSize);
    EXPECT_EQ(sampler.ProcessorCount(), -1);
}

TEST_F(CpuUsageNt, FailuresLeaveCountersAndTimesUnshifted) {
    Sample(At(0), {0, 0});
    Sample(At(1), {2'500'000, 10'000'000});
    const auto expectUnchanged = [&] {
        EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.75);
        EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.0);
    };

    TPerfObjectSpec system2{2, {10}, {{1}}};
    system.Block = BuildPerfBlock(At(2), {system2}).Bytes;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    expectUnchanged();

    TPerfObjectSpec noCounter{238, {142, 144}, {{1, 2}, {3, 4}}};
    system.Block = BuildPerfBlock(At(2), {noCounter}).Bytes;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoCounter);
    expectUnchanged();

    // An answer other than success or "more data": the buffer is not parsed at all.
    system.Block = ProcessorBlock(At(2), {9, 9}).Bytes;
    system.Status = 5;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    expectUnchanged();
    system.Status.reset();

    Sample(At(3), {2'500'000, 19'000'000}); // compares against the last good sample
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 1.0);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.55);
}

TEST_F(CpuUsageNt, CounterFailureOnTheFirstSampleStillFixesTheCount) {
    TPerfObjectSpec noCounter{238, {142}, {{1}, {2}, {3}}};
    system.Block = BuildPerfBlock(At(0), {noCounter}).Bytes;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoCounter);
    EXPECT_EQ(sampler.ProcessorCount(), 3);
    EXPECT_EQ(sampler.CpuLoadFraction(2), 0.0); // no time has passed yet
}

TEST_F(CpuUsageNt, BytesPastTheReturnedLengthAreNotUsed) {
    Sample(At(0), {0});
    auto block = ProcessorBlock(At(1), {1'000'000});
    system.Block = block.Bytes;
    system.ReturnedBytes = static_cast<std::uint32_t>(block.CounterBlocks[0] + 8);
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoCounter);
    system.ReturnedBytes = 51; // not even a whole header
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    system.ReturnedBytes = 1u << 30; // more than the buffer: bounded by the buffer
    EXPECT_NO_THROW(sampler.TakeCpuSample());
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.9);
}

TEST_F(CpuUsageNt, AllProcessorsIsTheAverageAndTheTotalInstanceIsNoProcessor) {
    Sample(At(0), {0, 0, 0, 0}, 0);
    EXPECT_EQ(sampler.ProcessorCount(), 4);
    EXPECT_EQ(sampler.AllProcessorsLoadFraction(), 0.0); // no sample before
    Sample(At(1), {2'500'000, 7'500'000, 0, 10'000'000}, 5'000'000);
    EXPECT_EQ(sampler.ProcessorCount(), 4);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.75); // processor 0 alone stays available
    EXPECT_DOUBLE_EQ(sampler.AllProcessorsLoadFraction(), 0.5);
    EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(4); }), kBadIndex);

    // An object that lists only the total has no processor to read.
    system.Block = ProcessorBlock(At(2), {}, 1).Bytes;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoCounter);
    EXPECT_DOUBLE_EQ(sampler.AllProcessorsLoadFraction(), 0.5);
}

// Each row is one sample, a second after the one before (10'000'000 units), with the idle
// counters of the processors it lists; loads compare the processors listed in both samples.
TEST_F(CpuUsageNt, ProcessorCountChangingBetweenSamples) {
    struct Row {
        std::vector<std::int64_t> Idle;
        std::vector<double> Fractions; // of each processor of the sample
        double All;
    };
    const Row rows[] = {
        {{0, 0}, {0, 0}, 0},
        {{2'500'000, 7'500'000}, {0.75, 0.25}, 0.5},
        // A processor added: it has no interval yet.
        {{5'000'000, 15'000'000, 16'000'000}, {0.75, 0.25, 0}, 0.5},
        {{7'500'000, 25'000'000, 16'000'000}, {0.75, 0, 1}, (0.75 + 0 + 1) / 3},
        // Fewer listed: only processor 0 is in both samples.
        {{10'000'000}, {0.75}, 0.75},
        // Back again: the returning ones were missing from the sample before.
        {{10'000'000, 30'000'000, 16'000'000}, {1, 0, 0}, 1},
        {{15'000'000, 35'000'000, 26'000'000}, {0.5, 0.5, 0}, 1.0 / 3},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        Sample(At(static_cast<int>(i)), row.Idle);
        ASSERT_EQ(sampler.ProcessorCount(), static_cast<int>(row.Idle.size())) << "sample " << i;
        for (std::size_t p = 0; p < row.Fractions.size(); ++p)
            EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(static_cast<int>(p)), row.Fractions[p])
                << "sample " << i << ", processor " << p;
        EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(static_cast<int>(row.Idle.size())); }),
                  kBadIndex)
            << "sample " << i;
        EXPECT_DOUBLE_EQ(sampler.AllProcessorsLoadFraction(), row.All) << "sample " << i;
    }
}

TEST(CpuUsageMemory, SamplesAfterTheFirstAllocateNothing) {
    const auto block = ProcessorBlock(At(0), std::vector<std::int64_t>(64, 0)).Bytes;
    TFakeSystem system;
    system.Block = block;
    system.SizesAsked.reserve(64); // the fake's own log allocates nothing while counting
    zqtest::StartCountingAllocations();
    TCpuUsageSampler sampler(system);
    EXPECT_EQ(zqtest::StopCountingAllocations(), 1); // the data buffer
    const std::uint8_t* buffer = sampler.BufferData();
    sampler.TakeCpuSample();
    zqtest::StartCountingAllocations();
    for (int i = 0; i < 50; ++i) {
        sampler.TakeCpuSample();
        sampler.CpuLoadFraction(i % 64);
        sampler.AllProcessorsLoadFraction();
    }
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    EXPECT_EQ(sampler.BufferData(), buffer);

    TFakeSystem empty;
    empty.Block = BuildPerfBlock(At(0), {}).Bytes;
    empty.TimesAvailable = true;
    empty.Processors = 4;
    empty.Times.assign(4, {1, 2, 3});
    empty.SizesAsked.reserve(64);
    empty.TimesSizesAsked.reserve(64);
    TCpuUsageSampler fallback(empty);
    fallback.TakeCpuSample();
    zqtest::StartCountingAllocations();
    for (int i = 0; i < 50; ++i) {
        fallback.TakeCpuSample();
        fallback.CpuLoadFraction(i % 4);
        fallback.AllProcessorsLoadFraction();
    }
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
}

// Systems whose performance data holds no object at all.
class CpuUsageEmptyBlock : public ::testing::Test {
protected:
    void SetUp() override {
        system.Block = BuildPerfBlock(At(0), {}).Bytes;
        system.TimesAvailable = true;
    }
    TFakeSystem system;
    TCpuUsageSampler sampler{system};
};

TEST_F(CpuUsageEmptyBlock, SwitchesToTheProcessorTimesForTheRestOfTheRun) {
    ASSERT_EQ(system.Block.size(), 96u);
    system.Times = {{100, 1'000, 500}, {0, 0, 0}};
    sampler.TakeCpuSample();
    EXPECT_TRUE(sampler.UsesProcessorTimes());
    EXPECT_EQ(sampler.ProcessorCount(), 2);
    EXPECT_EQ(system.TimesSizesAsked, (std::vector<std::uint32_t>{96}));
    EXPECT_EQ(sampler.BufferSize(), 96u); // the block's 8 KB are given back

    // Kernel time includes idle time: busy = 1 - idle / (kernel + user).
    system.Times = {{400, 1'600, 900}, {250, 1'000, 0}};
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.7);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.75);
    EXPECT_DOUBLE_EQ(sampler.AllProcessorsLoadFraction(), 0.725);
    EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(2); }), kBadIndex);
    EXPECT_EQ(system.SizesAsked.size(), 1u); // the registry is not read again

    system.Times = {{400, 1'600, 900}, {250, 1'000, 0}}; // no time elapsed
    sampler.TakeCpuSample();
    EXPECT_EQ(sampler.CpuLoadFraction(0), 0.0);
    EXPECT_EQ(sampler.CpuLoadFraction(1), 0.0);
}

TEST_F(CpuUsageEmptyBlock, CountChangesAndAFailedQueryShiftsNothing) {
    system.Processors = 3;
    system.Times = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    sampler.TakeCpuSample();
    system.Times = {{10, 100, 0}, {20, 100, 0}, {30, 100, 0}};
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.AllProcessorsLoadFraction(), 0.8);

    system.Times = {{20, 200, 0}}; // a shorter answer: processor 0 alone
    sampler.TakeCpuSample();
    EXPECT_EQ(sampler.ProcessorCount(), 1);
    EXPECT_DOUBLE_EQ(sampler.AllProcessorsLoadFraction(), 0.9);
    EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(2); }), kBadIndex);

    system.TimesFail = true;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    system.TimesFail = false;
    system.Times.clear(); // a call that answers no record
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.9);
    EXPECT_TRUE(sampler.UsesProcessorTimes());

    // Processors added: the query gets room for them.
    system.Processors = 4;
    system.Times = {{30, 300, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    system.TimesSizesAsked.clear();
    sampler.TakeCpuSample();
    EXPECT_EQ(system.TimesSizesAsked, (std::vector<std::uint32_t>{4 * 48}));
    EXPECT_EQ(sampler.BufferSize(), 4u * 48);
    EXPECT_EQ(sampler.ProcessorCount(), 4);
    EXPECT_DOUBLE_EQ(sampler.AllProcessorsLoadFraction(), 0.9);
}

TEST_F(CpuUsageEmptyBlock, WithoutTheEntryPointItIsTheObjectFailure) {
    system.TimesAvailable = false;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    EXPECT_FALSE(sampler.UsesProcessorTimes());
    EXPECT_EQ(sampler.ProcessorCount(), -1);
    system.Block = ProcessorBlock(At(0), {0}).Bytes; // the registry is still asked
    EXPECT_NO_THROW(sampler.TakeCpuSample());
    EXPECT_EQ(sampler.ProcessorCount(), 1);
}

TEST_F(CpuUsageEmptyBlock, ABlockWithObjectsButNoProcessorDoesNotSwitch) {
    TPerfObjectSpec other{2, {10}, {{1}}};
    system.Block = BuildPerfBlock(At(0), {other}).Bytes;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    EXPECT_FALSE(sampler.UsesProcessorTimes());
    EXPECT_TRUE(system.TimesSizesAsked.empty());
}

TEST_F(CpuUsageEmptyBlock, SwitchAfterEarlierBlocksKeepsRoomAndStartsAfresh) {
    system.Block = ProcessorBlock(At(0), {0, 0, 0}).Bytes;
    sampler.TakeCpuSample();
    system.Block = ProcessorBlock(At(1), {5'000'000, 5'000'000, 5'000'000}).Bytes;
    sampler.TakeCpuSample();
    system.Block = BuildPerfBlock(At(2), {}).Bytes;
    system.Times = {{100, 1'000, 500}, {200, 1'000, 500}, {300, 1'000, 500}};
    sampler.TakeCpuSample();
    EXPECT_EQ(sampler.ProcessorCount(), 3);
    EXPECT_EQ(system.TimesSizesAsked, (std::vector<std::uint32_t>{3 * 48}));
    // The idle counters of the two sources are not compared with each other.
    EXPECT_EQ(sampler.CpuLoadFraction(0), 0.0);
    EXPECT_EQ(sampler.AllProcessorsLoadFraction(), 0.0);
}

// Windows 9x kernel statistics.
class CpuUsage9x : public ::testing::Test {
protected:
    CpuUsage9x() { system.Platform = 1; }
    TFakeSystem system;
};

TEST_F(CpuUsage9x, StartsOnceThenReadsTheValueEachSample) {
    TCpuUsageSampler sampler(system);
    system.Usage = 37;
    sampler.TakeCpuSample();
    EXPECT_TRUE(sampler.StatisticsStarted());
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.37);
    system.Usage = 100;
    sampler.TakeCpuSample();
    EXPECT_EQ(sampler.CpuLoadFraction(0), 1.0);
    EXPECT_EQ(system.Log,
              (std::vector<std::string>{"open PerfStats\\StartStat all", "read 1 KERNEL\\CPUUsage",
                                        "close 1", "open PerfStats\\StatData read",
                                        "read 2 KERNEL\\CPUUsage", "read 2 KERNEL\\CPUUsage"}));
    EXPECT_TRUE(system.SizesAsked.empty());
}

TEST_F(CpuUsage9x, OnlyIndexZeroAndAFirstRequestStarts) {
    TCpuUsageSampler sampler(system);
    EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(1); }), kBadIndex);
    EXPECT_EQ(FailureOf([&] { sampler.CpuLoadFraction(-1); }), kBadIndex);
    EXPECT_TRUE(system.Log.empty());
    system.Usage = 5;
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.05);
    EXPECT_TRUE(sampler.StatisticsStarted());
}

TEST_F(CpuUsage9x, FailedStartIsRetriedByTheNextSample) {
    TCpuUsageSampler sampler(system);
    system.Openable["PerfStats\\StartStat"] = false;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }),
              "Unable to start performance monitoring");
    EXPECT_FALSE(sampler.StatisticsStarted());

    system.Openable["PerfStats\\StartStat"] = true;
    system.Openable["PerfStats\\StatData"] = false;
    EXPECT_EQ(FailureOf([&] { sampler.TakeCpuSample(); }), "Unable to read performance data");
    EXPECT_FALSE(sampler.StatisticsStarted());

    system.Openable["PerfStats\\StatData"] = true;
    system.Log.clear();
    sampler.TakeCpuSample();
    EXPECT_TRUE(sampler.StatisticsStarted());
    EXPECT_EQ(system.Log.front(), "open PerfStats\\StartStat all");
}

TEST_F(CpuUsage9x, ShutDownStopsOnlyStartedStatistics) {
    { TCpuUsageSampler sampler(system); }
    EXPECT_TRUE(system.Log.empty());

    {
        TCpuUsageSampler sampler(system);
        sampler.TakeCpuSample();
        system.Log.clear();
    }
    EXPECT_EQ(system.Log, (std::vector<std::string>{"close 2", "open PerfStats\\StopStat all",
                                                    "read 3 KERNEL\\CPUUsage", "close 3"}));

    system.Openable["PerfStats\\StopStat"] = false;
    {
        TCpuUsageSampler sampler(system);
        sampler.TakeCpuSample();
        system.Log.clear();
    }
    EXPECT_EQ(system.Log,
              (std::vector<std::string>{"close 5", "open PerfStats\\StopStat all failed"}));

    TFakeSystem nt;
    { TCpuUsageSampler sampler(nt); }
    EXPECT_TRUE(nt.Log.empty());
}

TEST(CpuUsageUnit, FreeFunctionsUseTheProgramWideSampler) {
    DoneCpuUsage();
    EXPECT_NE(FailureOf([] { TakeCpuSample(); }), "");
    auto port = std::make_unique<TFakeSystem>();
    auto* system = port.get();
    system->Platform = 1;
    system->Usage = 42;
    InitCpuUsage(std::move(port));
    TakeCpuSample();
    EXPECT_DOUBLE_EQ(CpuLoadFraction(0), 0.42);
    EXPECT_DOUBLE_EQ(AllProcessorsLoadFraction(), 0.42);
    EXPECT_EQ(FailureOf([] { CpuLoadFraction(3); }), kBadIndex);
    DoneCpuUsage();
    EXPECT_NE(FailureOf([] { CpuLoadFraction(0); }), "");
    EXPECT_NE(FailureOf([] { AllProcessorsLoadFraction(); }), "");

    auto broken = std::make_unique<TFakeSystem>();
    broken->Platform.reset();
    EXPECT_EQ(FailureOf([&] { InitCpuUsage(std::move(broken)); }), "Can't get the Windows version");
}
