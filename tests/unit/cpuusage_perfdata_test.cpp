// The performance-data walk and the time-stamp arithmetic, on blocks built in place.
#include <gtest/gtest.h>

#include "unit/cpuusage_fake_system.h"
#include "unit/cpuusage_perf_block.h"

#include "cpuusage/CpuUsage.h"
#include "cpuusage/PerfData.h"
#include "cpuusage/SystemTime.h"
#include "toolkit/Exceptions.h"

#include <cmath>
#include <functional>
#include <random>

using namespace zq;
using namespace zq::testing;

TEST(CpuUsageSystemTime, CountsHundredNanosecondsSince1601) {
    TSystemTime t;
    EXPECT_EQ(SystemTimeToFileTime(t), 0u);
    t = {1970, 1, 4, 1, 0, 0, 0, 0};
    EXPECT_EQ(SystemTimeToFileTime(t), 116444736000000000u);
    t = {2024, 1, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(SystemTimeToFileTime(t), 133485408000000000u);
    t = {2000, 2, 2, 29, 23, 59, 59, 999};
    EXPECT_EQ(SystemTimeToFileTime(t), 125963423999990000u);
    t = {30827, 12, 0, 31, 23, 59, 59, 999};
    EXPECT_TRUE(SystemTimeToFileTime(t).has_value());
    t = At(1, 1);
    EXPECT_EQ(*SystemTimeToFileTime(t) - *SystemTimeToFileTime(At(0)), 10'010'000u);
}

TEST(CpuUsageSystemTime, InvalidFieldsGiveNothing) {
    const TSystemTime valid{2001, 3, 0, 31, 12, 30, 30, 500};
    ASSERT_TRUE(SystemTimeToFileTime(valid).has_value());
    const std::vector<std::function<void(TSystemTime&)>> breakers = {
        [](TSystemTime& t) { t.Year = 1600; },
        [](TSystemTime& t) { t.Year = 30828; },
        [](TSystemTime& t) { t.Month = 0; },
        [](TSystemTime& t) { t.Month = 13; },
        [](TSystemTime& t) { t.Day = 0; },
        [](TSystemTime& t) { t.Day = 32; },
        [](TSystemTime& t) { t.Month = 4; },
        [](TSystemTime& t) { t.Hour = 24; },
        [](TSystemTime& t) { t.Minute = 60; },
        [](TSystemTime& t) { t.Second = 60; },
        [](TSystemTime& t) { t.Milliseconds = 1000; },
        [](TSystemTime& t) { t.Month = 2, t.Day = 29; },                // 2001 is no leap year
        [](TSystemTime& t) { t.Year = 1900, t.Month = 2, t.Day = 29; }, // nor is 1900
    };
    for (std::size_t i = 0; i < breakers.size(); ++i) {
        TSystemTime t = valid;
        breakers[i](t);
        EXPECT_FALSE(SystemTimeToFileTime(t).has_value()) << "case " << i;
    }
    TSystemTime t = valid;
    t.DayOfWeek = 77;
    EXPECT_TRUE(SystemTimeToFileTime(t).has_value());
}

namespace {

// Locates and walks a block held in a heap copy of exactly its size, so that any read past
// its end is caught by the address sanitizer.
struct TWalk {
    TPerfDataStatus Status;
    TProcessorCounterLocation Where;
    std::size_t Read = 0;
    std::vector<std::int64_t> Current, Previous;
};

TWalk Walk(const std::vector<std::uint8_t>& bytes, std::size_t count = 8) {
    const std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
    TWalk w;
    w.Status = LocateProcessorCounter(exact, w.Where);
    w.Current.assign(count, -7);
    w.Previous.assign(count, -7);
    if (w.Status == TPerfDataStatus::Ok)
        w.Read = ReadProcessorCounters(exact, w.Where, w.Current, w.Previous);
    return w;
}

} // namespace

TEST(CpuUsagePerfData, FindsTheIdleCounterOfEveryInstance) {
    const auto block = ProcessorBlock(At(2), {11, 22, 33});
    const auto w = Walk(block.Bytes);
    ASSERT_EQ(w.Status, TPerfDataStatus::Ok);
    EXPECT_EQ(w.Where.NumInstances, 3);
    EXPECT_EQ(w.Where.CounterOffset, 16u);
    EXPECT_EQ(w.Where.FirstInstance, block.InstanceDefs[0]);
    EXPECT_EQ(w.Where.Time, *SystemTimeToFileTime(At(2)));
    EXPECT_EQ(w.Read, 3u);
    EXPECT_EQ(w.Current, (std::vector<std::int64_t>{11, 22, 33, -7, -7, -7, -7, -7}));
    EXPECT_EQ(w.Previous[0], -7);

    EXPECT_EQ(Walk(BuildPerfBlock(At(0), {}).Bytes).Status, TPerfDataStatus::NoObjects);

    // Instances named "_Total" are no processors, wherever they are listed; a name that only
    // starts like it is one.
    TPerfObjectSpec named{238, {6}, {{1}, {2}, {3}, {4}}, {u"_Total", u"0", u"_Totals", u"1"}};
    const auto n = Walk(BuildPerfBlock(At(0), {named}).Bytes);
    ASSERT_EQ(n.Status, TPerfDataStatus::Ok);
    EXPECT_EQ(n.Read, 3u);
    EXPECT_EQ(n.Current, (std::vector<std::int64_t>{2, 3, 4, -7, -7, -7, -7, -7}));
    EXPECT_EQ(Walk(ProcessorBlock(At(0), {5, 6}, 7).Bytes, 2).Read, 2u); // no room needed for it
}

TEST(CpuUsagePerfData, MalformedBlocksGiveDefinedResults) {
    using S = TPerfDataStatus;
    const auto good = ProcessorBlock(At(0), {5, 6, 7});
    const std::size_t processor = good.Objects[1];
    const std::size_t counter6 = good.Counters[1];
    struct Case {
        const char* Name;
        std::function<void(std::vector<std::uint8_t>&)> Mutate;
        S Status;
        std::size_t Read; // instances read when Ok
    };
    const std::vector<Case> cases = {
        {"shorter than the header", [](auto& b) { b.resize(51); }, S::Malformed, 0},
        {"header ends at the last byte", [](auto& b) { b.resize(52); }, S::NoProcessorObject, 0},
        {"invalid time", [](auto& b) { b[38] = 13; }, S::Malformed, 0},
        {"first object past the end", [](auto& b) { Put32(b, 24, 0xFFFFFFF0); },
         S::NoProcessorObject, 0},
        {"first object inside the header", [](auto& b) { Put32(b, 24, 0); }, S::NoProcessorObject,
         0},
        {"zero object length", [](auto& b) { Put32(b, 96, 0); }, S::NoProcessorObject, 0},
        {"object length past the end", [](auto& b) { Put32(b, 96, 0x7FFFFFFF); },
         S::NoProcessorObject, 0},
        {"huge object count, zero length",
         [](auto& b) { Put32(b, 28, 0xFFFFFFFF), Put32(b, 96, 0); }, S::NoProcessorObject, 0},
        {"huge object count, valid objects", [](auto& b) { Put32(b, 28, 0xFFFFFFFF); }, S::Ok, 3},
        {"object count too small", [](auto& b) { Put32(b, 28, 1); }, S::NoProcessorObject, 0},
        {"processor header cut", [&](auto& b) { b.resize(processor + 43); }, S::NoProcessorObject,
         0},
        {"no instances", [&](auto& b) { Put32(b, processor + 40, 0); }, S::NoProcessorObject, 0},
        {"no-instance marker", [&](auto& b) { Put32(b, processor + 40, 0xFFFFFFFF); },
         S::NoProcessorObject, 0},
        {"the most instances allowed", [&](auto& b) { Put32(b, processor + 40, 4096); }, S::Ok, 3},
        {"huge instance count", [&](auto& b) { Put32(b, processor + 40, 4097); },
         S::NoProcessorObject, 0},
        {"zero counters", [&](auto& b) { Put32(b, processor + 32, 0); }, S::NoProcessorCounter, 0},
        {"huge counter count", [&](auto& b) { Put32(b, processor + 32, 0xFFFFFFFF); }, S::Ok, 3},
        {"counters past the end", [&](auto& b) { Put32(b, processor + 8, 0xFFFFFFFF); },
         S::NoProcessorCounter, 0},
        {"zero definition length", [&](auto& b) { Put32(b, good.Counters[0], 0); },
         S::NoProcessorCounter, 0},
        {"definition length past the end", [&](auto& b) { Put32(b, good.Counters[0], 0xFFFFFFFF); },
         S::NoProcessorCounter, 0},
        {"counter offset past the end", [&](auto& b) { Put32(b, counter6 + 36, 0xFFFFFFF9); },
         S::NoProcessorCounter, 0},
        {"counter value straddles the end",
         [&](auto& b) {
             Put32(b, counter6 + 36,
                   static_cast<std::uint32_t>(b.size() - good.CounterBlocks[0] - 4));
         },
         S::NoProcessorCounter, 0},
        {"instances past the end", [&](auto& b) { Put32(b, processor + 4, 0xFFFFFFFF); },
         S::NoProcessorCounter, 0},
        {"instance length past the end",
         [&](auto& b) { Put32(b, good.InstanceDefs[0], 0xFFFFFFFF); }, S::NoProcessorCounter, 0},
        {"list cut after one instance", [&](auto& b) { b.resize(good.InstanceDefs[1] + 2); }, S::Ok,
         1},
        {"second instance length past the end",
         [&](auto& b) { Put32(b, good.InstanceDefs[1], 0xFFFFFFFF); }, S::Ok, 1},
        {"block length past the end", [&](auto& b) { Put32(b, good.CounterBlocks[1], 0xFFFFFFFF); },
         S::Ok, 2},
        {"zero instance and block lengths",
         [&](auto& b) { Put32(b, good.InstanceDefs[0], 0), Put32(b, good.InstanceDefs[0] + 4, 0); },
         S::Ok, 3},
        {"fewer instances than asked", [&](auto& b) { Put32(b, processor + 40, 2); }, S::Ok, 2},
        // The last idle value (at 16 in its counter block) ends exactly at the last byte.
        {"last value ends at the last byte", [&](auto& b) { b.resize(good.CounterBlocks[2] + 24); },
         S::Ok, 3},
        {"last value one byte short", [&](auto& b) { b.resize(good.CounterBlocks[2] + 23); }, S::Ok,
         2},
    };
    for (const auto& c : cases) {
        auto bytes = good.Bytes;
        c.Mutate(bytes);
        const auto w = Walk(bytes);
        EXPECT_EQ(w.Status, c.Status) << c.Name;
        EXPECT_EQ(w.Read, c.Read) << c.Name;

        // Through the sampler: the matching failure, and no shift on failure.
        TFakeSystem system;
        TCpuUsageSampler sampler(system);
        system.Block = good.Bytes;
        sampler.TakeCpuSample();
        system.Block = bytes;
        std::string message;
        try {
            sampler.TakeCpuSample();
        } catch (const Exception& e) {
            message = e.Message();
        }
        const char* expected = c.Status == S::Ok ? ""
                               : c.Status == S::NoProcessorCounter
                                   ? "Unable to locate the \"% of CPU usage\" performance counter"
                                   : "Unable to locate the \"Processor\" performance object";
        EXPECT_EQ(message, expected) << c.Name;
        EXPECT_EQ(sampler.ProcessorCount(), c.Status == S::Ok ? static_cast<int>(c.Read) : 3)
            << c.Name;
    }
}

TEST(CpuUsagePerfData, MutatedBlocksNeverReadOutsideAndFailOnlyAsDefined) {
    const std::vector<TPerfBlock> seeds = {ProcessorBlock(At(0), {1, 2, 3, 4}),
                                           ProcessorBlock(At(1), {9}),
                                           BuildPerfBlock(At(2), {{238, {6}, {{1}, {2}}}})};
    const std::uint32_t interesting[] = {0,          1,          4,          8,   40, 0x7FFFFFFF,
                                         0x80000000, 0xFFFFFFFF, 0xFFFFFFF8, 238, 6};
    std::mt19937 random(20241207);
    for (int round = 0; round < 4000; ++round) {
        const auto& seed = seeds[random() % seeds.size()];
        auto bytes = seed.Bytes;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            switch (random() % 4) {
            case 0: // a random byte
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
                break;
            case 1: // an aligned 32-bit field gets an edge value
                if (bytes.size() >= 4) {
                    const std::size_t at = (random() % (bytes.size() / 4)) * 4;
                    Put32(bytes, at, interesting[random() % std::size(interesting)]);
                }
                break;
            case 2: // a field gets the block size or thereabouts
                if (bytes.size() >= 4) {
                    const std::size_t at = (random() % (bytes.size() / 4)) * 4;
                    Put32(bytes, at, static_cast<std::uint32_t>(bytes.size() - random() % 16));
                }
                break;
            default: // truncation
                bytes.resize(random() % (bytes.size() + 1));
                break;
            }
        }
        const auto w = Walk(bytes);
        if (w.Status == TPerfDataStatus::Ok) {
            ASSERT_GE(w.Where.NumInstances, 1);
            ASSERT_LE(w.Where.NumInstances, kMaxProcessorInstances);
            ASSERT_LE(w.Read, std::min<std::size_t>(8, w.Where.NumInstances));
            ASSERT_GE(w.Read, 1u);
        }

        TFakeSystem system;
        TCpuUsageSampler sampler(system);
        system.Block = bytes;
        for (int sample = 0; sample < 2; ++sample) {
            try {
                sampler.TakeCpuSample();
                const double f = sampler.CpuLoadFraction(0);
                ASSERT_FALSE(std::isnan(f));
            } catch (const Exception& e) {
                const std::string m = e.Message();
                ASSERT_TRUE(m.find("performance object") != std::string::npos ||
                            m.find("performance counter") != std::string::npos)
                    << m;
            }
        }
    }
}

TEST(CpuUsagePerfData, ProcessorTimeRecordsAndTheBusyFraction) {
    std::vector<std::uint8_t> records(2 * 48 + 47, 0xEE); // two whole records and a part
    const std::int64_t first[3] = {5, 70, 30};
    const std::int64_t second[3] = {-1, 0x7FFFFFFFFFFFFFFF, 1};
    std::memcpy(records.data(), first, 24);
    std::memcpy(records.data() + 48, second, 24);
    std::vector<std::int64_t> idle(3, 1), idlePrev(3, 0), total(3, 2), totalPrev(3, 0);
    EXPECT_EQ(ReadProcessorTimes(records, idle, idlePrev, total, totalPrev), 2u);
    EXPECT_EQ(idle, (std::vector<std::int64_t>{5, -1, 1}));
    EXPECT_EQ(idlePrev, (std::vector<std::int64_t>{1, 1, 0}));
    EXPECT_EQ(total[0], 100);
    EXPECT_EQ(total[1], INT64_MIN); // wraps, never overflows
    EXPECT_EQ(total[2], 2);
    EXPECT_EQ(totalPrev[0], 2);

    EXPECT_EQ(BusyFraction(5, 5, 10, 10), 0.0);
    EXPECT_EQ(BusyFraction(5, 5, 20, 10), 1.0);
    EXPECT_DOUBLE_EQ(BusyFraction(7, 5, 20, 10), 0.8);
    EXPECT_DOUBLE_EQ(BusyFraction(INT64_MIN, INT64_MAX, INT64_MIN + 3, INT64_MAX), 0.75);
}
