// The load history: the ring of points, the scroll-and-trim rule after each point, clock jumps
// and bounded, allocation-free storage.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/ChartModel.h"
#include "common/AllocCounter.h"
#include "toolkit/Exceptions.h"

using namespace zq;

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kMinute = 1.0 / 1440;
constexpr double kStart = 46000.25; // a date-time in days

// A chart whose series scrolls three minutes of history, as the dialog sets it up.
struct History {
    TCustomChart chart;
    TFastLineSeries series{nullptr};
    int events = 0;
    History() {
        series.SetParentChart(&chart);
        series.OnAfterAdd = [this](TObject* sender, int index) {
            ++events;
            EXPECT_EQ(sender, &series);
            EXPECT_EQ(index, series.Count() - 1);
            ScrollTimeAxis(series, chart.BottomAxis(), 3 * kMinute);
        };
    }
    void AddAt(double seconds, double percent = 50) {
        series.AddXY(kStart + seconds * kSecond, percent, "", clTeeColor);
    }
    std::vector<double> Seconds() const {
        std::vector<double> s;
        for (int i = 0; i < series.Count(); ++i)
            s.push_back(std::round((series.XValue(i) - kStart) / kSecond));
        return s;
    }
};

} // namespace

TEST(ChartHistory, AfterThreeMinutesAboutOneHundredEightyPointsSpanningExactlyThreeMinutes) {
    History h;
    for (int t = 0; t < 10; ++t)
        h.AddAt(t);
    EXPECT_EQ(h.series.Count(), 10); // nothing is old yet
    for (int t = 10; t < 400; ++t)
        h.AddAt(t, t % 101);
    EXPECT_EQ(h.events, 400);
    EXPECT_GE(h.series.Count(), 180);
    EXPECT_LE(h.series.Count(), 181);
    const TChartAxis& axis = h.chart.BottomAxis();
    EXPECT_FALSE(axis.Automatic());
    EXPECT_EQ(axis.Maximum(), h.series.XValue(h.series.Count() - 1));
    EXPECT_EQ(axis.Minimum(), axis.Maximum() - 3 * kMinute);
    EXPECT_GE(h.series.XValue(0), axis.Minimum());
    EXPECT_EQ(h.series.YValue(h.series.Count() - 1), 399 % 101);
}

TEST(ChartHistory, ClockJumps) {
    struct Case {
        const char* what;
        std::vector<double> seconds; // the X of each point, in seconds after the start
        std::vector<double> kept;
    };
    const Case cases[] = {
        {"steady", {0, 1, 2, 3}, {0, 1, 2, 3}},
        {"two points in one second", {0, 1, 1, 2}, {0, 1, 1, 2}},
        {"an hour back restarts at the new point", {0, 1, 2, -3598, -3597}, {-3598, -3597}},
        {"one second back restarts too", {0, 1, 2, 1, 2}, {1, 2}},
        {"an hour forward trims everything older", {0, 1, 2, 3602, 3603}, {3602, 3603}},
        {"a jump within three minutes keeps the recent points",
         {0, 100, 160, 240, 279},
         {100, 160, 240, 279}},
    };
    for (const Case& c : cases) {
        History h;
        for (double s : c.seconds)
            h.AddAt(s);
        EXPECT_EQ(h.Seconds(), c.kept) << c.what;
        EXPECT_EQ(h.chart.BottomAxis().Maximum(), h.series.XValue(h.series.Count() - 1)) << c.what;
    }
}

TEST(ChartHistory, TheRingIsBoundedAndAddingAllocatesNothing) {
    History h;
    h.series.SetCapacity(300);
    for (int i = 0; i < 2000; ++i) // fill the three-minute window
        h.AddAt(i * 0.1);
    zqtest::StartCountingAllocations();
    for (int i = 2000; i < 8000; ++i) // ten points a second for ten minutes
        h.AddAt(i * 0.1);
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    EXPECT_EQ(h.series.Count(), 300); // the ring, not the three minutes, is the bound here
    EXPECT_NEAR((h.series.XValue(0) - kStart) / kSecond, 770.0, 1e-3);

    TFastLineSeries plain(nullptr); // no trimming: the oldest points make room
    plain.SetCapacity(4);
    for (int i = 0; i < 10; ++i)
        plain.AddXY(i, i * 10);
    ASSERT_EQ(plain.Count(), 4);
    EXPECT_EQ(plain.XValue(0), 6);
    EXPECT_EQ(plain.YValue(3), 90);
}

TEST(ChartHistory, RingOperationsKeepTheOrderOfThePoints) {
    TFastLineSeries s(nullptr);
    s.SetCapacity(5);
    for (int i = 0; i < 7; ++i) // wraps: holds 2..6
        s.AddXY(i, -i);
    s.Delete(2); // 4
    s.Delete(0); // 2
    ASSERT_EQ(s.Count(), 3);
    EXPECT_EQ(s.XValue(0), 3);
    EXPECT_EQ(s.XValue(1), 5);
    EXPECT_EQ(s.YValue(2), -6);
    EXPECT_EQ(s.MinXValue(), 3);
    EXPECT_EQ(s.MaxXValue(), 6);
    EXPECT_EQ(s.MinYValue(), -6);
    s.SetCapacity(2); // keeps the newest
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.XValue(0), 5);
    EXPECT_EQ(s.AddXY(7, 0), 1);
    EXPECT_EQ(s.XValue(0), 6);

    EXPECT_THROW(s.XValue(2), ERangeError);
    EXPECT_THROW(s.YValue(-1), ERangeError);
    EXPECT_THROW(s.Delete(2), ERangeError);
    EXPECT_EQ(s.AddXY(std::nan(""), 1), -1);
    EXPECT_EQ(s.AddXY(8, INFINITY), -1);
    EXPECT_EQ(s.Count(), 2);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.MaxXValue(), 0);
}

TEST(ChartHistory, ASeriesLeavesItsChartEitherWayRound) {
    auto* chart = new TCustomChart;
    TFastLineSeries a(nullptr);
    {
        TFastLineSeries b(nullptr);
        chart->AddSeries(&a);
        b.SetParentChart(chart);
        EXPECT_EQ(chart->SeriesCount(), 2);
        EXPECT_EQ(b.GetHorizAxis(), &chart->BottomAxis());
        EXPECT_EQ(b.GetVertAxis(), &chart->LeftAxis());
    }
    ASSERT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(chart->Series(0), &a);
    delete chart;
    EXPECT_EQ(a.ParentChart(), nullptr);
    EXPECT_EQ(a.GetHorizAxis(), nullptr);
}
