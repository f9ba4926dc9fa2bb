// The clock measurements on the GUI thread's timer: destroying a measurement under way (at exit)
// ends it at once and drops its figures.
#include <gtest/gtest.h>
#include <windows.h>

#include "forms/ClockMeasurement.h"
#include "toolkit/Application.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

TEST(ClockMeasurement, ADestroyedMeasurementEndsAtOnceAndDropsItsFigures) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x906EA, 0xBFEBFBFF);
    cpu.MHz = 3700;
    bool done = false;
    {
        TClockMeasurement clock(cpu);
        clock.Start(true, [&](const TClockFigures&) { done = true; });
        EXPECT_EQ(cpu.TimeStampReads, 0) << "measured before the message loop ran";
        for (const DWORD began = GetTickCount();
             cpu.TimeStampReads == 0 && GetTickCount() - began < 5000; Sleep(1))
            Application->ProcessMessages();
        ASSERT_EQ(cpu.TimeStampReads, 1) << "the first step did not come";
        EXPECT_TRUE(clock.Busy());
    }
    const DWORD destroyed = GetTickCount();
    while (GetTickCount() - destroyed < 700) {
        Application->ProcessMessages();
        Sleep(5);
    }
    EXPECT_FALSE(done);
    EXPECT_EQ(cpu.TimeStampReads, 1);
}
