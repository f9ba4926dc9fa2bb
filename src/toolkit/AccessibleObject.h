#pragma once
// Inside the toolkit: between a window's accessible object and WM_GETOBJECT
// (AccessibleObject.cpp, built without exceptions: nothing in it throws, so it carries no unwind
// tables) and the controls and system libraries they read (Accessible.cpp).
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include "toolkit/AccessibleModel.h"

namespace zq {

class TControl;
class TWinControl;

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
