#pragma once
// Shared by the Windows tests: the application object and the failures it was handed.
#include <string>
#include <vector>

namespace zqtest {

// Messages handed to Application.HandleException since the last call.
std::vector<std::string> TakeExceptions();
// A fresh empty folder under the system's temporary folder, with a trailing separator.
std::string TempFolder(const std::string& name);
// A file beside the test program.
std::string Beside(const std::string& name);

// Start-up as the program does it: the settings file beside the test program holds `settings`
// (no file when empty), then the sampler and the meter window, Options and, with
// `systemInformation`, the System Information dialog. EndProgram frees them and the file.
void StartProgram(const std::string& settings = "", bool systemInformation = true);
void EndProgram();

} // namespace zqtest
