#pragma once
// The running Windows version as the program saw it at start-up, and its name.
#include <cstdint>
#include <string>

#include "sysinfo/OsName.h"

namespace zq {

// GetVersionExA (with the product type where the system reports it) and kernel32.dll's product
// version, read once at program start.
const TOsVersionFacts& StartupOsVersion();

// The high 32 bits of the product version of the loaded kernel32.dll; 0 without a version
// resource (or an unreadable one).
std::uint32_t ReadKernelProductVersionMS() noexcept;

// The operating-system name of the start-up version facts.
std::string OperatingSystemName();

} // namespace zq
