#pragma once
// The one float-to-integer conversion of the program: nearest integer, exact halves to the even
// neighbour, computed in long double (80-bit x87 on i686 and x86_64 alike).
#include <cmath>
#include <cstdint>

namespace zq {

inline std::int64_t RoundHalfEven(long double value) {
    if (!std::isfinite(value))
        return 0;
    long double lower = std::floor(value);
    long double diff = value - lower;
    long double result;
    if (diff > 0.5L)
        result = lower + 1.0L;
    else if (diff < 0.5L)
        result = lower;
    else
        result = (std::fmod(lower, 2.0L) == 0.0L) ? lower : lower + 1.0L;
    if (result >= 9.2e18L)
        return INT64_MAX;
    if (result <= -9.2e18L)
        return INT64_MIN;
    return static_cast<std::int64_t>(result);
}

} // namespace zq
