// The load history: the tick's point (add, scroll and trim a full three-minute window) and the
// arithmetic of one paint of a 600 by 83 chart (grid lines, mapping and clipping 181 points).
#include <benchmark/benchmark.h>

#include "chart/ChartModel.h"

using namespace zq;

namespace {
constexpr double kSecond = 1.0 / 86400;
constexpr double kStart = 46000.25;

struct History {
    TCustomChart chart;
    TFastLineSeries series{nullptr};
    double t = 0;
    History() {
        series.SetParentChart(&chart);
        chart.LeftAxis().SetMinMax(-1, 101);
        chart.LeftAxis().SetIncrement(5);
        chart.BottomAxis().SetIncrement(kSecond);
        series.OnAfterAdd = [this](TObject*, int) {
            ScrollTimeAxis(series, chart.BottomAxis(), 180 * kSecond);
        };
        for (; t < 400; ++t)
            Tick();
    }
    void Tick() { series.AddXY(kStart + t * kSecond, static_cast<int>(t) % 101); }
};
} // namespace

static void BM_HistoryTick(benchmark::State& state) {
    History h;
    for (auto _ : state) {
        h.Tick();
        ++h.t;
    }
}
BENCHMARK(BM_HistoryTick);

static void BM_PaintGeometry(benchmark::State& state) {
    History h;
    const TRect plot = ChartPlotRect(600, 83);
    const TBoxF box{2, 2, 597, 80};
    for (auto _ : state) {
        TAxisScale horiz = h.chart.HorizScale(plot);
        TAxisScale vert = h.chart.VertScale(plot);
        TGridLines columns = AxisGridLines(horiz, h.chart.BottomAxis().Increment());
        TGridLines rows = AxisGridLines(vert, h.chart.LeftAxis().Increment());
        double sum = columns.Count + rows.Count;
        TPointF previous{horiz.Position(h.series.XValue(0)), vert.Position(h.series.YValue(0))};
        for (int i = 1; i < h.series.Count(); ++i) {
            TPointF current{horiz.Position(h.series.XValue(i)), vert.Position(h.series.YValue(i))};
            TPointF a = previous, b = current;
            if (ClipSegment(a, b, box))
                sum += a.X + b.Y;
            previous = current;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PaintGeometry);
