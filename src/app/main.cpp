// Program entry: the DLL search restricted to the system, the application object, its title,
// the four windows and the message loop.
#include <windows.h>

#include "app/Forms.h"
#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "sysinfo/SystemLibrary.h"
#include "toolkit/Application.h"
#include "toolkit/Exceptions.h"

using namespace zq;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    try {
        InitCpuUsage();
    } catch (...) {
        HandleCurrentException(nullptr);
    }
    int code = 0;
    {
        TApplication app;
        app.Initialize();
        app.SetTitle("Zentiq");
        // A window that cannot be created ends the program with its message, not in terminate.
        code = app.Execute([] {
            Application->CreateForm(Form1);
            Application->CreateForm(Form2);
            Application->CreateForm(Form3);
            Application->CreateForm(MemoryForm);
        });
    }
    DoneCpuUsage();
    return code;
}
