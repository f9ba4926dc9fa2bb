#pragma once
// One Zentiq per user session. The first start holds a mutex named in the session's own
// namespace ("Local\"), whatever folder it runs from; a later start finds it held, asks the
// running one to bring its strip into view and ends.
#include <string>

#include "toolkit/Handles.h"

namespace zq {

class TSingleInstance {
public:
    // Takes the session's mutex where no other start holds it.
    TSingleInstance();
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // Whether this start holds the mutex: it runs the program. Also true where the mutex cannot
    // be made at all (the program then runs as before).
    bool First() const { return FFirst; }
    // For a later start: asks the running one (its application window has this title) to come
    // into view, trying for up to a second while it is still making its windows. Should the
    // running one end meanwhile, this start takes the mutex and First() becomes true.
    void WakeFirst(const std::string& title);

private:
    // Whether the wait took the mutex (also from a start that ended without releasing it).
    bool Take(unsigned long milliseconds);
    UniqueKernelHandle FMutex;
    bool FFirst = false;
};

} // namespace zq
