#pragma once
// A window's accessible object, the answer to WM_GETOBJECT (TWinControl::WMGetObject). Built
// without exceptions: nothing in it throws, so it carries no unwind tables; what it reads of the
// controls and the system libraries comes from Accessible.h.

namespace zq {

class TAccessibleClient;

// Disconnects and releases a window's object (nothing when there is none).
void DisconnectAccessibleObject(TAccessibleClient*& object);
// Accessible objects alive in the process (tests: nothing is built until asked, nothing leaks).
long LiveAccessibleObjects();

} // namespace zq
