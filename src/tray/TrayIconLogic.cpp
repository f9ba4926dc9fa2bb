#include "tray/TrayIconLogic.h"

#include <algorithm>
#include <cstring>

namespace zq {

namespace {

// Copies at most `limit` characters of `text` into `field`, zero-filling the rest (the field
// is always terminated, since limit < size).
template <std::size_t N>
void CopyField(char (&field)[N], std::string_view text, std::size_t limit) {
    static_assert(N > 0);
    std::memset(field, 0, N);
    const std::size_t n = std::min({text.size(), limit, N - 1});
    if (n != 0) {
        std::memcpy(field, text.data(), n);
    }
}

} // namespace

TNotifyIconDataA MakeIconData(std::uint32_t window) {
    TNotifyIconDataA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = sizeof(TNotifyIconDataA);
    data.hWnd = window;
    data.uID = TrayIconId;
    data.uFlags = tray::IconFlags;
    data.uCallbackMessage = WM_TRAYCALLBACK;
    return data;
}

void FillTip(TNotifyIconDataA& data, std::string_view hint, bool showHint) {
    CopyField(data.szTip, showHint ? hint : std::string_view{}, MaxTipLength);
}

void PrepareBalloonClear(TNotifyIconDataA& data) {
    data.uFlags |= tray::NifInfo;
    CopyField(data.szInfo, {}, MaxBalloonTextLength);
}

std::uint32_t BalloonInfoFlags(TBalloonIconKind kind) {
    switch (kind) {
    case TBalloonIconKind::bikNone:
        return 0;
    case TBalloonIconKind::bikInfo:
        return 1;
    case TBalloonIconKind::bikWarning:
        return 2;
    case TBalloonIconKind::bikError:
        return 3;
    }
    return 0;
}

void PrepareBalloon(TNotifyIconDataA& data, std::string_view title, std::string_view text,
                    TBalloonIconKind kind, std::uint8_t timeoutSeconds) {
    data.uFlags |= tray::NifInfo;
    CopyField(data.szInfo, text, MaxBalloonTextLength);
    CopyField(data.szInfoTitle, title, MaxBalloonTitleLength);
    data.uTimeout = static_cast<std::uint32_t>(timeoutSeconds) * 1000u;
    data.dwInfoFlags = BalloonInfoFlags(kind);
}

void EndBalloon(TNotifyIconDataA& data) {
    data.uFlags = tray::IconFlags;
}

TTraySteps TTrayClickSequencer::Dispatch(const TTrayMouseInput& in) {
    using enum TTrayAction;
    TTraySteps steps;
    if (!in.Enabled) {
        return steps;
    }
    const TShiftState shift = in.KeyShift;
    switch (in.Message) {
    case tray::WmMouseMove:
        steps.Add({MouseMove, TMouseButton::mbLeft, shift});
        break;
    case tray::WmLButtonDown:
        steps.Add({MouseDown, TMouseButton::mbLeft, shift | ssLeft});
        FClickPending = true;
        if (in.LeftPopup && in.MenuAutoPopup) {
            steps.Add({ShowPopup, TMouseButton::mbLeft, 0});
        }
        break;
    case tray::WmLButtonUp:
        if (FClickPending) {
            FClickPending = false;
            steps.Add({Click, TMouseButton::mbLeft, 0});
        }
        steps.Add({MouseUp, TMouseButton::mbLeft, shift | ssLeft});
        break;
    case tray::WmLButtonDblClk:
        steps.Add({DblClick, TMouseButton::mbLeft, 0});
        if (in.MenuAutoPopup && !in.LeftPopup) {
            steps.Add({RunDefaultItem, TMouseButton::mbLeft, 0});
        }
        break;
    case tray::WmRButtonDown:
        steps.Add({MouseDown, TMouseButton::mbRight, shift | ssRight});
        if (in.MenuAutoPopup) {
            steps.Add({ShowPopup, TMouseButton::mbRight, 0});
        }
        break;
    case tray::WmRButtonUp:
        steps.Add({MouseUp, TMouseButton::mbRight, shift | ssRight});
        break;
    case tray::WmMButtonDown:
        steps.Add({MouseDown, TMouseButton::mbMiddle, shift | ssMiddle});
        break;
    case tray::WmMButtonUp:
        steps.Add({MouseUp, TMouseButton::mbMiddle, shift | ssMiddle});
        break;
    default:
        break;
    }
    return steps;
}

int ClampIconIndex(int value, bool hasList, int count) {
    if (!hasList) {
        return 0;
    }
    return value >= count ? count - 1 : value;
}

int NextCycleIndex(int index, int count) {
    return index < count - 1 ? index + 1 : 0;
}

} // namespace zq
