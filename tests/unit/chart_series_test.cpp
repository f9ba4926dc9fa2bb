// The chart's series and axes: the ring of points and its order, a series leaving its chart.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/ChartModel.h"
#include "common/AllocCounter.h"
#include "toolkit/Exceptions.h"

using namespace zq;

TEST(ChartSeries, EachPointAddedRunsOnAfterAddWithItsIndex) {
    TFastLineSeries s(nullptr);
    s.SetCapacity(2);
    std::vector<int> indexes;
    s.OnAfterAdd = [&](TObject* sender, int index) {
        EXPECT_EQ(sender, &s);
        indexes.push_back(index);
    };
    for (int i = 0; i < 3; ++i)
        s.AddXY(i, i);
    s.AddXY(NAN, 1); // refused: no event
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 1}));
}

TEST(ChartSeries, RingOperationsKeepTheOrderOfThePoints) {
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

TEST(ChartSeries, TheRingIsMadeAtTheFirstPoint) {
    zqtest::StartCountingAllocations();
    TFastLineSeries s(nullptr);
    s.SetCapacity(300);
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    zqtest::StartCountingAllocations();
    for (int i = 0; i < 400; ++i)
        s.AddXY(i, i);
    EXPECT_EQ(zqtest::StopCountingAllocations(), 1);
    EXPECT_EQ(s.Count(), 300);
}

TEST(ChartSeries, ASeriesLeavesItsChartEitherWayRound) {
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
