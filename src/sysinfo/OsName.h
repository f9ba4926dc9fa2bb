#pragma once
// Names the running Windows version from the version data the system reports.
#include <cstdint>
#include <string>
#include <string_view>

namespace zq {

constexpr std::uint32_t VerPlatformWin32s = 0;
constexpr std::uint32_t VerPlatformWindows = 1; // Windows 95, 98, ME
constexpr std::uint32_t VerPlatformNT = 2;

// The high 32 bits of kernel32.dll's product version on Windows ME (4.90).
constexpr std::uint32_t KernelVersionWindowsME = 0x0004005A;

struct TOsVersionFacts {
    std::uint32_t PlatformId = 0;
    std::uint32_t MajorVersion = 0;
    std::uint32_t MinorVersion = 0;
    std::string CSDVersion;                   // service-pack text as reported
    std::uint32_t KernelProductVersionMS = 0; // 0 when kernel32.dll has no version resource
};

// One of "Windows 95", "Windows 95 OSR2", "Windows 98", "Windows 98SE", "Windows ME",
// "Windows NT3", "Windows NT4", "Windows 2000", "Windows XP" and "Unknown".
std::string ClassifyOsName(const TOsVersionFacts& facts);

} // namespace zq
