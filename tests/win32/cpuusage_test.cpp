// The sampler on the running system.
#include <gtest/gtest.h>

#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "toolkit/Exceptions.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
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
    std::vector<std::uint8_t> block(sampler.BufferSize());
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

// A thread keeping one processor busy while it lives (a Win32 thread: the program's thread
// model has no std::thread).
class TBusyThread {
public:
    TBusyThread() : FThread(CreateThread(nullptr, 0, Spin, &FStop, 0, nullptr)) {}
    ~TBusyThread() {
        FStop = true;
        if (FThread) {
            WaitForSingleObject(FThread, INFINITE);
            CloseHandle(FThread);
        }
    }
    bool Running() const { return FThread != nullptr; }

private:
    std::atomic<bool> FStop{false};
    HANDLE FThread;
};

} // namespace

// A sampler that always answered 0 would fail here: through an instance and through the
// program-wide one, the busy thread shows as one processor's worth of load.
TEST(CpuUsageSystem, ABusyThreadShowsAsLoad) {
    auto port = CreateSystemCpuUsagePort();
    TCpuUsageSampler sampler(*port);
    const struct {
        const char* Name;
        std::function<void()> Start, Sample, Stop;
        std::function<double(int)> Fraction;
        std::function<double()> All;
    } ways[] = {
        {"instance", [] {}, [&] { sampler.TakeCpuSample(); }, [] {},
         [&](int i) { return sampler.CpuLoadFraction(i); },
         [&] { return sampler.AllProcessorsLoadFraction(); }},
        {"program-wide", [] { InitCpuUsage(); }, [] { TakeCpuSample(); }, [] { DoneCpuUsage(); },
         [](int i) { return CpuLoadFraction(i); }, [] { return AllProcessorsLoadFraction(); }},
    };
    for (const auto& way : ways) {
        way.Start();
        int processors = 0;
        double sum = 0, all = 0;
        {
            TBusyThread busy;
            ASSERT_TRUE(busy.Running());
            Sleep(50);
            way.Sample();
            Sleep(400);
            way.Sample();
            all = way.All();
            try {
                for (;; ++processors) // up to the index the sampler refuses
                    sum += way.Fraction(processors);
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), "CPU index out of bounds");
            }
        }
        way.Stop();
        std::printf("%s: a busy thread is %.3f processors' worth, all processors %.3f over %d\n",
                    way.Name, sum, all, processors);
        ASSERT_GE(processors, 1) << way.Name;
        EXPECT_GE(sum, 0.6) << way.Name; // one processor's worth, give or take the scheduler
        EXPECT_GE(all, 0.6 / processors) << way.Name;
        EXPECT_LE(all, 1.05) << way.Name;
    }
}
