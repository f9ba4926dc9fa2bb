#include "toolkit/ExtCtrls.h"

namespace zq {

namespace {
// A frame of `width` lines: `topLeft` along the top and left edges, `bottomRight` along the
// others; the rectangle shrinks by the frame.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        canvas.Pen().SetColor(topLeft);
        canvas.MoveTo(r.Left, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right - 1, r.Top);
        canvas.Pen().SetColor(bottomRight);
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(r.Left - 1, r.Bottom - 1);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

void Bevel(TCanvas& canvas, TRect& r, TPanelBevel bevel, int width) {
    if (bevel == TPanelBevel::bvRaised)
        Frame3D(canvas, r, clBtnHighlight, clBtnShadow, width);
    else if (bevel == TPanelBevel::bvLowered)
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, width);
}
} // namespace

// ---- TPanel

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
    FParentColor = true;
    FControlStyle |= csAcceptsControls;
    FWidth = 185;
    FHeight = 41;
}

void TPanel::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    if (FBorderStyle == TPanelBorder::bsSingle)
        p.Style |= WS_BORDER;
}

void TPanel::SetBevelInner(TPanelBevel value) {
    FBevelInner = value;
    Invalidate();
}

void TPanel::SetBevelOuter(TPanelBevel value) {
    FBevelOuter = value;
    Invalidate();
}

void TPanel::SetBevelWidth(int value) {
    FBevelWidth = value;
    Invalidate();
}

void TPanel::PaintWindow(HDC dc) {
    if (FBevelOuter == TPanelBevel::bvNone && FBevelInner == TPanelBevel::bvNone)
        return;
    TCanvas canvas(dc);
    TRect r = ClientRect();
    Bevel(canvas, r, FBevelOuter, FBevelWidth);
    Bevel(canvas, r, FBevelInner, FBevelWidth);
}

// ---- TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 105;
    FHeight = 105;
}

void TImage::SetTransparent(bool value) {
    FPicture.SetTransparent(value);
    Invalidate();
}

void TImage::SetCenter(bool value) {
    FCenter = value;
    Invalidate();
}

void TImage::Paint() {
    if (FPicture.Empty())
        return;
    int x = FCenter ? (FWidth - FPicture.Width()) / 2 : 0;
    int y = FCenter ? (FHeight - FPicture.Height()) / 2 : 0;
    Canvas().Draw(x, y, FPicture);
}

} // namespace zq
