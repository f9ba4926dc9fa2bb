#include "toolkit/Window.h"

#include "toolkit/Exceptions.h"

namespace zq {

void RegisterWindowClass(const WNDCLASSA& windowClass) {
    WNDCLASSA registered;
    if (GetClassInfoA(windowClass.hInstance, windowClass.lpszClassName, &registered))
        return;
    if (RegisterClassA(&windowClass) == 0)
        RaiseLastError("RegisterClassA", windowClass.lpszClassName);
}

HWND CreateWindowChecked(DWORD exStyle, const char* className, const char* caption, DWORD style,
                         int x, int y, int width, int height, HWND parent, HMENU menu,
                         void* param) {
    HWND wnd = CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent,
                               menu, GetModuleHandleA(nullptr), param);
    if (wnd == nullptr)
        RaiseLastError("CreateWindowExA", className);
    return wnd;
}

} // namespace zq
