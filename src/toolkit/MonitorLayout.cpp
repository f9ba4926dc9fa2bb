#include "toolkit/MonitorLayout.h"

#include <algorithm>
#include <cstdint>

namespace zq {

namespace {
// The length [a0, a1) and [b0, b1) share, or minus the gap between them.
std::int64_t Shared(int a0, int a1, int b0, int b1) {
    return std::int64_t{std::min(a1, b1)} - std::max(a0, b0);
}

// The area `a` and `b` share, or minus the gap between them across plus down.
std::int64_t Closeness(const TRect& a, const TRect& b) {
    const std::int64_t across = Shared(a.Left, a.Right, b.Left, b.Right);
    const std::int64_t down = Shared(a.Top, a.Bottom, b.Top, b.Bottom);
    if (across > 0 && down > 0)
        return across * down;
    return std::min<std::int64_t>(across, 0) + std::min<std::int64_t>(down, 0);
}

// The start that puts [start, end) inside [from, to), or at `from` where it is longer.
int Inside(int start, int end, int from, int to) {
    return static_cast<int>(std::max<std::int64_t>(
        from, std::min<std::int64_t>(start, std::int64_t{to} - end + start)));
}
} // namespace

const TMonitorRects* MonitorOf(const TRect& rect, std::span<const TMonitorRects> monitors) {
    const TMonitorRects* best = nullptr;
    std::int64_t bestCloseness = 0;
    for (const TMonitorRects& m : monitors) {
        const std::int64_t closeness = Closeness(rect, m.Bounds);
        if (best == nullptr || closeness > bestCloseness) {
            best = &m;
            bestCloseness = closeness;
        }
    }
    return best;
}

TRect OntoWorkArea(const TRect& rect, std::span<const TMonitorRects> monitors) {
    for (const TMonitorRects& m : monitors)
        if (Closeness(rect, m.WorkArea) > 0)
            return rect;
    const TMonitorRects* home = MonitorOf(rect, monitors);
    if (home == nullptr)
        return rect;
    const TRect& area = home->WorkArea;
    const int left = Inside(rect.Left, rect.Right, area.Left, area.Right);
    const int top = Inside(rect.Top, rect.Bottom, area.Top, area.Bottom);
    return {left, top, left + rect.Width(), top + rect.Height()};
}

} // namespace zq
