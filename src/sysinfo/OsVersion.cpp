#include "sysinfo/OsVersion.h"

#include <windows.h>

#include "sysinfo/FileVersionInfo.h"
#include "toolkit/FileStore.h"

namespace zq {

namespace {

// The extended record where the system takes it (NT4 SP6 and later), the basic one elsewhere.
// Windows 8.1 and later report their real version only to a program whose manifest declares
// them (res/zentiq.manifest.in does).
TOsVersionFacts ReadOsVersion() {
    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
        version = {};
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version));
    }
    TOsVersionFacts facts;
    facts.PlatformId = version.dwPlatformId;
    facts.MajorVersion = version.dwMajorVersion;
    facts.MinorVersion = version.dwMinorVersion;
    facts.BuildNumber = version.dwBuildNumber;
    facts.ProductType = version.wProductType;
    version.szCSDVersion[sizeof(version.szCSDVersion) - 1] = '\0';
    facts.CSDVersion = version.szCSDVersion;
    facts.KernelProductVersionMS = ReadKernelProductVersionMS();
    return facts;
}

// Taken at program start.
[[maybe_unused]] const TOsVersionFacts& StartupFacts = StartupOsVersion();

} // namespace

std::uint32_t ReadKernelProductVersionMS() noexcept {
    try {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (!kernel)
            return 0;
        std::string path = ModuleFileName(kernel);
        TFixedVersion version;
        if (path.empty() || !ReadFixedVersion(path, version))
            return 0; // a resource that is present but unreadable counts as none
        return version.ProductVersionMS;
    } catch (...) {
        return 0; // out of memory
    }
}

const TOsVersionFacts& StartupOsVersion() {
    static const TOsVersionFacts facts = ReadOsVersion();
    return facts;
}

std::string OperatingSystemName() {
    return ClassifyOsName(StartupOsVersion());
}

} // namespace zq
