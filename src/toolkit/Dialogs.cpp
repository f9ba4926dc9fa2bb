#include "toolkit/Dialogs.h"

#include <commdlg.h>

#include <utility>

#include "toolkit/Exceptions.h"
#include "toolkit/Forms.h"
#include "toolkit/Graphics.h"
#include "toolkit/SystemLibrary.h"
#include "toolkit/WideText.h"

namespace zq {

TColorDialog::TColorDialog(TComponent* owner) : TComponent(owner) {
    FCustomColors.fill(RGB(255, 255, 255));
}

bool TColorDialog::Execute() {
    HWND owner = GetActiveWindow();
    if (owner == nullptr && FormHost != nullptr)
        owner = FormHost->Handle();
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = ColorToRGB(FColor);
    cc.lpCustColors = FCustomColors.data();
    cc.Flags = CC_RGBINIT;
    // comdlg32 (and comctl32, which it loads) only while the dialog is open.
    TSystemLibrary library("comdlg32.dll");
    auto choose = library.Proc<decltype(&ChooseColorA)>("ChooseColorA");
    if (choose == nullptr)
        throw Exception("Cannot load comdlg32.dll");
    if (!choose(&cc))
        return false;
    FColor = cc.rgbResult;
    return true;
}

namespace {
TQuestionAnswerer* gAnswerer = nullptr;
} // namespace

bool AskYesNo(HWND owner, const std::string& text, const std::string& caption) {
    if (gAnswerer != nullptr)
        return gAnswerer->Answer(text, caption);
    return MessageBoxW(owner, WideChars(Utf16(text)), WideChars(Utf16(caption)),
                       MB_YESNO | MB_ICONWARNING) == IDYES;
}

TQuestionAnswerer* SetQuestionAnswerer(TQuestionAnswerer* answerer) {
    return std::exchange(gAnswerer, answerer);
}

} // namespace zq
