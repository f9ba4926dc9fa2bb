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

// OSVERSIONINFOEX product types; 0 where the system reports none (a workstation then).
constexpr std::uint8_t ProductTypeWorkstation = 1;
constexpr std::uint8_t ProductTypeDomainController = 2;
constexpr std::uint8_t ProductTypeServer = 3;

struct TOsVersionFacts {
    std::uint32_t PlatformId = 0;
    std::uint32_t MajorVersion = 0;
    std::uint32_t MinorVersion = 0;
    std::uint32_t BuildNumber = 0;            // the whole field, as reported
    std::uint8_t ProductType = 0;             // see ProductType* above
    std::string CSDVersion;                   // service-pack text as reported
    std::uint32_t KernelProductVersionMS = 0; // 0 when kernel32.dll has no version resource
};

// "Windows 95", "Windows 95 OSR2", "Windows 98", "Windows 98SE", "Windows ME" and "Unknown"
// on the Windows 95 family; on the NT family "Windows NT3", "Windows NT4", "Windows 2000",
// "Windows XP", the names from "Windows Server 2003" and "Windows Vista" to "Windows 11" and
// "Windows Server 2025" (by product type, and by build for 10.0), and "Windows <major>.<minor>"
// for any other version; "Unknown" on other platforms.
std::string ClassifyOsName(const TOsVersionFacts& facts);

} // namespace zq
