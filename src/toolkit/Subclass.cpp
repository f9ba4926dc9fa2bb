#include "toolkit/Subclass.h"

#include <array>
#include <utility>

#include "toolkit/Exceptions.h"

namespace zq {

namespace {

// A fixed pool of distinct window procedures ("stubs"), one per installed hook.
constexpr int kSlots = 64;
std::array<TWindowHook*, kSlots> gHooks{};

template <int N> LRESULT CALLBACK StubProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return TWindowHook::Dispatch(N, wnd, msg, wParam, lParam);
}

template <int... N>
constexpr std::array<WNDPROC, kSlots> MakeStubs(std::integer_sequence<int, N...>) {
    return {&StubProc<N>...};
}
constexpr std::array<WNDPROC, kSlots> gStubs = MakeStubs(std::make_integer_sequence<int, kSlots>{});

} // namespace

bool TWindowHook::Install(HWND wnd, Handler handler) {
    Remove();
    if (!IsWindow(wnd))
        return false;
    for (int i = 0; i < kSlots; ++i) {
        if (gHooks[i] == nullptr) {
            gHooks[i] = this;
            FSlot = i;
            FWnd = wnd;
            FHandler = std::move(handler);
            FOldProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gStubs[i])));
            return true;
        }
    }
    return false;
}

void TWindowHook::Remove() {
    if (FSlot < 0)
        return;
    if (FOldProc != nullptr && IsWindow(FWnd))
        SetWindowLongPtrA(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldProc));
    gHooks[FSlot] = nullptr;
    FSlot = -1;
    FOldProc = nullptr;
    FWnd = nullptr;
    FHandler = nullptr;
}

LRESULT TWindowHook::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (FOldProc == nullptr)
        return DefWindowProcA(FWnd, msg, wParam, lParam);
    return CallWindowProcA(FOldProc, FWnd, msg, wParam, lParam);
}

LRESULT TWindowHook::Dispatch(int slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWindowHook* hook = gHooks[slot];
    if (hook == nullptr)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    try {
        if (hook->FHandler)
            return hook->FHandler(msg, wParam, lParam);
        return hook->CallPrevious(msg, wParam, lParam);
    } catch (...) {
        HandleCurrentException(nullptr);
        return 0;
    }
}

} // namespace zq
