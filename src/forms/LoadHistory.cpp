#include "forms/LoadHistory.h"

namespace zq {

namespace {
constexpr TColor kGridColor = ColorRGB(0x00, 0x82, 0x42);
constexpr double kSecond = 1.0 / 86400;
} // namespace

void SetUpLoadHistory(TCustomChart& chart, TFastLineSeries& series) {
    chart.LeftAxis().SetMinMax(-1, 101);
    chart.LeftAxis().SetIncrement(5);
    chart.LeftAxis().SetGridColor(kGridColor);
    chart.SetValueSuffix("%");
    chart.BottomAxis().SetIncrement(kSecond);
    chart.BottomAxis().SetGridColor(kGridColor);
    series.SetSeriesColor(clLime);
    series.SetCapacity(kLoadHistoryPoints);
    series.SetParentChart(&chart);
    series.OnAfterAdd = [&chart, &series](TObject*, int) {
        ScrollTimeAxis(series, chart.BottomAxis(), kLoadHistorySpan);
    };
}

} // namespace zq
