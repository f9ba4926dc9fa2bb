#include "chart/Chart.h"

#include "toolkit/Rounding.h"

namespace zq {

namespace {

int Pixel(double position) {
    return static_cast<int>(RoundHalfEven(position));
}

} // namespace

TChart::TChart(TComponent* owner) : TWinControl(owner) {
    FColor = clSilver;
    FWidth = 400;
    FHeight = 250;
}

TChart::~TChart() {
    DestroyWnd();
}

// A class of its own, which the toolkit registers: a new size repaints the whole window.
void TChart::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.ClassName = "ZqChart";
    params.ClassStyle = CS_HREDRAW | CS_VREDRAW;
}

bool TChart::WMPaint(TMessage&) {
    PaintScope paint(FHandle.Get());
    PaintPicture();
    BitBlt(paint.DC(), 0, 0, FPicture.Width(), FPicture.Height(), FPicture.Canvas().Handle(), 0, 0,
           SRCCOPY);
    return true;
}

bool TChart::WMEraseBkgnd(TMessage& m) {
    m.Result = 1;
    return true;
}

void TChart::Changed() {
    if (FHandle && IsWindowVisible(FHandle.Get()))
        InvalidateRect(FHandle.Get(), nullptr, FALSE);
}

void TChart::PaintPicture() {
    ++FPaintCount;
    int width = ClientWidth(), height = ClientHeight();
    FPicture.SetSize(width, height);
    if (FPicture.Empty())
        return;
    TCanvas& canvas = FPicture.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(FColor);
    canvas.FillRect({0, 0, width, height});
    RECT edge{0, 0, width, height};
    DrawEdge(canvas.Handle(), &edge, BDR_SUNKENINNER, BF_RECT);

    TRect plot = ChartPlotRect(width, height);
    if (plot.Width() <= 0 || plot.Height() <= 0)
        return;
    TAxisScale horiz = HorizScale(plot);
    TAxisScale vert = VertScale(plot);
    DrawGrid(plot, horiz, vert);
    if (!horiz.Valid() || !vert.Valid())
        return;
    for (int i = 0; i < SeriesCount(); ++i)
        DrawSeries(*Series(i), plot, horiz, vert);
}

void TChart::DrawGrid(const TRect& plot, const TAxisScale& horiz, const TAxisScale& vert) {
    HDC dc = FPicture.Canvas().Handle();
    // Lines and their spacing are design lengths: wider apart and thicker at a higher resolution.
    const int spacing = Scaled(ChartGridSpacing);
    TGridLines columns = AxisGridLines(horiz, BottomAxis().Increment(), spacing);
    FBottomGridPen.SetColor(BottomAxis().GridColor());
    FBottomGridPen.SetWidth(Scaled(1));
    {
        SelectGuard pen(dc, FBottomGridPen.Handle());
        for (int i = 0; i < columns.Count; ++i) {
            int x = Pixel(horiz.Position(columns.Value(i)));
            if (x < plot.Left || x >= plot.Right)
                continue;
            MoveToEx(dc, x, plot.Top, nullptr);
            LineTo(dc, x, plot.Bottom);
        }
    }
    TGridLines rows = AxisGridLines(vert, LeftAxis().Increment(), spacing);
    FLeftGridPen.SetColor(LeftAxis().GridColor());
    FLeftGridPen.SetWidth(Scaled(1));
    SelectGuard pen(dc, FLeftGridPen.Handle());
    for (int i = 0; i < rows.Count; ++i) {
        int y = Pixel(vert.Position(rows.Value(i)));
        if (y < plot.Top || y >= plot.Bottom)
            continue;
        MoveToEx(dc, plot.Left, y, nullptr);
        LineTo(dc, plot.Right, y);
    }
}

void TChart::DrawSeries(TFastLineSeries& series, const TRect& plot, const TAxisScale& horiz,
                        const TAxisScale& vert) {
    int count = series.Count();
    if (count == 0)
        return;
    HDC dc = FPicture.Canvas().Handle();
    COLORREF color = ColorToRGB(series.SeriesColor());
    FSeriesPen.SetColor(series.SeriesColor());
    FSeriesPen.SetWidth(Scaled(1));
    SelectGuard pen(dc, FSeriesPen.Handle());
    const TBoxF box{static_cast<double>(plot.Left), static_cast<double>(plot.Top),
                    static_cast<double>(plot.Right - 1), static_cast<double>(plot.Bottom - 1)};
    auto at = [&](int i) {
        return TPointF{horiz.Position(series.XValue(i)), vert.Position(series.YValue(i))};
    };
    // A line leaves out its last pixel: that is set where the line ends at a point of its own
    // (the newest) or at the edge of the plot.
    TPointF previous = at(0);
    if (count == 1) {
        TPointF a = previous, b = previous;
        if (ClipSegment(a, b, box))
            SetPixelV(dc, Pixel(a.X), Pixel(a.Y), color);
        return;
    }
    for (int i = 1; i < count; ++i) {
        TPointF current = at(i);
        TPointF a = previous, b = current;
        previous = current;
        if (!ClipSegment(a, b, box))
            continue;
        MoveToEx(dc, Pixel(a.X), Pixel(a.Y), nullptr);
        LineTo(dc, Pixel(b.X), Pixel(b.Y));
        if (i == count - 1 || b.X != current.X || b.Y != current.Y)
            SetPixelV(dc, Pixel(b.X), Pixel(b.Y), color);
    }
}

} // namespace zq
