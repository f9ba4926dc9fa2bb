#include "cpuusage/CpuUsageWin32.h"

#include "cpuusage/PerfData.h"

#include <windows.h>
#include <winternl.h>

#include "toolkit/SystemProc.h"

namespace zq {

namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148);
static_assert(sizeof(SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION) == kProcessorTimesRecordSize);

constexpr ULONG kSystemProcessorPerformanceInformation = 8;
using NtQuerySystemInformationFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

class TSystemCpuUsagePort final : public TCpuUsagePort {
public:
    TSystemCpuUsagePort()
        : FQuery(LoadedProc<NtQuerySystemInformationFn>("ntdll.dll", "NtQuerySystemInformation")) {}

    ~TSystemCpuUsagePort() override {
        if (FPerformanceDataRead)
            RegCloseKey(HKEY_PERFORMANCE_DATA);
    }

    std::optional<std::uint32_t> QueryPlatformId() override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionExA(&info))
            return std::nullopt;
        return info.dwPlatformId;
    }

    long QueryPerformanceData(const char* valueName, std::uint8_t* buffer, std::uint32_t size,
                              std::uint32_t& returned) override {
        FPerformanceDataRead = true;
        DWORD length = size;
        const LONG status =
            RegQueryValueExA(HKEY_PERFORMANCE_DATA, valueName, nullptr, nullptr, buffer, &length);
        returned = length;
        return status;
    }

    bool HasProcessorTimes() override { return FQuery != nullptr; }

    int ProcessorCount() override {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        return static_cast<int>(info.dwNumberOfProcessors);
    }

    bool QueryProcessorTimes(std::uint8_t* buffer, std::uint32_t size,
                             std::uint32_t& returned) override {
        ULONG length = 0;
        if (!FQuery || FQuery(kSystemProcessorPerformanceInformation, buffer, size, &length) < 0)
            return false;
        returned = length;
        return true;
    }

    bool OpenDynDataKey(const char* subKey, bool fullAccess, std::uintptr_t& key) override {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(HKEY_DYN_DATA, subKey, 0, fullAccess ? KEY_ALL_ACCESS : KEY_READ,
                          &handle) != ERROR_SUCCESS)
            return false;
        key = reinterpret_cast<std::uintptr_t>(handle);
        return true;
    }

    void ReadDynDataValue(std::uintptr_t key, const char* valueName,
                          std::uint32_t& value) override {
        DWORD data = value;
        DWORD length = sizeof(data);
        if (RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName, nullptr, nullptr,
                             reinterpret_cast<BYTE*>(&data), &length) == ERROR_SUCCESS)
            value = data;
    }

    void CloseDynDataKey(std::uintptr_t key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }

private:
    NtQuerySystemInformationFn FQuery = nullptr;
    bool FPerformanceDataRead = false;
};

} // namespace

std::unique_ptr<TCpuUsagePort> CreateSystemCpuUsagePort() {
    return std::make_unique<TSystemCpuUsagePort>();
}

void InitCpuUsage() {
    InitCpuUsage(CreateSystemCpuUsagePort());
}

} // namespace zq
