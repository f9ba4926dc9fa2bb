#pragma once
// Calendar time to the system's 64-bit time stamp, as plain arithmetic.
#include <cstdint>
#include <optional>

namespace zq {

// The eight 16-bit fields of the system's SYSTEMTIME, in their order.
struct TSystemTime {
    std::uint16_t Year = 1601;
    std::uint16_t Month = 1;
    std::uint16_t DayOfWeek = 0;
    std::uint16_t Day = 1;
    std::uint16_t Hour = 0;
    std::uint16_t Minute = 0;
    std::uint16_t Second = 0;
    std::uint16_t Milliseconds = 0;
};

// 100-nanosecond intervals since 1601-01-01 00:00:00.000 (proleptic Gregorian calendar).
// Nothing when a field is out of range: year 1601..30827, month 1..12, day within its month,
// hour 0..23, minute and second 0..59, milliseconds 0..999. The day of the week is ignored.
std::optional<std::uint64_t> SystemTimeToFileTime(const TSystemTime& time);

} // namespace zq
