#include "forms/FigureText.h"

#include <charconv>

#include "toolkit/Rounding.h"

namespace zq {

namespace {

// The longest text: "Mem Usage: " and two 11-character numbers with their units.
constexpr std::size_t LongestText = 40;

void AppendNumber(std::string& text, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

void Begin(std::string& text) {
    text.clear();
    text.reserve(LongestText);
}

} // namespace

int UsedPercent(std::int32_t available, std::int32_t total) {
    if (total <= 0)
        return 0;
    return static_cast<int>(100 - std::int64_t{available} * 100 / total);
}

void FormatKilobytes(std::int32_t kilobytes, std::string& text) {
    Begin(text);
    AppendNumber(text, kilobytes);
    text += " KB";
}

void FormatSwapUsage(std::int32_t total, std::int32_t available, std::string& text) {
    Begin(text);
    text += "Mem Usage: ";
    AppendNumber(text, std::int64_t{total} - available);
    text += "K / ";
    AppendNumber(text, total);
    text += "K";
}

std::int64_t UpTimeSeconds(double seconds) {
    return RoundHalfEven(seconds);
}

} // namespace zq
