#include "app/SingleInstance.h"

#include <windows.h>

#include "toolkit/Application.h"

namespace zq {

namespace {
// The same for every copy of the program, wherever it lies; "Local\" is the session's own.
constexpr wchar_t kMutexName[] = L"Local\\Zentiq.Meter";
// A later start ends within a second.
constexpr DWORD kWakeTimeMs = 900;
constexpr DWORD kStepMs = 50;
} // namespace

TSingleInstance::TSingleInstance() : FMutex(CreateMutexW(nullptr, FALSE, kMutexName)) {
    FFirst = !FMutex || Take(0);
}

TSingleInstance::~TSingleInstance() {
    if (FFirst && FMutex)
        ReleaseMutex(FMutex.Get());
}

bool TSingleInstance::Take(unsigned long milliseconds) {
    const DWORD result = WaitForSingleObject(FMutex.Get(), milliseconds);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void TSingleInstance::WakeFirst(const std::string& title) {
    const DWORD began = GetTickCount();
    while (GetTickCount() - began < kWakeTimeMs) {
        if (WakeRunningApplication(title))
            return;
        if (Take(kStepMs)) {
            FFirst = true;
            return;
        }
    }
}

} // namespace zq
