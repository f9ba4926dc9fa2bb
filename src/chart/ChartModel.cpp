#include "chart/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "toolkit/Exceptions.h"
#include "toolkit/Rounding.h"

namespace zq {

// ---- TChartAxis

void TChartAxis::Changed() {
    if (FChart != nullptr)
        FChart->Changed();
}

void TChartAxis::SetAutomatic(bool value) {
    FAutomatic = value;
    Changed();
}

void TChartAxis::SetMinimum(double value) {
    FMinimum = value;
    Changed();
}

void TChartAxis::SetMaximum(double value) {
    FMaximum = value;
    Changed();
}

void TChartAxis::SetMinMax(double minimum, double maximum) {
    FMinimum = minimum;
    FMaximum = maximum;
    FAutomatic = false;
    Changed();
}

void TChartAxis::SetIncrement(double value) {
    FIncrement = value;
    Changed();
}

void TChartAxis::SetGridColor(TColor value) {
    FGridColor = value;
    Changed();
}

// ---- TFastLineSeries

TFastLineSeries::TFastLineSeries(TComponent* owner) : TComponent(owner) {}

TFastLineSeries::~TFastLineSeries() {
    SetParentChart(nullptr);
}

void TFastLineSeries::SetParentChart(TCustomChart* chart) {
    if (chart == FParentChart)
        return;
    if (FParentChart != nullptr) {
        auto& list = FParentChart->FSeries;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        FParentChart->Changed();
    }
    FParentChart = chart;
    if (chart != nullptr) {
        chart->FSeries.push_back(this);
        chart->Changed();
    }
}

TChartAxis* TFastLineSeries::GetHorizAxis() const {
    return FParentChart != nullptr ? &FParentChart->BottomAxis() : nullptr;
}

TChartAxis* TFastLineSeries::GetVertAxis() const {
    return FParentChart != nullptr ? &FParentChart->LeftAxis() : nullptr;
}

void TFastLineSeries::SetSeriesColor(TColor value) {
    FSeriesColor = value;
    Changed();
}

void TFastLineSeries::Changed() {
    if (FParentChart != nullptr)
        FParentChart->Changed();
}

void TFastLineSeries::SetCapacity(int value) {
    value = std::max(value, 1);
    const int keep = std::min(FCount, value);
    if (FPoints) {
        auto points = std::make_unique<TChartPoint[]>(static_cast<std::size_t>(value));
        for (int i = 0; i < keep; ++i)
            points[i] = At(FCount - keep + i);
        FPoints = std::move(points);
    }
    FCapacity = value;
    FHead = 0;
    FCount = keep;
    Changed();
}

const TChartPoint& TFastLineSeries::At(int index) const {
    if (index < 0 || index >= FCount)
        throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    return FPoints[(FHead + index) % FCapacity];
}

int TFastLineSeries::AddXY(double x, double y, std::string_view label, TColor color) {
    (void)label;
    (void)color;
    if (!std::isfinite(x) || !std::isfinite(y))
        return -1;
    if (!FPoints)
        FPoints = std::make_unique<TChartPoint[]>(static_cast<std::size_t>(FCapacity));
    if (FCount == FCapacity) {
        FHead = (FHead + 1) % FCapacity;
        --FCount;
    }
    Slot(FCount) = {x, y};
    int index = FCount++;
    if (OnAfterAdd)
        OnAfterAdd(this, index);
    Changed();
    return index;
}

double TFastLineSeries::XValue(int index) const {
    return At(index).X;
}

double TFastLineSeries::YValue(int index) const {
    return At(index).Y;
}

void TFastLineSeries::Delete(int index) {
    At(index); // range check
    if (index == 0) {
        FHead = (FHead + 1) % FCapacity;
    } else {
        for (int i = index; i + 1 < FCount; ++i)
            Slot(i) = Slot(i + 1);
    }
    --FCount;
    if (FCount == 0)
        FHead = 0;
    Changed();
}

void TFastLineSeries::Clear() {
    FHead = 0;
    FCount = 0;
    Changed();
}

namespace {
template <typename Value, typename Better>
double Extreme(const TFastLineSeries& s, Value value, Better better) {
    if (s.Count() == 0)
        return 0;
    double result = value(0);
    for (int i = 1; i < s.Count(); ++i)
        if (better(value(i), result))
            result = value(i);
    return result;
}
} // namespace

double TFastLineSeries::MinXValue() const {
    return Extreme(
        *this, [this](int i) { return At(i).X; }, std::less<double>());
}

double TFastLineSeries::MaxXValue() const {
    return Extreme(
        *this, [this](int i) { return At(i).X; }, std::greater<double>());
}

double TFastLineSeries::MinYValue() const {
    return Extreme(
        *this, [this](int i) { return At(i).Y; }, std::less<double>());
}

double TFastLineSeries::MaxYValue() const {
    return Extreme(
        *this, [this](int i) { return At(i).Y; }, std::greater<double>());
}

// ---- TCustomChart

TCustomChart::TCustomChart() : FLeftAxis(this), FBottomAxis(this) {}

std::string TCustomChart::NewestValueText() const {
    if (FSeries.empty() || FSeries[0]->Count() == 0)
        return {};
    const TFastLineSeries& s = *FSeries[0];
    return std::to_string(static_cast<int>(RoundHalfEven(s.YValue(s.Count() - 1)))) + FValueSuffix;
}

TCustomChart::~TCustomChart() {
    for (TFastLineSeries* series : FSeries)
        series->FParentChart = nullptr;
}

namespace {
TAxisScale AxisScale(const TChartAxis& axis, const std::vector<TFastLineSeries*>& series,
                     bool xValues, double start, double end) {
    TAxisScale scale{axis.Minimum(), axis.Maximum(), start, end};
    if (!axis.Automatic())
        return scale;
    bool any = false;
    for (const TFastLineSeries* s : series) {
        if (s->Count() == 0)
            continue;
        double lo = xValues ? s->MinXValue() : s->MinYValue();
        double hi = xValues ? s->MaxXValue() : s->MaxYValue();
        scale.Min = any ? std::min(scale.Min, lo) : lo;
        scale.Max = any ? std::max(scale.Max, hi) : hi;
        any = true;
    }
    if (!any)
        return {0, 0, start, end};
    if (scale.Min == scale.Max) {
        scale.Min -= 1;
        scale.Max += 1;
    }
    return scale;
}
} // namespace

TAxisScale TCustomChart::HorizScale(const TRect& plot) const {
    return AxisScale(FBottomAxis, FSeries, true, plot.Left, std::max(plot.Left, plot.Right - 1));
}

TAxisScale TCustomChart::VertScale(const TRect& plot) const {
    return AxisScale(FLeftAxis, FSeries, false, std::max(plot.Top, plot.Bottom - 1), plot.Top);
}

// ---- history

void ScrollTimeAxis(TFastLineSeries& series, TChartAxis& axis, double span) {
    int count = series.Count();
    if (count >= 2 && series.XValue(count - 1) < series.XValue(count - 2)) {
        while (series.Count() > 1)
            series.Delete(0);
    }
    axis.SetAutomatic(false);
    axis.SetMaximum(series.MaxXValue());
    axis.SetMinimum(axis.Maximum() - span);
    while (series.Count() > 0 && series.XValue(0) < axis.Minimum())
        series.Delete(0);
}

} // namespace zq
