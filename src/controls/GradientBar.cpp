#include "controls/GradientBar.h"

namespace zq {

TGradientBar::TGradientBar(TComponent* owner)
    : TGraphicControl(owner), FFrame(new TBitmap), FGradient(new TBitmap), FBarBitmap(new TBitmap) {
    FWidth = 200;
    FHeight = 20;
    FControlStyle |= csOpaque;
    FFrame->Canvas().Font().Assign(FFont);
}

TGradientBar::~TGradientBar() {
    delete FBarBitmap;
    delete FGradient;
    delete FFrame;
}

void TGradientBar::SetBackgroundColor(TColor v) {
    Store(FBackgroundColor, v);
}
void TGradientBar::SetBarColor1(TColor v) {
    Store(FBarColor1, v);
}
void TGradientBar::SetBarColor2(TColor v) {
    Store(FBarColor2, v);
}
void TGradientBar::SetBarColor3(TColor v) {
    Store(FBarColor3, v);
}
void TGradientBar::SetBarColorStyle(TBarColorStyle v) {
    Store(FBarColorStyle, v);
}
void TGradientBar::SetBorderColor1(TColor v) {
    Store(FBorderColor1, v);
}
void TGradientBar::SetBorderColor2(TColor v) {
    Store(FBorderColor2, v);
}
void TGradientBar::SetDirection(TProgressDirection v) {
    Store(FDirection, v);
}
void TGradientBar::SetMax(int v) {
    Store(FMax, v);
}
void TGradientBar::SetMin(int v) {
    Store(FMin, v);
}
void TGradientBar::SetPercentage(bool v) {
    Store(FPercentage, v);
}
void TGradientBar::SetPosTextPrefix(const std::string& v) {
    Store(FPosTextPrefix, v);
}
void TGradientBar::SetPosTextSuffix(const std::string& v) {
    Store(FPosTextSuffix, v);
}
void TGradientBar::SetShowBorder(bool v) {
    Store(FShowBorder, v);
}
void TGradientBar::SetShowPosText(bool v) {
    Store(FShowPosText, v);
}

void TGradientBar::SetBarBitmap(const TBitmap& value) {
    FBarBitmap->Assign(value);
    Repaint();
}

void TGradientBar::DescribeAccessible(TAccessibleItem& item) const {
    item.Role = TAccessibleRole::ProgressBar;
    item.Value = BarText(FPercentage, FPosition, FMax, {}, FPosTextSuffix);
}

void TGradientBar::SetPosition(int value) {
    if (value == FPosition || value > FMax || value < FMin)
        return;
    FPosition = value;
    FRebuild = false;
    struct Restore {
        bool& flag;
        ~Restore() { flag = true; }
    } restore{FRebuild};
    Repaint();
}

void TGradientBar::FontChanged() {
    FFrame->Canvas().Font().Assign(FFont);
    Repaint();
}

void TGradientBar::BoundsChanged() {
    Repaint();
}

void TGradientBar::Paint() {
    FFrame->SetSize(FWidth, FHeight);
    if (FFrame->Empty())
        return;
    if (!Loading())
        DrawBar(FRebuild);
    if (FShowBorder)
        DrawFrame();
    if (FShowPosText)
        DrawText();
    if (Canvas().Handle() != nullptr)
        Canvas().CopyRect({0, 0, FWidth, FHeight}, FFrame->Canvas(), {0, 0, FWidth, FHeight});
}

void TGradientBar::DrawBar(bool rebuild) {
    TCanvas& c = FFrame->Canvas();
    if (!FBarBitmap->Empty()) {
        if (rebuild) {
            FGradient->SetSize(FWidth, FHeight);
            TileBitmap();
        }
        c.CopyRect({0, 0, FWidth, FHeight}, FGradient->Canvas(), {0, 0, FWidth, FHeight});
    } else if (FBarColorStyle == cs1Color) {
        c.Brush().SetStyle(TBrushStyle::bsSolid);
        c.Brush().SetColor(FBarColor1);
        c.FillRect({0, 0, FWidth, FHeight});
    } else {
        if (rebuild) {
            FGradient->SetSize(FWidth, FHeight);
            BuildGradient();
        }
        c.CopyRect({0, 0, FWidth, FHeight}, FGradient->Canvas(), {0, 0, FWidth, FHeight});
    }
    BarFill fill = ComputeBarFill(FDirection, FShowBorder, FWidth, FHeight, FMin, FMax, FPosition);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(FBackgroundColor);
    c.FillRect(fill.Unfilled);
}

void TGradientBar::BuildGradient() {
    ++FGradientBuilds;
    GradientParams params{FDirection,
                          FBarColorStyle,
                          static_cast<TColor>(ColorToRGB(FBarColor1)),
                          static_cast<TColor>(ColorToRGB(FBarColor2)),
                          static_cast<TColor>(ColorToRGB(FBarColor3)),
                          FWidth,
                          FHeight};
    TCanvas& c = FGradient->Canvas();
    bool horizontal = IsHorizontal(FDirection);
    int lines = GradientLineCount(params);
    for (int line = 0; line < lines; ++line) {
        c.Pen().SetColor(GradientLineColor(params, line));
        if (horizontal) {
            c.MoveTo(line, 0);
            c.LineTo(line, FHeight);
        } else {
            c.MoveTo(0, line);
            c.LineTo(FWidth, line);
        }
    }
}

void TGradientBar::TileBitmap() {
    ++FGradientBuilds;
    int w = FBarBitmap->Width(), h = FBarBitmap->Height();
    int columns = FWidth / w + 1, rows = FHeight / h + 1;
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < columns; ++col)
            FGradient->Canvas().Draw(col * w, r * h, *FBarBitmap);
}

void TGradientBar::DrawFrame() {
    TCanvas& c = FFrame->Canvas();
    c.Pen().SetColor(FBorderColor1);
    c.MoveTo(FWidth - 1, 0);
    c.LineTo(0, 0);
    c.LineTo(0, FHeight);
    c.Pen().SetColor(FBorderColor2);
    c.MoveTo(1, FHeight - 1);
    c.LineTo(FWidth - 1, FHeight - 1);
    c.LineTo(FWidth - 1, 0);
}

void TGradientBar::DrawText() {
    TCanvas& c = FFrame->Canvas();
    std::string text = BarText(FPercentage, FPosition, FMax, FPosTextPrefix, FPosTextSuffix);
    SIZE extent = c.TextExtent(text);
    TPoint at = CentredTextOrigin(FWidth, FHeight, extent.cx, extent.cy);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.TextOut(at.X, at.Y, text);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
}

} // namespace zq
