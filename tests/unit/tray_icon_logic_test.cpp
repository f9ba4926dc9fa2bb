#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tray/TrayIconLogic.h"

using namespace zq;
using enum TTrayAction;

namespace {

struct Sequence {
    TTrayClickSequencer seq;
    TTrayMouseInput input;
    std::vector<TTrayStep> all;
    void Send(std::uint32_t msg) {
        input.Message = msg;
        for (const auto& step : seq.Dispatch(input)) {
            all.push_back(step);
        }
    }
};

} // namespace

TEST(TrayMouseSequence, DoubleClickGivesOneClickBeforeDblClick) {
    Sequence s;
    s.Send(tray::WmLButtonDown);
    s.Send(tray::WmLButtonUp);
    s.Send(tray::WmLButtonDblClk);
    s.Send(tray::WmLButtonUp);
    const std::vector<TTrayStep> expected = {
        {MouseDown, TMouseButton::mbLeft, ssLeft}, {Click, TMouseButton::mbLeft, 0},
        {MouseUp, TMouseButton::mbLeft, ssLeft},   {DblClick, TMouseButton::mbLeft, 0},
        {MouseUp, TMouseButton::mbLeft, ssLeft},
    };
    EXPECT_EQ(s.all, expected);
    EXPECT_FALSE(s.seq.ClickPending());
}

TEST(TrayMouseSequence, DoubleClickRunsDefaultItemOnlyWithAutoPopupMenuAndNoLeftPopup) {
    Sequence s;
    s.input.MenuAutoPopup = true;
    s.Send(tray::WmLButtonDblClk);
    ASSERT_EQ(s.all.size(), 2u);
    EXPECT_EQ(s.all[0].Action, DblClick);
    EXPECT_EQ(s.all[1].Action, RunDefaultItem);

    Sequence left;
    left.input.MenuAutoPopup = true;
    left.input.LeftPopup = true;
    left.Send(tray::WmLButtonDblClk);
    ASSERT_EQ(left.all.size(), 1u);
    EXPECT_EQ(left.all[0].Action, DblClick);

    Sequence nomenu;
    nomenu.Send(tray::WmLButtonDblClk);
    ASSERT_EQ(nomenu.all.size(), 1u);
}

TEST(TrayMouseSequence, RightAndMiddleDoubleClicksAndUnknownMessagesDoNothing) {
    Sequence s;
    s.input.MenuAutoPopup = true;
    for (std::uint32_t msg :
         {tray::WmRButtonDblClk, tray::WmMButtonDblClk, 0x0u, 0x20Au, 0x400u, 0xFFFFFFFFu}) {
        s.Send(msg);
    }
    EXPECT_TRUE(s.all.empty());
}

TEST(TrayMouseSequence, DisabledIgnoresEverythingAndArmsNoClick) {
    Sequence s;
    s.input.Enabled = false;
    s.input.MenuAutoPopup = true;
    s.input.LeftPopup = true;
    for (std::uint32_t msg = tray::WmMouseMove; msg <= tray::WmMButtonDblClk; ++msg) {
        s.Send(msg);
    }
    EXPECT_TRUE(s.all.empty());
    EXPECT_FALSE(s.seq.ClickPending());
    // A button-down while disabled must not leave a click for the up after re-enabling.
    s.Send(tray::WmLButtonDown);
    s.input.Enabled = true;
    s.Send(tray::WmLButtonUp);
    ASSERT_EQ(s.all.size(), 1u);
    EXPECT_EQ(s.all[0].Action, MouseUp);
}

TEST(TrayMouseSequence, RightDownPopsUpTheMenuAfterMouseDown) {
    Sequence s;
    s.input.MenuAutoPopup = true;
    s.input.KeyShift = ssCtrl;
    s.Send(tray::WmRButtonDown);
    s.Send(tray::WmRButtonUp);
    const std::vector<TTrayStep> expected = {
        {MouseDown, TMouseButton::mbRight, ssCtrl | ssRight},
        {ShowPopup, TMouseButton::mbRight, 0},
        {MouseUp, TMouseButton::mbRight, ssCtrl | ssRight},
    };
    EXPECT_EQ(s.all, expected);

    Sequence nomenu;
    nomenu.Send(tray::WmRButtonDown);
    ASSERT_EQ(nomenu.all.size(), 1u);
    EXPECT_EQ(nomenu.all[0].Action, MouseDown);
}

TEST(TrayMouseSequence, LeftPopupShowsMenuOnLeftDownAndClickStillFollows) {
    Sequence s;
    s.input.MenuAutoPopup = true;
    s.input.LeftPopup = true;
    s.Send(tray::WmLButtonDown);
    s.Send(tray::WmLButtonUp);
    ASSERT_EQ(s.all.size(), 4u);
    EXPECT_EQ(s.all[0].Action, MouseDown);
    EXPECT_EQ(s.all[1].Action, ShowPopup);
    EXPECT_EQ(s.all[2].Action, Click);
    EXPECT_EQ(s.all[3].Action, MouseUp);
}

TEST(TrayMouseSequence, MoveAndMiddleButtonCarryShiftState) {
    Sequence s;
    s.input.KeyShift = ssShift | ssAlt;
    s.Send(tray::WmMouseMove);
    s.Send(tray::WmMButtonDown);
    s.Send(tray::WmMButtonUp);
    const std::vector<TTrayStep> expected = {
        {MouseMove, TMouseButton::mbLeft, ssShift | ssAlt},
        {MouseDown, TMouseButton::mbMiddle, ssShift | ssAlt | ssMiddle},
        {MouseUp, TMouseButton::mbMiddle, ssShift | ssAlt | ssMiddle},
    };
    EXPECT_EQ(s.all, expected);
}

TEST(TrayMenuDefault, FirstDefaultInMenuOrder) {
    std::vector<bool> flags = {false, true, false, true};
    EXPECT_EQ(FindDefaultItem(4, [&](int i) { return flags[i]; }), 1);
    EXPECT_EQ(FindDefaultItem(3, [](int) { return false; }), -1);
    EXPECT_EQ(FindDefaultItem(0, [](int) { return true; }), -1);
}

TEST(TrayIconData, InitialRecord) {
    const TNotifyIconDataA d = MakeIconData(0x1234);
    EXPECT_EQ(d.cbSize, 488u);
    EXPECT_EQ(d.hWnd, 0x1234u);
    EXPECT_EQ(d.uID, 1u);
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 0x800u);
    EXPECT_EQ(d.hIcon, 0u);
    EXPECT_EQ(d.dwState, 0u);
    EXPECT_EQ(d.dwStateMask, 0u);
}

TEST(TrayIconData, TipIsCutTo127AndEmptyWhenHiddenOrBlank) {
    TNotifyIconDataA d = MakeIconData(1);
    const std::string longHint(200, 'x');
    FillTip(d, longHint, true);
    EXPECT_EQ(std::strlen(d.szTip), 127u);
    EXPECT_EQ(d.szTip[127], '\0');

    FillTip(d, "CPU Usage: 37%", true);
    EXPECT_STREQ(d.szTip, "CPU Usage: 37%");
    // The rest of the field holds no leftovers of the longer tip.
    for (std::size_t i = std::strlen(d.szTip); i < sizeof d.szTip; ++i) {
        ASSERT_EQ(d.szTip[i], '\0') << i;
    }

    const char zeros[128] = {};
    FillTip(d, "CPU Usage", false);
    EXPECT_EQ(std::memcmp(d.szTip, zeros, 128), 0);
    FillTip(d, "", true);
    EXPECT_EQ(std::memcmp(d.szTip, zeros, 128), 0);

    FillTip(d, std::string(127, 'y'), true);
    EXPECT_EQ(std::string(d.szTip), std::string(127, 'y'));
}

TEST(TrayIconData, BalloonStepsAndReset) {
    TNotifyIconDataA d = MakeIconData(1);
    PrepareBalloon(d, "old", "old text", TBalloonIconKind::bikError, 5);
    EndBalloon(d);

    PrepareBalloonClear(d);
    EXPECT_EQ(d.uFlags, 7u | 0x10u);
    EXPECT_EQ(d.szInfo[0], '\0');

    PrepareBalloon(d, "Welcome to Zentiq!", "Line one\rline two", TBalloonIconKind::bikInfo, 30);
    EXPECT_EQ(d.uFlags, 0x17u);
    EXPECT_STREQ(d.szInfo, "Line one\rline two");
    EXPECT_STREQ(d.szInfoTitle, "Welcome to Zentiq!");
    EXPECT_EQ(d.uTimeout, 30000u);
    EXPECT_EQ(d.dwInfoFlags, 1u);

    PrepareBalloon(d, "t", "x", TBalloonIconKind::bikNone, 255);
    EXPECT_EQ(d.uTimeout, 255000u);
    EXPECT_STREQ(d.szInfoTitle, "t"); // no leftovers of the longer title

    EndBalloon(d);
    EXPECT_EQ(d.uFlags, 7u);
}

TEST(TrayIconData, BalloonTextAndTitleAreCut) {
    TNotifyIconDataA d = MakeIconData(1);
    PrepareBalloon(d, std::string(100, 'T'), std::string(400, 'B'), TBalloonIconKind::bikWarning,
                   1);
    EXPECT_EQ(std::string(d.szInfo), std::string(255, 'B'));
    EXPECT_EQ(std::string(d.szInfoTitle), std::string(63, 'T'));
    // The cut never spills into the neighbouring fields.
    EXPECT_EQ(d.uTimeout, 1000u);
    EXPECT_EQ(d.dwInfoFlags, 2u);
}

TEST(TrayIconData, InfoFlagsFollowKindOrder) {
    EXPECT_EQ(BalloonInfoFlags(TBalloonIconKind::bikNone), 0u);
    EXPECT_EQ(BalloonInfoFlags(TBalloonIconKind::bikInfo), 1u);
    EXPECT_EQ(BalloonInfoFlags(TBalloonIconKind::bikWarning), 2u);
    EXPECT_EQ(BalloonInfoFlags(TBalloonIconKind::bikError), 3u);
}

TEST(TrayIconIndex, Clamping) {
    EXPECT_EQ(ClampIconIndex(7, true, 3), 2);
    EXPECT_EQ(ClampIconIndex(3, true, 3), 2);
    EXPECT_EQ(ClampIconIndex(1, true, 3), 1);
    EXPECT_EQ(ClampIconIndex(-4, true, 3), -4);
    EXPECT_EQ(ClampIconIndex(5, false, 0), 0);
    EXPECT_EQ(ClampIconIndex(-5, false, 0), 0);
    EXPECT_FALSE(ValidImageIndex(ClampIconIndex(0, true, 0), 0)); // empty list: no image
}

TEST(TrayIconIndex, CyclingWrapsAfterLastImage) {
    std::vector<int> seen;
    int index = 0;
    for (int i = 0; i < 7; ++i) {
        seen.push_back(index);
        index = NextCycleIndex(index, 3);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
    EXPECT_EQ(NextCycleIndex(0, 1), 0);
    EXPECT_EQ(NextCycleIndex(-2, 3), -1);
    EXPECT_EQ(NextCycleIndex(0, 0), 0);
}
