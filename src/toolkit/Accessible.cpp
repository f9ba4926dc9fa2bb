#include "toolkit/Accessible.h"

#include <new>

#include "toolkit/AccessibleObject.h"
#include "toolkit/Controls.h"
#include "toolkit/Exceptions.h"
#include "toolkit/SystemLibrary.h"

namespace zq {

namespace {

using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD) noexcept;
using CoUninitializeFn = void(WINAPI*)() noexcept;
// Looked up: Windows 95 and NT 4 lack it.
using NotifyWinEventFn = void(WINAPI*)(DWORD, HWND, LONG, LONG);

// The functions, by library (ole32, oleaut32, oleacc).
constexpr struct {
    int Library;
    const char* Name;
} kFunctionNames[kAccessFunctions] = {
    {0, "CoInitializeEx"},
    {0, "CoUninitialize"},
    {0, "CoDisconnectObject"},
    {1, "SysAllocStringLen"},
    {2, "CreateStdAccessibleObject"},
    {2, "LresultFromObject"},
    {2, "AccessibleChildren"},
};

// The system's accessibility and COM, from the first object built until the last window that
// holds one goes. COM is started on the thread: the objects are marshalled to the screen
// reader's process.
class TAccessRuntime {
public:
    TAccessRuntime() {
        for (int i = 0; i < kAccessFunctions; ++i)
            if (!(gAccessFunctions[i] = FLibraries[kFunctionNames[i].Library].Proc<void (*)()>(
                      kFunctionNames[i].Name)))
                return;
        const HRESULT started =
            AccessFunction<CoInitializeExFn>(kInitialize)(nullptr, COINIT_APARTMENTTHREADED);
        FStarted = SUCCEEDED(started); // S_FALSE too: every start is ended once
        FReady = FStarted || started == RPC_E_CHANGED_MODE;
    }
    ~TAccessRuntime() {
        if (FStarted)
            AccessFunction<CoUninitializeFn>(kUninitialize)();
        for (auto& function : gAccessFunctions)
            function = nullptr;
    }
    TAccessRuntime(const TAccessRuntime&) = delete;
    TAccessRuntime& operator=(const TAccessRuntime&) = delete;

    bool Ready() const { return FReady; }

    int Users = 0;

private:
    TSystemLibrary FLibraries[3]{TSystemLibrary("ole32.dll"), TSystemLibrary("oleaut32.dll"),
                                 TSystemLibrary("oleacc.dll")};
    bool FStarted = false;
    bool FReady = false;
};

TAccessRuntime* gRuntime = nullptr;

} // namespace

// ---- Items

void DescribeControl(TControl& control, TAccessibleItem& item) {
    control.DescribeAccessible(item);
    if (const TAccessibleInfo* info = control.AccessibleInfo())
        item.Name = info->Name;
    item.Bounds = control.BoundsRect();
    item.Visible = control.Visible();
}

// ---- The view

HRESULT ReadAccessibleView(TWinControl& window, long standardChildren, int child,
                           TAccessibleView& view) noexcept {
    try {
        TControl* self = AccessibleSelf(window);
        if (self != nullptr) {
            view.SelfDescribed = true;
            DescribeControl(*self, view.Self);
        }
        // The named graphic controls but the one that speaks for the window, then its parts.
        TControl* standIn = AccessibleStandIn(window);
        int own = 0;
        for (int i = 0; i < window.ControlCount(); ++i) {
            TControl* c = window.Controls(i);
            if (c != standIn && c->AsGraphicControl() != nullptr &&
                c->AccessibleInfo() != nullptr && own++ == child) {
                view.ChildDescribed = true;
                DescribeControl(*c, view.Child);
            }
        }
        const TAccessibleInfo* info = self != nullptr ? self->AccessibleInfo() : nullptr;
        const int parts = info != nullptr && info->PartCount && info->Part ? info->PartCount() : 0;
        if (child >= own && child < own + parts) {
            view.ChildDescribed = true;
            view.Child.Bounds = self == &window ? window.ClientRect() : self->BoundsRect();
            info->Part(child - own, view.Child);
        }
        view.Ids = {standardChildren, own + parts};
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        HandleCurrentException(&window);
        return E_FAIL;
    }
    return S_OK;
}

// ---- The runtime

bool UseAccessibleRuntime() noexcept {
    if (gRuntime == nullptr) {
        try {
            auto* runtime = new TAccessRuntime;
            if (!runtime->Ready()) {
                delete runtime;
                return false;
            }
            gRuntime = runtime;
        } catch (...) { // memory ran out: the system's answer stands
            return false;
        }
    }
    ++gRuntime->Users;
    return true;
}

void LeaveAccessibleRuntime() {
    if (--gRuntime->Users == 0) {
        delete gRuntime;
        gRuntime = nullptr;
    }
}

// ---- Controls

TAccessibleInfo& TControl::Accessible() {
    if (!FAccessible)
        FAccessible = std::make_unique<TAccessibleInfo>();
    return *FAccessible;
}

void TControl::SetAccessibleName(const std::string& name) {
    Accessible().Name = name;
}

void TControl::AccessibleValueChanged() {
    if (!FAccessible)
        return;
    TWinControl* window = AsWinControl();
    if (window == nullptr && FParent != nullptr && AccessibleStandIn(*FParent) == this)
        window = FParent;
    if (window == nullptr || !window->HandleAllocated() || !window->Showing())
        return;
    TAccessibleItem item;
    DescribeAccessible(item);
    if (FAccessible->Gate.Pass(item.Value, GetTickCount()))
        if (auto notify = LoadedProc<NotifyWinEventFn>("user32.dll", "NotifyWinEvent"))
            notify(EVENT_OBJECT_VALUECHANGE, window->Handle(), OBJID_CLIENT, CHILDID_SELF);
}

} // namespace zq
