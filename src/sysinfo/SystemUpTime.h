#pragma once
// The system up-time and its text with the user's decimal separator.
#include <cstdint>
#include <string>

namespace zq {

// Seconds since the system started (GetTickCount / 1000, with fractions); 0 if reading fails.
// The tick count wraps after about 49.7 days.
double SystemUpTime();

// The decimal separator of the user's locale settings ("." when it cannot be read).
std::string UserDecimalSeparator();

// DurationToText with the user's decimal separator.
std::string DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds);
void DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds,
                    std::string& text);

} // namespace zq
