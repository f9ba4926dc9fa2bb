// The gradient bar's arithmetic: a full gradient of a bar 1000 pixels long (the work of a full
// repaint), the fill geometry of a position change (the work of a tick) and the slices of 64
// processors.
#include <benchmark/benchmark.h>

#include "controls/BarGeometry.h"

#include <vector>

using namespace zq;

static void BM_GradientColours1000(benchmark::State& state) {
    GradientParams params{pdLeftToRight, cs3Colors, 0x408000, 0x00FF80, 0x0000FF, 1000, 34};
    for (auto _ : state) {
        TColor sum = 0;
        for (int line = 0; line < 1000; ++line)
            sum ^= GradientLineColor(params, line);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_GradientColours1000);

static void BM_PositionChangeGeometry(benchmark::State& state) {
    int position = 0;
    for (auto _ : state) {
        BarFill fill = ComputeBarFill(pdLeftToRight, true, 1000, 34, 0, 100, position);
        benchmark::DoNotOptimize(fill);
        position = (position + 37) % 101;
    }
}
BENCHMARK(BM_PositionChangeGeometry);

// The slices of a tick with "Each Processor" on at 64 processors: the default strip's 32 rows
// (pairs of processors share one) or, turned vertical, 64 columns of one or two pixels.
static void BM_EachProcessorSlices64(benchmark::State& state) {
    const TProgressDirection direction = state.range(0) ? pdLeftToRight : pdBottomToTop;
    const TRect inner{1, 1, 97, 33};
    std::vector<int> positions(64);
    int tick = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < positions.size(); ++i)
            positions[i] = static_cast<int>((i * 37 + tick) % 101);
        const int slices = BarSliceCount(direction, inner, positions.size());
        for (int i = 0; i < slices; ++i)
            benchmark::DoNotOptimize(ComputeBarSlice(direction, inner, 0, 100, positions, i));
        ++tick;
    }
}
BENCHMARK(BM_EachProcessorSlices64)->ArgName("rows")->Arg(1)->Arg(0);
