// The two clock measurements taken in steps, with the caller's waits between them (the fake
// processor's sleeps stand for the message loop's time).
#include <gtest/gtest.h>

#include <stdexcept>

#include "cpuid/CpuidRegisters.h"
#include "forms/ClockSteps.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

struct TRun {
    std::vector<std::uint32_t> Waits;
    TClockFigures Figures;
};

// Steps until both figures are in, waiting `late` ms longer than each step asks.
TRun RunSteps(TFakeCpu& cpu, bool autoBench, int benchDelay, std::uint32_t holdBack = 0,
              std::uint32_t late = 0) {
    TClockSteps steps(cpu, autoBench, benchDelay, HasTimeStampCounter(cpu.Snapshot()), holdBack);
    TRun run;
    while (const std::optional<std::uint32_t> wait = steps.Step()) {
        run.Waits.push_back(*wait);
        cpu.Sleep(*wait + late);
        if (run.Waits.size() > 10)
            break;
    }
    run.Figures = steps.Figures();
    return run;
}

} // namespace

TEST(ClockSteps, EachMeasurementIsTwoStepsAndALateStepCostsNoAccuracy) {
    const struct {
        bool AutoBench;
        double MHz;
        std::uint64_t TickPeriodMicros;
        std::uint32_t HoldBack;
        std::uint32_t Late;
        std::vector<std::uint32_t> Waits;
        int Component;
        double Dialog;
    } rows[] = {
        {true, 3700.0, 1000, 0, 0, {468, 468}, 3700, 3700.0},
        {true, 3700.0, 1000, 0, 140, {468, 468}, 3700, 3700.0},
        // A coarse tick (15.625 ms): a late end falls on a tick step, but the count's steps are
        // whole milliseconds, so the stretch is known to a millisecond.
        {true, 2445.4, 15625, 0, 250, {468, 468}, 2450, 2445.4},
        {true, 133.0, 1000, 5000, 0, {5000, 468, 468}, 133, 133.0},
        {false, 1000.0, 1000, 0, 0, {468}, 0, 1000.0},
        // The dialog's difference is taken in 32 bits: 9 GHz counts 4.5e9 - 2^32 in half a second.
        {true, 9000.0, 1000, 0, 0, {468, 468}, 9000, (4500000000.0 - 4294967296.0) / 500000.0},
    };
    for (const auto& row : rows) {
        TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x906EA, 0xBFEBFBFF);
        cpu.Facts.NumberOfProcessors = 2;
        cpu.MHz = row.MHz;
        cpu.TickPeriodMicros = row.TickPeriodMicros;
        const TRun run = RunSteps(cpu, row.AutoBench, 500, row.HoldBack, row.Late);
        const std::string what = std::to_string(row.MHz) + " MHz, late " + std::to_string(row.Late);
        EXPECT_EQ(run.Waits, row.Waits) << what;
        EXPECT_EQ(run.Figures.ComponentSpeed, row.Component) << what;
        EXPECT_NEAR(run.Figures.DialogSpeed, row.Dialog, row.Dialog / (500 + row.Late)) << what;
    }
}

TEST(ClockSteps, NothingIsReadWithoutATimeStampCounterAndAShortBenchWaitsNothing) {
    TFakeCpu noCounter = SimpleCpu("GenuineIntel", 0x435, 0x00000001);
    const TRun none = RunSteps(noCounter, true, 500);
    EXPECT_TRUE(none.Waits.empty());
    EXPECT_EQ(none.Figures.ComponentSpeed, 0);
    EXPECT_EQ(none.Figures.DialogSpeed, 0.0);
    EXPECT_EQ(noCounter.TimeStampReads, 0);
    EXPECT_TRUE(noCounter.Log.empty());

    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x543, 0x008001BF);
    cpu.MHz = 166;
    const TRun shortBench = RunSteps(cpu, true, 20);
    EXPECT_EQ(shortBench.Waits, (std::vector<std::uint32_t>{0, 468}));
    EXPECT_EQ(shortBench.Figures.ComponentSpeed, 166);
}

TEST(ClockSteps, OnlyTheSpinsToATickStepRaiseTheThreadAndNotOnASingleProcessor) {
    const std::vector<std::string> raisedSpin = {"get thread", "set thread 15", "set thread 2"};
    for (std::uint32_t processors : {1u, 2u}) {
        TFakeCpu cpu = SimpleCpu("AuthenticAMD", 0xA50F00, 0x10);
        cpu.Facts.NumberOfProcessors = processors;
        cpu.MHz = 2000;
        RunSteps(cpu, false, 500);
        std::vector<std::string> expected = {"sleep 468"};
        if (processors > 1) {
            expected.insert(expected.begin(), raisedSpin.begin(), raisedSpin.end());
            expected.insert(expected.end(), raisedSpin.begin(), raisedSpin.end());
        }
        EXPECT_EQ(cpu.Log, expected) << processors << " processors";
    }
}

TEST(ClockSteps, APriorityIsRestoredWhenAReadFails) {
    struct TFailingCounter : TFakeCpu {
        std::uint64_t ReadTimeStamp() override { throw std::runtime_error("no counter"); }
    } cpu;
    cpu.Facts.NumberOfProcessors = 2;
    TClockSteps steps(cpu, false, 500, true);
    EXPECT_THROW(steps.Step(), std::runtime_error);
    EXPECT_EQ(cpu.Log.back(), "set thread 2");
}
