// The meter window as the program builds it: settings applied, the tick feeding the bar and the
// tray icons, and a tick that allocates nothing once the program runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "common/AllocCounter.h"
#include "Harness.h"
#include "app/Unit1.h"
#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FileStore.h"

using namespace zq;

namespace {

class MeterTest : public testing::Test {
protected:
    void SetUp() override {
        settings = ExecutableDirectory() + "zentiq.ini";
        SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(settings.c_str());
        InitCpuUsage();
    }
    void TearDown() override {
        delete Form1;
        Form1 = nullptr;
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
    Application->CreateForm(Form1);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
    EXPECT_EQ((std::vector<int>{Form1->Left(), Form1->Top(), Form1->Width(), Form1->Height()}),
              (std::vector<int>{300, 0, 98, 34}));
    EXPECT_EQ(Form1->WindowStyle() & WS_CAPTION, 0);
    EXPECT_NE(Form1->WindowExStyle() & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(Form1->AlwaysOnTop1->Checked());
    EXPECT_EQ(Form1->ALProgressBar1->Direction(), pdLeftToRight);
    EXPECT_TRUE(Form1->ALProgressBar1->ShowPosText());
    EXPECT_FALSE(MeterFlags.Welcome); // the balloon was shown and the flag cleared

    Sleep(50);
    Form1->Timer1Timer(Form1->Timer1);
    int position = Form1->ALProgressBar1->Position();
    EXPECT_EQ(Form1->VornTrayIcon->Hint(), "CPU Usage: " + std::to_string(position) + "%");
    EXPECT_EQ(Form1->TextTrayIcon->Text(), std::to_string(position));
}

TEST_F(MeterTest, MenuCommandsFlipTheirMarks) {
    Application->CreateForm(Form1);
    Form1->AlwaysOnTop1->Click();
    EXPECT_FALSE(MeterFlags.AlwaysOnTop);
    EXPECT_FALSE(Form1->AlwaysOnTop1->Checked());
    EXPECT_EQ(Form1->WindowExStyle() & WS_EX_TOPMOST, 0);
    Form1->Numeric1->Click();
    EXPECT_TRUE(Form1->TextTrayIcon->IconVisible());
    EXPECT_FALSE(Form1->VornTrayIcon->IconVisible());
    Form1->Numeric1->Click();
    EXPECT_FALSE(Form1->TextTrayIcon->IconVisible());
    EXPECT_TRUE(Form1->VornTrayIcon->IconVisible());
    if (Form1->Alpha->Enabled()) {
        Form1->Alpha->Click();
        Form1->Alpha->Click();
        EXPECT_FALSE(Form1->AlphaBlend());
        EXPECT_EQ(Form1->WindowExStyle() & WS_EX_LAYERED, 0);
    }
}

TEST_F(MeterTest, TheTickAllocatesNothingOnceRunning) {
    Application->CreateForm(Form1);
    for (int i = 0; i < 3; ++i) {
        Sleep(20);
        Form1->Timer1Timer(Form1->Timer1);
    }
    zqtest::StartCountingAllocations();
    for (int i = 0; i < 30; ++i) {
        Sleep(5);
        Form1->Timer1Timer(Form1->Timer1);
    }
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
}

// A file that cannot be written never traps the user: the close asks whether to exit without
// saving (No stays open, Yes ends the program); the end of a session asks nothing.
TEST_F(MeterTest, AReadOnlySettingsFileAsksWhetherToExitWithoutSaving) {
    const std::string original = "[Window]\r\nLeft=10\r\nTop=20\r\n";
    ASSERT_TRUE(SystemFileStore().Write(settings, original));
    SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY);
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
    Application->CreateForm(Form1);
    Form1->Show();
    SendMessageA(Form1->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(asked, std::vector<std::string>{});

    SendMessageA(Form1->Handle(), WM_CLOSE, 0, 0); // as E&xit or any other close does
    const std::string question = Application->Title() + ": Unable to write to " + settings +
                                 "\n\nExit without saving the settings?";
    EXPECT_EQ(asked, std::vector<std::string>{question});
    EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    user.exitWithoutSaving = true;
    SendMessageA(Form1->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(asked, (std::vector<std::string>{question, question}));
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
    EXPECT_EQ(SystemFileStore().Read(settings).data, original);
    SetQuestionAnswerer(nullptr);
}

TEST_F(MeterTest, TheSessionEndWritesTheSettingsAndTheMeterGoesOn) {
    Application->CreateForm(Form1);
    Form1->Show();
    Form1->ALProgressBar1->SetBarColor1(123);
    SendMessageA(Form1->Handle(), WM_ENDSESSION, TRUE, 0);
    const std::string written = Settings();
    EXPECT_EQ(std::count(written.begin(), written.end(), '='), 16);
    EXPECT_NE(written.find("Pro1=123\r\n"), std::string::npos);
    // A session that goes on after all: nothing is written, the meter keeps running and its
    // close writes again.
    Form1->ALProgressBar1->SetBarColor1(456);
    SendMessageA(Form1->Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_NE(Settings().find("Pro1=123\r\n"), std::string::npos);
    EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
    SendMessageA(Form1->Handle(), WM_CLOSE, 0, 0);
    MSG quit; // the main form's close ends the program: the tests' loop must not see that
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_NE(Settings().find("Pro1=456\r\n"), std::string::npos);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
}

TEST_F(MeterTest, TheBarFillsTheClientAreaOfTheDesignSize) {
    // The design size: removing the caption leaves the window's size as it is.
    ASSERT_TRUE(SystemFileStore().Write(settings, "[Window]\r\nHeight=58\r\nWidth=168\r\n"));
    Application->CreateForm(Form1);
    Form1->Show();
    ASSERT_EQ(Form1->Width(), 168);
    RECT client;
    GetClientRect(Form1->Handle(), &client);
    EXPECT_EQ(Form1->ALProgressBar1->BoundsRect(),
              (TRect{0, 0, static_cast<int>(client.right), static_cast<int>(client.bottom)}));
}

TEST_F(MeterTest, AStripOffEveryMonitorStartsAtTheFirstRunPosition) {
    ASSERT_TRUE(SystemFileStore().Write(
        settings, "[Window]\r\nHeight=40\r\nWidth=120\r\nLeft=5000\r\nTop=-3000\r\n"));
    Application->CreateForm(Form1);
    EXPECT_EQ((std::vector<int>{Form1->Left(), Form1->Top(), Form1->Width(), Form1->Height()}),
              (std::vector<int>{300, 0, 120, 40}));
}
