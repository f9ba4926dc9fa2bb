#include "controls/JustifiedLabelPaint.h"

#include <algorithm>

namespace zq {

namespace {

class TDCMeasurer final : public TLineMeasurer {
public:
    explicit TDCMeasurer(HDC dc) : FDC(dc) {}
    int TextWidth(std::string_view text) const override {
        SIZE size{0, 0};
        GetTextExtentPoint32A(FDC, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    HDC FDC;
};

} // namespace

TJustifiedTextPainter::TJustifiedTextPainter(TCanvas& canvas, const TFont& font, bool enabled,
                                             unsigned options)
    : FDC(canvas.Handle()), FSavedDC(SaveDC(FDC)), FEnabled(enabled),
      FOptions((options & JustifiedTextOutOptionMask) | ETO_CLIPPED), FColor(font.Color()) {
    SelectObject(FDC, font.Handle());
    SetMapMode(FDC, MM_TEXT);
    SetBkMode(FDC, TRANSPARENT);
    SetTextAlign(FDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SIZE size{0, 0};
    GetTextExtentPoint32A(FDC, "Wg", 2, &size);
    FLineHeight = size.cy;
}

TJustifiedTextPainter::~TJustifiedTextPainter() {
    RestoreDC(FDC, FSavedDC);
}

std::vector<TLineObj> TJustifiedTextPainter::Break(const std::string& text, int width) const {
    return BreakLines(text, width, TDCMeasurer(FDC));
}

void TJustifiedTextPainter::Output(const TRect& r, const TLineObj& line, int count, TColor color) {
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    SetTextColor(FDC, ColorToRGB(color));
    ExtTextOutA(FDC, r.Left, r.Top, FOptions, &rect, line.Text.data(), static_cast<UINT>(count),
                count > 0 ? FAdvances.data() : nullptr);
}

void TJustifiedTextPainter::DrawLine(const TRect& rect, const TLineObj& line) {
    int fit = 0;
    const int length = static_cast<int>(line.Text.size());
    const int maxExtent = rect.Right - rect.Left + 1;
    if (length > 0 && maxExtent > 0) {
        FExtents.assign(line.Text.size(), 0);
        SIZE size{0, 0};
        if (!GetTextExtentExPointA(FDC, line.Text.data(), length, maxExtent, &fit, FExtents.data(),
                                   &size))
            fit = 0;
        fit = std::clamp(fit, 0, length);
        // Cumulative widths become advances; spaces take their share of the extra pixels,
        // counted from the rightmost one. The first character is never widened.
        FAdvances.assign(static_cast<std::size_t>(fit), 0);
        int gap = 0;
        for (int i = fit - 1; i >= 1; --i) {
            FAdvances[i] = FExtents[i] - FExtents[i - 1];
            if (line.Text[i] == ' ')
                FAdvances[i] += line.GapExtra(gap++);
        }
        if (fit > 0)
            FAdvances[0] = FExtents[0];
    }
    if (FEnabled) {
        Output(rect, line, fit, FColor);
        return;
    }
    const TRect moved{rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1};
    Output(moved, line, fit, clBtnHighlight);
    Output(rect, line, fit, clBtnShadow);
}

void TJustifiedTextPainter::PaintText(const TRect& client, const std::string& text) {
    const std::vector<TLineObj> lines = Break(text, client.Right - client.Left);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const long long top = client.Top + static_cast<long long>(n) * FLineHeight;
        if (top >= client.Bottom)
            break; // this line and the ones below it are cut away
        const TRect rect{client.Left, static_cast<int>(top), client.Right,
                         static_cast<int>(std::min<long long>(client.Bottom, top + FLineHeight))};
        DrawLine(rect, lines[n]);
    }
}

void PaintJustifiedText(TCanvas& canvas, const TFont& font, const TRect& client,
                        const std::string& text, bool enabled, unsigned options) {
    TJustifiedTextPainter painter(canvas, font, enabled, options);
    painter.PaintText(client, text);
}

int JustifiedAutoSizeHeight(const TFont& font, const std::string& text, int width) {
    WindowDC screen(nullptr);
    TCanvas canvas(screen.Get());
    TJustifiedTextPainter painter(canvas, font, true, 0);
    return painter.LineHeight() * static_cast<int>(painter.Break(text, width).size());
}

} // namespace zq
