#pragma once
// A track bar whose hints show in a colour of its own: while the mouse is over it, the
// application's hint colour is HintColor, and the colour before is restored when the mouse
// leaves. It also tells when the mouse enters and leaves it, when a mouse button is released on
// it and when its parent's colour changes.
#include "toolkit/ComCtrls.h"

namespace zq {

class THoverTrackBar : public TTrackBar {
public:
    explicit THoverTrackBar(TComponent* owner);

    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor color) { FHintColor = color; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnParentColorChange;
    // After a mouse button was released on the slider.
    TNotifyEvent OnChanged;

    void MouseEnter() override;
    void MouseLeave() override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void ParentColorChanged() override;

private:
    TColor FHintColor = clInfoBk;
    TColor FSavedHintColor = clInfoBk;
};

} // namespace zq
