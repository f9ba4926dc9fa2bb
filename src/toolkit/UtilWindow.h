#pragma once
// Hidden top-level windows that route their messages to a handler (timers, tray icons, menus).
// Top-level, not message-only, so that they receive broadcasts such as "TaskbarCreated".
#include <windows.h>

#include <functional>

#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace zq {

class TUtilWindow : public TWindowObject {
public:
    using Handler = std::function<LRESULT(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)>;
    // The handler calls DefWindowProcA itself for what it does not handle.
    explicit TUtilWindow(Handler handler);
    ~TUtilWindow() override;
    HWND Handle() const { return FHandle.Get(); }

protected:
    // Close requests are ignored (a process-wide one posts WM_CLOSE to every top-level window):
    // the owner destroys the window. Every other message goes to the handler.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    Handler FHandler;
    UniqueWindow FHandle;
};

} // namespace zq
