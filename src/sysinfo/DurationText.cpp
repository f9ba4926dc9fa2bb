#include "sysinfo/DurationText.h"

#include <array>
#include <charconv>

namespace zq {

namespace {

struct TUnit {
    std::int64_t Length;
    const char* Singular;
    const char* Plural;
};

// Century down to minute; the seconds follow separately.
constexpr std::array<TUnit, 7> Units{{
    {3157920000LL, " Century, ", " Centuries, "},
    {31579200LL, " Year, ", " Years, "},
    {2678400LL, " Month, ", " Months, "},
    {604800LL, " Week, ", " Weeks, "},
    {86400LL, " Day, ", " Days, "},
    {3600LL, " Hour, ", " Hours, "},
    {60LL, " Minute, ", " Minutes, "},
}};

std::array<std::uint16_t*, 7> CountsOf(TDurationParts& parts) {
    return {&parts.Centuries, &parts.Years, &parts.Months, &parts.Weeks,
            &parts.Days,      &parts.Hours, &parts.Minutes};
}

template <typename T> void AppendNumber(std::string& text, T value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

// Decimal text of a signed value with at least two digits, as "%2.2d" prints it.
void AppendTwoDigits(std::string& text, std::int64_t value) {
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    if (value < 0)
        text += '-';
    if (magnitude < 10)
        text += '0';
    AppendNumber(text, magnitude);
}

} // namespace

TDurationParts SplitDuration(std::int64_t seconds) {
    TDurationParts parts;
    auto counts = CountsOf(parts);
    // The remainder is kept in wrap-around arithmetic: only inputs far outside the callers'
    // range (beyond 65,535 centuries or negative) can make the subtraction leave 64 bits.
    std::uint64_t remainder = static_cast<std::uint64_t>(seconds);
    for (std::size_t i = 0; i < Units.size(); ++i) {
        std::int64_t quotient = static_cast<std::int64_t>(remainder) / Units[i].Length;
        std::uint16_t count = static_cast<std::uint16_t>(quotient);
        *counts[i] = count;
        remainder -=
            static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(Units[i].Length);
    }
    parts.Seconds = static_cast<std::int64_t>(remainder);
    return parts;
}

void DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds,
                    const std::string& DecimalSeparator, std::string& text) {
    TDurationParts parts = SplitDuration(Seconds);
    text.clear();

    if (ClockStyle) {
        if (AllUnits) {
            AppendTwoDigits(text, parts.Years);
            text += '.';
            AppendTwoDigits(text, parts.Months);
            text += '.';
            AppendTwoDigits(text, std::int64_t{parts.Weeks} * 7 + parts.Days);
            text += ' ';
        }
        AppendTwoDigits(text, parts.Hours);
        text += ':';
        AppendTwoDigits(text, parts.Minutes);
        text += ':';
        AppendTwoDigits(text, parts.Seconds);
        return;
    }

    auto counts = CountsOf(parts);
    std::size_t first = 0;
    if (!AllUnits) {
        first = Units.size(); // no unit: seconds only
        for (std::size_t i = 0; i < Units.size(); ++i) {
            if (*counts[i] != 0) {
                first = i;
                break;
            }
        }
    }

    for (std::size_t i = first; i < Units.size(); ++i) {
        std::uint16_t count = *counts[i];
        AppendNumber(text, count);
        text += count == 1 ? Units[i].Singular : Units[i].Plural;
    }
    // The seconds are whole numbers, so "%.0f" is their decimal text and "%.2f" adds two zeros.
    AppendNumber(text, parts.Seconds);
    if (!WholeSeconds) {
        text += DecimalSeparator;
        text += "00";
    }
    text += parts.Seconds == 1 ? " Second." : " Seconds.";
}

std::string DurationToText(bool WholeSeconds, bool AllUnits, bool ClockStyle, std::int64_t Seconds,
                           const std::string& DecimalSeparator) {
    std::string text;
    DurationToText(WholeSeconds, AllUnits, ClockStyle, Seconds, DecimalSeparator, text);
    return text;
}

double UpTimeFromTicks(const std::function<std::uint64_t()>& ticks64,
                       const std::function<std::uint32_t()>& ticks32) noexcept {
    try {
        if (ticks64)
            return static_cast<double>(ticks64()) / 1000.0;
        return ticks32 ? ticks32() / 1000.0 : 0.0;
    } catch (...) {
        return 0.0;
    }
}

} // namespace zq
