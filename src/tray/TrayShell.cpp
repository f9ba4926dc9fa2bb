#include "tray/TrayShell.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>

namespace zq {

// The portable record must be exactly the shell 5.0 ANSI layout of the system header.
static_assert(sizeof(void*) == 4, "the tray record carries 32-bit handles");
static_assert(NOTIFYICONDATAA_V2_SIZE == sizeof(TNotifyIconDataA));
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == offsetof(TNotifyIconDataA, hWnd));
static_assert(offsetof(NOTIFYICONDATAA, uID) == offsetof(TNotifyIconDataA, uID));
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == offsetof(TNotifyIconDataA, uFlags));
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) ==
              offsetof(TNotifyIconDataA, uCallbackMessage));
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == offsetof(TNotifyIconDataA, hIcon));
static_assert(offsetof(NOTIFYICONDATAA, szTip) == offsetof(TNotifyIconDataA, szTip));
static_assert(offsetof(NOTIFYICONDATAA, dwState) == offsetof(TNotifyIconDataA, dwState));
static_assert(offsetof(NOTIFYICONDATAA, dwStateMask) == offsetof(TNotifyIconDataA, dwStateMask));
static_assert(offsetof(NOTIFYICONDATAA, szInfo) == offsetof(TNotifyIconDataA, szInfo));
static_assert(offsetof(NOTIFYICONDATAA, uTimeout) == offsetof(TNotifyIconDataA, uTimeout));
static_assert(offsetof(NOTIFYICONDATAA, szInfoTitle) == offsetof(TNotifyIconDataA, szInfoTitle));
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) == offsetof(TNotifyIconDataA, dwInfoFlags));
static_assert(NIM_ADD == tray::NimAdd && NIM_MODIFY == tray::NimModify &&
              NIM_DELETE == tray::NimDelete);
static_assert(NIF_MESSAGE == tray::NifMessage && NIF_ICON == tray::NifIcon &&
              NIF_TIP == tray::NifTip && NIF_INFO == tray::NifInfo);
static_assert(WM_USER + 0x400 == WM_TRAYCALLBACK);
static_assert(WM_MOUSEMOVE == tray::WmMouseMove && WM_LBUTTONDOWN == tray::WmLButtonDown &&
              WM_LBUTTONUP == tray::WmLButtonUp && WM_LBUTTONDBLCLK == tray::WmLButtonDblClk &&
              WM_RBUTTONDOWN == tray::WmRButtonDown && WM_RBUTTONUP == tray::WmRButtonUp &&
              WM_RBUTTONDBLCLK == tray::WmRButtonDblClk && WM_MBUTTONDOWN == tray::WmMButtonDown &&
              WM_MBUTTONUP == tray::WmMButtonUp && WM_MBUTTONDBLCLK == tray::WmMButtonDblClk);

namespace {

class TSystemTrayShell final : public TTrayShell {
public:
    bool NotifyIcon(std::uint32_t message, const TNotifyIconDataA& data) override {
        // The system record is larger (later shell versions); cbSize 488 tells the shell to
        // read only the 5.0 part.
        NOTIFYICONDATAA record;
        std::memset(&record, 0, sizeof record);
        std::memcpy(&record, &data, sizeof data);
        return Shell_NotifyIconA(message, &record) != FALSE;
    }
};

TSystemTrayShell SystemShell;
TTrayShell* CurrentShell = &SystemShell;

} // namespace

TTrayShell& TrayShell() {
    return *CurrentShell;
}

TTrayShell* SetTrayShell(TTrayShell* shell) {
    TTrayShell* previous = CurrentShell;
    CurrentShell = shell ? shell : &SystemShell;
    return previous;
}

} // namespace zq
