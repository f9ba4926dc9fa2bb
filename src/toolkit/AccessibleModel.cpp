#include "toolkit/AccessibleModel.h"

namespace zq {

bool TValueChangeGate::Pass(const std::string& value, std::uint32_t nowMs) {
    if (FAnnounced && (value == FLast || nowMs - FLastMs < kIntervalMs))
        return false;
    FLast = value;
    FLastMs = nowMs;
    FAnnounced = true;
    return true;
}

int TAccessibleChildren::OwnIndex(long id) const {
    return id > Standard && id <= Count() ? static_cast<int>(id - Standard - 1) : -1;
}

long TAccessibleChildren::Navigate(TNavigation direction, long start) const {
    const int own = OwnIndex(start);
    if (start == 0) {
        if (direction == TNavigation::FirstChild && Standard == 0)
            return Own > 0 ? OwnId(0) : kNone;
        if (direction == TNavigation::LastChild && Own > 0)
            return OwnId(static_cast<int>(Own) - 1);
        return kStandardAnswers;
    }
    if (own < 0) // a child window's id
        return kStandardAnswers;
    if (direction == TNavigation::Next)
        return own + 1 < Own ? OwnId(own + 1) : kNone;
    if (direction == TNavigation::Previous)
        return own > 0 ? OwnId(own - 1) : kNone;
    return kNone;
}

int AccessibleItemAt(const std::vector<TAccessibleItem>& items, TPoint point) {
    for (int i = static_cast<int>(items.size()) - 1; i >= 0; --i) {
        const TRect& r = items[i].Bounds;
        if (items[i].Visible && point.X >= r.Left && point.X < r.Right && point.Y >= r.Top &&
            point.Y < r.Bottom)
            return i;
    }
    return -1;
}

} // namespace zq
