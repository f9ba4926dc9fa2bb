// The sampler on the running system.
#include <gtest/gtest.h>

#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>

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

TEST(CpuUsageSystem, TwoSamplesGiveASaneFraction) {
    auto port = CreateSystemCpuUsagePort();
    TCpuUsageSampler sampler(*port);
    ASSERT_TRUE(sampler.IsNT());
    sampler.TakeCpuSample();
    Sleep(200);
    sampler.TakeCpuSample();
    const double fraction = sampler.CpuLoadFraction(0);
    EXPECT_GE(fraction, -0.05);
    EXPECT_LE(fraction, 1.05);
    EXPECT_GE(sampler.ProcessorCount(), 1);

    // A performance-data block without objects (Wine's) must have led to the processor times.
    std::vector<std::uint8_t> block(sampler.BufferSize());
    std::uint32_t returned = 0, objects = 1;
    if (port->QueryPerformanceData("238", block.data(), static_cast<std::uint32_t>(block.size()),
                                   returned) == kErrorSuccess &&
        returned >= 32)
        std::memcpy(&objects, block.data() + 28, 4);
    EXPECT_EQ(sampler.UsesProcessorTimes(), objects == 0);
    std::printf("processor 0: %.3f over %d processors%s\n", fraction, sampler.ProcessorCount(),
                sampler.UsesProcessorTimes() ? " (per-processor times)" : "");
}

namespace {
DWORD WINAPI Spin(LPVOID flag) {
    volatile unsigned spin = 0;
    while (!static_cast<std::atomic<bool>*>(flag)->load(std::memory_order_relaxed))
        spin = spin + 1;
    return 0;
}
} // namespace

TEST(CpuUsageSystem, ABusyThreadShowsAsLoad) {
    auto port = CreateSystemCpuUsagePort();
    TCpuUsageSampler sampler(*port);
    std::atomic<bool> stop{false};
    // A Win32 thread: the program's thread model has no std::thread.
    HANDLE busy = CreateThread(nullptr, 0, Spin, &stop, 0, nullptr);
    ASSERT_NE(busy, nullptr);
    Sleep(50);
    sampler.TakeCpuSample();
    Sleep(400);
    sampler.TakeCpuSample();
    stop = true;
    WaitForSingleObject(busy, INFINITE);
    CloseHandle(busy);
    double total = 0;
    for (int i = 0; i < sampler.ProcessorCount(); ++i)
        total += sampler.CpuLoadFraction(i);
    std::printf("load with a busy thread: %.3f processors' worth\n", total);
    EXPECT_GE(total, 0.6); // one processor's worth, give or take the scheduler
}

TEST(CpuUsageSystem, UnitStartUpOnTheRunningSystem) {
    InitCpuUsage();
    TakeCpuSample();
    Sleep(100);
    TakeCpuSample();
    const double fraction = CpuLoadFraction(0);
    EXPECT_GE(fraction, -0.05);
    EXPECT_LE(fraction, 1.05);
    DoneCpuUsage();
}
