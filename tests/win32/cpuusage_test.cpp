// The sampler on the running system.
#include <gtest/gtest.h>

#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace zq;

TEST(CpuUsageSystem, PortAnswersTheVersionAndThePerformanceData) {
    auto port = CreateSystemCpuUsagePort();
    EXPECT_EQ(port->QueryPlatformId(), kPlatformWin32NT);
    EXPECT_TRUE(port->HasProcessorTimes());
    EXPECT_GE(port->ProcessorCount(), 1);
    std::vector<std::uint8_t> buffer(8192);
    std::uint32_t returned = 0;
    const long status = port->QueryPerformanceData("238", buffer.data(), 8192, returned);
    EXPECT_TRUE(status == kErrorSuccess || status == kErrorMoreData) << status;
}

TEST(CpuUsageSystem, SourceFollowsThePerformanceData) {
    auto port = CreateSystemCpuUsagePort();
    TCpuUsageSampler sampler(*port);
    ASSERT_TRUE(sampler.IsNT());
    sampler.TakeCpuSample();
    EXPECT_GE(sampler.ProcessorCount(), 1);

    // A performance-data block without objects (Wine's) must have led to the processor times.
    std::vector<std::uint8_t> block(kInitialBufferSize);
    std::uint32_t returned = 0, objects = 1;
    if (port->QueryPerformanceData("238", block.data(), static_cast<std::uint32_t>(block.size()),
                                   returned) == kErrorSuccess &&
        returned >= 32)
        std::memcpy(&objects, block.data() + 28, 4);
    EXPECT_EQ(sampler.UsesProcessorTimes(), objects == 0);
}

namespace {

DWORD WINAPI Spin(LPVOID flag) {
    volatile unsigned spin = 0;
    while (!static_cast<std::atomic<bool>*>(flag)->load(std::memory_order_relaxed))
        spin = spin + 1;
    return 0;
}

// Takes two samples 400 ms apart while a thread keeps one processor busy (a Win32 thread: the
// program's thread model has no std::thread).
template <typename F> void SampleAroundABusyThread(F sample) {
    std::atomic<bool> stop{false};
    HANDLE busy = CreateThread(nullptr, 0, Spin, &stop, 0, nullptr);
    ASSERT_NE(busy, nullptr);
    Sleep(50);
    sample();
    Sleep(400);
    sample();
    stop = true;
    WaitForSingleObject(busy, INFINITE);
    CloseHandle(busy);
}

} // namespace

// A sampler that always answered 0 would fail these two.
TEST(CpuUsageSystem, ABusyThreadShowsAsLoad) {
    auto port = CreateSystemCpuUsagePort();
    TCpuUsageSampler sampler(*port);
    SampleAroundABusyThread([&] { sampler.TakeCpuSample(); });
    double total = 0;
    for (int i = 0; i < sampler.ProcessorCount(); ++i)
        total += sampler.CpuLoadFraction(i);
    const double all = sampler.AllProcessorsLoadFraction();
    std::printf("load with a busy thread: %.3f processors' worth, %.3f of all %d\n", total, all,
                sampler.ProcessorCount());
    EXPECT_GE(total, 0.6); // one processor's worth, give or take the scheduler
    EXPECT_GE(all, 0.6 / sampler.ProcessorCount());
}

TEST(CpuUsageSystem, UnitStartUpOnTheRunningSystem) {
    InitCpuUsage();
    SampleAroundABusyThread([] { TakeCpuSample(); });
    const double all = AllProcessorsLoadFraction();
    DoneCpuUsage();
    EXPECT_GT(all, 0.0);
    EXPECT_LE(all, 1.05);
}
