#include <gtest/gtest.h>

#include <windows.h>

#include <process.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Harness.h"

#include "sysinfo/FileVersionInfo.h"
#include "sysinfo/OsVersion.h"
#include "sysinfo/SystemUpTime.h"
#include "toolkit/Exceptions.h"
#include "toolkit/SystemProc.h"

using namespace zq;

namespace {

// The version the system really runs, whatever a program's manifest declares.
std::string RealVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = LoadedProc<RtlGetVersionFn>("ntdll.dll", "RtlGetVersion");
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!rtlGetVersion || rtlGetVersion(&version) != 0)
        return "(no RtlGetVersion)";
    return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
           "." + std::to_string(version.dwBuildNumber);
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

TEST(OsVersion, FactsAreTheVersionQuerysAnswer) {
    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)));
    const TOsVersionFacts& facts = StartupOsVersion();
    EXPECT_EQ(facts.PlatformId, version.dwPlatformId);
    EXPECT_EQ(facts.MajorVersion, version.dwMajorVersion);
    EXPECT_EQ(facts.MinorVersion, version.dwMinorVersion);
    EXPECT_EQ(facts.BuildNumber, version.dwBuildNumber);
    EXPECT_EQ(facts.ProductType, version.wProductType);
    EXPECT_EQ(facts.CSDVersion, version.szCSDVersion);
    EXPECT_EQ(facts.KernelProductVersionMS, ReadKernelProductVersionMS());
}

// A program with the program's manifest reads the real version (Windows 8.1 and later tell
// others 6.2) and names it: ZQ_EXPECT_OS_NAME, where a wrapper has set the prefix's version,
// holds the name the System Information dialog must show.
TEST(OsVersion, TheProgramsManifestGetsTheRealVersionAndItsName) {
    const std::string program = zqtest::Beside("zq_os_facts.exe");
    const std::string output = zqtest::TempFolder("osfacts") + "facts.txt";
    ASSERT_EQ(_spawnl(_P_WAIT, program.c_str(), ("\"" + program + "\"").c_str(),
                      ("\"" + output + "\"").c_str(), nullptr),
              0);
    std::ifstream in(output);
    std::string name, version;
    std::getline(in, name);
    std::getline(in, version);
    EXPECT_EQ(version, RealVersion());
    if (const char* expected = std::getenv("ZQ_EXPECT_OS_NAME"))
        EXPECT_EQ(name, expected) << version;
    else
        EXPECT_NE(name, "Unknown") << version;
    std::printf("operating system: %s (%s)\n", name.c_str(), version.c_str());
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
    // The 64-bit count where kernel32 has it (Vista and later; Wine whatever its version).
    using TickCount64Fn = ULONGLONG(WINAPI*)();
    const auto tickCount64 = LoadedProc<TickCount64Fn>("kernel32.dll", "GetTickCount64");
    const auto seconds = [&] {
        return tickCount64 ? static_cast<double>(tickCount64()) / 1000.0 : GetTickCount() / 1000.0;
    };
    const double before = seconds();
    const double upTime = SystemUpTime();
    const double after = seconds();
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
