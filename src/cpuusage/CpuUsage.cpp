#include "cpuusage/CpuUsage.h"

#include "cpuusage/PerfData.h"
#include "toolkit/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace zq {

namespace {

const char* const kNoObject = "Unable to locate the \"Processor\" performance object";
const char* const kNoCounter = "Unable to locate the \"% of CPU usage\" performance counter";
const char* const kStartFailed = "Unable to start performance monitoring";
const char* const kReadFailed = "Unable to read performance data";
const char* const kBadIndex = "CPU index out of bounds";
const char* const kStartStat = "PerfStats\\StartStat";
const char* const kStatData = "PerfStats\\StatData";
const char* const kStopStat = "PerfStats\\StopStat";
const char* const kCpuUsageValue = "KERNEL\\CPUUsage";

} // namespace

TByteBuffer::TByteBuffer(std::size_t size) {
    Grow(size);
}

// The room behind the block doubles, so that many small steps cost few copies.
void TByteBuffer::Grow(std::size_t size) {
    if (size <= FSize)
        return;
    if (size > FCapacity) {
        const std::size_t capacity = FData ? std::max(size, 2 * FCapacity) : size;
        auto data = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (FData)
            std::memcpy(data.get(), FData.get(), FSize);
        FData = std::move(data);
        FCapacity = capacity;
    }
    std::memset(FData.get() + FSize, 0, size - FSize);
    FSize = size;
}

void TByteBuffer::Replace(std::size_t size) {
    FData.reset();
    FSize = FCapacity = 0;
    if (size != 0)
        Grow(size);
}

TCpuUsageSampler::TCpuUsageSampler(TCpuUsagePort& port) : FPort(port), FBuffer(kInitialBufferSize) {
    const auto platform = FPort.QueryPlatformId();
    if (!platform)
        throw Exception("Can't get the Windows version");
    FIsNT = *platform == kPlatformWin32NT;
}

TCpuUsageSampler::~TCpuUsageSampler() {
    try {
        StopCpuStatistics();
    } catch (...) {
        // Shut-down carries on whatever the system answers.
    }
}

void TCpuUsageSampler::TakeCpuSample() {
    if (FIsNT)
        SampleNT();
    else
        SampleStatistics();
}

double TCpuUsageSampler::CpuLoadFraction(int index) {
    if (!FIsNT) {
        if (index != 0)
            throw Exception(kBadIndex);
        if (!FStatisticsStarted)
            TakeCpuSample();
        return FLastUsage / 100.0;
    }
    if (FProcessorCount == -1)
        TakeCpuSample();
    if (index < 0 || index >= FProcessorCount)
        throw Exception(kBadIndex);
    return Fraction(static_cast<std::size_t>(index));
}

double TCpuUsageSampler::AllProcessorsLoadFraction() {
    if (!FIsNT)
        return CpuLoadFraction(0);
    if (FProcessorCount == -1)
        TakeCpuSample();
    const std::size_t both = std::min(FListed, FListedBefore);
    double sum = 0.0;
    for (std::size_t i = 0; i < both; ++i)
        sum += Fraction(i);
    return both == 0 ? 0.0 : sum / static_cast<double>(both);
}

double TCpuUsageSampler::Fraction(std::size_t i) const {
    if (i >= std::min(FListed, FListedBefore))
        return 0.0; // not in both samples: no interval to measure
    if (FUseProcessorTimes)
        return BusyFraction(FCurrent[i], FPrevious[i], FCurrentTotal[i], FPreviousTotal[i]);
    return BusyFraction(FCurrent[i], FPrevious[i], FCurrentTime, FPreviousTime);
}

// Reads value "238", growing the buffer in fixed steps while the system asks for more room.
long TCpuUsageSampler::ReadPerformanceData(std::uint32_t& returned) {
    for (;;) {
        returned = 0;
        const long status = FPort.QueryPerformanceData(
            "238", FBuffer.data(), static_cast<std::uint32_t>(FBuffer.size()), returned);
        if (status != kErrorMoreData || FBuffer.size() + kBufferGrowth > kMaxBufferSize)
            return status;
        FBuffer.Grow(FBuffer.size() + kBufferGrowth);
    }
}

// The kept counters only grow, so a steady count allocates nothing.
void TCpuUsageSampler::KeepCounters(std::size_t count) {
    if (FCurrent.size() >= count)
        return;
    for (auto* counters : {&FCurrent, &FPrevious, &FCurrentTotal, &FPreviousTotal})
        counters->resize(count, 0);
}

void TCpuUsageSampler::Listed(std::size_t count) {
    FListedBefore = FListed;
    FListed = count;
    FProcessorCount = static_cast<int>(count);
}

void TCpuUsageSampler::SampleNT() {
    if (FUseProcessorTimes) {
        SampleProcessorTimes();
        return;
    }
    std::uint32_t returned = 0;
    if (ReadPerformanceData(returned) != kErrorSuccess)
        throw Exception(kNoObject);
    const std::span<const std::uint8_t> block(FBuffer.data(),
                                              std::min<std::size_t>(returned, FBuffer.size()));
    TProcessorCounterLocation where;
    switch (LocateProcessorCounter(block, where)) {
    case TPerfDataStatus::NoObjects:
        // Some systems answer with a valid block that holds no object: use the per-processor
        // times for the rest of the run. Their first sample has no sample before it.
        if (!FPort.HasProcessorTimes())
            throw Exception(kNoObject);
        FUseProcessorTimes = true;
        FListed = 0;
        FBuffer.Replace(0); // the block's room is not needed again
        SampleProcessorTimes();
        return;
    case TPerfDataStatus::Malformed:
    case TPerfDataStatus::NoProcessorObject:
        throw Exception(kNoObject);
    case TPerfDataStatus::NoProcessorCounter:
        if (FProcessorCount == -1) { // the object's instances count until a sample succeeds
            KeepCounters(static_cast<std::size_t>(where.NumInstances));
            FProcessorCount = where.NumInstances;
        }
        throw Exception(kNoCounter);
    case TPerfDataStatus::Ok:
        break;
    }
    KeepCounters(static_cast<std::size_t>(where.NumInstances));
    const std::size_t read = ReadProcessorCounters(block, where, FCurrent, FPrevious);
    if (read == 0) // the object lists no processor of its own, only their total
        throw Exception(kNoCounter);
    Listed(read);
    FPreviousTime = FCurrentTime;
    FCurrentTime = static_cast<std::int64_t>(where.Time);
}

void TCpuUsageSampler::SampleProcessorTimes() {
    KeepCounters(
        static_cast<std::size_t>(std::clamp(FPort.ProcessorCount(), 1, kMaxProcessorInstances)));
    // Room for as many processors as any sample has listed.
    const std::size_t needed = FCurrent.size() * kProcessorTimesRecordSize;
    FBuffer.Grow(needed);
    std::uint32_t returned = 0;
    if (!FPort.QueryProcessorTimes(FBuffer.data(), static_cast<std::uint32_t>(needed), returned) ||
        returned < kProcessorTimesRecordSize)
        throw Exception(kNoObject);
    const std::span<const std::uint8_t> records(FBuffer.data(),
                                                std::min<std::size_t>(returned, needed));
    Listed(ReadProcessorTimes(records, FCurrent, FPrevious, FCurrentTotal, FPreviousTotal));
}

void TCpuUsageSampler::SampleStatistics() {
    if (!FStatisticsStarted) {
        std::uintptr_t key = 0;
        if (!FPort.OpenDynDataKey(kStartStat, true, key))
            throw Exception(kStartFailed);
        FPort.ReadDynDataValue(key, kCpuUsageValue, FLastUsage); // starts the statistics
        FPort.CloseDynDataKey(key);
        if (!FPort.OpenDynDataKey(kStatData, false, FDataKey))
            throw Exception(kReadFailed);
        FStatisticsStarted = true;
    }
    FPort.ReadDynDataValue(FDataKey, kCpuUsageValue, FLastUsage);
}

void TCpuUsageSampler::StopCpuStatistics() {
    if (FIsNT || !FStatisticsStarted)
        return;
    FStatisticsStarted = false;
    FPort.CloseDynDataKey(FDataKey);
    std::uintptr_t key = 0;
    if (FPort.OpenDynDataKey(kStopStat, true, key)) {
        FPort.ReadDynDataValue(key, kCpuUsageValue, FLastUsage); // stops the statistics
        FPort.CloseDynDataKey(key);
    }
}

namespace {

struct TUnit {
    std::unique_ptr<TCpuUsagePort> Port;
    std::unique_ptr<TCpuUsageSampler> Sampler;
};

TUnit& Unit() {
    static TUnit unit;
    return unit;
}

TCpuUsageSampler& RunningSampler() {
    if (!Unit().Sampler)
        throw Exception("The CPU usage sampler is not running");
    return *Unit().Sampler;
}

} // namespace

void InitCpuUsage(std::unique_ptr<TCpuUsagePort> port) {
    DoneCpuUsage();
    auto sampler = std::make_unique<TCpuUsageSampler>(*port);
    Unit().Port = std::move(port);
    Unit().Sampler = std::move(sampler);
}

void DoneCpuUsage() {
    Unit().Sampler.reset();
    Unit().Port.reset();
}

void TakeCpuSample() {
    RunningSampler().TakeCpuSample();
}

double CpuLoadFraction(int index) {
    return RunningSampler().CpuLoadFraction(index);
}

double AllProcessorsLoadFraction() {
    return RunningSampler().AllProcessorsLoadFraction();
}

} // namespace zq
