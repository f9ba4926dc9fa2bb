// The program's windows as start-up creates them, for the tests of the meter and its dialogs.
#include <windows.h>

#include "Harness.h"
#include "app/ProgramWindows.h"
#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "sysinfo/FileVersionInfo.h"
#include "toolkit/Application.h"
#include "toolkit/FileStore.h"

using namespace zq;

namespace zqtest {

std::string Beside(const std::string& name) {
    std::string path = ProgramFileName();
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

namespace {
std::string SettingsPath() {
    return ExecutableDirectory() + "zentiq.ini";
}
} // namespace

void StartProgram(const std::string& settings, bool systemInformation) {
    SetFileAttributesA(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(SettingsPath().c_str());
    if (!settings.empty())
        SystemFileStore().Write(SettingsPath(), settings);
    InitCpuUsage();
    Application->CreateForm(MeterForm);
    Application->CreateForm(OptionsForm);
    if (systemInformation)
        Application->CreateForm(SystemInfoForm);
}

void EndProgram() {
    delete SystemInfoForm;
    SystemInfoForm = nullptr;
    delete OptionsForm;
    OptionsForm = nullptr;
    delete MeterForm;
    MeterForm = nullptr;
    DoneCpuUsage();
    DeleteFileA(SettingsPath().c_str());
}

} // namespace zqtest
