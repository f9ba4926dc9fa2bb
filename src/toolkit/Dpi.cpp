#include "toolkit/Dpi.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace zq {

int ScaleToDpi(int value, int toDpi, int fromDpi) {
    if (toDpi <= 0 || fromDpi <= 0)
        return value;
    const std::int64_t product = std::int64_t{value} * toDpi;
    const std::int64_t half = fromDpi / 2;
    const std::int64_t scaled = (product < 0 ? product - half : product + half) / fromDpi;
    return static_cast<int>(std::clamp<std::int64_t>(scaled, INT_MIN, INT_MAX));
}

} // namespace zq
