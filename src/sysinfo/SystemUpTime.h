#pragma once
// The system up-time and its text with the user's decimal separator.
#include <cstdint>
#include <string>

namespace zq {

// Seconds since the system started, with fractions: GetTickCount64 / 1000 where kernel32 has it
// (looked up at run time), else GetTickCount / 1000, which wraps after 49.7 days; 0 if reading
// fails.
double SystemUpTime();

// The decimal separator of the user's locale settings ("." when it cannot be read).
std::string UserDecimalSeparator();

// DurationToText with the user's decimal separator.
std::string DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds);
void DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds,
                    std::string& text);

} // namespace zq
