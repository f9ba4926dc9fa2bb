#pragma once
// Where a chart's parts go in its window: the plot area inside the bevel and margins, the
// mapping from axis values to pixels, the grid lines of an axis and the clipping of line
// segments to the plot area. Pure functions over plain values; nothing here allocates.
#include <cstdint>

#include "toolkit/Types.h"

namespace zq {

// The chart's frame: a one-pixel bevel around the edge, then a one-pixel margin.
constexpr int ChartBevelWidth = 1;
constexpr int ChartMargin = 1;
// Grid lines of an axis are spread out until neighbours are at least this many pixels apart.
constexpr int ChartGridSpacing = 10;

// The plot area of a chart of the given client size (empty when the frame leaves no room).
TRect ChartPlotRect(int width, int height);

// A value range and the pixels it spans: Min maps to Start and Max to End (End may lie before
// Start, as on a vertical axis whose values grow upwards).
struct TAxisScale {
    double Min = 0;
    double Max = 0;
    double Start = 0;
    double End = 0;

    // A finite range with Max above Min.
    bool Valid() const;
    // The pixel position of a value as a real number; Start for an invalid scale.
    double Position(double value) const;
    // Pixels per unit of value (0 for an invalid scale).
    double PixelsPerUnit() const;
};

// Grid lines at whole multiples of Step: the values (FirstMultiple + i) * Step, i < Count.
struct TGridLines {
    std::int64_t FirstMultiple = 0;
    double Step = 0;
    int Count = 0;

    double Value(int index) const { return static_cast<double>(FirstMultiple + index) * Step; }
};

// The grid lines of a scale. The step is the desired one times the first of 1, 2, 5, 10, 20,
// 50, ... that puts neighbouring lines at least `minSpacing` pixels apart; a desired step of 0
// or less starts from the power of ten just below that distance, so the step is 1, 2 or 5
// times a power of ten. Lines fall on whole multiples of the step, so they move with the data
// when the range scrolls. An invalid scale has none.
TGridLines AxisGridLines(const TAxisScale& scale, double desiredStep,
                         int minSpacing = ChartGridSpacing);

struct TPointF {
    double X = 0;
    double Y = 0;
};

// An inclusive pixel box, Left <= Right and Top <= Bottom.
struct TBoxF {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

// Clips the segment a-b to the box, moving its ends onto the box's edges. False when no part of
// it lies inside or an end is not finite.
bool ClipSegment(TPointF& a, TPointF& b, const TBoxF& box);

} // namespace zq
