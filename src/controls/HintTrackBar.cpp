#include "controls/HintTrackBar.h"

#include "toolkit/Application.h"

namespace zq {

THintTrackBar::THintTrackBar(TComponent* owner) : TTrackBar(owner) {
    FControlStyle |= csAcceptsControls;
}

void THintTrackBar::MouseEnter() {
    TTrackBar::MouseEnter();
    if (Application != nullptr) {
        FSavedHintColor = Application->HintColor();
        Application->SetHintColor(FHintColor);
    }
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void THintTrackBar::MouseLeave() {
    TTrackBar::MouseLeave();
    if (Application != nullptr)
        Application->SetHintColor(FSavedHintColor);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void THintTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTrackBar::MouseUp(button, shift, x, y);
    if (OnChanged)
        OnChanged(this);
}

void THintTrackBar::ParentColorChanged() {
    TTrackBar::ParentColorChanged();
    if (OnParentColorChange)
        OnParentColorChange(this);
}

} // namespace zq
