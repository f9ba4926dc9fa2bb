#pragma once
// The system's colour dialog, and questions in a message box.
#include <windows.h>

#include <array>
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

// Who answers AskYesNo instead of the message box: tests install one.
class TQuestionAnswerer {
public:
    virtual ~TQuestionAnswerer() = default;
    virtual bool Answer(const std::string& text, const std::string& caption) = 0;
};
// Installs an answerer (nullptr puts the message box back) and answers the previous one.
TQuestionAnswerer* SetQuestionAnswerer(TQuestionAnswerer* answerer);

} // namespace zq
