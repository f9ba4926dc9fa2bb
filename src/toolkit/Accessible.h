#pragma once
// Screen readers ask a window for its accessible object (MSAA IAccessible) with WM_GETOBJECT.
// A window that presents controls the program draws itself (named with TControl::Accessible)
// answers for its client area with an object of its own, built at the first request: it speaks
// for the window as the system's standard object does, except where a named control says more:
// the window itself when it is named, or when a named graphic control fills its client area
// (the strip's bar), and one child per other named graphic control and per part, after the
// child windows. Windows that present nothing are left to the system.
//
// oleacc, oleaut32 and ole32 are loaded by full path, and COM is started on the thread, at the
// first request; they are released when the last window holding an object goes. When its
// window goes the object is disconnected: remote clients lose it, and a reference held in the
// process answers CO_E_OBJNOTCONNECTED and never reaches the control again.
#include <windows.h>

#include "toolkit/AccessibleModel.h"

namespace zq {

class TControl;
class TWinControl;

// The item a control presents: its name, role, value, bounds in its parent and visibility.
void DescribeControl(TControl& control, TAccessibleItem& item);
// The named graphic control that fills the window's client area and speaks for it, or nullptr.
TControl* AccessibleStandIn(const TWinControl& window);

// Inside the toolkit: what a window's object (AccessibleObject.cpp) reads of the controls, and
// the system libraries it calls.

// A window's items as they are at one call: the object itself where a named control speaks for
// it, and one own child when asked for.
struct TAccessibleView {
    TAccessibleView();
    ~TAccessibleView();
    TAccessibleView(const TAccessibleView&) = delete;
    TAccessibleView& operator=(const TAccessibleView&) = delete;

    TAccessibleChildren Ids;
    bool SelfDescribed = false;
    TAccessibleItem Self;
    bool ChildDescribed = false;
    TAccessibleItem Child;
};

// Reads the window's controls into `view`, after the standard object's `standardChildren`, with
// own child `child` (none when it is out of range). A failure in the controls ends here: handed
// over, answered E_FAIL (E_OUTOFMEMORY when memory ran out).
HRESULT ReadAccessibleView(TWinControl& window, long standardChildren, int child,
                           TAccessibleView& view) noexcept;
// The control whose record speaks for the window itself: the window when it is named, else the
// named graphic control that fills it; nullptr when none does.
TControl* AccessibleSelf(TWinControl& window);

// The system's libraries, loaded (and COM started) for the first object and released with the
// last: UseAccessibleRuntime answers false where they cannot be used or memory runs out.
bool UseAccessibleRuntime() noexcept;
void LeaveAccessibleRuntime();

// The system's functions the objects call, found while the runtime is in use.
enum TAccessFunction {
    kInitialize,   // CoInitializeEx
    kUninitialize, // CoUninitialize
    kDisconnect,   // CoDisconnectObject
    kAllocString,  // SysAllocStringLen
    kCreateStd,    // CreateStdAccessibleObject
    kLresult,      // LresultFromObject
    kChildren,     // AccessibleChildren
    kAccessFunctions
};
extern void (*gAccessFunctions[kAccessFunctions])();
template <typename F> F AccessFunction(TAccessFunction function) {
    return reinterpret_cast<F>(gAccessFunctions[function]);
}

} // namespace zq
