#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

#include "sysinfo/FileVersionInfo.h"
#include "sysinfo/OsVersion.h"
#include "sysinfo/SystemUpTime.h"
#include "toolkit/Exceptions.h"

using namespace zq;

namespace {

// The name the running Windows version should get: from ZQ_EXPECT_OS_NAME when a wrapper has
// switched the prefix's version, otherwise from the version numbers of the versions Wine
// prefixes are set to.
std::string ExpectedOsName() {
    if (const char* expected = std::getenv("ZQ_EXPECT_OS_NAME"))
        return expected;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5)
        return version.dwMinorVersion == 0   ? "Windows 2000"
               : version.dwMinorVersion == 1 ? "Windows XP"
                                             : "Unknown";
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 6)
        return "Unknown";
    return "(a version the test does not know)";
}

std::string KernelPath() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(GetModuleHandleA("kernel32.dll"), path, MAX_PATH);
    return path;
}

// Restores the user's decimal separator when the test ends.
class TDecimalSeparatorOverride {
public:
    explicit TDecimalSeparatorOverride(const char* separator) {
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FSaved, sizeof(FSaved));
        SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator);
    }
    ~TDecimalSeparatorOverride() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FSaved); }

private:
    char FSaved[8] = {};
};

} // namespace

TEST(OsVersion, NameOfTheRunningWindows) {
    EXPECT_EQ(OperatingSystemName(), ExpectedOsName());

    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    const TOsVersionFacts& facts = StartupOsVersion();
    EXPECT_EQ(facts.PlatformId, version.dwPlatformId);
    EXPECT_EQ(facts.MajorVersion, version.dwMajorVersion);
    EXPECT_EQ(facts.MinorVersion, version.dwMinorVersion);
    EXPECT_EQ(facts.CSDVersion, version.szCSDVersion);
    EXPECT_EQ(facts.KernelProductVersionMS, ReadKernelProductVersionMS());
}

TEST(OsVersion, KernelProductVersionComesFromItsVersionResource) {
    std::string path = KernelPath();
    ASSERT_TRUE(TFileVersionInfo::HasVersionInfo(path)) << path;
    TFileVersionInfo info(path);
    EXPECT_NE(info.FixedInfo().ProductVersionMS, 0u);
    EXPECT_EQ(ReadKernelProductVersionMS(), info.FixedInfo().ProductVersionMS);
}

TEST(OsVersion, FileWithoutVersionInformationFails) {
    char directory[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, directory);
    std::string path = std::string(directory) + "zq_sysinfo_noversion.txt";
    std::ofstream(path) << "no resources here\n";
    EXPECT_FALSE(TFileVersionInfo::HasVersionInfo(path));
    for (const std::string& name : {path, path + ".missing", std::string()}) {
        try {
            TFileVersionInfo info(name);
            ADD_FAILURE() << "no failure for " << name;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "File contains no version information");
        }
    }
    DeleteFileA(path.c_str());
}

TEST(UpTime, FollowsTheTickCount) {
    double before = GetTickCount() / 1000.0;
    double upTime = SystemUpTime();
    double after = GetTickCount() / 1000.0;
    EXPECT_GE(upTime, before);
    EXPECT_LE(upTime, after);
    EXPECT_GT(upTime, 0.0);
}

TEST(UpTime, DurationTextUsesTheUsersDecimalSeparator) {
    {
        TDecimalSeparatorOverride comma(",");
        EXPECT_EQ(UserDecimalSeparator(), ",");
        EXPECT_EQ(DurationToText(false, false, false, 4), "4,00 Seconds.");
        EXPECT_EQ(DurationToText(true, false, false, 93784),
                  "1 Day, 2 Hours, 3 Minutes, 4 Seconds.");
    }
    TDecimalSeparatorOverride stop(".");
    EXPECT_EQ(DurationToText(false, false, false, 93784),
              "1 Day, 2 Hours, 3 Minutes, 4.00 Seconds.");
}
