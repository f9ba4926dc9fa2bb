#include "toolkit/Window.h"

#include <algorithm>

#include "toolkit/Exceptions.h"

namespace zq {

namespace {
const char kObjectProp[] = "ZqObject";
}

// ---- TWindowObject

TWindowObject::~TWindowObject() {
    for (TMessageListener* listener : FListeners)
        listener->FSource = nullptr;
    Detach();
}

TWindowObject* TWindowObject::FromHandle(HWND wnd) {
    if (wnd == nullptr)
        return nullptr;
    return static_cast<TWindowObject*>(GetPropA(wnd, kObjectProp));
}

void TWindowObject::Attach(HWND wnd) {
    SetPropA(wnd, kObjectProp, this);
    FWindow = wnd;
    FDefProc = nullptr;
}

void TWindowObject::Subclass(HWND wnd) {
    Attach(wnd);
    FDefProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindowObject::WindowProc)));
}

void TWindowObject::Detach() {
    if (FWindow != nullptr && FromHandle(FWindow) == this)
        RemovePropA(FWindow, kObjectProp);
    FWindow = nullptr;
}

LRESULT TWindowObject::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (FDefProc != nullptr)
        return CallWindowProcA(FDefProc, FWindow, msg, wParam, lParam);
    return DefWindowProcA(FWindow, msg, wParam, lParam);
}

LRESULT CALLBACK TWindowObject::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWindowObject* object = FromHandle(wnd);
    if (object == nullptr && msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        object = static_cast<TWindowObject*>(create->lpCreateParams);
        if (object != nullptr) {
            object->Attach(wnd);
            object->WindowAttached(wnd);
        }
    }
    if (object == nullptr)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    for (std::size_t i = 0; i < object->FListeners.size(); ++i) {
        try {
            object->FListeners[i]->FHandler(msg, wParam, lParam);
        } catch (...) {
            HandleCurrentException(object->MessageSender());
        }
    }
    LRESULT result = 0;
    try {
        result = object->WndProc(msg, wParam, lParam);
    } catch (...) {
        HandleCurrentException(object->MessageSender());
    }
    if (msg == WM_NCDESTROY && object->FWindow == wnd) {
        object->Detach();
        object->WindowDetached(wnd);
    }
    return result;
}

// ---- TMessageListener

void TMessageListener::Install(TWindowObject& source, Handler handler) {
    Remove();
    FHandler = std::move(handler);
    FSource = &source;
    source.FListeners.push_back(this);
}

void TMessageListener::Remove() {
    if (FSource == nullptr)
        return;
    auto& listeners = FSource->FListeners;
    listeners.erase(std::remove(listeners.begin(), listeners.end(), this), listeners.end());
    FSource = nullptr;
    FHandler = nullptr;
}

// ---- Classes and windows

void RegisterWindowClass(const WNDCLASSA& windowClass) {
    WNDCLASSA registered;
    if (GetClassInfoA(windowClass.hInstance, windowClass.lpszClassName, &registered))
        return;
    if (RegisterClassA(&windowClass) == 0)
        RaiseLastError("RegisterClassA", windowClass.lpszClassName);
}

HWND CreateWindowChecked(DWORD exStyle, const char* className, const char* caption, DWORD style,
                         int x, int y, int width, int height, HWND parent, HMENU menu,
                         TWindowObject* object) {
    HWND wnd = CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent,
                               menu, GetModuleHandleA(nullptr), object);
    if (wnd == nullptr)
        RaiseLastError("CreateWindowExA", className);
    return wnd;
}

} // namespace zq
