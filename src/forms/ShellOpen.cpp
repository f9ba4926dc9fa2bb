#include "forms/ShellOpen.h"

#include <windows.h>
#include <shellapi.h>

#include "toolkit/Application.h"

namespace zq {

namespace {

class TSystemShellOpener final : public TShellOpener {
public:
    void Open(const std::string& address) override {
        HWND owner = Application != nullptr ? Application->Handle() : nullptr;
        ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
};

TSystemShellOpener SystemOpener;
TShellOpener* CurrentOpener = &SystemOpener;

} // namespace

TShellOpener& ShellOpener() {
    return *CurrentOpener;
}

TShellOpener* SetShellOpener(TShellOpener* opener) {
    TShellOpener* previous = CurrentOpener;
    CurrentOpener = opener ? opener : &SystemOpener;
    return previous;
}

} // namespace zq
