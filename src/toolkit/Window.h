#pragma once
// How the toolkit makes its windows: one helper registers the program's window classes, one
// creates windows; both raise ESystemError (toolkit/Exceptions.h) naming the call, the class
// and the system's error text when the system refuses.
#include <windows.h>

namespace zq {

// The icon of the toolkit's windows: the program's first icon resource, the one Windows shows for
// the program file too.
constexpr int kProgramIcon = 1;

// Registers a window class of the program unless it is registered already.
void RegisterWindowClass(const WNDCLASSA& windowClass);

// CreateWindowExA in the program's module; never answers nullptr.
HWND CreateWindowChecked(DWORD exStyle, const char* className, const char* caption, DWORD style,
                         int x, int y, int width, int height, HWND parent, HMENU menu,
                         void* param);

} // namespace zq
