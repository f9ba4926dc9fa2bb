// The hardware port's Windows calls: tick count, priorities and system facts, as the clock
// measurement uses them.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "cpuid/ProcessorIdentity.h"
#include "cpuid/VendorDefault.h"
#include "cpuid/CpuPort.h"

using namespace zq;

namespace {

// Passes everything to the hardware port and notes the priorities seen while measuring.
class TWatchingPort : public TCpuPort {
public:
    std::vector<std::pair<DWORD, int>> PrioritiesDuringWait; // the process's class, the thread's
    std::uint32_t ReadFlags() override { return Hw().ReadFlags(); }
    void WriteFlags(std::uint32_t value) override { Hw().WriteFlags(value); }
    TCpuRegisters Cpuid(std::uint32_t level, std::uint32_t subleaf) override {
        return Hw().Cpuid(level, subleaf);
    }
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
    TSystemProcessorInfo ProcessorFacts() override { return Hw().ProcessorFacts(); }

private:
    static TCpuPort& Hw() { return HardwareCpuPort(); }
};

} // namespace

TEST(CpuidPort, AnswersWhatWindowsSays) {
    TCpuPort& port = HardwareCpuPort();
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    EXPECT_EQ(port.ProcessorFacts().NumberOfProcessors, info.dwNumberOfProcessors);
    EXPECT_EQ(port.ProcessorFacts().ProcessorType, info.dwProcessorType);
    const DWORD before = GetTickCount();
    const std::uint32_t tick = port.TickCount();
    EXPECT_LE(tick - before, 50u);
    EXPECT_EQ(port.ThreadPriority(), GetThreadPriority(GetCurrentThread()));
}

TEST(CpuidPort, MeasurementRaisesTheThreadAloneAndRestoresIt) {
    const DWORD processClass = GetPriorityClass(GetCurrentProcess());
    const int threadPriority = GetThreadPriority(GetCurrentThread());
    TWatchingPort port;
    EXPECT_GT(MeasureRawClock(port, 0, 50), 0.0f);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), processClass);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), threadPriority);
    ASSERT_EQ(port.PrioritiesDuringWait.size(), 1u);
    EXPECT_EQ(port.PrioritiesDuringWait[0].first, processClass);
    // A spin is raised where another processor keeps the rest of the program going.
    const bool raised = port.ProcessorFacts().NumberOfProcessors > 1;
    EXPECT_EQ(port.PrioritiesDuringWait[0].second,
              raised ? THREAD_PRIORITY_TIME_CRITICAL : threadPriority);
}

TEST(CpuidPort, ComponentOnTheRealProcessor) {
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
