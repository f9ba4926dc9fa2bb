#pragma once
// What a screen reader learns of the controls the program draws itself (the system's standard
// objects describe only windows and their text): an item's role, name and value, the children a
// window's object lists after its child windows, and the pace of value-change announcements.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// A control's presence to screen readers, set by the form that names it. The control's own
// DescribeAccessible gives the role and value; Value, when set, gives the value instead.
struct TAccessibleInfo {
    std::function<std::string()> Name;
    std::function<std::string()> Value;
    // Children of the control's object (one per processor, say), listed after the window's
    // other children; their bounds are in the window's client area.
    std::function<int()> PartCount;
    std::function<void(int index, TAccessibleItem& part)> Part;
    TValueChangeGate Gate;
};

// MSAA's navigation directions, NAVDIR_UP (1) to NAVDIR_LASTCHILD (8).
enum class TNavigation { Up = 1, Down, Left, Right, Next, Previous, FirstChild, LastChild };

// The children of a window's object: first the standard object's (the child windows; it has
// `Standard` of them, under ids of its own choosing), then the program's own, under the ids
// after Standard. Id 0 is the object itself.
struct TAccessibleChildren {
    long Standard = 0;
    long Own = 0;

    // Navigate's answers besides an own child's id.
    static constexpr long kNone = 0;
    static constexpr long kStandardAnswers = -1;

    long Count() const { return Standard + Own; }
    // The index among the own children of a child id, or -1.
    int OwnIndex(long id) const;
    long OwnId(int index) const { return Standard + 1 + index; }
    // Where navigation from `start` leads. From the object itself: the first child (an own one
    // when there is no child window), the last (an own one when there is one); from an own
    // child: the next or previous own child. kNone past those ends and for other moves of an own
    // child (a simple element has no children, nor places in space); kStandardAnswers for
    // everything else (from a child window, the object's siblings).
    long Navigate(TNavigation direction, long start) const;
};

// The index of the topmost (last) visible item whose bounds hold the point, or -1.
int AccessibleItemAt(const std::vector<TAccessibleItem>& items, TPoint point);

} // namespace zq
