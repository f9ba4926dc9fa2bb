#pragma once
// Hidden top-level windows that route their messages to a handler (timers, tray icons, menus).
// Top-level, not message-only, so that they receive broadcasts such as "TaskbarCreated".
#include <windows.h>

#include <functional>

#include "toolkit/Handles.h"

namespace zq {

class TUtilWindow {
public:
    using Handler = std::function<LRESULT(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)>;
    // The handler calls DefWindowProcA itself for what it does not handle.
    explicit TUtilWindow(Handler handler);
    ~TUtilWindow();
    TUtilWindow(const TUtilWindow&) = delete;
    TUtilWindow& operator=(const TUtilWindow&) = delete;
    HWND Handle() const { return FHandle.Get(); }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    Handler FHandler;
    UniqueWindow FHandle;
};

} // namespace zq
