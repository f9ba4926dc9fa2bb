#include "toolkit/UtilWindow.h"

namespace zq {

namespace {
const char kUtilClass[] = "ZqUtilWindow";
}

TUtilWindow::TUtilWindow(Handler handler) : FHandler(std::move(handler)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TWindowObject::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kUtilClass;
    RegisterWindowClass(wc);
    FHandle.Reset(CreateWindowChecked(WS_EX_TOOLWINDOW, kUtilClass, "", WS_POPUP, 0, 0, 0, 0,
                                      nullptr, nullptr, this));
}

TUtilWindow::~TUtilWindow() {
    // The window's last messages go to DefWindowProc, not to a handler on its way out.
    Detach();
}

LRESULT TUtilWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE)
        return 0;
    if (!FHandler)
        return DefaultHandler(msg, wParam, lParam);
    return FHandler(AttachedWindow(), msg, wParam, lParam);
}

} // namespace zq
