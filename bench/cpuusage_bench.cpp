// The once-a-second sample: the performance-data walk over a 64-processor block.
// Benchmarks of other areas (e.g. the gradient computation) go in their own bench/*.cpp.
#include <benchmark/benchmark.h>

#include "unit/cpuusage_fake_system.h"
#include "unit/cpuusage_perf_block.h"

#include "cpuusage/CpuUsage.h"
#include "cpuusage/PerfData.h"

#include <vector>

namespace {

using namespace zq;
using namespace zq::testing;

std::vector<std::int64_t> IdleValues(int count) {
    std::vector<std::int64_t> idle;
    for (int i = 0; i < count; ++i)
        idle.push_back(1'000'000'000LL + i * 12345);
    return idle;
}

// Locating the processor counter and reading 64 instances.
void BM_PerfDataWalk64(benchmark::State& state) {
    const auto block = ProcessorBlock(At(0), IdleValues(64)).Bytes;
    std::vector<std::int64_t> current(64), previous(64);
    for (auto _ : state) {
        TProcessorCounterLocation where;
        benchmark::DoNotOptimize(LocateProcessorCounter(block, where));
        benchmark::DoNotOptimize(ReadProcessorCounters(block, where, current, previous));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_PerfDataWalk64);

// A whole sample and a fraction, the system's answer copied in by a fake registry.
void BM_TakeCpuSample64(benchmark::State& state) {
    TFakeSystem system;
    system.Block = ProcessorBlock(At(0), IdleValues(64)).Bytes;
    TCpuUsageSampler sampler(system);
    sampler.TakeCpuSample();
    for (auto _ : state) {
        sampler.TakeCpuSample();
        benchmark::DoNotOptimize(sampler.CpuLoadFraction(0));
        system.SizesAsked.clear();
    }
}
BENCHMARK(BM_TakeCpuSample64);

} // namespace
