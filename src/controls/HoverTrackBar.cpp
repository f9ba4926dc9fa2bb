#include "controls/HoverTrackBar.h"

#include "toolkit/Application.h"

namespace zq {

THoverTrackBar::THoverTrackBar(TComponent* owner) : TTrackBar(owner) {
    FControlStyle |= csAcceptsControls;
}

void THoverTrackBar::MouseEnter() {
    TTrackBar::MouseEnter();
    if (Application != nullptr) {
        FSavedHintColor = Application->HintColor();
        Application->SetHintColor(FHintColor);
    }
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void THoverTrackBar::MouseLeave() {
    TTrackBar::MouseLeave();
    if (Application != nullptr)
        Application->SetHintColor(FSavedHintColor);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void THoverTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTrackBar::MouseUp(button, shift, x, y);
    if (OnChanged)
        OnChanged(this);
}

void THoverTrackBar::ParentColorChanged() {
    TTrackBar::ParentColorChanged();
    if (OnParentColorChange)
        OnParentColorChange(this);
}

} // namespace zq
