// The meter window as the program builds it: settings applied through the setters that keep the
// strip, its menu and the state together, the tick feeding the bar and the tray icons, and a tick
// that allocates nothing once the program runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>

#include "common/AllocCounter.h"
#include "Harness.h"
#include "unit/cpuusage_fake_system.h"
#include "unit/cpuusage_perf_block.h"
#include "app/MeterForm.h"
#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FileStore.h"

using namespace zq;

namespace {

class MeterTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings = ExecutableDirectory() + "zentiq.ini";
        SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(settings.c_str());
        InitCpuUsage();
    }
    void TearDown() override {
        delete MeterForm;
        MeterForm = nullptr;
        DoneCpuUsage();
        SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(settings.c_str());
        zqtest::TakeExceptions();
    }
    std::string Settings() { return SystemFileStore().Read(settings).data; }
    std::string settings;
};

} // namespace

TEST_F(MeterTest, FirstRunDefaultsAndTheTickFeedsBarAndTray) {
    Application->CreateForm(MeterForm);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
    EXPECT_EQ((std::vector<int>{MeterForm->Left(), MeterForm->Top(), MeterForm->Width(),
                                MeterForm->Height()}),
              (std::vector<int>{300, 0, 98, 34}));
    EXPECT_EQ(MeterForm->WindowStyle() & WS_CAPTION, 0);
    EXPECT_NE(MeterForm->WindowExStyle() & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(MeterForm->AlwaysOnTopItem->Checked());
    EXPECT_EQ(MeterForm->LoadBar->Direction(), pdLeftToRight);
    EXPECT_TRUE(MeterForm->LoadBar->ShowPosText());
    EXPECT_FALSE(MeterForm->Settings().Welcome); // the balloon was shown, not to come again

    Sleep(50);
    MeterForm->Tick(MeterForm->TickTimer);
    int position = MeterForm->LoadBar->Position();
    EXPECT_EQ(MeterForm->PlainTrayIcon->Hint(), "CPU Usage: " + std::to_string(position) + "%");
    EXPECT_EQ(MeterForm->TextTrayIcon->Text(), std::to_string(position));
}

TEST_F(MeterTest, MenuCommandsFlipTheirMarks) {
    Application->CreateForm(MeterForm);
    MeterForm->AlwaysOnTopItem->Click();
    EXPECT_FALSE(MeterForm->Settings().AlwaysOnTop);
    EXPECT_FALSE(MeterForm->AlwaysOnTopItem->Checked());
    EXPECT_EQ(MeterForm->WindowExStyle() & WS_EX_TOPMOST, 0);
    MeterForm->NumericItem->Click();
    EXPECT_TRUE(MeterForm->TextTrayIcon->IconVisible());
    EXPECT_FALSE(MeterForm->PlainTrayIcon->IconVisible());
    MeterForm->NumericItem->Click();
    EXPECT_FALSE(MeterForm->TextTrayIcon->IconVisible());
    EXPECT_TRUE(MeterForm->PlainTrayIcon->IconVisible());
    if (MeterForm->AlphaBlendingItem->Enabled()) {
        MeterForm->AlphaBlendingItem->Click();
        MeterForm->AlphaBlendingItem->Click();
        EXPECT_FALSE(MeterForm->AlphaBlend());
        EXPECT_EQ(MeterForm->WindowExStyle() & WS_EX_LAYERED, 0);
    }
}

// Every setting lands on the strip, on its menu mark and in the state the file is written from;
// each option item sets its option the other way.
TEST_F(MeterTest, AppliedSettingsAreTheStateTheStripAndTheMenuShow) {
    Application->CreateForm(MeterForm);
    TMeterForm& m = *MeterForm;
    MeterSettings s = DefaultMeterSettings(); // every value other than its default
    s.BackgroundColor = 0x010203;
    s.BarColor1 = 0x040506;
    s.BarColor2 = 0x070809;
    s.BarColor3 = 0x0A0B0C;
    s.TextColor = 0x0D0E0F;
    s.Width = 120;
    s.Height = 40;
    s.Left = 50;
    s.Top = 60;
    s.AlwaysOnTop = s.NumericText = s.Snapping = s.AllProcessors = s.Horizontal = false;
    s.Welcome = false;
    s.AlphaBlending = s.HideFullScreen = s.EachProcessor = s.NumericIcon = true;
    s.Opacity = 100;
    m.ApplySettings(s);
    EXPECT_EQ(m.Settings(), s);
    EXPECT_EQ((std::vector<TColor>{m.LoadBar->BackgroundColor(), m.LoadBar->BarColor1(),
                                   m.LoadBar->BarColor2(), m.LoadBar->BarColor3(),
                                   m.LoadBar->Font().Color()}),
              (std::vector<TColor>{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F}));
    EXPECT_EQ((std::vector<int>{m.Left(), m.Top(), m.Width(), m.Height()}),
              (std::vector<int>{50, 60, 120, 40}));
    EXPECT_EQ(m.WindowExStyle() & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(m.LoadBar->ShowPosText());
    EXPECT_FALSE(m.Magnet->Active());
    EXPECT_TRUE(m.AlphaBlend());
    EXPECT_EQ(m.AlphaBlendValue(), 100);
    EXPECT_EQ(m.LoadBar->Direction(), pdBottomToTop);
    EXPECT_TRUE(m.LoadBar->ShowSlices());
    EXPECT_TRUE(m.TextTrayIcon->IconVisible());
    EXPECT_FALSE(m.PlainTrayIcon->IconVisible());

    const struct {
        TMenuItem* item;
        bool MeterSettings::*option;
    } items[] = {{m.AlphaBlendingItem, &MeterSettings::AlphaBlending},
                 {m.AlwaysOnTopItem, &MeterSettings::AlwaysOnTop},
                 {m.AllProcessorsItem, &MeterSettings::AllProcessors},
                 {m.EachProcessorItem, &MeterSettings::EachProcessor},
                 {m.HideFullScreenItem, &MeterSettings::HideFullScreen},
                 {m.NumericItem, &MeterSettings::NumericIcon}};
    for (const auto& i : items) {
        if (!i.item->Enabled())
            continue; // alpha blending where the system offers no opacity
        EXPECT_EQ(i.item->Checked(), s.*i.option) << i.item->Caption();
        i.item->Click();
        EXPECT_EQ(m.Settings().*i.option, !(s.*i.option)) << i.item->Caption();
        EXPECT_EQ(i.item->Checked(), !(s.*i.option)) << i.item->Caption();
    }
    EXPECT_NE(m.WindowExStyle() & WS_EX_TOPMOST, 0);
}

TEST_F(MeterTest, TheMenuReadsAsDesigned) {
    Application->CreateForm(MeterForm);
    std::vector<std::string> captions;
    std::function<void(TMenuItem&, const std::string&)> walk = [&](TMenuItem& item,
                                                                   const std::string& path) {
        for (int i = 0; i < item.Count(); ++i) {
            captions.push_back(path + item.Items(i)->Caption());
            walk(*item.Items(i), captions.back() + " > ");
        }
    };
    walk(MeterForm->MeterMenu->Items(), "");
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "A&lpha Blending", "Always on &Top", "All &Processors",
                            "&Each Processor", "Hide in &Full Screen", "&Options",
                            "&System Information", "Tray &Icon", "Tray &Icon > &Numeric", "&Help",
                            "&Help > &About Zentiq", "Start with &Windows", "E&xit"}));
    EXPECT_TRUE(MeterForm->AllProcessorsItem->Checked());
    EXPECT_FALSE(MeterForm->HideFullScreenItem->Checked());
    EXPECT_FALSE(MeterForm->EachProcessorItem->Checked());
}

TEST_F(MeterTest, TheTickAllocatesNothingOnceRunning) {
    Application->CreateForm(MeterForm);
    MeterForm->HideFullScreenItem->Click(); // the full-screen check runs in every tick
    MeterForm->EachProcessorItem->Click();  // and the busiest processor's hint
    for (int i = 0; i < 3; ++i) {
        Sleep(20);
        MeterForm->Tick(MeterForm->TickTimer);
    }
    // The tool-tip's strings have room for the longest hint ("CPU Usage: 100% (busiest processor
    // 100%)") from the start, whatever the loads of the first ticks.
    zqtest::StartCountingAllocations();
    for (int i = 0; i < 30; ++i) {
        Sleep(5);
        MeterForm->Tick(MeterForm->TickTimer);
    }
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
}

// A file that cannot be written, with no other place for the settings (no %APPDATA%), never
// traps the user: the close asks whether to exit without saving (No stays open, Yes ends the
// program); the end of a session asks nothing.
TEST_F(MeterTest, AReadOnlySettingsFileAsksWhetherToExitWithoutSaving) {
    const std::string original = "[Window]\r\nLeft=10\r\nTop=20\r\n";
    ASSERT_TRUE(SystemFileStore().Write(settings, original));
    SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY);
    char appData[1024] = {};
    ASSERT_GT(GetEnvironmentVariableA("APPDATA", appData, sizeof appData), 0u);
    SetEnvironmentVariableA("APPDATA", nullptr);
    struct Answerer : TQuestionAnswerer {
        std::vector<std::string> asked;
        bool exitWithoutSaving = false;
        bool Answer(const std::string& text, const std::string& caption) override {
            asked.push_back(caption + ": " + text);
            return exitWithoutSaving;
        }
    } user;
    std::vector<std::string>& asked = user.asked;
    SetQuestionAnswerer(&user);
    Application->CreateForm(MeterForm);
    MeterForm->Show();
    SendMessageA(MeterForm->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(asked, std::vector<std::string>{});

    SendMessageA(MeterForm->Handle(), WM_CLOSE, 0, 0); // as E&xit or any other close does
    const std::string question = Application->Title() + ": Unable to write to " + settings +
                                 "\n\nExit without saving the settings?";
    EXPECT_EQ(asked, std::vector<std::string>{question});
    EXPECT_TRUE(IsWindowVisible(MeterForm->Handle()));
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    user.exitWithoutSaving = true;
    SendMessageA(MeterForm->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(asked, (std::vector<std::string>{question, question}));
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
    EXPECT_EQ(SystemFileStore().Read(settings).data, original);
    SetQuestionAnswerer(nullptr);
    SetEnvironmentVariableA("APPDATA", appData);
}

TEST_F(MeterTest, TheSessionEndWritesTheSettingsAndTheMeterGoesOn) {
    Application->CreateForm(MeterForm);
    MeterForm->Show();
    MeterForm->SetBarColor1(123);
    SendMessageA(MeterForm->Handle(), WM_ENDSESSION, TRUE, 0);
    const std::string written = Settings();
    EXPECT_EQ(std::count(written.begin(), written.end(), '='),
              static_cast<std::ptrdiff_t>(std::size(kMeterSettingKeys)));
    EXPECT_NE(written.find("Pro1=123\r\n"), std::string::npos);
    // A session that goes on after all: nothing is written, the meter keeps running and its
    // close writes again.
    MeterForm->SetBarColor1(456);
    SendMessageA(MeterForm->Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_NE(Settings().find("Pro1=123\r\n"), std::string::npos);
    EXPECT_TRUE(IsWindowVisible(MeterForm->Handle()));
    SendMessageA(MeterForm->Handle(), WM_CLOSE, 0, 0);
    MSG quit; // the main form's close ends the program: the tests' loop must not see that
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_NE(Settings().find("Pro1=456\r\n"), std::string::npos);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
}

TEST_F(MeterTest, TheBarFillsTheClientAreaOfTheDesignSize) {
    // The design size: removing the caption leaves the window's size as it is.
    ASSERT_TRUE(SystemFileStore().Write(settings, "[Window]\r\nHeight=58\r\nWidth=168\r\n"));
    Application->CreateForm(MeterForm);
    MeterForm->Show();
    ASSERT_EQ(MeterForm->Width(), 168);
    RECT client;
    GetClientRect(MeterForm->Handle(), &client);
    EXPECT_EQ(MeterForm->LoadBar->BoundsRect(),
              (TRect{0, 0, static_cast<int>(client.right), static_cast<int>(client.bottom)}));
}

TEST_F(MeterTest, AStripOffEveryMonitorStartsAtTheFirstRunPosition) {
    ASSERT_TRUE(SystemFileStore().Write(
        settings, "[Window]\r\nHeight=40\r\nWidth=120\r\nLeft=5000\r\nTop=-3000\r\n"));
    Application->CreateForm(MeterForm);
    EXPECT_EQ((std::vector<int>{MeterForm->Left(), MeterForm->Top(), MeterForm->Width(),
                                MeterForm->Height()}),
              (std::vector<int>{300, 0, 120, 40}));
}

// The strip hides while a full-screen window covers its monitor and comes back when that ends;
// the tray icon's double click overrides both, and the user's choice stands.
TEST_F(MeterTest, AFullScreenWindowHidesTheStripUnlessTheUserChoseOtherwise) {
    ASSERT_TRUE(SystemFileStore().Write(settings, "[Window]\r\nHideFullScreen=1\r\n"));
    Application->CreateForm(MeterForm);
    MeterForm->Show();
    ASSERT_TRUE(MeterForm->HideFullScreenItem->Checked());
    HWND cover = nullptr;
    auto fullScreen = [&](bool on) {
        if (on) {
            cover = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                    nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(cover);
        } else {
            DestroyWindow(cover);
        }
    };
    auto tick = [] {
        MeterForm->Tick(MeterForm->TickTimer);
        return MeterForm->Visible();
    };
    auto doubleClick = [] {
        MeterForm->TrayIconDblClick(MeterForm->PlainTrayIcon);
        return MeterForm->Visible();
    };
    fullScreen(true);
    EXPECT_FALSE(tick());
    EXPECT_TRUE(doubleClick()); // shown by hand while the full-screen window stays
    EXPECT_TRUE(tick());
    EXPECT_FALSE(doubleClick()); // and hidden by hand: it stays hidden after the end
    fullScreen(false);
    EXPECT_FALSE(tick());

    EXPECT_TRUE(doubleClick());
    fullScreen(true);
    EXPECT_FALSE(tick());
    fullScreen(false);
    EXPECT_TRUE(tick());

    MeterForm->HideFullScreenItem->Click();
    fullScreen(true);
    EXPECT_TRUE(tick());
    fullScreen(false);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
}

// Each processor's slice and the busiest one in the tool-tip follow the processors of each
// sample; with one processor left the item is greyed and the tool-tip is the load alone.
TEST_F(MeterTest, EachProcessorFollowsTheSampledProcessors) {
    using namespace zq::testing;
    auto port = std::make_unique<TFakeSystem>();
    TFakeSystem& system = *port;
    system.Block = ProcessorBlock(At(0), {0, 0}).Bytes;
    InitCpuUsage(std::move(port));
    ASSERT_TRUE(SystemFileStore().Write(settings, "[Window]\r\nEachProcessor=1\r\n"));
    Application->CreateForm(MeterForm);
    TMeterForm& m = *MeterForm;
    auto tick = [&](int second, std::vector<std::int64_t> idle) {
        system.Block = ProcessorBlock(At(second), idle).Bytes;
        m.Tick(m.TickTimer);
        m.MeterMenu->OnPopup(m.MeterMenu);
        const std::span<const int> slices = m.LoadBar->SlicePositions();
        return std::vector<int>(slices.begin(), slices.end());
    };
    EXPECT_EQ(tick(1, {10'000'000, 0}), (std::vector<int>{0, 100}));
    EXPECT_EQ(m.PlainTrayIcon->Hint(), "CPU Usage: 50% (busiest processor 100%)");
    // A screen reader's children of the strip: "CPU 2", the lower row.
    ASSERT_EQ(m.LoadBar->Accessible().PartCount(), 2);
    TAccessibleItem second;
    second.Bounds = m.LoadBar->BoundsRect();
    m.LoadBar->Accessible().Part(1, second);
    EXPECT_EQ((std::vector<std::string>{second.Name, second.Value}),
              (std::vector<std::string>{"CPU 2", "100%"}));
    EXPECT_EQ(second.Bounds.Bottom, m.ClientHeight() - 1);
    EXPECT_GE(second.Bounds.Top, m.ClientHeight() / 2);
    EXPECT_TRUE(m.EachProcessorItem->Enabled());
    EXPECT_EQ(tick(2, {12'500'000}), (std::vector<int>{75}));
    EXPECT_EQ(m.PlainTrayIcon->Hint(), "CPU Usage: 75%");
    EXPECT_FALSE(m.EachProcessorItem->Enabled());
    EXPECT_TRUE(m.EachProcessorItem->Checked()); // the choice stays for a later start
    m.SetEachProcessor(false);
    EXPECT_EQ(m.LoadBar->Accessible().PartCount(), 0);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
}
