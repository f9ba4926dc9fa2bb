#pragma once
// TMachineFacts: read-only facts about the machine. Processor facts are taken once at program
// start; version numbers, platform and registered user at construction; memory sizes, names and
// directories are asked of the system on every read (each memory read is its own snapshot).
#include <cstdint>
#include <string>

#include "toolkit/Component.h"

namespace zq {

class TMachineFacts : public TComponent {
public:
    explicit TMachineFacts(TComponent* owner);

    std::int32_t NumberOfProcessors() const { return FNumberOfProcessors; }
    const std::string& Architecture() const { return FArchitecture; }
    const std::string& ProcessorType() const { return FProcessorType; }

    // Kilobytes, rounded down and at most 2147483647; the available figures are never above
    // the totals of the same snapshot.
    std::int32_t TotalPhysMemory() const;
    std::int32_t AvailPhysMemory() const;
    std::int32_t TotalSwapMemory() const;
    std::int32_t AvailSwapMemory() const;

    const std::string& RegUserName() const { return FRegUserName; }
    const std::string& RegCompanyName() const { return FRegCompanyName; }

    // "Unknown" when the system cannot tell.
    std::string ComputerName() const;
    std::string NetworkUserName() const;

    std::string SystemDirectory() const;
    std::string WindowsDirectory() const;
    std::string TempDirectory() const; // with its trailing backslash

    const std::string& MajorVersion() const { return FMajorVersion; }
    const std::string& MinorVersion() const { return FMinorVersion; }
    const std::string& BuildNumber() const { return FBuildNumber; }
    const std::string& Platform() const { return FPlatform; }

private:
    std::int32_t FNumberOfProcessors = 0;
    std::string FArchitecture;
    std::string FProcessorType;
    std::string FRegUserName;
    std::string FRegCompanyName;
    std::string FMajorVersion;
    std::string FMinorVersion;
    std::string FBuildNumber;
    std::string FPlatform;
};

// The registry key (under the current user) and subkey holding the registered user.
inline constexpr const char* UserInfoKeyPath = "SOFTWARE\\MICROSOFT\\MS SETUP (ACME)";
inline constexpr const char* UserInfoSubkey = "USER INFO";

} // namespace zq
