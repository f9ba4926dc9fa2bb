#include "controls/JstLabel.h"

#include "controls/JstLabelPaint.h"

namespace zq {

TJstLabel::TJstLabel(TComponent* owner) : TCustomLabel(owner) {
    FWordWrap = true;
    FAutoSize = false;
}

void TJstLabel::Paint(HDC dc) {
    RECT r;
    GetClientRect(FHandle.Get(), &r);
    FBrush.SetColor(Color());
    FillRect(dc, &r, FBrush.Handle());
    TCanvas canvas(dc);
    // A left-to-right label draws with no output options.
    PaintJstText(canvas, Font(), RectOf(r), FCaption, Enabled(), 0);
}

bool TJstLabel::WMPaint(TMessage&) {
    PaintScope paint(FHandle.Get());
    Paint(paint.DC());
    return true;
}

bool TJstLabel::WMEraseBkgnd(TMessage& m) {
    m.Result = 1;
    return true;
}

void TJstLabel::AdjustBounds() {
    if (!FAutoSize || Loading())
        return;
    SetBounds(FLeft, FTop, FWidth, JstAutoSizeHeight(Font(), FCaption, FWidth));
}

void TJstLabel::Resize() {
    TCustomLabel::Resize();
    Invalidate();
}

} // namespace zq
