// The hardware ports' Windows calls: tick count, priorities and system facts, as the clock
// measurement and the snapshot use them.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "cpuid/CpuClock.h"
#include "cpuid/CpuidReader.h"
#include "cpuid/ProcessorIdentity.h"

using namespace zq;

namespace {

// Passes everything to the hardware clock and notes the priorities seen while measuring.
class TWatchingClock : public TCpuClock {
public:
    std::vector<std::pair<DWORD, int>> PrioritiesDuringWait; // the process's class, the thread's
    std::uint64_t ReadTimeStamp() override { return Hw().ReadTimeStamp(); }
    std::uint32_t TickCount() override {
        if (PrioritiesDuringWait.empty())
            PrioritiesDuringWait.push_back(
                {GetPriorityClass(GetCurrentProcess()), GetThreadPriority(GetCurrentThread())});
        return Hw().TickCount();
    }
    void Sleep(std::uint32_t milliseconds) override { Hw().Sleep(milliseconds); }
    int ThreadPriority() override { return Hw().ThreadPriority(); }
    void SetThreadPriority(int value) override { Hw().SetThreadPriority(value); }
    std::uint32_t ProcessorCount() override { return Hw().ProcessorCount(); }

private:
    static TCpuClock& Hw() { return HardwareCpuClock(); }
};

} // namespace

TEST(HardwarePorts, AnswerWhatWindowsSays) {
    TCpuClock& clock = HardwareCpuClock();
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    EXPECT_EQ(SystemProcessorFacts().NumberOfProcessors, info.dwNumberOfProcessors);
    EXPECT_EQ(SystemProcessorFacts().ProcessorType, info.dwProcessorType);
    EXPECT_EQ(clock.ProcessorCount(), info.dwNumberOfProcessors);
    EXPECT_EQ(ReadThisProcessor().System.ProcessorType, info.dwProcessorType);
    const DWORD before = GetTickCount();
    const std::uint32_t tick = clock.TickCount();
    EXPECT_LE(tick - before, 50u);
    EXPECT_EQ(clock.ThreadPriority(), GetThreadPriority(GetCurrentThread()));
}

TEST(HardwarePorts, MeasurementRaisesTheThreadAloneAndRestoresIt) {
    const DWORD processClass = GetPriorityClass(GetCurrentProcess());
    const int threadPriority = GetThreadPriority(GetCurrentThread());
    TWatchingClock clock;
    EXPECT_GT(MeasureRawClock(clock, true, 50), 0.0f);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), processClass);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), threadPriority);
    ASSERT_EQ(clock.PrioritiesDuringWait.size(), 1u);
    EXPECT_EQ(clock.PrioritiesDuringWait[0].first, processClass);
    // A spin is raised where another processor keeps the rest of the program going.
    const bool raised = clock.ProcessorCount() > 1;
    EXPECT_EQ(clock.PrioritiesDuringWait[0].second,
              raised ? THREAD_PRIORITY_TIME_CRITICAL : threadPriority);
}

TEST(HardwarePorts, ComponentOnTheRealProcessor) {
    TProcessorIdentity ident(nullptr);
    ident.AutoBench()->SetEnabled(true);
    ident.AutoBench()->SetDelay(100);
    ident.LoadedTree();
    EXPECT_TRUE(ident.CPUID()->Available());
    EXPECT_GT(ident.Speed(), 0);
    EXPECT_FALSE(ident.FDivBug());
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    EXPECT_EQ(ident.Count(), static_cast<int>(info.dwNumberOfProcessors & 0xFF));
}
