#pragma once
// RAII owners for the GDI, USER and kernel handles the program creates, with the toolkit's own
// count of live handles (Wine's GetGuiResources always answers 0, so leak tests read these
// counters).
#include <windows.h>
#include <commctrl.h>

#include "toolkit/Comctl32.h"

#include <utility>

namespace zq {

enum class HandleKind { Gdi, User, Kernel };

// Handles currently owned by the toolkit's RAII types, by kind.
long LiveHandleCount(HandleKind kind);
void CountHandle(HandleKind kind, int delta);

template <typename H, typename Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : FHandle(handle) {
        if (FHandle)
            CountHandle(Traits::Kind, +1);
    }
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, H{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            FHandle = std::exchange(other.FHandle, H{});
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != H{}; }
    void Reset(H handle = H{}) {
        if (FHandle) {
            Traits::Free(FHandle);
            CountHandle(Traits::Kind, -1);
        }
        FHandle = handle;
        if (FHandle)
            CountHandle(Traits::Kind, +1);
    }
    // Gives up ownership without freeing (the handle is no longer counted).
    H Release() {
        if (FHandle)
            CountHandle(Traits::Kind, -1);
        return std::exchange(FHandle, H{});
    }

private:
    H FHandle{};
};

struct GdiObjectTraits {
    static constexpr HandleKind Kind = HandleKind::Gdi;
    static void Free(HGDIOBJ h) { DeleteObject(h); }
};
struct DcTraits {
    static constexpr HandleKind Kind = HandleKind::Gdi;
    static void Free(HDC h) { DeleteDC(h); }
};
struct IconTraits {
    static constexpr HandleKind Kind = HandleKind::User;
    static void Free(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
    static constexpr HandleKind Kind = HandleKind::User;
    static void Free(HMENU h) { DestroyMenu(h); }
};
struct WindowTraits {
    static constexpr HandleKind Kind = HandleKind::User;
    static void Free(HWND h) {
        if (IsWindow(h))
            DestroyWindow(h);
    }
};
struct ImageListTraits {
    static constexpr HandleKind Kind = HandleKind::User;
    static void Free(HIMAGELIST h) { DestroyImageList(h); }
};

// Kernel objects (events, mutexes) the program creates and closes.
struct KernelTraits {
    static constexpr HandleKind Kind = HandleKind::Kernel;
    static void Free(HANDLE h) { CloseHandle(h); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniquePen = UniqueHandle<HPEN, GdiObjectTraits>;
using UniqueRgn = UniqueHandle<HRGN, GdiObjectTraits>;
using UniqueDC = UniqueHandle<HDC, DcTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelTraits>;

// A window's device context from GetDC, released on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) : FWnd(wnd), FDC(GetDC(wnd)) {
        if (FDC)
            CountHandle(HandleKind::Gdi, +1);
    }
    ~WindowDC() {
        if (FDC) {
            ReleaseDC(FWnd, FDC);
            CountHandle(HandleKind::Gdi, -1);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// Selects an object into a DC for the scope and selects the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : FDC(dc), FOld(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() {
        if (FOld)
            SelectObject(FDC, FOld);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

} // namespace zq
