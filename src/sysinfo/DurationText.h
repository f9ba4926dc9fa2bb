#pragma once
// A number of seconds as readable text: in words (1 Day, 2 Hours, 3 Minutes, 4 Seconds.) or as a
// digital clock (02:03:04). Calendar lengths: a year is 365.5 days, a month 31 days, a century
// 100 such years.
#include <cstdint>
#include <functional>
#include <string>

namespace zq {

// The units, largest first, as the splitting keeps them: each count is a 16-bit unsigned number
// (wider counts keep their low 16 bits), the seconds that remain a 64-bit integer.
struct TDurationParts {
    std::uint16_t Centuries = 0;
    std::uint16_t Years = 0;
    std::uint16_t Months = 0;
    std::uint16_t Weeks = 0;
    std::uint16_t Days = 0;
    std::uint16_t Hours = 0;
    std::uint16_t Minutes = 0;
    std::int64_t Seconds = 0;
};

TDurationParts SplitDuration(std::int64_t seconds);

// WholeSeconds: seconds without decimals, otherwise with two decimals written with
// DecimalSeparator. AllUnits: every unit from the centuries down (words) or the long clock form
// (clock). ClockStyle: digital clock instead of words. Callers pass Seconds >= 0; any other
// value still gives a defined text.
std::string DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds,
                           const std::string& DecimalSeparator);
// The same into `text`, which allocates nothing once it has room.
void DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds,
                    const std::string& DecimalSeparator, std::string& text);

// Seconds since system start, with fractions, from a millisecond count: the 64-bit one where
// the system has it (`ticks64` set), else the 32-bit one, which wraps after 49.7 days. A
// failure while reading, or no source at all, gives 0.
double UpTimeFromTicks(const std::function<std::uint64_t()>& ticks64,
                       const std::function<std::uint32_t()>& ticks32) noexcept;

} // namespace zq
