#include "cpuusage/SystemTime.h"

namespace zq {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the given date.
std::int64_t DaysSince1601(int year, int month, int day) {
    // Count from March so that the leap day ends the year.
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t m = month <= 2 ? month + 9 : month - 3;
    const std::int64_t era = y / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * m + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t sinceMarch0000 = era * 146097 + dayOfEra;
    constexpr std::int64_t k1601 = 584694; // 1601-01-01 counted the same way
    return sinceMarch0000 - k1601;
}

} // namespace

std::optional<std::uint64_t> SystemTimeToFileTime(const TSystemTime& t) {
    if (t.Year < 1601 || t.Year > 30827 || t.Month < 1 || t.Month > 12 || t.Day < 1 ||
        t.Day > DaysInMonth(t.Year, t.Month) || t.Hour > 23 || t.Minute > 59 || t.Second > 59 ||
        t.Milliseconds > 999)
        return std::nullopt;
    const std::uint64_t days = static_cast<std::uint64_t>(DaysSince1601(t.Year, t.Month, t.Day));
    const std::uint64_t seconds = ((days * 24 + t.Hour) * 60 + t.Minute) * 60 + t.Second;
    return (seconds * 1000 + t.Milliseconds) * 10000;
}

} // namespace zq
