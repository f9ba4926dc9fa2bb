// The clock measurement and its rounding, on the clock port, and the clock queries.
#include <gtest/gtest.h>

#include "cpuid/CpuClock.h"
#include "cpuid/CpuidQueries.h"
#include "cpuid/CpuidRegisters.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

TEST(CpuidClock, RoundsToCustomaryFigures) {
    const std::pair<float, int> cases[] = {
        {498.0f, 500},   {666.2f, 667},   {683.0f, 700},   {233.4f, 233}, {299.9f, 290},
        {97.0f, 90},     {-1.0f, 0},      {1999.7f, 2000}, {0.0f, 0},     {4.0f, 0},
        {5.0f, 10},      {133.0f, 133},   {349.3f, 350},   {316.0f, 300}, {450.0f, 450},
        {2445.4f, 2450}, {3999.9f, 4000}, {-250.0f, 0}};
    for (auto [raw, clock] : cases)
        EXPECT_EQ(RoundClock(raw), clock) << raw;
}

TEST(CpuidClock, NonsenseMeasurementsRoundToZero) {
    EXPECT_EQ(RoundClock(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(RoundClock(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(RoundClock(1e30f), 0);
    EXPECT_EQ(RoundClock(-1e30f), 0);
}

TEST(CpuidClock, MeasuringRaisesTheThreadAloneAndNoSpinOnASingleProcessor) {
    const std::vector<std::string> raised = {"get thread", "set thread 15", "set thread 2"};
    const struct {
        std::uint32_t Processors;
        bool Spins;
        std::vector<std::string> Log;
    } rows[] = {{2, true, raised}, {2, false, raised}, {1, false, raised}, {1, true, {}}};
    for (const auto& row : rows) {
        TFakeCpu cpu;
        cpu.Facts.NumberOfProcessors = row.Processors;
        { const TMeasuringPriority priority(cpu, row.Spins); }
        EXPECT_EQ(cpu.Log, row.Log) << row.Processors << " processors, spins " << row.Spins;
    }
}

TEST(CpuidClock, MeasuresSpinningAndRestoresThePriority) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x52C, 0x000003BF);
    cpu.Facts.NumberOfProcessors = 2;
    cpu.MHz = 133.0;
    cpu.StepMicros = 100;
    EXPECT_NEAR(MeasureRawClock(cpu, true, 500), 133.0, 0.01);
    EXPECT_EQ(cpu.Log, (std::vector<std::string>{"get thread", "set thread 15", "set thread 2"}));
    EXPECT_EQ(GetCPUSpeed(cpu.Snapshot(), cpu, 500), 133);
}

TEST(CpuidClock, SurvivesTheTickCountWrapping) {
    TFakeCpu cpu = SimpleCpu("AuthenticAMD", 0x642, 0x0183F9FF);
    cpu.MHz = 1000.0;
    cpu.StepMicros = 250;
    cpu.TickBase = 0xFFFFFFFFu - 100; // wraps 100 ms into the measurement
    EXPECT_NEAR(MeasureRawClock(cpu, true, 500), 1000.0, 0.1);
    EXPECT_EQ(GetCPUSpeed(cpu.Snapshot(), cpu, 500), 1000);
}

TEST(CpuidClock, ACoarseSystemTickDoesNotShortenTheMeasurement) {
    // The tick count moves every 15.625 ms, as on most Windows machines.
    TFakeCpu cpu = SimpleCpu("AuthenticAMD", 0xA50F00, 0x10);
    cpu.MHz = 2445.4;
    cpu.StepMicros = 10;
    cpu.TickPeriodMicros = 15625;
    EXPECT_NEAR(MeasureRawClock(cpu, true, 500), 2445.4, 0.5);
    EXPECT_EQ(GetCPUSpeed(cpu.Snapshot(), cpu, 500), 2450);
}

TEST(CpuidClock, NoTimeStampCounterOrNoDelayMeansNoMeasurement) {
    TFakeCpu noTsc = SimpleCpu("GenuineIntel", 0x435, 0x00000001);
    noTsc.MHz = 100;
    EXPECT_EQ(MeasureRawClock(noTsc, HasTimeStampCounter(noTsc.Snapshot()), 500), -1.0f);
    EXPECT_EQ(GetCPUSpeed(noTsc.Snapshot(), noTsc, 500), 0);
    EXPECT_EQ(noTsc.TimeStampReads, 0);

    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x543, 0x008001BF);
    cpu.MHz = 166;
    EXPECT_EQ(MeasureRawClock(cpu, true, 0), -1.0f);
    EXPECT_EQ(MeasureRawClock(cpu, true, -5), -1.0f);
    EXPECT_EQ(cpu.TimeStampReads, 0);
    EXPECT_EQ(GetCPUSpeed(cpu.Snapshot(), cpu, 20), 166); // short delays measure as well
}

TEST(CpuidClock, EveryVendorMeasuresTheSameWay) {
    for (int code = 0; code <= 7; ++code) {
        TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x683, 0x10);
        cpu.MHz = 600;
        EXPECT_EQ(RoundClock(VendorModule(code).RawSpeed(cpu, cpu.Snapshot(), 100)), 600) << code;
    }
}
