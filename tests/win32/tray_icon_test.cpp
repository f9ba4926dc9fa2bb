#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Forms.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Graphics.h"
#include "toolkit/Menus.h"
#include "tray/TrayIcon.h"
#include "tray_support.h"

using namespace zq;
using namespace zq::test;

namespace {

std::uint32_t Handle32(const void* h) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h));
}

void Notify(TTrayIcon& icon, UINT mouseMessage) {
    SendMessageA(icon.IconWindow(), WM_TRAYCALLBACK, TrayIconId, mouseMessage);
}

// A 16 by 16 image list whose images are plain squares of the given colours.
std::unique_ptr<TImageList> ColourList(const std::vector<TColor>& colours) {
    auto list = std::make_unique<TImageList>(16, 16);
    for (TColor c : colours) {
        TBitmap bmp;
        bmp.SetSize(16, 16);
        bmp.Canvas().Brush().SetColor(c);
        bmp.Canvas().FillRect({0, 0, 16, 16});
        list->AddMasked(bmp, clNone);
    }
    return list;
}

COLORREF IconColour(HICON icon) {
    TBitmap bmp;
    bmp.SetSize(16, 16);
    DrawIconEx(bmp.Canvas().Handle(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    return bmp.PixelAt(8, 8);
}

void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// Closes the popup menu that opens next, from inside its modal loop.
void CloseNextMenuSoon() {
    SetTimer(nullptr, 0, 30, &EndMenuTimer);
}

struct Events {
    std::vector<std::string> log;
    void Attach(TTrayIcon& icon) {
        icon.OnClick = [this](TObject*) { log.push_back("Click"); };
        icon.OnDblClick = [this](TObject*) { log.push_back("DblClick"); };
        icon.OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            log.push_back("Down" + std::to_string(static_cast<int>(b)) + "/" + std::to_string(s));
        };
        icon.OnMouseUp = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            log.push_back("Up" + std::to_string(static_cast<int>(b)) + "/" + std::to_string(s));
        };
        icon.OnMouseMove = [this](TObject*, TShiftState, int, int) { log.push_back("Move"); };
    }
};

class TrayIcon : public ::testing::Test {
protected:
    TAppScope app;
    TRecordingShell shell;
};

} // namespace

TEST_F(TrayIcon, ConstructionSendsNothingLoadedAddsAndDestructionRemoves) {
    auto icon = std::make_unique<TTrayIcon>(nullptr);
    EXPECT_TRUE(shell.Calls.empty());
    EXPECT_TRUE(icon->IconVisible());
    ASSERT_NE(icon->IconWindow(), nullptr);

    icon->LoadedTree();
    ASSERT_EQ(shell.Calls.size(), 2u);
    EXPECT_EQ(shell.Calls[0].Message, tray::NimModify);
    EXPECT_EQ(shell.Calls[1].Message, tray::NimAdd);
    const TNotifyIconDataA& d = shell.Calls[1].Data;
    EXPECT_EQ(d.cbSize, 488u);
    EXPECT_EQ(d.hWnd, Handle32(icon->IconWindow()));
    EXPECT_EQ(d.uID, 1u);
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 0x800u);

    shell.Calls.clear();
    icon.reset();
    ASSERT_GE(shell.Calls.size(), 1u);
    EXPECT_EQ(shell.Calls[0].Message, tray::NimDelete);
}

TEST_F(TrayIcon, IconVisibleAndDesignPreviewAddAndRemove) {
    TTrayIcon icon(nullptr);
    icon.SetIconVisible(false);
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_EQ(shell.Calls.back().Message, tray::NimDelete);
    // The preview adds without changing the wish.
    icon.SetDesignPreview(true);
    EXPECT_EQ(shell.Calls.back().Message, tray::NimAdd);
    EXPECT_FALSE(icon.IconVisible());
    icon.SetIconVisible(true);
    EXPECT_TRUE(icon.IconVisible());
    EXPECT_EQ(shell.Calls.back().Message, tray::NimAdd);
}

TEST_F(TrayIcon, ANewHintGoesAloneAnUnchangedOneNotAtAllEveryOtherUpdateWithTheIcon) {
    TTrayIcon icon(nullptr);
    auto list = ColourList({clRed});
    list->GetIcon(0, icon.Icon());
    icon.SetHint("CPU Usage: 37%");
    ASSERT_EQ(shell.Calls.size(), 1u);
    EXPECT_EQ(shell.Calls[0].Message, tray::NimModify);
    EXPECT_EQ(shell.Calls[0].Data.uFlags, tray::NifTip);
    EXPECT_STREQ(shell.Calls[0].Data.szTip, "CPU Usage: 37%");
    icon.SetHint("CPU Usage: 37%");
    EXPECT_EQ(shell.Calls.size(), 1u);

    icon.SetShowHint(false);
    EXPECT_EQ(shell.Calls.back().Data.uFlags, tray::IconFlags);
    EXPECT_EQ(shell.Calls.back().Data.hIcon, Handle32(icon.Icon().Handle()));
    EXPECT_NE(shell.Calls.back().Data.hIcon, 0u);
    EXPECT_STREQ(shell.Calls.back().Data.szTip, "");
    icon.SetShowHint(true);
    icon.SetHint(std::string(300, 'h'));
    EXPECT_EQ(std::strlen(shell.Calls.back().Data.szTip), 127u);
}

TEST_F(TrayIcon, BalloonIsClearedThenShownAndNotRepeated) {
    TTrayIcon icon(nullptr);
    icon.SetHint("tip");
    shell.Calls.clear();
    EXPECT_TRUE(
        icon.ShowBalloon("Welcome to Zentiq!", "Hello\rthere", TBalloonIconKind::bikInfo, 30));
    ASSERT_EQ(shell.Calls.size(), 2u);
    EXPECT_EQ(shell.Calls[0].Message, tray::NimModify);
    EXPECT_EQ(shell.Calls[0].Data.uFlags, 0x17u);
    EXPECT_STREQ(shell.Calls[0].Data.szInfo, "");
    EXPECT_EQ(shell.Calls[1].Data.uFlags, 0x17u);
    EXPECT_STREQ(shell.Calls[1].Data.szInfo, "Hello\rthere");
    EXPECT_STREQ(shell.Calls[1].Data.szInfoTitle, "Welcome to Zentiq!");
    EXPECT_EQ(shell.Calls[1].Data.uTimeout, 30000u);
    EXPECT_EQ(shell.Calls[1].Data.dwInfoFlags, 1u);
    EXPECT_STREQ(shell.Calls[1].Data.szTip, "tip");

    icon.RefreshIcon();
    EXPECT_EQ(shell.Calls.back().Data.uFlags, 7u);

    shell.Answer = false;
    EXPECT_FALSE(icon.ShowBalloon("t", "x", TBalloonIconKind::bikError, 1));

    shell.Calls.clear();
    icon.SetEnabled(false);
    EXPECT_TRUE(icon.ShowBalloon("t", "x", TBalloonIconKind::bikError, 1));
    EXPECT_TRUE(shell.Calls.empty());
}

TEST_F(TrayIcon, DoubleClickFiresOneClickThenOneDblClick) {
    TTrayIcon icon(nullptr);
    Events ev;
    ev.Attach(icon);
    Notify(icon, WM_LBUTTONDOWN);
    Notify(icon, WM_LBUTTONUP);
    Notify(icon, WM_LBUTTONDBLCLK);
    Notify(icon, WM_LBUTTONUP);
    const std::vector<std::string> expected = {"Down0/8", "Click", "Up0/8", "DblClick", "Up0/8"};
    EXPECT_EQ(ev.log, expected);

    ev.log.clear();
    Notify(icon, WM_RBUTTONDBLCLK);
    Notify(icon, WM_MBUTTONDBLCLK);
    Notify(icon, WM_MBUTTONDOWN);
    Notify(icon, WM_MOUSEMOVE);
    EXPECT_EQ(ev.log, (std::vector<std::string>{"Down2/32", "Move"}));

    ev.log.clear();
    icon.SetEnabled(false);
    for (UINT m = WM_MOUSEMOVE; m <= WM_MBUTTONDBLCLK; ++m)
        Notify(icon, m);
    EXPECT_TRUE(ev.log.empty());
    EXPECT_EQ(SendMessageA(icon.IconWindow(), WM_QUERYENDSESSION, 0, 0), 1);
}

TEST_F(TrayIcon, RightButtonPopsUpTheMenuAndDoubleClickRunsTheDefaultItem) {
    TPopupMenu menu(nullptr);
    auto* first = new TMenuItem(&menu);
    auto* second = new TMenuItem(&menu);
    auto* third = new TMenuItem(&menu);
    first->SetCaption("&First");
    second->SetCaption("&Second");
    third->SetCaption("&Third");
    menu.Items().Add(first);
    menu.Items().Add(second);
    menu.Items().Add(third);
    second->SetDefault(true);
    third->SetDefault(true);
    std::vector<std::string> ran;
    first->OnClick = [&](TObject*) { ran.push_back("first"); };
    second->OnClick = [&](TObject*) { ran.push_back("second"); };
    third->OnClick = [&](TObject*) { ran.push_back("third"); };
    int popups = 0;
    menu.OnPopup = [&](TObject*) { ++popups; };

    TTrayIcon icon(nullptr);
    icon.SetPopupMenu(&menu);
    Notify(icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(ran, std::vector<std::string>{"second"});

    CloseNextMenuSoon();
    Notify(icon, WM_RBUTTONDOWN);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu.PopupComponent(), &icon);

    // Left popup: the left button pops up too, and a double click runs no default item.
    icon.SetLeftPopup(true);
    CloseNextMenuSoon();
    Notify(icon, WM_LBUTTONDOWN);
    EXPECT_EQ(popups, 2);
    Notify(icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(ran.size(), 1u);

    // Without AutoPopup neither happens.
    icon.SetLeftPopup(false);
    menu.SetAutoPopup(false);
    Notify(icon, WM_RBUTTONDOWN);
    Notify(icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(ran.size(), 1u);
}

TEST_F(TrayIcon, RemovedMenuLeavesIconWorking) {
    TTrayIcon icon(nullptr);
    int dbl = 0;
    icon.OnDblClick = [&](TObject*) { ++dbl; };
    {
        TPopupMenu menu(nullptr);
        icon.SetPopupMenu(&menu);
    }
    EXPECT_EQ(icon.PopupMenu(), nullptr);
    Notify(icon, WM_RBUTTONDOWN);
    Notify(icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(dbl, 1);
}

TEST_F(TrayIcon, RemovedIconListIsForgotten) {
    TTrayIcon icon(nullptr);
    {
        auto list = ColourList({clRed, clLime, clBlue});
        icon.SetIconList(list.get());
        icon.SetIconIndex(2);
        EXPECT_EQ(icon.IconIndex(), 2);
    }
    EXPECT_EQ(icon.IconList(), nullptr);
    EXPECT_EQ(icon.IconIndex(), 0);
    shell.Calls.clear();
    icon.SetIconIndex(5); // no list: stores 0 and updates
    EXPECT_EQ(icon.IconIndex(), 0);
    EXPECT_FALSE(shell.Calls.empty());
}

TEST_F(TrayIcon, ShellRestartReaddsVisibleIconsOnly) {
    ASSERT_NE(TaskbarCreatedMsg, 0u);
    TTrayIcon visible(nullptr);
    TTrayIcon hidden(nullptr);
    hidden.SetIconVisible(false);
    shell.Calls.clear();

    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, TaskbarCreatedMsg, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    PumpMessages();

    int visibleAdds = 0;
    int hiddenAdds = 0;
    for (const auto& c : shell.Calls) {
        if (c.Message != tray::NimAdd)
            continue;
        visibleAdds += c.Data.hWnd == Handle32(visible.IconWindow()) ? 1 : 0;
        hiddenAdds += c.Data.hWnd == Handle32(hidden.IconWindow()) ? 1 : 0;
    }
    EXPECT_EQ(visibleAdds, 1);
    EXPECT_EQ(hiddenAdds, 0);
    EXPECT_FALSE(hidden.IconVisible());
}

TEST_F(TrayIcon, IconIndexSelectsFromTheList) {
    auto list = ColourList({clRed, clLime, clBlue});
    TTrayIcon icon(nullptr);
    icon.SetIconIndex(5);
    EXPECT_EQ(icon.IconIndex(), 0); // no list
    icon.SetIconList(list.get());
    EXPECT_EQ(IconColour(icon.Icon().Handle()), RGB(255, 0, 0));
    icon.SetIconIndex(9);
    EXPECT_EQ(icon.IconIndex(), 2);
    EXPECT_EQ(IconColour(icon.Icon().Handle()), RGB(0, 0, 255));
    icon.SetIconIndex(-3);
    EXPECT_EQ(icon.IconIndex(), -3);
    EXPECT_EQ(IconColour(icon.Icon().Handle()), RGB(0, 0, 255)); // no image at -3

    auto empty = ColourList({});
    icon.SetIconList(empty.get());
    EXPECT_EQ(icon.IconIndex(), -1);
    icon.SetIconList(nullptr);
    EXPECT_EQ(icon.IconIndex(), 0);
}

TEST_F(TrayIcon, CyclingWrapsToTheFirstImage) {
    auto list = ColourList({clRed, clLime, clBlue});
    TTrayIcon icon(nullptr);
    icon.SetIconList(list.get());
    std::vector<int> next;
    std::vector<COLORREF> shown;
    icon.OnCycle = [&](TObject*, int n) {
        next.push_back(n);
        shown.push_back(IconColour(icon.Icon().Handle()));
    };
    icon.SetCycleIcons(true); // interval 0: never fires
    for (int i = 0; i < 5; ++i) {
        Sleep(10);
        PumpMessages();
    }
    EXPECT_TRUE(next.empty());

    icon.SetCycleInterval(10);
    for (int i = 0; i < 300 && next.size() < 4; ++i) {
        Sleep(5);
        PumpMessages();
    }
    icon.SetCycleIcons(false);
    ASSERT_GE(next.size(), 4u);
    EXPECT_EQ(next[0], 1);
    EXPECT_EQ(next[1], 2);
    EXPECT_EQ(next[2], 0);
    EXPECT_EQ(next[3], 1);
    EXPECT_EQ(shown[2], RGB(0, 0, 255));
    EXPECT_EQ(shown[3], RGB(255, 0, 0));
}

TEST_F(TrayIcon, IconsListenToTheApplicationWindowWithoutSubclassingIt) {
    const HWND appWnd = Application->Handle();
    const LONG_PTR appProc = GetWindowLongPtrA(appWnd, GWLP_WNDPROC);
    auto* form = new TForm(nullptr);
    auto* first = new TTrayIcon(form);
    auto* second = new TTrayIcon(form);
    EXPECT_EQ(GetWindowLongPtrA(appWnd, GWLP_WNDPROC), appProc);

    // Both icons see a minimise of the application window.
    first->SetMinimizeToTray(true);
    first->SetIconVisible(false);
    second->SetMinimizeToTray(true);
    second->SetIconVisible(false);
    shell.Calls.clear();
    SendMessageA(appWnd, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_TRUE(first->IconVisible());
    EXPECT_TRUE(second->IconVisible());
    EXPECT_EQ(shell.Count(tray::NimAdd), 2);

    form->DestroyComponents(); // the icons leave: a minimise adds nothing any more
    shell.Calls.clear();
    SendMessageA(appWnd, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(shell.Count(tray::NimAdd), 0);
    delete form;
    ShowWindow(appWnd, SW_HIDE);
}

TEST_F(TrayIcon, OwnerShownDirectlyBringsBackTheApplicationWindow) {
    const HWND appWnd = Application->Handle();
    auto* form = new TForm(nullptr);
    auto* icon = new TTrayIcon(form);
    ShowWindow(appWnd, SW_HIDE);
    SendMessageA(form->Handle(), WM_SHOWWINDOW, TRUE, 1); // shown by a parent: ignored
    EXPECT_FALSE(IsWindowVisible(appWnd));
    SendMessageA(form->Handle(), WM_SHOWWINDOW, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(appWnd));
    ShowWindow(appWnd, SW_HIDE);
    (void)icon;
    delete form;
}

TEST_F(TrayIcon, StartMinimizedHidesTheApplicationWhenLoaded) {
    const HWND appWnd = Application->Handle();
    auto* form = new TForm(nullptr);
    auto* icon = new TTrayIcon(form);
    icon->SetStartMinimized(true);
    ShowWindow(appWnd, SW_SHOWNA);
    shell.Calls.clear();
    form->LoadedTree();
    EXPECT_FALSE(Application->ShowMainForm());
    EXPECT_FALSE(IsWindowVisible(appWnd));
    ASSERT_EQ(shell.Calls.size(), 2u); // UpdateIcon, then the icon is added
    EXPECT_EQ(shell.Calls[1].Message, tray::NimAdd);
    Application->SetShowMainForm(true);
    delete form;
}

namespace {
class TThrowingShell : public TRecordingShell {
public:
    bool NotifyIcon(std::uint32_t, const TNotifyIconDataA&) override {
        throw Exception("shell failed");
    }
};
} // namespace

TEST_F(TrayIcon, FailureInsideTheListenerIsReportedAndTheMessageStillPassesOn) {
    const HWND appWnd = Application->Handle();
    std::vector<std::string> reported;
    auto previous = Application->OnException;
    Application->OnException = [&](TObject*, const std::string& m) { reported.push_back(m); };
    {
        TTrayIcon icon(nullptr);
        icon.SetMinimizeToTray(true);
        TThrowingShell failing;
        SendMessageA(appWnd, WM_SIZE, SIZE_MINIMIZED, 0);
        // The window's own procedure still answers after the failure.
        char title[64] = {};
        SendMessageA(appWnd, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title));
        EXPECT_STREQ(title, Application->Title().c_str());
    }
    Application->OnException = previous;
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "shell failed");
}
