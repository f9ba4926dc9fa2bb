#pragma once
// A scripted system for the CPU usage sampler.
#include "cpuusage/CpuUsage.h"
#include "cpuusage/PerfData.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zq::testing {

struct TProcessorTimes {
    std::int64_t Idle, Kernel, User;
};

class TFakeSystem : public TCpuUsagePort {
public:
    std::optional<std::uint32_t> Platform = kPlatformWin32NT;

    // Performance data: the block answered while it fits, else "more data".
    std::vector<std::uint8_t> Block;
    std::optional<long> Status;                 // answer instead of the usual one
    std::optional<std::uint32_t> ReturnedBytes; // byte count instead of the block's
    std::vector<std::uint32_t> SizesAsked;

    // Per-processor times.
    bool TimesAvailable = false;
    bool TimesFail = false;
    int Processors = 2;
    std::vector<TProcessorTimes> Times;
    std::vector<std::uint32_t> TimesSizesAsked;

    // Windows 9x dynamic data.
    std::map<std::string, bool> Openable = {{"PerfStats\\StartStat", true},
                                            {"PerfStats\\StatData", true},
                                            {"PerfStats\\StopStat", true}};
    std::uint32_t Usage = 0;
    std::vector<std::string> Log;

    std::optional<std::uint32_t> QueryPlatformId() override { return Platform; }

    long QueryPerformanceData(const char* valueName, std::uint8_t* buffer, std::uint32_t size,
                              std::uint32_t& returned) override {
        SizesAsked.push_back(size);
        if (std::string(valueName) != "238")
            return 2;
        if (Block.size() > size)
            return Status.value_or(kErrorMoreData);
        std::copy(Block.begin(), Block.end(), buffer);
        returned = ReturnedBytes.value_or(static_cast<std::uint32_t>(Block.size()));
        return Status.value_or(kErrorSuccess);
    }

    bool HasProcessorTimes() override { return TimesAvailable; }
    int ProcessorCount() override { return Processors; }

    bool QueryProcessorTimes(std::uint8_t* buffer, std::uint32_t size,
                             std::uint32_t& returned) override {
        TimesSizesAsked.push_back(size);
        if (TimesFail)
            return false;
        const std::size_t n = std::min(Times.size(), size / kProcessorTimesRecordSize);
        for (std::size_t i = 0; i < n; ++i) {
            std::uint8_t* record = buffer + i * kProcessorTimesRecordSize;
            std::memset(record, 0xCD, kProcessorTimesRecordSize);
            std::memcpy(record, &Times[i].Idle, 8);
            std::memcpy(record + 8, &Times[i].Kernel, 8);
            std::memcpy(record + 16, &Times[i].User, 8);
        }
        returned = static_cast<std::uint32_t>(n * kProcessorTimesRecordSize);
        return true;
    }

    bool OpenDynDataKey(const char* subKey, bool fullAccess, std::uintptr_t& key) override {
        const bool ok = Openable[subKey];
        Log.push_back(std::string("open ") + subKey + (fullAccess ? " all" : " read") +
                      (ok ? "" : " failed"));
        if (ok)
            key = ++FLastKey;
        return ok;
    }

    void ReadDynDataValue(std::uintptr_t key, const char* valueName,
                          std::uint32_t& value) override {
        Log.push_back("read " + std::to_string(key) + " " + valueName);
        value = Usage;
    }

    void CloseDynDataKey(std::uintptr_t key) override {
        Log.push_back("close " + std::to_string(key));
    }

private:
    std::uintptr_t FLastKey = 0;
};

} // namespace zq::testing
