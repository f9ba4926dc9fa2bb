#pragma once
// The system's colour dialog, and questions in a message box.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

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

// Asks a question in a message box with a warning icon and the buttons Yes and No (Yes the
// default); true for Yes. The box is modal to `owner`.
bool AskYesNo(HWND owner, const std::string& text, const std::string& caption);
// Who answers AskYesNo: the message box unless tests installed an answer of their own (an empty
// function puts the message box back). Answers the previous one.
using TQuestionAnswerer = std::function<bool(const std::string& text, const std::string& caption)>;
TQuestionAnswerer SetQuestionAnswerer(TQuestionAnswerer answerer);

} // namespace zq
