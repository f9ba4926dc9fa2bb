#include "cpuusage/PerfData.h"

#include "cpuusage/SystemTime.h"

#include <algorithm>
#include <cstring>

namespace zq {

namespace {

// Offsets into the system's 32-bit structures.
constexpr std::uint64_t kBlockHeaderLength = 24;
constexpr std::uint64_t kBlockNumObjectTypes = 28;
constexpr std::uint64_t kBlockSystemTime = 36;
constexpr std::uint64_t kObjectTotalByteLength = 0;
constexpr std::uint64_t kObjectDefinitionLength = 4;
constexpr std::uint64_t kObjectHeaderLength = 8;
constexpr std::uint64_t kObjectNameTitleIndex = 12;
constexpr std::uint64_t kObjectNumCounters = 32;
constexpr std::uint64_t kObjectNumInstances = 40;
constexpr std::uint64_t kCounterByteLength = 0;
constexpr std::uint64_t kCounterNameTitleIndex = 4;
constexpr std::uint64_t kCounterOffset = 36;
constexpr std::uint64_t kInstanceByteLength = 0;
constexpr std::uint64_t kInstanceNameOffset = 16;
constexpr std::uint64_t kInstanceNameLength = 20;
constexpr std::uint64_t kBlockByteLength = 0;

class TReader {
public:
    explicit TReader(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

    bool Fits(std::uint64_t offset, std::uint64_t length) const {
        return offset <= FBytes.size() && FBytes.size() - offset >= length;
    }

    bool U16(std::uint64_t offset, std::uint16_t& value) const { return Read(offset, value); }
    bool U32(std::uint64_t offset, std::uint32_t& value) const { return Read(offset, value); }
    bool I64(std::uint64_t offset, std::int64_t& value) const { return Read(offset, value); }
    bool Equals(std::uint64_t offset, std::span<const std::uint8_t> bytes) const {
        return Fits(offset, bytes.size()) &&
               std::memcmp(FBytes.data() + offset, bytes.data(), bytes.size()) == 0;
    }

private:
    template <typename T> bool Read(std::uint64_t offset, T& value) const {
        if (!Fits(offset, sizeof(T)))
            return false;
        std::memcpy(&value, FBytes.data() + offset, sizeof(T));
        return true;
    }

    std::span<const std::uint8_t> FBytes;
};

// Offset of the counter block of the instance at `instance`, or false when outside.
bool CounterBlockOf(const TReader& in, std::uint64_t instance, std::uint64_t& block) {
    std::uint32_t length = 0;
    if (!in.U32(instance + kInstanceByteLength, length))
        return false;
    block = instance + length;
    return true;
}

// Whether the instance at `instance` is named "_Total" (UTF-16, with its terminating NUL): the
// system's figure for all processors together, not a processor.
bool IsTotalInstance(const TReader& in, std::uint64_t instance) {
    static constexpr std::uint8_t kTotal[] = {'_', 0, 'T', 0, 'o', 0, 't', 0, 'a', 0, 'l', 0, 0, 0};
    std::uint32_t nameOffset = 0, nameLength = 0;
    return in.U32(instance + kInstanceNameOffset, nameOffset) &&
           in.U32(instance + kInstanceNameLength, nameLength) && nameLength == sizeof(kTotal) &&
           in.Equals(instance + nameOffset, kTotal);
}

} // namespace

TPerfDataStatus LocateProcessorCounter(std::span<const std::uint8_t> bytes,
                                       TProcessorCounterLocation& where) {
    const TReader in(bytes);
    if (!in.Fits(0, kDataBlockHeaderSize))
        return TPerfDataStatus::Malformed;
    std::uint32_t headerLength = 0, numObjects = 0;
    in.U32(kBlockHeaderLength, headerLength);
    in.U32(kBlockNumObjectTypes, numObjects);
    if (numObjects == 0)
        return TPerfDataStatus::NoObjects;

    TSystemTime st;
    std::uint16_t* fields[] = {&st.Year, &st.Month,  &st.DayOfWeek, &st.Day,
                               &st.Hour, &st.Minute, &st.Second,    &st.Milliseconds};
    for (std::uint64_t i = 0; i < 8; ++i)
        in.U16(kBlockSystemTime + 2 * i, *fields[i]);
    const auto time = SystemTimeToFileTime(st);
    if (!time)
        return TPerfDataStatus::Malformed;

    // Objects: a length of 0 would revisit the same object, so it ends the search.
    std::uint64_t object = headerLength;
    bool found = false;
    for (std::uint32_t n = 0; n < numObjects; ++n) {
        std::uint32_t index = 0, total = 0;
        if (!in.U32(object + kObjectNameTitleIndex, index) ||
            !in.U32(object + kObjectTotalByteLength, total))
            break;
        if (index == kProcessorObjectIndex) {
            found = true;
            break;
        }
        if (total == 0)
            break;
        object += total;
    }
    std::uint32_t definitionLength = 0, objectHeaderLength = 0, numCounters = 0, numInstances = 0;
    if (!found || !in.U32(object + kObjectDefinitionLength, definitionLength) ||
        !in.U32(object + kObjectHeaderLength, objectHeaderLength) ||
        !in.U32(object + kObjectNumCounters, numCounters) ||
        !in.U32(object + kObjectNumInstances, numInstances))
        return TPerfDataStatus::NoProcessorObject;
    const auto instances = static_cast<std::int32_t>(numInstances);
    if (instances < 1 || instances > kMaxProcessorInstances)
        return TPerfDataStatus::NoProcessorObject;
    where.Time = *time;
    where.NumInstances = instances;
    where.FirstInstance = object + definitionLength;

    std::uint64_t counter = object + objectHeaderLength;
    for (std::uint32_t n = 0; n < numCounters; ++n) {
        std::uint32_t index = 0, length = 0, offset = 0;
        if (!in.U32(counter + kCounterNameTitleIndex, index) ||
            !in.U32(counter + kCounterByteLength, length) ||
            !in.U32(counter + kCounterOffset, offset))
            break;
        if (index == kProcessorTimeCounterIndex) {
            std::uint64_t block = 0;
            std::int64_t value = 0;
            if (!CounterBlockOf(in, where.FirstInstance, block) || !in.I64(block + offset, value))
                break;
            where.CounterOffset = offset;
            return TPerfDataStatus::Ok;
        }
        if (length == 0)
            break;
        counter += length;
    }
    return TPerfDataStatus::NoProcessorCounter;
}

std::size_t ReadProcessorCounters(std::span<const std::uint8_t> bytes,
                                  const TProcessorCounterLocation& where,
                                  std::span<std::int64_t> current,
                                  std::span<std::int64_t> previous) {
    const TReader in(bytes);
    const std::size_t room = std::min(current.size(), previous.size());
    std::uint64_t instance = where.FirstInstance;
    std::size_t read = 0;
    for (std::int32_t n = 0; n < where.NumInstances && read < room; ++n) {
        std::uint64_t block = 0;
        std::uint32_t blockLength = 0;
        std::int64_t value = 0;
        if (!CounterBlockOf(in, instance, block) ||
            !in.U32(block + kBlockByteLength, blockLength) ||
            !in.I64(block + where.CounterOffset, value))
            break;
        if (!IsTotalInstance(in, instance)) {
            previous[read] = current[read];
            current[read] = value;
            ++read;
        }
        instance = block + blockLength;
    }
    return read;
}

std::size_t ReadProcessorTimes(std::span<const std::uint8_t> records, std::span<std::int64_t> idle,
                               std::span<std::int64_t> idlePrevious, std::span<std::int64_t> total,
                               std::span<std::int64_t> totalPrevious) {
    const TReader in(records);
    const std::size_t count = std::min({records.size() / kProcessorTimesRecordSize, idle.size(),
                                        idlePrevious.size(), total.size(), totalPrevious.size()});
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t record = i * kProcessorTimesRecordSize;
        std::int64_t idleTime = 0, kernelTime = 0, userTime = 0;
        in.I64(record, idleTime);
        in.I64(record + 8, kernelTime);
        in.I64(record + 16, userTime);
        idlePrevious[i] = idle[i];
        idle[i] = idleTime;
        totalPrevious[i] = total[i];
        total[i] = static_cast<std::int64_t>(static_cast<std::uint64_t>(kernelTime) +
                                             static_cast<std::uint64_t>(userTime));
    }
    return count;
}

double BusyFraction(std::int64_t idleNow, std::int64_t idleBefore, std::int64_t elapsedNow,
                    std::int64_t elapsedBefore) {
    const auto idle = static_cast<std::int64_t>(static_cast<std::uint64_t>(idleNow) -
                                                static_cast<std::uint64_t>(idleBefore));
    const auto elapsed = static_cast<std::int64_t>(static_cast<std::uint64_t>(elapsedNow) -
                                                   static_cast<std::uint64_t>(elapsedBefore));
    if (elapsed == 0)
        return 0.0;
    return static_cast<double>(1.0L -
                               static_cast<long double>(idle) / static_cast<long double>(elapsed));
}

} // namespace zq
