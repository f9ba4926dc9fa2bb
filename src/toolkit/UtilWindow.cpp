#include "toolkit/UtilWindow.h"

#include "toolkit/Exceptions.h"
#include "toolkit/Window.h"

namespace zq {

namespace {
const char kUtilClass[] = "ZqUtilWindow";
}

TUtilWindow::TUtilWindow(Handler handler) : FHandler(std::move(handler)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TUtilWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kUtilClass;
    RegisterWindowClass(wc);
    HWND wnd = CreateWindowChecked(WS_EX_TOOLWINDOW, kUtilClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                   nullptr, nullptr);
    FHandle.Reset(wnd);
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUtilWindow::~TUtilWindow() {
    if (FHandle)
        SetWindowLongPtrA(FHandle.Get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK TUtilWindow::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Never closed by a message (a process-wide close request posts one to every top-level
    // window): its owner destroys it.
    if (msg == WM_CLOSE)
        return 0;
    auto* self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (self == nullptr || !self->FHandler)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    try {
        return self->FHandler(wnd, msg, wParam, lParam);
    } catch (...) {
        HandleCurrentException(nullptr);
        return 0;
    }
}

} // namespace zq
