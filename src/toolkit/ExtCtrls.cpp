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
    FScaled.Clear();
    Invalidate();
}

void TImage::SetCenter(bool value) {
    FCenter = value;
    Invalidate();
}

void TImage::ChangeScale(int ppi) {
    FScaled.Clear();
    TGraphicControl::ChangeScale(ppi);
}

// Smoothly stretched (halftone). The transparent pixels of a transparent picture take its
// parent's colour first, so that its edges blend into what shows around it.
TBitmap& TImage::ScaledPicture() {
    const int w = Scaled(FPicture.Width()), h = Scaled(FPicture.Height());
    if (FScaled.Width() == w && FScaled.Height() == h)
        return FScaled;
    TBitmap source;
    source.Assign(FPicture);
    if (source.Transparent()) {
        const COLORREF key = source.TransparentColor() == clNone
                                 ? source.PixelAt(0, source.Height() - 1)
                                 : ColorToRGB(source.TransparentColor());
        const TColor ground = ColorToRGB(FParent != nullptr ? FParent->Color() : Color());
        for (int y = 0; y < source.Height(); ++y)
            for (int x = 0; x < source.Width(); ++x)
                if (source.PixelAt(x, y) == key)
                    source.Canvas().SetPixel(x, y, ground);
    }
    FScaled.SetSize(w, h);
    HDC dc = FScaled.Canvas().Handle();
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FScaled.Canvas().CopyRect({0, 0, w, h}, source.Canvas(),
                              {0, 0, source.Width(), source.Height()});
    return FScaled;
}

void TImage::Paint() {
    if (FPicture.Empty())
        return;
    TBitmap& picture = FPixelsPerInch == kDesignDpi ? FPicture : ScaledPicture();
    int x = FCenter ? (FWidth - picture.Width()) / 2 : 0;
    int y = FCenter ? (FHeight - picture.Height()) / 2 : 0;
    Canvas().Draw(x, y, picture);
}

} // namespace zq
