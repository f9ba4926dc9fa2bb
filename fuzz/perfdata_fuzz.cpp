// Links: zq_cpuusage_logic
// The performance-data walk over arbitrary bytes: the input is the system's answer. It is
// walked from the located processor object (its "_Total" instance left out), from a location
// taken from its own last bytes, and read as per-processor time records. Every read must stay inside the input (ASan sees the
// exact buffer) and the results must agree with the block.
#include "FuzzInput.h"

#include <algorithm>
#include <span>
#include <vector>

#include "cpuusage/PerfData.h"

using namespace zq;

namespace {

constexpr std::int64_t kUntouched = 0x5A5A5A5A5A5A5A5ALL;

// The idle-time value of the first instance, read independently of the walk.
bool FirstValue(std::span<const std::uint8_t> block, const TProcessorCounterLocation& where,
                std::int64_t& value) {
    const std::uint64_t size = block.size();
    if (where.FirstInstance > size || size - where.FirstInstance < 4)
        return false;
    std::uint32_t length = 0;
    std::memcpy(&length, block.data() + where.FirstInstance, 4);
    const std::uint64_t at = where.FirstInstance + length + where.CounterOffset;
    if (at > size || size - at < 8)
        return false;
    std::memcpy(&value, block.data() + at, 8);
    return true;
}

// Whether the first instance is named "_Total" (no processor, so the walk skips it).
bool FirstIsTotal(std::span<const std::uint8_t> block, const TProcessorCounterLocation& where) {
    static const char16_t total[] = u"_Total";
    std::uint32_t name[2] = {}; // offset and length
    const std::uint64_t size = block.size();
    if (where.FirstInstance > size || size - where.FirstInstance < 24)
        return false;
    std::memcpy(name, block.data() + where.FirstInstance + 16, 8);
    const std::uint64_t at = where.FirstInstance + name[0];
    return name[1] == sizeof(total) && at <= size && size - at >= sizeof(total) &&
           std::memcmp(block.data() + at, total, sizeof(total)) == 0;
}

// Walks with room for `extra` more entries than instances and checks what was moved.
std::size_t Walk(std::span<const std::uint8_t> block, const TProcessorCounterLocation& where,
                 std::size_t room) {
    std::vector<std::int64_t> current(room, kUntouched), previous(room, kUntouched);
    const std::size_t read = ReadProcessorCounters(block, where, current, previous);
    const std::size_t limit =
        std::min<std::size_t>(room, static_cast<std::size_t>(std::max(where.NumInstances, 0)));
    ZQ_FUZZ_CHECK(read <= limit);
    for (std::size_t i = 0; i < room; ++i) {
        ZQ_FUZZ_CHECK(previous[i] == kUntouched);
        if (i >= read)
            ZQ_FUZZ_CHECK(current[i] == kUntouched);
    }
    std::int64_t first = 0;
    if (read > 0 && !FirstIsTotal(block, where)) {
        ZQ_FUZZ_CHECK(FirstValue(block, where, first));
        ZQ_FUZZ_CHECK(current[0] == first);
    }
    // A second walk over the same block reads the same values and shifts the first ones.
    std::vector<std::int64_t> again(current);
    ZQ_FUZZ_CHECK(ReadProcessorCounters(block, where, again, previous) == read);
    for (std::size_t i = 0; i < read; ++i)
        ZQ_FUZZ_CHECK(again[i] == current[i] && previous[i] == current[i]);
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> block(data, size);

    TProcessorCounterLocation where;
    const TPerfDataStatus status = LocateProcessorCounter(block, where);
    const bool objectFound =
        status == TPerfDataStatus::Ok || status == TPerfDataStatus::NoProcessorCounter;
    if (objectFound) {
        ZQ_FUZZ_CHECK(where.NumInstances >= 1 && where.NumInstances <= kMaxProcessorInstances);
        ZQ_FUZZ_CHECK(where.FirstInstance <= size + 0xFFFFFFFFull);
    } else {
        ZQ_FUZZ_CHECK(where.NumInstances == 0);
    }
    if (status == TPerfDataStatus::Ok) {
        // The counter counts as found only when the first instance's value is inside.
        std::int64_t first = 0;
        ZQ_FUZZ_CHECK(FirstValue(block, where, first));
        const auto instances = static_cast<std::size_t>(where.NumInstances);
        ZQ_FUZZ_CHECK(Walk(block, where, instances) >= 1 || FirstIsTotal(block, where));
        Walk(block, where, instances + 3);
        Walk(block, where, 1);
    }

    // Any location at all, as a caller with stale or foreign numbers would pass it.
    if (size >= 20) {
        TProcessorCounterLocation any;
        std::memcpy(&any.FirstInstance, data + size - 20, 8);
        std::memcpy(&any.CounterOffset, data + size - 12, 4);
        std::memcpy(&any.NumInstances, data + size - 8, 4);
        any.NumInstances = std::clamp(any.NumInstances, -1, 64);
        Walk(block, any, 8);
    }

    // The same bytes as per-processor time records.
    std::int64_t idle[4] = {1, 2, 3, 4}, idlePrevious[4] = {}, total[4] = {5, 6, 7, 8},
                 totalPrevious[4] = {};
    const std::size_t records = ReadProcessorTimes(block, idle, idlePrevious, total, totalPrevious);
    ZQ_FUZZ_CHECK(records == std::min<std::size_t>(4, size / kProcessorTimesRecordSize));
    for (std::size_t i = 0; i < 4; ++i) {
        if (i >= records) {
            ZQ_FUZZ_CHECK(idle[i] == static_cast<std::int64_t>(i + 1) && idlePrevious[i] == 0);
            continue;
        }
        std::int64_t expectIdle = 0;
        std::memcpy(&expectIdle, data + i * kProcessorTimesRecordSize, 8);
        ZQ_FUZZ_CHECK(idle[i] == expectIdle && idlePrevious[i] == static_cast<std::int64_t>(i + 1));
        ZQ_FUZZ_CHECK(totalPrevious[i] == static_cast<std::int64_t>(i + 5));
    }
    return 0;
}
