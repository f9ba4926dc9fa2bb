// The gradient bar's arithmetic: a full gradient of a bar 1000 pixels long (the work of a full
// repaint) and the fill geometry of a position change (the work of a tick).
#include <benchmark/benchmark.h>

#include "controls/BarGeometry.h"

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
