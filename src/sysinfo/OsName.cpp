#include "sysinfo/OsName.h"

#include "toolkit/IniCodec.h"

#include <span>

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

struct TNtName {
    std::uint32_t Major, Minor;
    const char* Workstation;
    const char* Server;
};

// A workstation 5.2 is the x64 edition of Windows XP.
constexpr TNtName kNtNames[] = {
    {5, 0, "Windows 2000", "Windows 2000"},          {5, 1, "Windows XP", "Windows XP"},
    {5, 2, "Windows XP", "Windows Server 2003"},     {6, 0, "Windows Vista", "Windows Server 2008"},
    {6, 1, "Windows 7", "Windows Server 2008 R2"},   {6, 2, "Windows 8", "Windows Server 2012"},
    {6, 3, "Windows 8.1", "Windows Server 2012 R2"},
};

// Version 10.0 names from its first build on, latest first.
struct TBuildName {
    std::uint32_t FromBuild;
    const char* Name;
};

constexpr TBuildName kWorkstation10[] = {{22000, "Windows 11"}, {0, "Windows 10"}};
constexpr TBuildName kServer10[] = {{26100, "Windows Server 2025"},
                                    {20348, "Windows Server 2022"},
                                    {17763, "Windows Server 2019"},
                                    {0, "Windows Server 2016"}};

const char* ByBuild(std::span<const TBuildName> names, std::uint32_t build) {
    for (const TBuildName& name : names)
        if (build >= name.FromBuild)
            return name.Name;
    return names.back().Name;
}

std::string WindowsNTName(const TOsVersionFacts& facts) {
    const std::uint32_t major = facts.MajorVersion, minor = facts.MinorVersion;
    if (major == 3)
        return "Windows NT3";
    if (major == 4)
        return "Windows NT4";
    const bool server =
        facts.ProductType == ProductTypeServer || facts.ProductType == ProductTypeDomainController;
    for (const TNtName& name : kNtNames)
        if (name.Major == major && name.Minor == minor)
            return server ? name.Server : name.Workstation;
    if (major == 10 && minor == 0)
        return server ? ByBuild(kServer10, facts.BuildNumber)
                      : ByBuild(kWorkstation10, facts.BuildNumber);
    return "Windows " + std::to_string(major) + "." + std::to_string(minor);
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
