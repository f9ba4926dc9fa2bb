#pragma once
// Portable decisions of the tray icon: the shell record and its fill rules, the sequencing of
// mouse notifications into component events, and icon-list index selection.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "toolkit/Types.h"

namespace zq {

// Shell notification codes and flags, and the mouse messages the shell reports in lParam of the
// callback message (the same values as the Win32 ones, usable without <windows.h>).
namespace tray {
constexpr std::uint32_t NimAdd = 0;
constexpr std::uint32_t NimModify = 1;
constexpr std::uint32_t NimDelete = 2;
constexpr std::uint32_t NifMessage = 0x01;
constexpr std::uint32_t NifIcon = 0x02;
constexpr std::uint32_t NifTip = 0x04;
constexpr std::uint32_t NifInfo = 0x10;
constexpr std::uint32_t IconFlags = NifMessage | NifIcon | NifTip; // 7
constexpr std::uint32_t WmMouseMove = 0x200;
constexpr std::uint32_t WmLButtonDown = 0x201;
constexpr std::uint32_t WmLButtonUp = 0x202;
constexpr std::uint32_t WmLButtonDblClk = 0x203;
constexpr std::uint32_t WmRButtonDown = 0x204;
constexpr std::uint32_t WmRButtonUp = 0x205;
constexpr std::uint32_t WmRButtonDblClk = 0x206;
constexpr std::uint32_t WmMButtonDown = 0x207;
constexpr std::uint32_t WmMButtonUp = 0x208;
constexpr std::uint32_t WmMButtonDblClk = 0x209;
} // namespace tray

constexpr std::uint32_t WM_TRAYCALLBACK = 0x800; // WM_USER + 0x400
constexpr std::uint32_t TrayIconId = 1;

// The ANSI notification-icon record in its 488-byte (shell 5.0) layout. Handles are 32-bit
// values, as on the 32-bit Windows build this record is handed to.
struct TNotifyIconDataA {
    std::uint32_t cbSize;
    std::uint32_t hWnd;
    std::uint32_t uID;
    std::uint32_t uFlags;
    std::uint32_t uCallbackMessage;
    std::uint32_t hIcon;
    char szTip[128];
    std::uint32_t dwState;
    std::uint32_t dwStateMask;
    char szInfo[256];
    std::uint32_t uTimeout;
    char szInfoTitle[64];
    std::uint32_t dwInfoFlags;
};
static_assert(sizeof(TNotifyIconDataA) == 488);
static_assert(offsetof(TNotifyIconDataA, szTip) == 24);
static_assert(offsetof(TNotifyIconDataA, szInfo) == 160);
static_assert(offsetof(TNotifyIconDataA, uTimeout) == 416);
static_assert(offsetof(TNotifyIconDataA, szInfoTitle) == 420);
static_assert(offsetof(TNotifyIconDataA, dwInfoFlags) == 484);

enum class TBalloonIconKind { bikNone, bikInfo, bikWarning, bikError };

constexpr std::size_t MaxTipLength = sizeof(TNotifyIconDataA::szTip) - 1;                // 127
constexpr std::size_t MaxBalloonTextLength = sizeof(TNotifyIconDataA::szInfo) - 1;       // 255
constexpr std::size_t MaxBalloonTitleLength = sizeof(TNotifyIconDataA::szInfoTitle) - 1; // 63

// The record as the constructor leaves it: everything zero except size, window, id, flags and
// callback message.
TNotifyIconDataA MakeIconData(std::uint32_t window);
// Tool-tip: the first 127 characters of `hint` when it is shown and not empty, else all zero.
void FillTip(TNotifyIconDataA& data, std::string_view hint, bool showHint);
// First balloon step: request the balloon with an empty text, which takes down a showing one.
void PrepareBalloonClear(TNotifyIconDataA& data);
// Second balloon step: text (cut to 255), title (cut to 63), time-out and icon kind.
void PrepareBalloon(TNotifyIconDataA& data, std::string_view title, std::string_view text,
                    TBalloonIconKind kind, std::uint8_t timeoutSeconds);
// After the balloon: later updates must not show it again.
void EndBalloon(TNotifyIconDataA& data);
std::uint32_t BalloonInfoFlags(TBalloonIconKind kind);

// One event or action the icon's window procedure runs for a mouse notification.
enum class TTrayAction {
    MouseDown,
    Click,
    MouseUp,
    DblClick,
    MouseMove,
    ShowPopup,     // pop up the menu at the cursor
    RunDefaultItem // run the menu's default top-level item
};

struct TTrayStep {
    TTrayAction Action;
    TMouseButton Button; // meaningful for MouseDown and MouseUp
    TShiftState Shift;   // meaningful for MouseDown, MouseUp and MouseMove
    friend bool operator==(const TTrayStep&, const TTrayStep&) = default;
};

struct TTraySteps {
    std::array<TTrayStep, 3> Items{};
    int Count = 0;
    const TTrayStep* begin() const { return Items.data(); }
    const TTrayStep* end() const { return Items.data() + Count; }
    void Add(TTrayStep step) { Items[static_cast<std::size_t>(Count++)] = step; }
};

struct TTrayMouseInput {
    std::uint32_t Message = 0; // lParam of the callback message
    bool Enabled = true;
    bool LeftPopup = false;
    bool MenuAutoPopup = false; // a popup menu is assigned and its AutoPopup is on
    TShiftState KeyShift = 0;   // Shift/Ctrl/Alt as currently held
};

// Turns shell mouse notifications into ordered component events. A left button-down arms a
// pending click that the next left button-up fires once; the double-click notification does not
// arm it, so a double click (down, up, dblclk, up) gives one Click before the DblClick.
class TTrayClickSequencer {
public:
    TTraySteps Dispatch(const TTrayMouseInput& input);
    bool ClickPending() const { return FClickPending; }

private:
    bool FClickPending = false;
};

// Index of the menu's default item: the first top-level item in menu order whose Default flag is
// set, -1 when none. `isDefault(i)` answers for item i of `count`.
template <typename Pred> int FindDefaultItem(int count, Pred isDefault) {
    int found = -1;
    for (int i = count - 1; i >= 0; --i) {
        if (isDefault(i)) {
            found = i;
        }
    }
    return found;
}

// IconIndex setter: with a list, values at or beyond its count select the last image; without
// one the index is 0. Negative values are kept.
int ClampIconIndex(int value, bool hasList, int count);
// The index a cycle step selects after `index`: the next one, or 0 after the last image.
int NextCycleIndex(int index, int count);
// Whether `index` names an image of a list of `count` images.
constexpr bool ValidImageIndex(int index, int count) {
    return index >= 0 && index < count;
}

} // namespace zq
