#pragma once
// A multi-line label whose lines are fully justified: the caption is broken to the label's width
// and every line broken at a space is stretched to the full width by widening its spaces; the
// last line of a paragraph and a line cut inside an over-long word keep their natural spacing.
// Lines start at the top left. Disabled, the text is engraved. The caption stays the window's
// text (WM_GETTEXT reads it); the label paints its own background in its colour.
#include "toolkit/StdCtrls.h"

namespace zq {

class TJustifiedLabel : public TCustomLabel {
public:
    // Word wrap on, AutoSize off.
    explicit TJustifiedLabel(TComponent* owner);

protected:
    // The label paints all of itself, background included.
    bool WMPaint(TMessage& m) override;
    bool WMEraseBkgnd(TMessage& m) override;
    // With AutoSize on, the height becomes "Wg"'s height times the number of lines at the
    // current width; the width stays.
    void AdjustBounds() override;
    // Another width breaks the lines elsewhere: everything is painted again.
    void Resize() override;

private:
    void Paint(HDC dc);
};

} // namespace zq
