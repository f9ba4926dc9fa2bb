#include "sysinfo/SystemUpTime.h"

#include <windows.h>

#include "sysinfo/DurationText.h"
#include "toolkit/SystemProc.h"

namespace zq {

double SystemUpTime() {
    // Vista and later; Windows XP has only the 32-bit count.
    using TickCount64Fn = ULONGLONG(WINAPI*)();
    static const auto tickCount64 = LoadedProc<TickCount64Fn>("kernel32.dll", "GetTickCount64");
    std::function<std::uint64_t()> ticks64;
    if (tickCount64)
        ticks64 = [] { return static_cast<std::uint64_t>(tickCount64()); };
    return UpTimeFromTicks(ticks64, [] { return static_cast<std::uint32_t>(GetTickCount()); });
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
