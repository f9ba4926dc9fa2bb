#include "sysinfo/SystemUpTime.h"

#include <windows.h>

#include "sysinfo/DurationText.h"

namespace zq {

double SystemUpTime() {
    return GuardedUpTime([] { return static_cast<std::uint32_t>(GetTickCount()); });
}

std::string UserDecimalSeparator() {
    char separator[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof(separator) - 1) ==
            0 ||
        separator[0] == '\0')
        return ".";
    return separator;
}

void DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds,
                    std::string& text) {
    DurationToText(WholeSeconds, AllUnits, ClockStyle, Seconds, UserDecimalSeparator(), text);
}

std::string DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle,
                           std::int64_t Seconds) {
    return DurationToText(WholeSeconds, AllUnits, ClockStyle, Seconds, UserDecimalSeparator());
}

} // namespace zq
