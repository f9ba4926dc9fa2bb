#pragma once
// Walks the performance data the NT family returns for the processor object, and the
// per-processor time records of the system-information query. Every field is read with
// memcpy after checking that it lies inside the bytes the system returned.
#include <cstddef>
#include <cstdint>
#include <span>

namespace zq {

inline constexpr std::uint32_t kProcessorObjectIndex = 238;    // "Processor"
inline constexpr std::uint32_t kProcessorTimeCounterIndex = 6; // its idle-time counter
inline constexpr std::int32_t kMaxProcessorInstances = 4096;   // sanity bound of the count
inline constexpr std::size_t kDataBlockHeaderSize = 52;        // up to the end of SystemTime
inline constexpr std::size_t kProcessorTimesRecordSize = 48;   // idle, kernel, user, ...

enum class TPerfDataStatus {
    Ok,                 // processor object and its idle-time counter found
    Malformed,          // header cut short or carrying an invalid time stamp
    NoObjects,          // a valid header announcing no object at all
    NoProcessorObject,  // no usable object 238 inside the block
    NoProcessorCounter, // the object has no usable counter 6
};

struct TProcessorCounterLocation {
    std::uint64_t Time = 0;          // the block's time stamp, 100-ns intervals since 1601
    std::int32_t NumInstances = 0;   // instances of the processor object, 1..4096
    std::uint64_t FirstInstance = 0; // offset of the first instance definition
    std::uint32_t CounterOffset = 0; // of the idle-time value inside each counter block
};

// Finds the processor object and its idle-time counter. NumInstances is filled as soon as the
// object is found, also when the counter is then missing. The counter counts as found only
// when its value for the first instance lies inside the block.
TPerfDataStatus LocateProcessorCounter(std::span<const std::uint8_t> block,
                                       TProcessorCounterLocation& where);

// Walks the instances of the located object, at most NumInstances of them, and stores the
// idle-time values of the processors among them (every instance but one named "_Total") in
// order, at most current.size() of them: for each, moves current[i] into previous[i] and stores
// the value in current[i]. Stops at the first instance that does not lie inside the block.
// Returns the number of processors read; entries beyond it are left as they were.
std::size_t ReadProcessorCounters(std::span<const std::uint8_t> block,
                                  const TProcessorCounterLocation& where,
                                  std::span<std::int64_t> current,
                                  std::span<std::int64_t> previous);

// Reads whole 48-byte records (idle, kernel, user time at offsets 0, 8, 16), at most
// idle.size() of them: shifts idle into idlePrevious and kernel + user into totalPrevious /
// total as above. Returns the number of records read.
std::size_t ReadProcessorTimes(std::span<const std::uint8_t> records, std::span<std::int64_t> idle,
                               std::span<std::int64_t> idlePrevious, std::span<std::int64_t> total,
                               std::span<std::int64_t> totalPrevious);

// 1 - idle / elapsed over two 64-bit counter pairs, the differences taken exactly (modulo
// 2^64) and only the division in extended precision; 0 when no time elapsed. Not clamped.
double BusyFraction(std::int64_t idleNow, std::int64_t idleBefore, std::int64_t elapsedNow,
                    std::int64_t elapsedBefore);

} // namespace zq
