// The System Information dialog's clock measurements on their worker thread: a stop (at exit)
// ends either measurement at once, whatever the processor's clock does, and drops the figures.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "forms/ClockMeasurement.h"
#include "toolkit/Application.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

// A processor with a time stamp counter whose millisecond count stands still (for ten seconds,
// so that a stop that did not work fails the test instead of hanging it).
class TStillClock : public TFakeCpu {
public:
    TStillClock() : TFakeCpu(SimpleCpu("GenuineIntel", 0x906EA, 0xBFEBFBFF)) {
        Facts.NumberOfProcessors = 2;
    }
    std::atomic<int> TickReads{0};
    std::atomic<bool> Raised{false};
    std::uint32_t TickCount() override {
        ++TickReads;
        return GetTickCount() - FBegan > 10000 ? GetTickCount() : 7;
    }
    void SetThreadPriority(int value) override { Raised = value == ThreadPriorityTimeCritical; }

private:
    DWORD FBegan = GetTickCount();
};

} // namespace

TEST(ClockMeasurement, AStopEndsTheSpinOrTheSleepAtOnceAndDropsTheFigures) {
    for (bool autoBench : {true, false}) {
        TStillClock cpu;
        bool done = false;
        const DWORD began = GetTickCount();
        DWORD stopped = 0;
        {
            TClockMeasurement clock(cpu);
            clock.Start(autoBench, 500, true, [&](const TClockFigures&) { done = true; });
            // Under way: spinning on the still clock, or raised for the dialog's sleep.
            while (autoBench ? cpu.TickReads < 1000 : !cpu.Raised) {
                Application->ProcessMessages();
                Sleep(1);
                ASSERT_LT(GetTickCount() - began, 5000u);
            }
            stopped = GetTickCount();
        }
        // Well short of the half second either measurement lasts.
        EXPECT_LT(GetTickCount() - stopped, 400u) << "a stopped measurement ran on";
        Application->ProcessMessages();
        EXPECT_FALSE(done);
    }
}
