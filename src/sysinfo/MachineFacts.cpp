#include "sysinfo/MachineFacts.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "sysinfo/OsVersion.h"
#include "sysinfo/MachineFactsLogic.h"
#include "toolkit/SystemProc.h"

namespace zq {

namespace {

TProcessorFacts ReadProcessorFacts() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return ClassifyProcessor(info.dwNumberOfProcessors, info.wProcessorArchitecture,
                             info.dwProcessorType);
}

const TProcessorFacts& ProcessorFacts() {
    static const TProcessorFacts facts = ReadProcessorFacts();
    return facts;
}

// Taken at program start, before any component exists.
[[maybe_unused]] const TProcessorFacts& StartupProcessorFacts = ProcessorFacts();

#ifndef _WIN64
static_assert(sizeof(MEMORYSTATUS) == 32, "the 32-bit memory status structure");
#endif

// One memory snapshot in bytes.
struct TMemoryStatus {
    std::uint64_t TotalPhys = 0;
    std::uint64_t AvailPhys = 0;
    std::uint64_t TotalPageFile = 0;
    std::uint64_t AvailPageFile = 0;
};

using TGlobalMemoryStatusEx = BOOL(WINAPI*)(LPMEMORYSTATUSEX);

// GlobalMemoryStatusEx where kernel32 has it (Windows 2000 on); GlobalMemoryStatus reports at
// most 2 GB (4 GB when large-address aware) to a 32-bit program.
TGlobalMemoryStatusEx GlobalMemoryStatusExEntry() {
    static const auto entry =
        LoadedProc<TGlobalMemoryStatusEx>("kernel32.dll", "GlobalMemoryStatusEx");
    return entry;
}

TMemoryStatus MemoryStatus() {
    if (TGlobalMemoryStatusEx globalMemoryStatusEx = GlobalMemoryStatusExEntry()) {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        if (globalMemoryStatusEx(&status))
            return {status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile,
                    status.ullAvailPageFile};
    }
    MEMORYSTATUS status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    return {status.dwTotalPhys, status.dwAvailPhys, status.dwTotalPageFile, status.dwAvailPageFile};
}

// An open registry key, closed when it goes out of scope.
class TRegKey {
public:
    TRegKey() = default;
    ~TRegKey() {
        if (FKey)
            RegCloseKey(FKey);
    }
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    HKEY* Receive() { return &FKey; }
    HKEY Get() const { return FKey; }

private:
    HKEY FKey = nullptr;
};

// A string value, or nothing when it is missing or not text.
std::optional<std::string> ReadStringValue(HKEY key, const char* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data.data()); // up to the first NUL; the extra byte ends it
}

// Text in a zero-filled buffer, up to the first NUL.
std::string BufferText(const std::vector<char>& buffer) {
    return std::string(buffer.data());
}

} // namespace

TMachineFacts::TMachineFacts(TComponent* owner) : TComponent(owner) {
    const TProcessorFacts& facts = ProcessorFacts();
    FNumberOfProcessors = facts.NumberOfProcessors;
    FArchitecture = facts.Architecture;
    FProcessorType = facts.ProcessorType;

    FRegUserName = RegUserNamePlaceholder;
    FRegCompanyName = RegCompanyNamePlaceholder;
    TRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, UserInfoKeyPath, 0, KEY_ALL_ACCESS, key.Receive()) !=
        ERROR_SUCCESS) {
        RegCreateKeyExA(HKEY_CURRENT_USER, UserInfoKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    }
    TRegKey userInfo;
    if (key.Get() && RegOpenKeyExA(key.Get(), UserInfoSubkey, 0, KEY_READ, userInfo.Receive()) ==
                         ERROR_SUCCESS) {
        if (auto name = ReadStringValue(userInfo.Get(), "DefName"))
            FRegUserName = *name;
        if (auto company = ReadStringValue(userInfo.Get(), "DefCompany"))
            FRegCompanyName = *company;
    }

    const TOsVersionFacts& version = StartupOsVersion();
    FMajorVersion = std::to_string(version.MajorVersion);
    FMinorVersion = std::to_string(version.MinorVersion);
    FBuildNumber = std::to_string(version.BuildNumber);
    FPlatform = PlatformText(version.PlatformId);
}

std::int32_t TMachineFacts::TotalPhysMemory() const {
    return BytesToKilobytes(MemoryStatus().TotalPhys);
}

std::int32_t TMachineFacts::AvailPhysMemory() const {
    const TMemoryStatus status = MemoryStatus();
    return AvailableKilobytes(status.AvailPhys, status.TotalPhys);
}

std::int32_t TMachineFacts::TotalSwapMemory() const {
    return BytesToKilobytes(MemoryStatus().TotalPageFile);
}

std::int32_t TMachineFacts::AvailSwapMemory() const {
    const TMemoryStatus status = MemoryStatus();
    return AvailableKilobytes(status.AvailPageFile, status.TotalPageFile);
}

std::string TMachineFacts::ComputerName() const {
    std::vector<char> buffer(16, '\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!GetComputerNameA(buffer.data(), &size))
        return "Unknown";
    buffer.back() = '\0';
    return BufferText(buffer);
}

std::string TMachineFacts::NetworkUserName() const {
    DWORD size = 0;
    GetUserNameA(nullptr, &size);
    std::vector<char> buffer(size + 1, '\0');
    if (!GetUserNameA(buffer.data(), &size))
        return "Unknown";
    return BufferText(buffer);
}

std::string TMachineFacts::SystemDirectory() const {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    GetSystemDirectoryA(buffer.data(), MAX_PATH);
    return BufferText(buffer);
}

std::string TMachineFacts::WindowsDirectory() const {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    GetWindowsDirectoryA(buffer.data(), MAX_PATH);
    return BufferText(buffer);
}

std::string TMachineFacts::TempDirectory() const {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    GetTempPathA(MAX_PATH, buffer.data());
    return BufferText(buffer);
}

} // namespace zq
