#include "tray/TrayShell.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zq {

// The portable record is the shell 5.0 ANSI layout of the 32-bit system header; the system
// record is filled from it field by field (a 64-bit test build has wider handles).
#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == sizeof(TNotifyIconDataA));
static_assert(offsetof(NOTIFYICONDATAA, szTip) == offsetof(TNotifyIconDataA, szTip));
static_assert(offsetof(NOTIFYICONDATAA, szInfo) == offsetof(TNotifyIconDataA, szInfo));
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) == offsetof(TNotifyIconDataA, dwInfoFlags));
#endif
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
        // The system record is larger (later shell versions); the 5.0 size tells the shell to
        // read only the 5.0 part.
        NOTIFYICONDATAA record;
        std::memset(&record, 0, sizeof record);
        record.cbSize = NOTIFYICONDATAA_V2_SIZE;
        record.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(data.hWnd));
        record.uID = data.uID;
        record.uFlags = data.uFlags;
        record.uCallbackMessage = data.uCallbackMessage;
        record.hIcon = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(data.hIcon));
        std::memcpy(record.szTip, data.szTip, sizeof data.szTip);
        record.dwState = data.dwState;
        record.dwStateMask = data.dwStateMask;
        std::memcpy(record.szInfo, data.szInfo, sizeof data.szInfo);
        record.uTimeout = data.uTimeout;
        std::memcpy(record.szInfoTitle, data.szInfoTitle, sizeof data.szInfoTitle);
        record.dwInfoFlags = data.dwInfoFlags;
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
