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
    {
        TApplication app;
        Application->Initialize();
        Application->SetTitle("Zentiq");
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Application->CreateForm(MemoryForm);
        Application->Run();
    }
    DoneCpuUsage();
    return 0;
}
