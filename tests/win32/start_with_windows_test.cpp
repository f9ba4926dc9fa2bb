// "Start with Windows" when the registry refuses (writing and deleting the Run value through the
// real menu: tests/e2e).
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>

#include "Harness.h"
#include "app/MeterForm.h"
#include "app/RunKey.h"
#include "app/StartWithWindows.h"
#include "sysinfo/FileVersionInfo.h"
#include "toolkit/FileStore.h"
#include "toolkit/Exceptions.h"

using namespace zq;

namespace {

// A Run key that refuses every change with "access denied".
struct TRefusingRunKey final : TRunKeyPort {
    std::string Value;
    std::vector<std::string> Writes;
    std::string Read() override { return Value; }
    long Write(const char* command) override {
        Writes.push_back(command != nullptr ? command : "(delete)");
        return ERROR_ACCESS_DENIED;
    }
};

std::string ClickFailure(TMenuItem& item) {
    try {
        item.Click();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

} // namespace

TEST(RunKey, AFailedChangeShowsTheReasonAndTheMarkFollowsTheRegistry) {
    TRefusingRunKey refusing;
    TRunKeyPort* previous = RunKey;
    RunKey = &refusing;
    zqtest::StartProgram("", false);
    TMenuItem& item = *MeterForm->StartWithWindowsItem;
    const std::regex failure(R"(Unable to change HKEY_CURRENT_USER\\Software\\Microsoft\\Windows)"
                             R"(\\CurrentVersion\\Run\\Zentiq: [^(]+ \(error 5\))");

    MeterForm->MeterMenu->OnPopup(MeterForm->MeterMenu);
    EXPECT_FALSE(item.Checked());
    EXPECT_TRUE(std::regex_match(ClickFailure(item), failure));
    EXPECT_FALSE(item.Checked());

    refusing.Value = RunCommand(ProgramFileName());
    MeterForm->MeterMenu->OnPopup(MeterForm->MeterMenu);
    EXPECT_TRUE(item.Checked());
    EXPECT_TRUE(std::regex_match(ClickFailure(item), failure));
    EXPECT_TRUE(item.Checked());
    EXPECT_EQ(refusing.Writes,
              (std::vector<std::string>{RunCommand(ProgramFileName()), "(delete)"}));

    zqtest::EndProgram();
    RunKey = previous;
}
