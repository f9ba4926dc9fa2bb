// The System Information dialog's load history as the dialog sets it up: its axes, the newest
// three minutes kept after each point (clock jumps included), bounded allocation-free storage.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/AllocCounter.h"
#include "forms/LoadHistory.h"

using namespace zq;

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kMinute = 1.0 / 1440;
constexpr double kStart = 46000.25; // a date-time in days

// The dialog's chart and series.
struct History {
    TCustomChart chart;
    TFastLineSeries series{nullptr};
    History() { SetUpLoadHistory(chart, series); }
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

TEST(LoadHistory, PercentFromMinusOneTo101InStepsOf5AndTimeInStepsOfOneSecond) {
    History h;
    const TChartAxis& percent = h.chart.LeftAxis();
    EXPECT_FALSE(percent.Automatic());
    EXPECT_EQ(percent.Minimum(), -1);
    EXPECT_EQ(percent.Maximum(), 101);
    EXPECT_EQ(percent.Increment(), 5);
    EXPECT_EQ(h.chart.BottomAxis().Increment(), kSecond);
    EXPECT_EQ(percent.GridColor(), 0x428200u);
    EXPECT_EQ(h.chart.BottomAxis().GridColor(), 0x428200u);
    EXPECT_EQ(h.series.SeriesColor(), clLime);
    EXPECT_EQ(h.series.ParentChart(), &h.chart);
}

TEST(LoadHistory, AfterThreeMinutesAboutOneHundredEightyPointsSpanningExactlyThreeMinutes) {
    History h;
    for (int t = 0; t < 10; ++t)
        h.AddAt(t);
    EXPECT_EQ(h.series.Count(), 10); // nothing is old yet
    for (int t = 10; t < 400; ++t)
        h.AddAt(t, t % 101);
    EXPECT_GE(h.series.Count(), 180);
    EXPECT_LE(h.series.Count(), 181);
    const TChartAxis& axis = h.chart.BottomAxis();
    EXPECT_FALSE(axis.Automatic());
    EXPECT_EQ(axis.Maximum(), h.series.XValue(h.series.Count() - 1));
    EXPECT_EQ(axis.Minimum(), axis.Maximum() - 3 * kMinute);
    EXPECT_GE(h.series.XValue(0), axis.Minimum());
    EXPECT_EQ(h.series.YValue(h.series.Count() - 1), 399 % 101);
}

TEST(LoadHistory, ClockJumps) {
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

TEST(LoadHistory, TheRingIsBoundedAndAddingAllocatesNothing) {
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
