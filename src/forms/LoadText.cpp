#include "forms/LoadText.h"

#include "toolkit/Rounding.h"

namespace zq {

int LoadPercent(double fraction) {
    return static_cast<int>(RoundHalfEven(static_cast<long double>(fraction) * 100.0L));
}

std::string LoadHint(int percent) {
    return "CPU Usage: " + std::to_string(percent) + "%";
}

} // namespace zq
