// Where the chart puts things: the plot area, axis scales, value-to-pixel mapping, grid lines
// and the clipping of line segments.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/ChartGeometry.h"
#include "chart/ChartModel.h"
#include "toolkit/Rounding.h"

using namespace zq;

namespace {
constexpr double kSecond = 1.0 / 86400;
constexpr double kStart = 46000.25;
const TRect kPlot{2, 2, 598, 81}; // a 600 by 83 chart inside its bevel and margins

long Pixel(double position) {
    return static_cast<long>(RoundHalfEven(position));
}
} // namespace

TEST(ChartGeometry, PlotAreaLiesInsideTheBevelAndMargins) {
    EXPECT_EQ(ChartPlotRect(600, 83), kPlot);
    EXPECT_EQ(ChartPlotRect(3, 0), (TRect{2, 2, 2, 2}));
}

TEST(ChartGeometry, AxesMapValuesToThePlotArea) {
    TCustomChart chart;
    TFastLineSeries series(nullptr);
    series.SetParentChart(&chart);
    EXPECT_FALSE(chart.HorizScale(kPlot).Valid()); // automatic without points

    chart.LeftAxis().SetMinMax(-1, 101);
    TAxisScale vert = chart.VertScale(kPlot);
    EXPECT_EQ(Pixel(vert.Position(101)), 2);
    EXPECT_EQ(Pixel(vert.Position(100)), 3);
    EXPECT_EQ(Pixel(vert.Position(50)), 41);
    EXPECT_EQ(Pixel(vert.Position(0)), 79);
    EXPECT_EQ(Pixel(vert.Position(-1)), 80);

    chart.BottomAxis().SetMinMax(kStart, kStart + 180 * kSecond);
    TAxisScale horiz = chart.HorizScale(kPlot);
    EXPECT_EQ(Pixel(horiz.Position(kStart)), 2);
    EXPECT_EQ(Pixel(horiz.Position(kStart + 36 * kSecond)), 121);
    EXPECT_EQ(Pixel(horiz.Position(kStart + 180 * kSecond)), 597);

    chart.BottomAxis().SetAutomatic(true); // spans the X values
    chart.LeftAxis().SetAutomatic(true);   // equal Y values: one unit either side
    for (double x : {10.0, 30.0, 20.0})
        series.AddXY(x, 5);
    horiz = chart.HorizScale(kPlot);
    vert = chart.VertScale(kPlot);
    EXPECT_EQ(horiz.Min, 10);
    EXPECT_EQ(horiz.Max, 30);
    EXPECT_EQ(vert.Min, 4);
    EXPECT_EQ(vert.Max, 6);
    EXPECT_EQ(vert.Start, 80);

    TAxisScale reversed{5, 5, 0, 100};
    EXPECT_FALSE(reversed.Valid());
    EXPECT_EQ(reversed.Position(7), 0); // an invalid scale puts everything at its start
}

TEST(ChartGeometry, GridLinesAtWholeMultiplesAtLeastTenPixelsApart) {
    struct Case {
        const char* what;
        TAxisScale scale;
        double desired;
        double step, first;
        int count;
    };
    const Case cases[] = {
        {"percent axis, step 5 crowds", {-1, 101, 80, 2}, 5, 25, 0, 5},
        {"three minutes, step 1 s crowds",
         {kStart + 12.3 * kSecond, kStart + 192.3 * kSecond, 2, 597},
         kSecond,
         5 * kSecond,
         kStart + 15 * kSecond,
         36},
        {"lines on both ends",
         {kStart + 20 * kSecond, kStart + 200 * kSecond, 2, 597},
         kSecond,
         5 * kSecond,
         kStart + 20 * kSecond,
         37},
        {"room for the desired step", {0, 100, 0, 1000}, 5, 5, 0, 21},
        {"exactly ten pixels", {0, 100, 0, 100}, 10, 10, 0, 11},
        {"just under ten pixels", {0, 100, 0, 99}, 10, 20, 0, 6},
        {"no desired step", {0, 1, 0, 100}, 0, 0.1, 0, 11},
        {"no desired step, crowded", {0, 1, 0, 30}, 0, 0.5, 0, 3},
        {"no desired step, millions", {0, 1e6, 0, 100}, 0, 1e5, 0, 11},
        {"negative values", {-7, 7, 0, 140}, 1, 1, -7, 15},
    };
    for (const Case& c : cases) {
        TGridLines lines = AxisGridLines(c.scale, c.desired);
        EXPECT_NEAR(lines.Step, c.step, c.step * 1e-9) << c.what;
        EXPECT_EQ(lines.Count, c.count) << c.what;
        EXPECT_NEAR(lines.Value(0), c.first, 1e-9) << c.what;
        EXPECT_GE(lines.Step * c.scale.PixelsPerUnit(), 10 - 1e-6) << c.what;
    }
    EXPECT_EQ(AxisGridLines({3, 3, 0, 100}, 1).Count, 0);
    EXPECT_EQ(AxisGridLines({0, NAN, 0, 100}, 1).Count, 0);
    EXPECT_EQ(AxisGridLines({0, 1, 50, 50}, 1).Count, 0);
}

TEST(ChartGeometry, SegmentsAreClippedToThePlotArea) {
    const TBoxF box{0, 0, 10, 10};
    struct Case {
        const char* what;
        TPointF a, b;
        bool visible;
        TPointF clippedA, clippedB;
    };
    const Case cases[] = {
        {"inside", {1, 1}, {9, 9}, true, {1, 1}, {9, 9}},
        {"leaves at the right", {5, 5}, {15, 5}, true, {5, 5}, {10, 5}},
        {"enters from the left", {-10, 0}, {10, 10}, true, {0, 5}, {10, 10}},
        {"from far away", {-1e300, 5}, {5, 5}, true, {0, 5}, {5, 5}},
        {"a point", {3, 3}, {3, 3}, true, {3, 3}, {3, 3}},
        {"above", {0, -5}, {10, -1}, false, {}, {}},
        {"past a corner", {8, -5}, {15, 2}, false, {}, {}},
        {"not a number", {NAN, 1}, {2, 2}, false, {}, {}},
    };
    for (const Case& c : cases) {
        TPointF a = c.a, b = c.b;
        ASSERT_EQ(ClipSegment(a, b, box), c.visible) << c.what;
        if (!c.visible)
            continue;
        EXPECT_NEAR(a.X, c.clippedA.X, 1e-9) << c.what;
        EXPECT_NEAR(a.Y, c.clippedA.Y, 1e-9) << c.what;
        EXPECT_NEAR(b.X, c.clippedB.X, 1e-9) << c.what;
        EXPECT_NEAR(b.Y, c.clippedB.Y, 1e-9) << c.what;
    }
}
