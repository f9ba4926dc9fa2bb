#include "sysinfo/OsName.h"

#include "toolkit/IniCodec.h"

namespace zq {

namespace {

std::string Windows9xName(const TOsVersionFacts& facts) {
    const std::string servicePack(TrimBlanks(facts.CSDVersion));
    const std::uint32_t minor = facts.MinorVersion;
    if (minor <= 9)
        return servicePack == "B" ? "Windows 95 OSR2" : "Windows 95";
    if (minor <= 89) {
        // Some Windows ME systems report a 98 minor version; the kernel tells them apart.
        if (facts.KernelProductVersionMS == KernelVersionWindowsME)
            return "Windows ME";
        return servicePack == "A" ? "Windows 98SE" : "Windows 98";
    }
    if (minor == 90)
        return "Windows ME";
    return "Unknown";
}

std::string WindowsNTName(const TOsVersionFacts& facts) {
    switch (facts.MajorVersion) {
    case 3:
        return "Windows NT3";
    case 4:
        return "Windows NT4";
    case 5:
        if (facts.MinorVersion == 0)
            return "Windows 2000";
        if (facts.MinorVersion == 1)
            return "Windows XP";
        return "Unknown";
    default:
        return "Unknown";
    }
}

} // namespace

std::string ClassifyOsName(const TOsVersionFacts& facts) {
    switch (facts.PlatformId) {
    case VerPlatformWindows:
        return Windows9xName(facts);
    case VerPlatformNT:
        return WindowsNTName(facts);
    default:
        return "Unknown";
    }
}

} // namespace zq
