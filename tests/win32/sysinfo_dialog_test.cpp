// The System Information dialog on the running system, fed by the meter's tick, and the rule
// that shares the strip's visibility between the meter and the dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <regex>

#include "Harness.h"
#include "app/ProgramWindows.h"
#include "common/AllocCounter.h"
#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "toolkit/Application.h"
#include "toolkit/FileStore.h"

using namespace zq;

namespace {

std::string StatusText(TStatusBar* bar, int panel) {
    char text[128] = {};
    SendMessageA(bar->Handle(), SB_GETTEXTA, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text));
    return text;
}

std::string WindowText(TWinControl* control) {
    char text[256] = {};
    GetWindowTextA(control->Handle(), text, sizeof text);
    return text;
}

LVITEMA ListRow(TListView* list, int row, char* text, int size) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = text;
    item.cchTextMax = size;
    SendMessageA(list->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item;
}

// The four windows as start-up creates them (without the settings file of an earlier test).
class SystemInformationTest : public testing::Test {
protected:
    static void SetUpTestSuite() { zqtest::StartProgram(); }
    static void TearDownTestSuite() { zqtest::EndProgram(); }
    void TearDown() override { EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{}); }
};

} // namespace

TEST_F(SystemInformationTest, FormCreateFillsThePagesFromTheRunningSystem) {
    TSystemInfoForm& f = *SystemInfoForm;
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    EXPECT_EQ(f.ProcessorCountText->Caption(), std::to_string(info.dwNumberOfProcessors));
    EXPECT_EQ(f.ProcessorNameText->Caption(), f.Processor->FullName());
    EXPECT_EQ(f.VendorText->Caption(), f.Processor->Vendor());
    EXPECT_FALSE(f.VendorText->Caption().empty());
    // The clock is measured once the message loop runs.
    EXPECT_EQ(f.SpeedText->Caption(), "");
    EXPECT_EQ(f.Processor->Speed(), 0);
    for (const DWORD began = GetTickCount();
         f.SpeedText->Caption().empty() && GetTickCount() - began < 5000; Sleep(5))
        Application->ProcessMessages();
    EXPECT_TRUE(std::regex_match(f.SpeedText->Caption(), std::regex(R"(\d+[.,]\d\d MHz)")))
        << f.SpeedText->Caption();
    EXPECT_GT(f.Processor->Speed(), 0);
    EXPECT_EQ(WindowText(f.OsText), f.OsText->Caption());
    EXPECT_EQ(f.L2UnifiedText->Caption(), std::to_string(f.Processor->Cache()->Level2()) + " Kb");
    EXPECT_EQ(f.L3UnifiedText->Caption(), std::to_string(f.Processor->Cache()->Level3()) + " Kb");

    std::vector<std::string> captions;
    for (int i = 0; i < f.Pages->PageCount(); ++i) {
        char text[32] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(f.Pages->Handle(), TCM_GETITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        captions.push_back(text);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"General", "Processor", "Cache", "Feature Set"}));

    ASSERT_EQ(SendMessageA(f.FeatureList->Handle(), LVM_GETITEMCOUNT, 0, 0), 30);
    char text[32];
    std::vector<std::string> ends;
    for (int row : {0, 1, 2, 3, 27, 28, 29})
        ends.push_back((ListRow(f.FeatureList, row, text, sizeof text), text));
    EXPECT_EQ(ends,
              (std::vector<std::string>{"3DNOW", "3DNOWEX", "ACPI", "APIC", "TM", "TSC", "VME"}));
    for (int row = 0; row < 30; ++row) {
        LVITEMA item = ListRow(f.FeatureList, row, text, sizeof text);
        if (std::string(text) == "FPU") {
            EXPECT_EQ(item.iImage, f.Processor->FeatureSet()->FPU() ? 0 : 1);
        } else if (std::string(text) == "3DNOW") {
            EXPECT_EQ(item.iImage, f.Processor->FeatureSetEx()->AMD3DNow() ? 0 : 1);
        }
    }
    EXPECT_EQ(ImageList_GetImageCount(f.FeatureImages->Handle()), 2);
}

TEST_F(SystemInformationTest, TheHiddenDialogGetsItsFiguresWhenShownAndTheTickAllocatesNothing) {
    TSystemInfoForm& f = *SystemInfoForm;
    ASSERT_FALSE(f.Visible());
    const std::string status = StatusText(f.StatusBar, 0);
    const std::string upTime = WindowText(f.UpTimeText);
    int before = f.LoadSeries->Count();
    Sleep(20);
    MeterForm->Tick(MeterForm->TickTimer);
    EXPECT_EQ(f.LoadSeries->Count(), before + 1); // the history grows while hidden
    EXPECT_EQ(f.LoadSeries->YValue(f.LoadSeries->Count() - 1), MeterForm->LoadBar->Position());
    EXPECT_NE(f.HistoryChart->BottomAxis().Automatic(), true);
    EXPECT_EQ(StatusText(f.StatusBar, 0), status); // the figures wait for the dialog to show
    EXPECT_EQ(WindowText(f.UpTimeText), upTime);

    MeterForm->SystemInformationItem->Click();
    ASSERT_TRUE(f.Visible());
    EXPECT_EQ(StatusText(f.StatusBar, 0),
              "CPU Usage: " + std::to_string(MeterForm->LoadBar->Position()) + "%");
    EXPECT_TRUE(
        std::regex_match(StatusText(f.StatusBar, 1), std::regex(R"(Mem Usage: \d+K / \d+K)")));
    EXPECT_TRUE(std::regex_match(WindowText(f.TotalMemoryText), std::regex(R"([1-9]\d* KB)")));
    EXPECT_TRUE(std::regex_match(WindowText(f.UpTimeText), std::regex(R"(.*\d+ Seconds?\.)")));
    EXPECT_GT(f.MemoryLoadBar->Position(), 0);

    for (int i = 0; i < 3; ++i)
        MeterForm->Tick(MeterForm->TickTimer);
    zqtest::StartCountingAllocations();
    for (int i = 0; i < 30; ++i) {
        Sleep(2);
        MeterForm->Tick(MeterForm->TickTimer);
    }
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    EXPECT_EQ(StatusText(f.StatusBar, 0),
              "CPU Usage: " + std::to_string(MeterForm->LoadBar->Position()) + "%");
    f.Close(); // the windows are the suite's: back to the strip
}

TEST_F(SystemInformationTest, TheDialogAndTheStripShareTheScreen) {
    MeterForm->Show();
    SystemInfoForm->Pages->SetActivePageIndex(3);
    MeterForm->SystemInformationItem->Click();
    EXPECT_TRUE(IsWindowVisible(SystemInfoForm->Handle()));
    EXPECT_FALSE(IsWindowVisible(MeterForm->Handle()));
    EXPECT_EQ(SystemInfoForm->Pages->ActivePageIndex(), 0);
    MeterForm->TrayIconDblClick(MeterForm->PlainTrayIcon); // the dialog owns the strip's visibility
    EXPECT_FALSE(IsWindowVisible(MeterForm->Handle()));

    SendMessageA(SystemInfoForm->Handle(), WM_CLOSE, 0, 0); // the close box
    EXPECT_TRUE(IsWindowVisible(MeterForm->Handle()));

    // With both dialogs open the strip comes back when the last one closes, whichever it is.
    const struct {
        TCustomForm* dialog;
        TButton* close;
    } dialogs[] = {{SystemInfoForm, SystemInfoForm->CloseButton},
                   {OptionsForm, OptionsForm->OkButton}};
    for (int first : {0, 1}) {
        MeterForm->OptionsItem->Click();
        MeterForm->SystemInformationItem->Click();
        dialogs[first].close->Click();
        EXPECT_FALSE(IsWindowVisible(dialogs[first].dialog->Handle())) << first;
        EXPECT_FALSE(IsWindowVisible(MeterForm->Handle())) << first;
        dialogs[1 - first].close->Click();
        EXPECT_TRUE(IsWindowVisible(MeterForm->Handle())) << first;
    }
    EXPECT_EQ(GetWindow(SystemInfoForm->Handle(), GW_OWNER), nullptr); // owned by the desktop
}

TEST(StartUp, ATickAndADoubleClickInsideAFailedPrimingSampleMessageDoNotCrash) {
    // No sampler: the priming sample of FormCreate fails. While its message is up, the timer and
    // the tray keep working, before the other windows exist.
    DeleteFileA((ExecutableDirectory() + "zentiq.ini").c_str());
    auto recording = Application->OnException;
    std::vector<std::string> messages;
    Application->OnException = [&](TObject*, const std::string& message) {
        messages.push_back(message);
        if (messages.size() > 1)
            return;
        InitCpuUsage(); // the sampler works again by the next tick
        MeterForm->Tick(MeterForm->TickTimer);
        MeterForm->TrayIconDblClick(MeterForm->PlainTrayIcon);
    };
    Application->CreateForm(MeterForm);
    Application->OnException = recording;
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(OptionsForm, nullptr);
    EXPECT_EQ(SystemInfoForm, nullptr);
    delete MeterForm;
    MeterForm = nullptr;
    DoneCpuUsage();
    DeleteFileA((ExecutableDirectory() + "zentiq.ini").c_str());
}
