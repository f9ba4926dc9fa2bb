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

bool AccessibleItemHolds(const TAccessibleItem& item, TPoint point) {
    const TRect& r = item.Bounds;
    return item.Visible && point.X >= r.Left && point.X < r.Right && point.Y >= r.Top &&
           point.Y < r.Bottom;
}

} // namespace zq
