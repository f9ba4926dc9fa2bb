#include "forms/LoadText.h"

#include <algorithm>

#include "toolkit/Rounding.h"

namespace zq {

int LoadPercent(double fraction) {
    return static_cast<int>(RoundHalfEven(static_cast<long double>(fraction) * 100.0L));
}

std::string LoadHint(int percent) {
    std::string text;
    LoadHint(percent, {}, text);
    return text;
}

void LoadHint(int percent, std::span<const int> eachProcessor, std::string& text) {
    (text = "CPU Usage: ") += std::to_string(percent);
    text += '%';
    if (!eachProcessor.empty()) {
        text += " (busiest processor ";
        text += std::to_string(std::ranges::max(eachProcessor));
        text += "%)";
    }
}

} // namespace zq
