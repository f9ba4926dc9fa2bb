#pragma once
// The CPU usage sampler: the busy fraction of each processor between the last two samples,
// from the NT performance data (or, where that holds no object, the per-processor times of
// the system-information query) or from the Windows 9x kernel statistics.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace zq {

// What the sampler needs from the system. The Windows glue supplies the real one.
class TCpuUsagePort {
public:
    virtual ~TCpuUsagePort() = default;

    // Platform id of the version query (2 for the NT family); nothing when the query fails.
    virtual std::optional<std::uint32_t> QueryPlatformId() = 0;

    // Reads a value of the performance-data key into buffer[0..size). Returns the system's
    // answer (0 success, 234 more data available); on success `returned` is the byte count.
    virtual long QueryPerformanceData(const char* valueName, std::uint8_t* buffer,
                                      std::uint32_t size, std::uint32_t& returned) = 0;

    // The per-processor time query: whether the system offers it, the processor count to ask
    // for, and the query itself (48-byte records; false when the call fails).
    virtual bool HasProcessorTimes() = 0;
    virtual int ProcessorCount() = 0;
    virtual bool QueryProcessorTimes(std::uint8_t* buffer, std::uint32_t size,
                                     std::uint32_t& returned) = 0;

    // Keys under the Windows 9x dynamic-data root.
    virtual bool OpenDynDataKey(const char* subKey, bool fullAccess, std::uintptr_t& key) = 0;
    // Reads a 4-byte value; leaves `value` alone when the read fails.
    virtual void ReadDynDataValue(std::uintptr_t key, const char* valueName,
                                  std::uint32_t& value) = 0;
    virtual void CloseDynDataKey(std::uintptr_t key) = 0;
};

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorMoreData = 234;
inline constexpr std::uint32_t kPlatformWin32NT = 2;
inline constexpr std::size_t kInitialBufferSize = 8192;
inline constexpr std::size_t kBufferGrowth = 4096;
// The buffer stops growing here: a system still asking for more room counts as a failed read.
inline constexpr std::size_t kMaxBufferSize = 16 * 1024 * 1024;

// A zero-filled block of bytes that grows, keeping its content, until it is replaced.
class TByteBuffer {
public:
    explicit TByteBuffer(std::size_t size);
    TByteBuffer(const TByteBuffer&) = delete;
    TByteBuffer& operator=(const TByteBuffer&) = delete;

    void Grow(std::size_t size);
    // Frees the block and takes a zero-filled one of the given size.
    void Replace(std::size_t size);
    std::uint8_t* data() const { return FData.get(); }
    std::size_t size() const { return FSize; }

private:
    std::unique_ptr<std::uint8_t[]> FData;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
};

// On the NT family a read that ends with any answer but success raises the "Processor" object
// failure and leaves counters and times alone. The processors are those a sample lists (the
// performance data's "_Total" instance is none of them); their count may change from sample to
// sample (processors added, or fewer listed), and a load compares only the processors present
// in both of the last two samples. The kept counters grow with the largest count seen and never
// shrink, so samples allocate nothing once the count is steady. A block announcing no object at
// all switches the sampler to the per-processor times for the rest of the run: busy = 1 - idle /
// (kernel + user), kernel time including idle time. The data buffer then holds just their
// records.
class TCpuUsageSampler {
public:
    // Allocates the data buffer and queries the version to choose the source.
    // Raises "Can't get the Windows version".
    explicit TCpuUsageSampler(TCpuUsagePort& port);
    // Stops the Windows 9x statistics when they were started.
    ~TCpuUsageSampler();
    TCpuUsageSampler(const TCpuUsageSampler&) = delete;
    TCpuUsageSampler& operator=(const TCpuUsageSampler&) = delete;

    void TakeCpuSample();
    // The busy fraction of one processor between the last two samples, nominally 0..1 and not
    // clamped; 0 for a processor the sample before did not list. Takes a sample first when
    // there is none; raises "CPU index out of bounds" for an index outside the processors of
    // the latest sample (only 0 on Windows 9x).
    double CpuLoadFraction(int index);
    // The load of all processors together: the average of the busy fractions of the processors
    // present in both of the last two samples (0 before there are two). On Windows 9x the
    // kernel's figure, as for processor 0.
    double AllProcessorsLoadFraction();

    bool IsNT() const { return FIsNT; }
    // Processors of the latest sample; -1 before the first.
    int ProcessorCount() const { return FProcessorCount; }
    std::size_t BufferSize() const { return FBuffer.size(); }
    const std::uint8_t* BufferData() const { return FBuffer.data(); }
    bool StatisticsStarted() const { return FStatisticsStarted; }
    bool UsesProcessorTimes() const { return FUseProcessorTimes; }

private:
    void SampleNT();
    void SampleProcessorTimes();
    void SampleStatistics();
    void StopCpuStatistics();
    long ReadPerformanceData(std::uint32_t& returned);
    void KeepCounters(std::size_t count);
    void Listed(std::size_t count);
    double Fraction(std::size_t index) const;

    TCpuUsagePort& FPort;
    bool FIsNT = false;
    TByteBuffer FBuffer;
    int FProcessorCount = -1;
    // Processors read by the latest sample and by the one before (0 where there is none).
    std::size_t FListed = 0, FListedBefore = 0;
    std::vector<std::int64_t> FCurrent, FPrevious;
    std::int64_t FCurrentTime = 0, FPreviousTime = 0;
    // Per-processor time source: idle time stays in FCurrent/FPrevious, kernel + user here.
    bool FUseProcessorTimes = false;
    std::vector<std::int64_t> FCurrentTotal, FPreviousTotal;
    // Windows 9x.
    bool FStatisticsStarted = false;
    std::uintptr_t FDataKey = 0;
    std::uint32_t FLastUsage = 0;
};

// Unit level: one program-wide sampler. InitCpuUsage replaces any earlier one (and raises what
// the sampler's start-up raises); DoneCpuUsage frees it. The two operations raise a failure
// when no sampler is running.
void InitCpuUsage(std::unique_ptr<TCpuUsagePort> port);
void DoneCpuUsage();
void TakeCpuSample();
double CpuLoadFraction(int index);
double AllProcessorsLoadFraction();

} // namespace zq
