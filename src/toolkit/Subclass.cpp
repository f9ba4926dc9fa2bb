#include "toolkit/Subclass.h"

#include <array>
#include <utility>

#include "toolkit/Exceptions.h"

namespace zq {

namespace {

// A fixed pool of distinct window procedures ("stubs"). A slot belongs to one window from
// installation until the stub can no longer be reached: restored away, or the window destroyed.
constexpr int kSlots = 64;

struct TSlot {
    bool InUse = false;
    HWND Wnd = nullptr;
    // The hook served, or nullptr once it was removed while the stub was still in a chain: the
    // stub then passes the window's messages on to OldProc.
    TWindowHook* Hook = nullptr;
    WNDPROC OldProc = nullptr;
};
std::array<TSlot, kSlots> gSlots{};

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
        if (!gSlots[i].InUse) {
            FSlot = i;
            FWnd = wnd;
            FHandler = std::move(handler);
            gSlots[i] = {true, wnd, this, nullptr};
            FOldProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gStubs[i])));
            gSlots[i].OldProc = FOldProc;
            return true;
        }
    }
    return false;
}

void TWindowHook::Remove() {
    if (FSlot < 0)
        return;
    TSlot& slot = gSlots[FSlot];
    if (!IsWindow(FWnd)) {
        slot = {};
        Detach();
        return;
    }
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(FWnd, GWLP_WNDPROC));
    if (current == gStubs[FSlot]) {
        // The window leads straight to this stub: give it back its procedure.
        SetWindowLongPtrA(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldProc));
        slot = {};
    } else {
        // A later subclass still calls this stub: it stays the window's, passing messages on.
        slot.Hook = nullptr;
    }
    Detach();
}

void TWindowHook::Detach() {
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

LRESULT TWindowHook::Dispatch(int index, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TSlot& slot = gSlots[index];
    // Never another window's handler: a stub only serves the window it was installed on.
    if (!slot.InUse || slot.Wnd != wnd)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (slot.Hook == nullptr) {
        result = slot.OldProc != nullptr ? CallWindowProcA(slot.OldProc, wnd, msg, wParam, lParam)
                                         : DefWindowProcA(wnd, msg, wParam, lParam);
    } else {
        TWindowHook* hook = slot.Hook;
        try {
            result = hook->FHandler ? hook->FHandler(msg, wParam, lParam)
                                    : hook->CallPrevious(msg, wParam, lParam);
        } catch (...) {
            HandleCurrentException(nullptr);
        }
    }
    if (msg == WM_NCDESTROY && slot.InUse && slot.Wnd == wnd) {
        // The window is gone: its handle may name another window soon, so nothing of it is kept.
        if (slot.Hook != nullptr)
            slot.Hook->Detach();
        slot = {};
    }
    return result;
}

} // namespace zq
