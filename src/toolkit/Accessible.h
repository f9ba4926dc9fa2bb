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
#include "toolkit/AccessibleModel.h"

namespace zq {

class TControl;
class TWinControl;
class TAccessibleClient;

// The item a control presents: its name, role, value, bounds in its parent and visibility.
void DescribeControl(TControl& control, TAccessibleItem& item);
// The named graphic control that fills the window's client area and speaks for it, or nullptr.
TControl* AccessibleStandIn(const TWinControl& window);
// Disconnects and releases a window's object (nothing when there is none).
void DisconnectAccessibleObject(TAccessibleClient*& object);
// Accessible objects alive in the process (tests: nothing is built until asked, nothing leaks).
long LiveAccessibleObjects();

} // namespace zq
