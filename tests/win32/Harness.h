#pragma once
// Shared by the Windows tests: the application object and the failures it was handed.
#include <string>
#include <vector>

namespace zqtest {

// Messages handed to Application.HandleException since the last call.
std::vector<std::string> TakeExceptions();
// A fresh empty folder under the system's temporary folder, with a trailing separator.
std::string TempFolder(const std::string& name);

} // namespace zqtest
