#pragma once
// Safe DLL loading. A DLL that is not one of the system's known DLLs would be looked for in the
// program's own folder first, where a planted file of the same name could run with the user's
// rights. So the program imports only DLLs Windows always takes from the system, loads any other
// by its full path in the system directory, and takes its own folder and the current directory
// out of the search at start-up.
#include <windows.h>

#include <string>

#include "toolkit/SystemProc.h"

namespace zq {

// Removes the program's folder and the current directory from the DLL search where the system
// can (SetDefaultDllDirectories with the system directory only; SetDllDirectoryA("")), each
// looked up at run time; does nothing where neither exists. Call first thing at start-up.
void RestrictDllSearch();

// The system directory with a trailing separator; empty when the system does not tell.
std::string SystemDirectory();

// A system DLL loaded by its full path in the system directory for the object's lifetime.
class TSystemLibrary {
public:
    // `fileName`: a bare file name such as "version.dll".
    explicit TSystemLibrary(const char* fileName);
    ~TSystemLibrary();
    TSystemLibrary(const TSystemLibrary&) = delete;
    TSystemLibrary& operator=(const TSystemLibrary&) = delete;

    bool Loaded() const { return FModule != nullptr; }
    HMODULE Handle() const { return FModule; }
    // The exported function as a pointer of type F; nullptr when the DLL or export is missing.
    template <typename F> F Proc(const char* name) const { return ProcAddress<F>(FModule, name); }

private:
    HMODULE FModule = nullptr;
};

} // namespace zq
