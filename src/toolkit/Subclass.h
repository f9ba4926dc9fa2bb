#pragma once
// Chained window subclassing. A hook saves the window procedure it finds, installs a stub that
// routes every message to its handler, and puts the saved procedure back when removed. Hooks on
// one window form a chain and should be removed in reverse order of installation; a hook removed
// while another procedure still leads through its stub leaves the stub passing messages on to
// the saved procedure until the window is destroyed, so the stub serves that window alone.
#include <windows.h>

#include <functional>

namespace zq {

class TWindowHook {
public:
    // The handler sees every message first and normally ends with CallPrevious(...).
    using Handler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

    TWindowHook() = default;
    ~TWindowHook() { Remove(); }
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;

    // False when the window is not valid or every stub is in use.
    bool Install(HWND wnd, Handler handler);
    // Restores the saved procedure when the window still leads to this hook's stub.
    void Remove();
    // False once removed or once the window has been destroyed.
    bool Installed() const { return FSlot >= 0; }
    HWND Window() const { return FWnd; }
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);

    static LRESULT Dispatch(int slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void Detach();

    HWND FWnd = nullptr;
    WNDPROC FOldProc = nullptr;
    int FSlot = -1;
    Handler FHandler;
};

} // namespace zq
