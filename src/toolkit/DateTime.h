#pragma once
// Date-times: days since 30 December 1899, the fraction being the time of day.
#include <cstdint>

namespace zq {

// A system time stamp (100-nanosecond intervals since 1 January 1601) as a date-time.
constexpr double FileTimeToDateTime(std::uint64_t ticks) {
    constexpr double kTicksPerDay = 864000000000.0;
    constexpr double kDaysFrom1601To1899 = 109205.0; // to 30 December 1899
    return static_cast<double>(ticks) / kTicksPerDay - kDaysFrom1601To1899;
}

} // namespace zq
