#pragma once
// Functions looked up at run time, for entries that older Windows versions lack.
#include <windows.h>

namespace zq {

// The export `name` of `module` as a pointer of type F; nullptr where either is missing.
template <typename F> F ProcAddress(HMODULE module, const char* name) {
    FARPROC proc = module != nullptr ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
}

// The same from a DLL the process has loaded already (kernel32, user32, ntdll).
template <typename F> F LoadedProc(const char* module, const char* name) {
    return ProcAddress<F>(GetModuleHandleA(module), name);
}

} // namespace zq
