#pragma once
// The portable part of the line chart: its axes, the fast line series (a ring of points whose
// storage is allocated once) and the chart that joins them; and the history rule that scrolls a
// time axis along with the newest point.
//
// A control derives from TCustomChart, paints what the axes and series hold and repaints in
// Changed(). A dialog that shows a load history does:
//
//     series->SetParentChart(chart);
//     series->OnAfterAdd = [=](TObject*, int) {
//         ScrollTimeAxis(*series, chart->BottomAxis(), span);
//     };
//     chart->LeftAxis().SetMinMax(-1, 101);
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chart/ChartGeometry.h"
#include "toolkit/Component.h"
#include "toolkit/Types.h"

namespace zq {

class TCustomChart;

// The colour argument of AddXY that leaves a point in the series' own colour.
constexpr TColor clTeeColor = 0x20000000;

class TChartAxis {
public:
    explicit TChartAxis(TCustomChart* chart = nullptr) : FChart(chart) {}
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    // Automatic: the axis spans the values of the chart's series; manual: Minimum..Maximum.
    bool Automatic() const { return FAutomatic; }
    void SetAutomatic(bool value);
    double Minimum() const { return FMinimum; }
    void SetMinimum(double value);
    double Maximum() const { return FMaximum; }
    void SetMaximum(double value);
    // Sets both ends and makes the range manual.
    void SetMinMax(double minimum, double maximum);
    // The desired distance between grid lines in axis units (0: chosen from the range). Lines
    // are spread further when they would crowd (AxisGridLines).
    double Increment() const { return FIncrement; }
    void SetIncrement(double value);
    TColor GridColor() const { return FGridColor; }
    void SetGridColor(TColor value);

private:
    void Changed();

    TCustomChart* FChart;
    bool FAutomatic = true;
    double FMinimum = 0;
    double FMaximum = 0;
    double FIncrement = 0;
    TColor FGridColor = clGray;
};

struct TChartPoint {
    double X = 0;
    double Y = 0;
};

// Called after a point was added, with the series and the new point's index.
using TSeriesAfterAddEvent = std::function<void(TObject* sender, int valueIndex)>;

// A line through the points in the order they were added, drawn one pixel wide in the series
// colour. Points live in a ring allocated when the first point comes (and again when its capacity
// changes): when it is full, adding a point drops the oldest, so storage stays bounded however
// fast points arrive, and adding, reading and deleting allocate nothing after that.
class TFastLineSeries : public TComponent {
public:
    static constexpr int DefaultCapacity = 1024;

    explicit TFastLineSeries(TComponent* owner);
    ~TFastLineSeries() override;

    TCustomChart* ParentChart() const { return FParentChart; }
    // Leaves the former chart and joins the new one (nullptr: none).
    void SetParentChart(TCustomChart* chart);
    // The chart's bottom and left axes; nullptr while the series is on no chart.
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;

    TColor SeriesColor() const { return FSeriesColor; }
    void SetSeriesColor(TColor value);

    int Capacity() const { return FCapacity; }
    // A ring of at least one point, keeping the newest points that fit.
    void SetCapacity(int value);

    // Appends a point, runs OnAfterAdd with its index and returns that index. A fast
    // line has neither marks nor colours of its own per point, so label and colour are not kept.
    // A point whose X or Y is not a finite number is refused: -1, and no event.
    int AddXY(double x, double y, std::string_view label = {}, TColor color = clTeeColor);
    int Count() const { return FCount; }
    // ERangeError outside 0..Count()-1.
    double XValue(int index) const;
    double YValue(int index) const;
    void Delete(int index);
    void Clear();
    // Extremes of the values; 0 for an empty series.
    double MinXValue() const;
    double MaxXValue() const;
    double MinYValue() const;
    double MaxYValue() const;

    TSeriesAfterAddEvent OnAfterAdd;

private:
    friend class TCustomChart;
    const TChartPoint& At(int index) const;
    TChartPoint& Slot(int index) { return FPoints[(FHead + index) % FCapacity]; }
    void Changed();

    TCustomChart* FParentChart = nullptr;
    TColor FSeriesColor = clLime;
    std::unique_ptr<TChartPoint[]> FPoints; // made at the first point
    int FCapacity = DefaultCapacity;
    int FHead = 0;
    int FCount = 0;
};

// The axes and series of a chart. Changed() tells the control that what it shows has changed.
class TCustomChart {
public:
    TCustomChart();
    // Takes the series off the chart (they live on, on no chart).
    virtual ~TCustomChart();
    TCustomChart(const TCustomChart&) = delete;
    TCustomChart& operator=(const TCustomChart&) = delete;

    // The vertical axis at the left, its values growing upwards, and the horizontal one.
    TChartAxis& LeftAxis() { return FLeftAxis; }
    TChartAxis& BottomAxis() { return FBottomAxis; }
    const TChartAxis& LeftAxis() const { return FLeftAxis; }
    const TChartAxis& BottomAxis() const { return FBottomAxis; }

    int SeriesCount() const { return static_cast<int>(FSeries.size()); }
    TFastLineSeries* Series(int index) const { return FSeries.at(index); }
    void AddSeries(TFastLineSeries* series) { series->SetParentChart(this); }
    void RemoveSeries(TFastLineSeries* series) { series->SetParentChart(nullptr); }

    // The unit of the values ("%"). The chart's value to a screen reader is its newest point:
    // that of the first series, rounded to a whole number, with the unit ("53%"); empty before
    // the first point.
    const std::string& ValueSuffix() const { return FValueSuffix; }
    void SetValueSuffix(const std::string& suffix) { FValueSuffix = suffix; }
    std::string NewestValueText() const;

    // The axes over a plot area: the bottom one left to right across its pixels, the left one
    // from its bottom pixel row up to its top one. A manual axis spans Minimum..Maximum; an
    // automatic one the series' X (bottom) or Y (left) values, widened by one unit either side
    // when they are all equal. Without points an automatic axis has no valid scale.
    TAxisScale HorizScale(const TRect& plot) const;
    TAxisScale VertScale(const TRect& plot) const;

protected:
    virtual void Changed() {}

private:
    friend class TChartAxis;
    friend class TFastLineSeries;

    TChartAxis FLeftAxis;
    TChartAxis FBottomAxis;
    std::vector<TFastLineSeries*> FSeries;
    std::string FValueSuffix;
};

// The history rule of a scrolling time chart, for the series' OnAfterAdd: the axis becomes manual
// and spans `span` ending at the newest X; points before its minimum are deleted. The last point
// is the newest: when it lies before the point added ahead of it (the clock went back) the
// history restarts with it alone, so the chart keeps moving instead of waiting for the clock to
// catch up. A jump forward simply leaves the older points before the minimum.
void ScrollTimeAxis(TFastLineSeries& series, TChartAxis& axis, double span);

} // namespace zq
