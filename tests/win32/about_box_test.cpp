// The About box: the tips, the one entry that selects a page and shows the box with a fresh
// version label, the links and the keys that close it.
#include <gtest/gtest.h>
#include <windows.h>

#include "Harness.h"
#include "forms/ShellOpen.h"
#include "forms/AboutForm.h"
#include "sysinfo/FileVersionInfo.h"
#include "toolkit/FileStore.h"
#include "toolkit/Application.h"

using namespace zq;

namespace {

const char kTips[] =
    "Tips on How to Use Zentiq\r\n\r\n**Options Screen**\r\n\r\n"
    "-Always on top: Keeps main meter window on top of other \r\nwindows\r\n\r\n"
    "-Numeric Display: Numerically displays CPU % as opposed to \r\n"
    "only a graphical representation\r\n\r\n"
    "-Snap window: When the meter window gets within 10 pixels \r\n"
    "of the edges of the screen, it \"snaps\" to the edge, like glue\r\n\r\n"
    "-Opacity level: In Windows 2000 and Windows XP, this \r\n"
    "option allows you to change the opacity of the meter window\r\n\r\n"
    "-Graph orientation: Ability to change direction of graph \r\nprogress\r\n\r\n"
    "-Number of progress bar colors: You can choose up to three \r\n"
    "colors for the color of the progress bar. As the CPU \r\n"
    "percentage increases, the color will gradually change into \r\nthe next color\r\n\r\n"
    "-Text: Change the text color of the meter window\r\n\r\n"
    "-Background: Click to change the background color of the \r\nmeter window\r\n\r\n"
    "-Progress 1: Changes the color of the first progress bar color. \r\n"
    "If only one progress bar color is used, this will be the color of \r\nthe bar.\r\n\r\n"
    "-Progress 2: Changes color of the second progress bar, if \r\n"
    "more than one progress bar is used.\r\n\r\n"
    "-Progress 3: Changes color of the third progress bar, if three \r\n"
    "colors are used. \r\n\r\n\r\n**Misc Hints**\r\n\r\n"
    "-Right clicking on the meter or the tray icon brings up the \r\nonly menu\r\n\r\n"
    "-Double click the tray icon to hide / show the meter\r\n\r\n"
    "-Moving you mouse over the tray icon shows you the CPU %";

std::string WindowText(TWinControl* control) {
    char text[2048] = {};
    GetWindowTextA(control->Handle(), text, sizeof text);
    return text;
}

struct TRecordingOpener final : TShellOpener {
    void Open(const std::string& address) override { Opened.push_back(address); }
    std::vector<std::string> Opened;
};

// As start-up creates it: after the meter, so that closing the box does not end the program.
struct AboutBoxTest : testing::Test {
    void SetUp() override {
        Application->CreateForm(meter);
        Application->CreateForm(AboutForm);
    }
    void TearDown() override {
        delete std::exchange(AboutForm, nullptr);
        delete meter;
        EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
    }
    TForm* meter = nullptr;
};

} // namespace

TEST_F(AboutBoxTest, TheTipsAreShownAsWritten) {
    EXPECT_EQ(WindowText(AboutForm->TipsMemo), kTips);
}

TEST_F(AboutBoxTest, ShowPageSelectsThePageAndRewritesTheVersionOnEveryShow) {
    ASSERT_EQ(FileVersionText(ProgramFileName()), ""); // the test program has no version resource
    for (int page : {TAboutForm::TipsPage, TAboutForm::AboutPage, TAboutForm::TipsPage}) {
        AboutForm->VersionLabel->SetCaption("stale");
        AboutForm->Pages->SetActivePageIndex(1 - page); // the page the user left it on
        AboutForm->Hide();
        AboutForm->ShowPage(page);
        EXPECT_TRUE(IsWindowVisible(AboutForm->Pages->Pages(page)->Handle()));
        EXPECT_EQ(WindowText(AboutForm->VersionLabel), "Version 1.0.0.x");
    }
}

TEST_F(AboutBoxTest, BothLinksOpenTheMakersAddressAndOtherSendersNothing) {
    TRecordingOpener recorder;
    TShellOpener* previous = SetShellOpener(&recorder);
    AboutForm->MakerLink->Click();
    AboutForm->AddressLink->Click();
    AboutForm->LinkClick(AboutForm->OkButton);
    AboutForm->LinkClick(nullptr);
    SetShellOpener(previous);
    const std::string address = WindowText(AboutForm->AddressLink);
    EXPECT_EQ(recorder.Opened, std::vector<std::string>(2, address));
}

TEST_F(AboutBoxTest, EnterAndEscCloseTheBox) {
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        AboutForm->ShowPage(TAboutForm::AboutPage);
        SetForegroundWindow(AboutForm->Handle());
        Application->ProcessMessages();
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        Application->ProcessMessages();
        EXPECT_FALSE(IsWindowVisible(AboutForm->Handle())) << key;
    }
}
