// The Options dialog's handlers on the real windows: every change lands on the strip, the rows
// follow the colour count, closing applies always-on-top, and a system without layered windows
// explains itself through hints.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "Harness.h"
#include "app/ProgramWindows.h"
#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "toolkit/Application.h"
#include "toolkit/FileStore.h"

using namespace zq;

namespace {

// Start-up as the program does it, with the settings file given (none when empty).
class OptionsTest : public testing::Test {
protected:
    void Start(const std::string& settings = "") {
        zqtest::StartProgram(settings, false);
        bar = MeterForm->LoadBar;
    }
    void TearDown() override {
        SetLayeredWindowsCheck(nullptr);
        zqtest::EndProgram();
        EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
    }
    // Picks a drop-down entry as the user does.
    static void Pick(TComboBox* box, int index) {
        SendMessageA(box->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(GetParent(box->Handle()), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(box->Handle()), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box->Handle()));
    }
    TGradientBar* bar = nullptr;
};

// Moves the mouse and waits until the system reports it there.
void MoveCursor(int x, int y) {
    SetCursorPos(x, y);
    POINT at{};
    for (DWORD until = GetTickCount() + 1000; GetTickCount() < until; Sleep(10))
        if (GetCursorPos(&at) && at.x == x && at.y == y)
            return;
}

} // namespace

TEST_F(OptionsTest, TheColorCountSetsTheBarAndTheRows) {
    Start();
    OptionsForm->Show();
    struct Case {
        int index;
        TBarColorStyle style;
        bool second, third;
    };
    for (Case c : {Case{0, cs1Color, false, false}, Case{1, cs2Colors, true, false},
                   Case{2, cs3Colors, true, true}}) {
        Pick(OptionsForm->ColorCountBox, c.index);
        EXPECT_EQ(bar->BarColorStyle(), c.style) << c.index;
        EXPECT_EQ(IsWindowVisible(OptionsForm->BarColor2Button->Handle()) != 0, c.second)
            << c.index;
        EXPECT_EQ(IsWindowVisible(OptionsForm->BarColor2Swatch->Handle()) != 0, c.second)
            << c.index;
        EXPECT_EQ(IsWindowVisible(OptionsForm->BarColor3Button->Handle()) != 0, c.third) << c.index;
        EXPECT_EQ(IsWindowVisible(OptionsForm->BarColor3Swatch->Handle()) != 0, c.third) << c.index;
    }
    // Shown again after the style changed elsewhere: the count and the rows match it.
    Pick(OptionsForm->ColorCountBox, 2);
    OptionsForm->Hide();
    bar->SetBarColorStyle(cs2Colors);
    OptionsForm->Show();
    EXPECT_EQ(OptionsForm->ColorCountBox->ItemIndex(), 1);
    EXPECT_FALSE(IsWindowVisible(OptionsForm->BarColor3Button->Handle()));
}

TEST_F(OptionsTest, ShowingReflectsTheStripAndTheChangesLandOnItAtOnce) {
    Start();
    MeterForm->SetBackgroundColor(0x123456);
    MeterForm->SetHorizontal(false);
    MeterForm->Show();
    OptionsForm->Show();
    EXPECT_FALSE(IsWindowVisible(MeterForm->Handle()));
    EXPECT_EQ(OptionsForm->OrientationBox->ItemIndex(), 1);
    EXPECT_EQ(OptionsForm->BackgroundColorSwatch->Color(), 0x123456u);
    EXPECT_EQ(OptionsForm->TextColorSwatch->Color(), bar->Font().Color());

    OptionsForm->NumericDisplayCheck->SetChecked(false);
    EXPECT_FALSE(bar->ShowPosText());
    EXPECT_FALSE(MeterForm->Settings().NumericText);
    Pick(OptionsForm->OrientationBox, 0);
    EXPECT_EQ(bar->Direction(), pdLeftToRight);
    EXPECT_TRUE(MeterForm->Settings().Horizontal);
    OptionsForm->SnapWindowCheck->SetChecked(false);
    EXPECT_FALSE(MeterForm->Magnet->Active());
    EXPECT_FALSE(MeterForm->Settings().Snapping);
    OptionsForm->OpacityTrackBar->SetPosition(100);
    EXPECT_EQ(MeterForm->AlphaBlendValue(), 100);

    // The colour dialog, row by row: confirmed, the colour goes to the row's colour of the bar
    // and back to the row's swatch; cancelled, nothing changes.
    TTimer press(nullptr);
    press.SetInterval(200);
    WPARAM answer = IDOK;
    press.OnTimer = [&](TObject*) {
        if (HWND dialog = FindWindowA("#32770", nullptr))
            PostMessageA(dialog, WM_COMMAND, answer, 0);
    };
    TOptionsForm& f = *OptionsForm;
    struct Row {
        TButton* button;
        TPanel* swatch;
        std::function<TColor()> colour;
        TColor chosen;
    };
    const Row rows[] = {
        {f.TextColorButton, f.TextColorSwatch, [&] { return bar->Font().Color(); }, 0x010203},
        {f.BackgroundColorButton, f.BackgroundColorSwatch, [&] { return bar->BackgroundColor(); },
         0x00FF00},
        {f.BarColor1Button, f.BarColor1Swatch, [&] { return bar->BarColor1(); }, 0x112233},
        {f.BarColor2Button, f.BarColor2Swatch, [&] { return bar->BarColor2(); }, 0x445566},
        {f.BarColor3Button, f.BarColor3Swatch, [&] { return bar->BarColor3(); }, 0x778899},
    };
    for (const Row& row : rows) {
        f.ColorDialog->SetColor(row.chosen);
        row.button->Click();
    }
    for (const Row& row : rows) {
        EXPECT_EQ(row.colour(), row.chosen) << row.button->Caption();
        EXPECT_EQ(row.swatch->Color(), row.chosen) << row.button->Caption();
    }
    answer = IDCANCEL;
    f.ColorDialog->SetColor(0x0000FF);
    f.BackgroundColorButton->Click();
    EXPECT_EQ(bar->BackgroundColor(), 0x00FF00u);
    EXPECT_EQ(f.BackgroundColorSwatch->Color(), 0x00FF00u);
}

TEST_F(OptionsTest, ClosingAppliesAlwaysOnTopAndGivesTheStripBack) {
    Start();
    MeterForm->Show();
    OptionsForm->Show();
    OptionsForm->AlwaysOnTopCheck->SetChecked(false);
    EXPECT_NE(MeterForm->WindowExStyle() & WS_EX_TOPMOST, 0); // not until the dialog closes
    SendMessageA(OptionsForm->Handle(), WM_CLOSE, 0, 0);      // the close box does what OK does
    EXPECT_TRUE(IsWindowVisible(MeterForm->Handle()));
    EXPECT_EQ(MeterForm->WindowExStyle() & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(MeterForm->Settings().AlwaysOnTop);
    EXPECT_FALSE(MeterForm->AlwaysOnTopItem->Checked());
}

TEST_F(OptionsTest, ASavedSnapSettingReachesTheSnappingThroughTheDialog) {
    Start("[Window]\r\nSnapWindow=0\r\n");
    EXPECT_FALSE(OptionsForm->SnapWindowCheck->Checked());
    EXPECT_FALSE(MeterForm->Magnet->Active());
}

TEST_F(OptionsTest, WithoutLayeredWindowsTheOpacityControlsExplainThemselves) {
    SetLayeredWindowsCheck([] { return false; });
    Start();
    EXPECT_FALSE(OptionsForm->OpacityTrackBar->Enabled());
    EXPECT_FALSE(OptionsForm->OpacityLabel->Enabled());
    EXPECT_EQ(OptionsForm->OpacityTrackBar->Position(), 0);
    EXPECT_EQ(MeterForm->AlphaBlendValue(), 0); // saved as 0 at exit
    EXPECT_FALSE(MeterForm->AlphaBlendingItem->Enabled());

    OptionsForm->Show();
    OptionsForm->OpacityTrackBar->SetHintColor(0x80FFFF);
    Application->SetHintPause(50);
    TColor before = Application->HintColor();
    RECT r;
    GetWindowRect(OptionsForm->OpacityTrackBar->Handle(), &r);
    MoveCursor((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // A disabled window gets no mouse messages: its parent does.
    PostMessageA(GetParent(OptionsForm->OpacityTrackBar->Handle()), WM_MOUSEMOVE, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(Application->MouseControl(), OptionsForm->OpacityTrackBar);
    EXPECT_EQ(Application->HintColor(), 0x80FFFFu);
    HWND hint = nullptr;
    for (DWORD until = GetTickCount() + 2000; hint == nullptr && GetTickCount() < until;) {
        Application->ProcessMessages();
        hint = FindWindowA(nullptr, "You need Windows 2000 or Windows XP for this feature");
        if (hint != nullptr && !IsWindowVisible(hint))
            hint = nullptr;
        Sleep(10);
    }
    ASSERT_NE(hint, nullptr);
    UpdateWindow(hint);
    RECT h;
    GetWindowRect(hint, &h);
    WindowDC screen(nullptr);
    EXPECT_EQ(GetPixel(screen.Get(), h.right - 3, h.bottom - 3), 0x80FFFFu);

    MoveCursor(790, 590);
    PostMessageA(GetParent(OptionsForm->OpacityTrackBar->Handle()), WM_MOUSELEAVE, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(Application->HintColor(), before);
    EXPECT_FALSE(IsWindowVisible(hint));
    Application->SetHintPause(500);
}
