#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "sysinfo/MachineFactsLogic.h"
#include "sysinfo/MachineFacts.h"

using namespace zq;

namespace {

const std::string UserInfoPath = std::string(UserInfoKeyPath) + "\\" + UserInfoSubkey;

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteUserInfoKeys() {
    RegDeleteKeyA(HKEY_CURRENT_USER, UserInfoPath.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, UserInfoKeyPath);
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           lstrcmpiA(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
}

} // namespace

TEST(SystemInfo, MemorySizesAreWholeKilobytesOfTheSystemFigures) {
    TComponent owner(nullptr);
    auto* info = new TMachineFacts(&owner);
    // The 64-bit figures, not the 32-bit ones that stop at 2 GB in a 32-bit program.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_EQ(info->TotalPhysMemory(), BytesToKilobytes(status.ullTotalPhys));
    EXPECT_EQ(info->TotalSwapMemory(), BytesToKilobytes(status.ullTotalPageFile));
    EXPECT_GT(info->TotalPhysMemory(), 0);
    EXPECT_GT(info->AvailPhysMemory(), 0);
    EXPECT_LE(info->AvailPhysMemory(), info->TotalPhysMemory());
    EXPECT_GE(info->AvailSwapMemory(), 0);
    EXPECT_LE(info->AvailSwapMemory(), info->TotalSwapMemory());
}

TEST(SystemInfo, MissingUserInformationKeyIsCreatedEmpty) {
    DeleteUserInfoKeys();
    ASSERT_FALSE(KeyExists(UserInfoKeyPath));
    {
        TComponent owner(nullptr);
        auto* info = new TMachineFacts(&owner);
        EXPECT_EQ(info->RegUserName(), RegUserNamePlaceholder);
        EXPECT_EQ(info->RegCompanyName(), RegCompanyNamePlaceholder);
    }
    EXPECT_TRUE(KeyExists(UserInfoKeyPath));
    EXPECT_FALSE(KeyExists(UserInfoPath));
}

TEST(SystemInfo, RegisteredUserAndCompanyAreRead) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, UserInfoPath.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char name[] = "Ada Lovelace";
    RegSetValueExA(key, "DefName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof(name));
    // A value of the wrong type counts as missing.
    DWORD number = 42;
    RegSetValueExA(key, "DefCompany", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof(number));
    {
        TMachineFacts info(nullptr);
        EXPECT_EQ(info.RegUserName(), "Ada Lovelace");
        EXPECT_EQ(info.RegCompanyName(), RegCompanyNamePlaceholder);
    }
    // A string stored without its terminating NUL is still read safely.
    const char company[] = {'Z', 'e', 'n'};
    RegSetValueExA(key, "DefCompany", 0, REG_SZ, reinterpret_cast<const BYTE*>(company),
                   sizeof(company));
    {
        TMachineFacts info(nullptr);
        EXPECT_EQ(info.RegCompanyName(), "Zen");
    }
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, UserInfoPath.c_str());
}

TEST(SystemInfo, ProcessorFactsAndVersionNumbers) {
    TMachineFacts info(nullptr);
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    EXPECT_EQ(info.NumberOfProcessors(), static_cast<std::int32_t>(system.dwNumberOfProcessors));
    EXPECT_GE(info.NumberOfProcessors(), 1);
    // A 64-bit test build is told "AMD64", which has no name.
    EXPECT_EQ(info.Architecture(), system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL
                                       ? "Intel Processor Architecture"
                                       : "");
    if (system.dwProcessorType == 586) {
        EXPECT_EQ(info.ProcessorType(), "Pentium");
    }

    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    EXPECT_EQ(info.MajorVersion(), std::to_string(version.dwMajorVersion));
    EXPECT_EQ(info.MinorVersion(), std::to_string(version.dwMinorVersion));
    EXPECT_EQ(info.BuildNumber(), std::to_string(version.dwBuildNumber));
    EXPECT_EQ(info.Platform(), PlatformText(version.dwPlatformId));
    EXPECT_FALSE(info.Platform().empty());
}

TEST(SystemInfo, NamesAndDirectories) {
    TMachineFacts info(nullptr);
    std::string computer = info.ComputerName();
    EXPECT_FALSE(computer.empty());
    EXPECT_NE(computer, "Unknown");
    EXPECT_LE(computer.size(), 15u);

    char user[256] = {};
    DWORD size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    EXPECT_EQ(info.NetworkUserName(), user);

    std::string system = info.SystemDirectory();
    std::string windows = info.WindowsDirectory();
    EXPECT_TRUE(EndsWithNoCase(system, "\\system32")) << system;
    EXPECT_EQ(system.compare(0, windows.size(), windows), 0) << windows << " / " << system;

    std::string temp = info.TempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    DWORD attributes = GetFileAttributesA(temp.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
