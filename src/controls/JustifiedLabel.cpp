#include "controls/JustifiedLabel.h"

#include "controls/JustifiedLabelPaint.h"

namespace zq {

TJustifiedLabel::TJustifiedLabel(TComponent* owner) : TCustomLabel(owner) {
    FWordWrap = true;
    FAutoSize = false;
}

void TJustifiedLabel::Paint(HDC dc) {
    RECT r;
    GetClientRect(FHandle.Get(), &r);
    FBrush.SetColor(Color());
    FillRect(dc, &r, FBrush.Handle());
    TCanvas canvas(dc);
    // A left-to-right label draws with no output options.
    PaintJustifiedText(canvas, Font(), RectOf(r), FCaption, Enabled(), 0);
}

bool TJustifiedLabel::WMPaint(TMessage&) {
    PaintScope paint(FHandle.Get());
    Paint(paint.DC());
    return true;
}

bool TJustifiedLabel::WMEraseBkgnd(TMessage& m) {
    m.Result = 1;
    return true;
}

void TJustifiedLabel::AdjustBounds() {
    if (!FAutoSize || Loading())
        return;
    SetBounds(FLeft, FTop, FWidth, JustifiedAutoSizeHeight(Font(), FCaption, FWidth));
}

void TJustifiedLabel::Resize() {
    TCustomLabel::Resize();
    Invalidate();
}

} // namespace zq
