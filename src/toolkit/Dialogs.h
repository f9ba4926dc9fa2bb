#pragma once
// The system's colour dialog.
#include <windows.h>

#include <array>

#include "toolkit/Component.h"
#include "toolkit/Types.h"

namespace zq {

class TColorDialog : public TComponent {
public:
    explicit TColorDialog(TComponent* owner);

    // The colour the dialog opens on, and the one chosen in it (black the first time).
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }
    // The sixteen custom colours, kept from one showing to the next.
    const std::array<COLORREF, 16>& CustomColors() const { return FCustomColors; }

    // Shows the dialog modally; true when the user confirmed a colour.
    bool Execute();

private:
    TColor FColor = clBlack;
    std::array<COLORREF, 16> FCustomColors;
};

} // namespace zq
