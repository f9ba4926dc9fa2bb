#include "cpuid/CpuClock.h"

#include <cmath>
#include <cstdlib>

#include "cpuid/CpuidConst.h"

namespace zq {

namespace {

template <std::size_t N> int NearestEntry(const std::array<int, N>& table, long long rest) {
    int kept = table[0];
    long long best = std::llabs(rest - table[0]);
    for (int entry : table) {
        const long long distance = std::llabs(rest - entry);
        if (distance <= best) {
            best = distance;
            kept = entry;
        }
    }
    return kept;
}

} // namespace

bool RawClockMeasurable(bool timeStampCounter, int delay) {
    return delay > 0 && timeStampCounter;
}

TClockMark MarkClockEdge(TCpuClock& clock) {
    const std::uint32_t before = clock.TickCount();
    std::uint32_t edge;
    do {
        edge = clock.TickCount();
    } while (edge == before);
    return {edge, clock.ReadTimeStamp()};
}

TClockMark MarkClockAfter(TCpuClock& clock, const TClockMark& start, int delay) {
    const auto length = static_cast<std::uint32_t>(delay);
    std::uint32_t now = clock.TickCount();
    if (now - start.Tick >= length) {
        const std::uint32_t late = now;
        do {
            now = clock.TickCount();
        } while (now == late);
    } else {
        while (now - start.Tick < length)
            now = clock.TickCount();
    }
    return {now, clock.ReadTimeStamp()};
}

float RawClockBetween(const TClockMark& start, const TClockMark& end) {
    const std::uint32_t elapsed = end.Tick - start.Tick;
    if (elapsed == 0)
        return -1.0f;
    const long double ticks = static_cast<long double>(end.Stamp - start.Stamp);
    return static_cast<float>(ticks / (1000.0L * elapsed));
}

float MeasureRawClock(TCpuClock& clock, bool timeStampCounter, int delay) {
    if (!RawClockMeasurable(timeStampCounter, delay))
        return -1.0f;
    const TMeasuringPriority raised(clock, true);
    const TClockMark start = MarkClockEdge(clock);
    return RawClockBetween(start, MarkClockAfter(clock, start, delay));
}

int RoundClock(float raw) {
    long double x = raw;
    if (!std::isfinite(x) || std::fabs(x) > 2.0e9L)
        x = -1.0L;
    const long long hundreds = static_cast<long long>(std::trunc(x)) / 100;
    const long long base = hundreds * 100;
    const long long rest = static_cast<long long>(std::trunc(x - static_cast<long double>(base)));
    if (base >= cpuidClockTableHighFrom) {
        const long long clock = base + NearestEntry(cpuidClockTableHigh, rest);
        return static_cast<int>(clock == 666 ? 667 : clock);
    }
    const int entry = NearestEntry(cpuidClockTableLow, rest);
    if (hundreds <= 0)
        return entry;
    return static_cast<int>(base + entry);
}

} // namespace zq
