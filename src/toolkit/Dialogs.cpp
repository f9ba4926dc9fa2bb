#include "toolkit/Dialogs.h"

#include <commdlg.h>

#include "toolkit/Forms.h"
#include "toolkit/Graphics.h"

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
    if (!ChooseColorA(&cc))
        return false;
    FColor = cc.rgbResult;
    return true;
}

} // namespace zq
