#pragma once
// The System Information dialog's load history as the dialog sets it up: the chart's axes and
// the series of load percents, which keeps the newest three minutes.
#include "chart/ChartModel.h"

namespace zq {

// The time the history spans, ending at its newest point: three minutes, in days.
inline constexpr double kLoadHistorySpan = 3.0 / 1440;
// The points the series keeps at most: three minutes of one a second, and room to spare.
inline constexpr int kLoadHistoryPoints = 256;

// The percent axis runs from -1 to 101 with a grid step of 5 (its unit "%"), the time axis has a
// grid step of one second (grid lines of both in dark green); the series is drawn in lime and joins
// the chart, keeping up to kLoadHistoryPoints. Every point the series takes scrolls the time axis to
// span kLoadHistorySpan up to the newest point and drops the points before that.
void SetUpLoadHistory(TCustomChart& chart, TFastLineSeries& series);

} // namespace zq
