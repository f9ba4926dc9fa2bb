// Program entry: the application object, its title, the four windows and the message loop.
#include <windows.h>

#include "app/Forms.h"
#include "cpuusage/CpuUsage.h"
#include "toolkit/Application.h"

using namespace zq;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        CpuUsageStartup();
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
    CpuUsageShutdown();
    return 0;
}
