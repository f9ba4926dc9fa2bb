#pragma once
// What a screen reader learns of the controls the program draws itself (the system's standard
// objects describe only windows and their text): an item's role, name and value, the children a
// window's object lists after its child windows, and the pace of value-change announcements.
#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/Types.h"

namespace zq {

enum class TAccessibleRole { Graphic, Chart, ProgressBar };

struct TAccessibleItem {
    TAccessibleRole Role = TAccessibleRole::Graphic;
    std::string Name;
    std::string Value;
    TRect Bounds; // in the client area of the window that presents the item
    bool Visible = true;
};

// A value change is announced at most once a second, and only for a value other than the last
// one announced; a change held back is announced by the first call a second or more later that
// still sees a new value.
class TValueChangeGate {
public:
    static constexpr std::uint32_t kIntervalMs = 1000;
    // Whether `value`, seen at `nowMs` (a millisecond count that may wrap), is announced.
    bool Pass(const std::string& value, std::uint32_t nowMs);

private:
    std::string FLast;
    std::uint32_t FLastMs = 0;
    bool FAnnounced = false;
};

// A control's presence to screen readers, set by the form that names it; the control's own
// DescribeAccessible gives the role and value.
struct TAccessibleInfo {
    std::string Name;
    // Children of the control's object (one per processor, say), listed after the window's
    // other children; their bounds are in the window's client area.
    std::function<int()> PartCount;
    std::function<void(int index, TAccessibleItem& part)> Part;
    TValueChangeGate Gate;
};

// The children of a window's object: first the standard object's (the child windows; it has
// `Standard` of them, under ids of its own choosing), then the program's own, under the ids
// after Standard. Id 0 is the object itself.
struct TAccessibleChildren {
    long Standard = 0;
    long Own = 0;

    long Count() const { return Standard + Own; }
    // The index among the own children of a child id, or -1.
    int OwnIndex(long id) const;
    long OwnId(int index) const { return Standard + 1 + index; }
};

// Whether the item is visible and its bounds (right and bottom edges outside) hold the point.
bool AccessibleItemHolds(const TAccessibleItem& item, TPoint point);

} // namespace zq
