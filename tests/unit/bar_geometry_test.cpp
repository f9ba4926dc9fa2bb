#include <gtest/gtest.h>

#include "controls/BarGeometry.h"
#include "toolkit/Exceptions.h"

#include <vector>

using namespace zq;

TEST(BarBlend, EndsAndMiddleOfABlackToWhiteBlend) {
    EXPECT_EQ(BlendColor(0x000000, 0xFFFFFF, 100, 1), 0x000000u);
    EXPECT_EQ(BlendColor(0x000000, 0xFFFFFF, 100, 100), 0xFFFFFFu);
    // MulDiv(50, 255, 99) = 128.79 -> 129
    EXPECT_EQ(BlendColor(0x000000, 0xFFFFFF, 100, 51), 0x818181u);
    EXPECT_EQ(BlendColor(0x102030, 0x405060, 1, 1), 0x102030u);
    // Channels blend independently, downwards too.
    EXPECT_EQ(BlendColor(0x0000FF, 0x00FF00, 3, 2), ColorRGB(127, 128, 0));
}

TEST(BarBlend, IndexOutsideTheRangeIsARangeError) {
    try {
        BlendColor(0, 0xFFFFFF, 7, 0);
        FAIL() << "no range error";
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), "ColorIndex can't be less than 1 or greater than 7");
    }
    EXPECT_THROW(BlendColor(0, 0xFFFFFF, 7, 8), ERangeError);
}

TEST(BarBlend, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDivRound(1, 1, 2), 1);
    EXPECT_EQ(MulDivRound(-1, 1, 2), -1);
    EXPECT_EQ(MulDivRound(50, 255, 99), 129);
    EXPECT_EQ(MulDivRound(2000000000, 2000000000, 1000000000), -1); // overflows 32 bits
    EXPECT_EQ(MulDivRound(5, 5, 0), -1);
}

TEST(BarGradient, ThreeColoursRunFromTheStartEdgeThroughTheMiddle) {
    GradientParams s{pdLeftToRight, cs3Colors, 0x0000FF, 0x00FF00, 0xFF0000, 98, 34};
    EXPECT_EQ(GradientLineCount(s), 98);
    EXPECT_EQ(GradientLineColor(s, 0), 0x0000FFu);
    EXPECT_EQ(GradientLineColor(s, 48), 0x00FF00u); // end of the first 49-line segment
    EXPECT_EQ(GradientLineColor(s, 49), 0x00FF00u); // start of the second
    EXPECT_EQ(GradientLineColor(s, 97), 0xFF0000u);

    s.Direction = pdRightToLeft; // colour 1 where the bar starts: the right edge
    EXPECT_EQ(GradientLineColor(s, 0), 0xFF0000u);
    EXPECT_EQ(GradientLineColor(s, 97), 0x0000FFu);

    s.Direction = pdBottomToTop;
    EXPECT_EQ(GradientLineCount(s), 34);
    EXPECT_EQ(GradientLineColor(s, 0), 0xFF0000u);
    EXPECT_EQ(GradientLineColor(s, 33), 0x0000FFu);
}

TEST(BarGradient, TwoColoursAndOnePixelSegments) {
    GradientParams two{pdRightToLeft, cs2Colors, 0x000000, 0xFFFFFF, 0x0000FF, 10, 5};
    EXPECT_EQ(GradientLineColor(two, 0), 0xFFFFFFu);
    EXPECT_EQ(GradientLineColor(two, 9), 0x000000u);
    GradientParams tiny{pdLeftToRight, cs3Colors, 0x111111, 0x222222, 0x333333, 3, 5};
    EXPECT_EQ(GradientLineColor(tiny, 0), 0x111111u);
    EXPECT_EQ(GradientLineColor(tiny, 1), 0x222222u);
    EXPECT_EQ(GradientLineColor(tiny, 2), 0x333333u);
}

TEST(BarFillGeometry, MeterStripPositions) {
    BarFill f = ComputeBarFill(pdLeftToRight, true, 98, 34, 0, 100, 50);
    EXPECT_EQ(f.Span, 96);
    EXPECT_EQ(f.Filled, 48);
    EXPECT_EQ(f.Unfilled, (TRect{49, 1, 97, 33}));
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, true, 98, 34, 0, 100, 33).Filled, 32); // 31.68
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, true, 98, 34, 0, 100, 100).Unfilled.Width(), 0);
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, true, 98, 34, 0, 100, 0).Unfilled,
              (TRect{1, 1, 97, 33}));
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, true, 98, 34, 10, 100, 5).Filled, 0);
}

TEST(BarFillGeometry, EachDirectionLeavesTheFarSideUnfilled) {
    EXPECT_EQ(ComputeBarFill(pdRightToLeft, false, 100, 20, 0, 100, 25).Unfilled,
              (TRect{0, 0, 75, 20}));
    EXPECT_EQ(ComputeBarFill(pdTopToBottom, false, 20, 100, 0, 100, 25).Unfilled,
              (TRect{0, 25, 20, 100}));
    EXPECT_EQ(ComputeBarFill(pdBottomToTop, false, 20, 100, 0, 100, 25).Unfilled,
              (TRect{0, 0, 20, 75}));
}

TEST(BarFillGeometry, RangesThatNoLongerHoldThePositionStayInsideTheSpan) {
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, true, 98, 34, 0, 10, 50).Filled, 96);
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, true, 98, 34, 0, 0, 50).Filled, 0);
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, true, 98, 34, 100, 0, 50).Filled, 0);
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, true, 1, 1, 0, 100, 50).Unfilled.Width(), 0);
    EXPECT_EQ(ComputeBarFill(pdLeftToRight, false, 100, 20, INT32_MIN, INT32_MAX, INT32_MAX).Filled,
              100);
}

// Each row divides one bar's inner rectangle among a list of positions (0..100): the slices'
// bands, how far each is filled and the background line after each.
TEST(BarSlices, OnePerEntryAcrossTheBarOrTheBusiestOfNeighbours) {
    struct Slice {
        TRect Band;
        int Filled;
        TRect Gap;
    };
    struct Row {
        const char* What;
        TProgressDirection Direction;
        TRect Inner;
        std::vector<int> Positions;
        std::vector<Slice> Slices;
    };
    const std::vector<int> oneBusyOf64 = [] {
        std::vector<int> p(64, 0);
        p[7] = 100;
        return p;
    }();
    const Row rows[] = {
        {"the strip's rows, two processors",
         pdLeftToRight,
         {1, 1, 97, 33},
         {0, 100},
         {{{1, 1, 97, 16}, 0, {1, 16, 97, 17}}, {{1, 17, 97, 33}, 96, {}}}},
        {"a third processor appears",
         pdLeftToRight,
         {1, 1, 97, 33},
         {0, 100, 50},
         {{{1, 1, 97, 11}, 0, {1, 11, 97, 12}},
          {{1, 12, 97, 22}, 96, {1, 22, 97, 23}},
          {{1, 23, 97, 33}, 48, {}}}},
        {"one processor: the whole bar",
         pdLeftToRight,
         {1, 1, 97, 33},
         {25},
         {{{1, 1, 97, 33}, 24, {}}}},
        {"columns left to right, filled from the bottom",
         pdBottomToTop,
         {0, 0, 40, 60},
         {25, 50, 75, 100},
         {{{0, 0, 9, 60}, 15, {9, 0, 10, 60}},
          {{10, 0, 19, 60}, 30, {19, 0, 20, 60}},
          {{20, 0, 29, 60}, 45, {29, 0, 30, 60}},
          {{30, 0, 40, 60}, 60, {}}}},
        {"no room for the lines between",
         pdRightToLeft,
         {0, 0, 10, 4},
         {100, 0, 50},
         {{{0, 0, 10, 1}, 10, {}}, {{0, 1, 10, 2}, 0, {}}, {{0, 2, 10, 4}, 5, {}}}},
        {"64 processors on ten rows: six or seven share one, the busiest shows",
         pdLeftToRight,
         {1, 1, 19, 11},
         oneBusyOf64,
         {{{1, 1, 19, 2}, 0, {}},
          {{1, 2, 19, 3}, 18, {}},
          {{1, 3, 19, 4}, 0, {}},
          {{1, 4, 19, 5}, 0, {}},
          {{1, 5, 19, 6}, 0, {}},
          {{1, 6, 19, 7}, 0, {}},
          {{1, 7, 19, 8}, 0, {}},
          {{1, 8, 19, 9}, 0, {}},
          {{1, 9, 19, 10}, 0, {}},
          {{1, 10, 19, 11}, 0, {}}}},
        {"no processor yet", pdLeftToRight, {1, 1, 97, 33}, {}, {}},
        {"no room across", pdTopToBottom, {1, 1, 1, 33}, {0, 100}, {}},
    };
    for (const Row& row : rows) {
        const int count = BarSliceCount(row.Direction, row.Inner, row.Positions.size());
        ASSERT_EQ(count, static_cast<int>(row.Slices.size())) << row.What;
        for (int i = 0; i < count; ++i) {
            const BarSlice s = ComputeBarSlice(row.Direction, row.Inner, 0, 100, row.Positions, i);
            const Slice& want = row.Slices[static_cast<std::size_t>(i)];
            EXPECT_EQ(s.Fill.Inner, want.Band) << row.What << ", slice " << i;
            EXPECT_EQ(s.Fill.Filled, want.Filled) << row.What << ", slice " << i;
            EXPECT_EQ(s.Gap, want.Gap) << row.What << ", slice " << i;
        }
        // Every entry's slice, in order, shows at least that entry's load.
        for (std::size_t e = 0, last = 0; e < (count > 0 ? row.Positions.size() : 0); ++e) {
            const auto slice = static_cast<std::size_t>(BarSliceOf(count, row.Positions.size(), e));
            ASSERT_LT(slice, row.Slices.size()) << row.What << ", entry " << e;
            EXPECT_TRUE(slice == last || slice == last + 1) << row.What << ", entry " << e;
            const TRect& band = row.Slices[slice].Band;
            const int span =
                IsHorizontal(row.Direction) ? band.Right - band.Left : band.Bottom - band.Top;
            EXPECT_GE(row.Slices[slice].Filled, row.Positions[e] * span / 100)
                << row.What << ", entry " << e;
            last = slice;
        }
        if (count > 0) {
            EXPECT_EQ(BarSliceOf(count, row.Positions.size(), row.Positions.size() - 1), count - 1);
        }
    }
}

TEST(BarTextLayout, NumberPercentageAndCentring) {
    EXPECT_EQ(BarText(false, 30, 60, "", "%"), "30%");
    EXPECT_EQ(BarText(true, 30, 60, "Load ", "%"), "Load 50%");
    EXPECT_EQ(BarText(true, 30, 0, "", ""), "0");
    EXPECT_EQ(BarText(false, -1, 100, "", "%"), "-1%");
    EXPECT_EQ(CentredTextOrigin(98, 34, 21, 13), (TPoint{39, 11}));
    EXPECT_EQ(CentredTextOrigin(10, 10, 31, 3), (TPoint{-10, 4}));
}
