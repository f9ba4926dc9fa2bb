#pragma once
// The line chart control: a window of its own class that draws into an off-screen picture and
// copies it to the screen in one piece, so it never flickers. It shows the background in Color
// (silver by default) with a lowered inner bevel at the edge, one-pixel margins inside it, the
// grid of each axis in the axis's grid colour and each series as a one-pixel line in its colour;
// there is no 3-D, legend, title, frame, axis line, label or tick.
//
// While the window is not visible nothing is drawn: adding points and changing axes only store,
// and showing the window paints what is there. Placed like any control; a history that should
// show only its newest part is made wider than its parent and aligned to the parent's right edge.
#include "chart/ChartModel.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"

namespace zq {

class TChart : public TWinControl, public TCustomChart {
public:
    explicit TChart(TComponent* owner);
    ~TChart() override;

    // Draws the chart at the control's client size into Picture(); the window's paint does
    // this and copies the result.
    void PaintPicture();
    // The picture of the last paint.
    TBitmap& Picture() { return FPicture; }
    // How many times the picture has been drawn.
    long PaintCount() const { return FPaintCount; }
    // A chart to screen readers, its value the newest point (NewestValueText).
    void DescribeAccessible(TAccessibleItem& item) const override {
        item.Role = TAccessibleRole::Chart;
        item.Value = NewestValueText();
    }

protected:
    void CreateParams(TCreateParams& params) override;
    // The picture covers the whole window: no background erase, one copy per paint.
    bool WMPaint(TMessage& m) override;
    bool WMEraseBkgnd(TMessage& m) override;
    void Changed() override;

private:
    void DrawGrid(const TRect& plot, const TAxisScale& horiz, const TAxisScale& vert);
    void DrawSeries(TFastLineSeries& series, const TRect& plot, const TAxisScale& horiz,
                    const TAxisScale& vert);

    TBitmap FPicture;
    TPen FBottomGridPen;
    TPen FLeftGridPen;
    TPen FSeriesPen;
    long FPaintCount = 0;
};

} // namespace zq
