#include "toolkit/Dialogs.h"

#include <commdlg.h>

#include "toolkit/Exceptions.h"
#include "toolkit/Forms.h"
#include "toolkit/Graphics.h"
#include "toolkit/SystemProc.h"

namespace zq {

namespace {
// comdlg32 (and comctl32, which it loads) only while one of its dialogs is open.
class TDialogLibrary {
public:
    TDialogLibrary() : FModule(LoadLibraryA("comdlg32.dll")) {
        if (FModule == nullptr)
            throw Exception("Cannot load comdlg32.dll");
    }
    ~TDialogLibrary() { FreeLibrary(FModule); }
    TDialogLibrary(const TDialogLibrary&) = delete;
    TDialogLibrary& operator=(const TDialogLibrary&) = delete;

    template <typename F> F Proc(const char* name) const {
        if (auto proc = ProcAddress<F>(FModule, name))
            return proc;
        throw Exception(std::string("comdlg32.dll has no ") + name);
    }

private:
    HMODULE FModule;
};
} // namespace

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
    TDialogLibrary library;
    if (!library.Proc<decltype(&ChooseColorA)>("ChooseColorA")(&cc))
        return false;
    FColor = cc.rgbResult;
    return true;
}

} // namespace zq
