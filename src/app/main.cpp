// Program entry: the DLL search restricted to the system, one program per session (a later
// start brings the running strip into view and ends), no input method, the application object,
// its title, the four windows and the message loop.
#include <windows.h>

#include "app/ProgramWindows.h"
#include "app/SingleInstance.h"
#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "toolkit/SystemLibrary.h"
#include "toolkit/Application.h"
#include "toolkit/Exceptions.h"
#include "toolkit/SystemProc.h"

using namespace zq;

namespace {
constexpr char kTitle[] = "Zentiq";

// Nothing in the program takes typed text (its lists are drop-down lists, its memo is read-only),
// so it needs no input method: without one, Wine does not set up COM on the first activation.
void DisableInputMethod() {
    using ImmDisableIMEFn = BOOL(WINAPI*)(DWORD);
    if (auto disable = LoadedProc<ImmDisableIMEFn>("imm32.dll", "ImmDisableIME"))
        disable(static_cast<DWORD>(-1)); // every thread of the process
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    TSingleInstance instance;
    if (!instance.First())
        instance.WakeFirst(kTitle);
    if (!instance.First())
        return 0;
    DisableInputMethod();
    try {
        InitCpuUsage();
    } catch (...) {
        HandleCurrentException(nullptr);
    }
    int code = 0;
    {
        TApplication app;
        app.Initialize();
        app.SetTitle(kTitle);
        app.OnWakeUp = [] {
            if (MeterForm != nullptr)
                MeterForm->BringIntoView();
        };
        // A window that cannot be created ends the program with its message, not in terminate.
        code = app.Execute([] {
            Application->CreateForm(MeterForm);
            Application->CreateForm(OptionsForm);
            Application->CreateForm(AboutForm);
            Application->CreateForm(SystemInfoForm);
        });
    }
    DoneCpuUsage();
    return code;
}
