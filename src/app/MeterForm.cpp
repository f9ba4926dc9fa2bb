#include "app/MeterForm.h"

#include <algorithm>

#include "forms/AccessibleNames.h"
#include "app/FullScreen.h"
#include "app/ProgramWindows.h"
#include "app/RunKey.h"
#include "app/SettingsFile.h"
#include "app/StartWithWindows.h"
#include "cpuusage/CpuUsage.h"
#include "forms/LoadText.h"
#include "product/Resources.h"
#include "sysinfo/FileVersionInfo.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileStore.h"

namespace zq {

TMeterForm* MeterForm = nullptr;

namespace {

// The strip's design colours: the form's own colour (behind the bar) and the bar's frame.
constexpr TColor kStripColor = ColorRGB(0x8C, 0x9A, 0x7B);
constexpr TColor kBarFrameColor = ColorRGB(0x29, 0x24, 0x0E);

// The meter's commands, after the options' items (TMeterWindow): the item, the item it is under
// (none: the menu's top level) and what choosing it does (none: it holds a submenu).
struct TCommandItem {
    const char* Caption;
    TMenuItem* TMeterForm::*Item;
    TMenuItem* TMeterForm::*Parent;
    void (TMeterForm::*Click)(TObject* sender);
};

const TCommandItem kCommandItems[] = {
    {"&Options", &TMeterForm::OptionsItem, nullptr, &TMeterForm::OptionsItemClick},
    {"&System Information", &TMeterForm::SystemInformationItem, nullptr,
     &TMeterForm::SystemInformationItemClick},
    {"Tray &Icon", &TMeterForm::TrayIconItem, nullptr, nullptr},
    {"&Numeric", &TMeterForm::NumericItem, &TMeterForm::TrayIconItem,
     &TMeterForm::NumericItemClick},
    {"&Help", &TMeterForm::HelpItem, nullptr, nullptr},
    {"&About Zentiq", &TMeterForm::AboutItem, &TMeterForm::HelpItem, &TMeterForm::AboutItemClick},
    {"Start with &Windows", &TMeterForm::StartWithWindowsItem, nullptr,
     &TMeterForm::StartWithWindowsItemClick},
    {"E&xit", &TMeterForm::ExitItem, nullptr, &TMeterForm::ExitItemClick},
};

// The meter's typeface and size: "MS Sans Serif", 8 points.
void SetMeterFont(TFont& font) {
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
}

} // namespace

TMeterForm::TMeterForm(TComponent* owner) : TMeterWindow(owner) {
    SetBounds(280, 121, 168, 58);
    SetCaption("Zentiq");
    SetBorderIcons(0);
    TForm::SetColor(kStripColor);
    SetMeterFont(Font());
    Font().SetColor(clWindowText);

    // The bar's colours, direction and number, and the strip's opacity, are settings:
    // FormCreate applies them.
    LoadBar->SetBorderColor1(kBarFrameColor);
    LoadBar->SetBorderColor2(kBarFrameColor);
    LoadBar->SetPosTextSuffix("%");
    SetMeterFont(LoadBar->Font());
    LoadBar->Font().SetCharset(ANSI_CHARSET);
    LoadBar->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        StripMouseDown(s, b, sh, x, y);
    };

    // With Each Processor on, a screen reader finds one child of the strip per processor.
    LoadBar->Accessible().PartCount = [this] {
        return LoadBar->ShowSlices() ? static_cast<int>(LoadBar->SlicePositions().size()) : 0;
    };
    LoadBar->Accessible().Part = [this](int index, TAccessibleItem& part) {
        const auto entry = static_cast<std::size_t>(index);
        DescribeProcessor(index, LoadBar->SlicePositions()[entry], part);
        const TRect slice = LoadBar->SliceBounds(entry); // the bar's bounds come in part.Bounds
        const int x = part.Bounds.Left, y = part.Bounds.Top;
        part.Bounds = {x + slice.Left, y + slice.Top, x + slice.Right, y + slice.Bottom};
    };

    FHint.reserve(48); // the longest tool-tip: "CPU Usage: 100% (busiest processor 100%)"
    TickTimer = new TTimer(this);
    TickTimer->OnTimer = [this](TObject* s) { Tick(s); };

    for (const TCommandItem& row : kCommandItems) {
        auto* item = new TMenuItem(this);
        item->SetCaption(row.Caption);
        if (row.Click != nullptr)
            item->OnClick = [this, &row](TObject* s) { (this->*row.Click)(s); };
        (row.Parent != nullptr ? *(this->*row.Parent) : MeterMenu->Items()).Add(item);
        this->*row.Item = item;
    }
    // Start with Windows is checked when the Run value starts this program, read at every popup;
    // one processor has no slices to tell apart.
    MeterMenu->OnPopup = [this](TObject*) {
        StartWithWindowsItem->SetChecked(RunsProgram(RunKey->Read(), ProgramFileName()));
        EachProcessorItem->SetEnabled(ProcessorLoadFractions().size() > 1);
    };
    SetPopupMenu(MeterMenu);

    PlainTrayIcon = new TTrayIcon(this);
    // The 32-pixel picture: the shell reduces it to its icon size (16 to 32 pixels, up to 200 %).
    SetUpTrayIcon(*PlainTrayIcon, kTrayIcon32);
    TextTrayIcon = new TTextTrayIcon(this);
    TextTrayIcon->SetHint("CPU Usage");
    TextTrayIcon->SetIconVisible(false);
    SetUpTrayIcon(*TextTrayIcon, kTrayIcon16);
    TextTrayIcon->SetBorder(false);
    TextTrayIcon->SetOptions(TOffsetOptions());
    TFont font;
    SetMeterFont(font);
    font.SetColor(clWindowText);
    TextTrayIcon->SetFont(font);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        StripMouseDown(s, b, sh, x, y);
    };
    OnEndSession = [this](TObject* s) { FormEndSession(s); };
}

void TMeterForm::SetUpTrayIcon(TTrayIcon& icon, int pictureId) {
    TIcon picture;
    picture.LoadFromResource(GetModuleHandleA(nullptr), pictureId);
    icon.SetCycleInterval(0);
    icon.SetIcon(picture);
    icon.SetIconIndex(0);
    icon.SetPopupMenu(MeterMenu);
    icon.OnDblClick = [this](TObject* s) { TrayIconDblClick(s); };
}

void TMeterForm::FormCreate(TObject*) {
    Application->RemoveTaskbarButton();
    SetWindowStyle(WindowStyle() & ~WS_CAPTION);
    ApplySettings(ReadMeterSettings(SettingsFile()));
    if (Settings().Welcome) {
        (Settings().NumericIcon ? TextTrayIcon : PlainTrayIcon)
            ->ShowBalloon("Welcome to Zentiq!",
                          "You can close the program and access options by either\r"
                          "right clicking this icon or the program.",
                          TBalloonIconKind::bikInfo, 30);
        SetWelcome(false);
    }
    TakeCpuSample();
}

void TMeterForm::FormClose(TObject*, TCloseAction& action) {
    try {
        WriteSettings();
    } catch (const EIniFileException& e) {
        // Never a trap: the user leaves without saving, or stays and nothing is lost.
        if (!AskYesNo(Handle(), e.Message() + "\n\nExit without saving the settings?",
                      Application->Title())) {
            action = TCloseAction::caNone;
            return;
        }
    }
    FIniFile.reset();
}

void TMeterForm::FormEndSession(TObject*) {
    try {
        WriteSettings();
    } catch (const std::exception&) {
        // The session ends all the same: nothing to show and nobody to answer.
    }
}

TIniFile& TMeterForm::SettingsFile() {
    if (!FIniFile)
        FIniFile = OpenSettingsFile();
    return *FIniFile;
}

void TMeterForm::WriteSettings() {
    WriteMeterSettings(SettingsFile(), Settings());
}

bool TMeterForm::FullScreenProgramRuns() {
    HWND wnd = GetForegroundWindow();
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    if (wnd == nullptr || !GetWindowInfo(wnd, &info))
        return false;
    char name[8] = {};
    GetClassNameA(wnd, name, sizeof name);
    const TForegroundWindow w{
        RectOf(info.rcWindow),
        RectOf(info.rcClient),
        (info.dwStyle & (WS_VISIBLE | WS_MINIMIZE)) == WS_VISIBLE,
        (info.dwStyle & WS_CAPTION) == WS_CAPTION,
        (info.dwStyle & WS_MAXIMIZE) != 0,
        // The desktop (WorkerW: its window on later versions while the wallpaper changes).
        wnd == Handle() || wnd == GetShellWindow() || wnd == GetDesktopWindow() ||
            lstrcmpA(name, "WorkerW") == 0,
    };
    return RunsFullScreen(w, BoundsRect(), Screen().Monitors());
}

void TMeterForm::FollowFullScreen() {
    const bool fullScreen = Settings().HideFullScreen && FullScreenProgramRuns();
    if (fullScreen == FFullScreen)
        return;
    FFullScreen = fullScreen;
    if (fullScreen && Visible()) {
        Hide();
        FHiddenForFullScreen = true;
    } else if (!fullScreen && FHiddenForFullScreen) {
        FHiddenForFullScreen = false;
        ShowUnlessStoodIn();
    }
}

void TMeterForm::StripMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != TMouseButton::mbLeft)
        return;
    BeginSystemMove();
}

void TMeterForm::Tick(TObject*) {
    TakeCpuSample();
    const MeterSettings settings = Settings();
    const int percent =
        LoadPercent(settings.AllProcessors ? AllProcessorsLoadFraction() : CpuLoadFraction(0));
    const std::span<const double> loads = ProcessorLoadFractions();
    FProcessorPercents.resize(loads.size()); // grows only with the count
    std::ranges::transform(loads, FProcessorPercents.begin(), LoadPercent);
    LoadBar->SetPositions(percent, FProcessorPercents);
    LoadBar->AccessibleValueChanged();

    const bool each = settings.EachProcessor && FProcessorPercents.size() > 1;
    LoadHint(percent, each ? std::span<const int>(FProcessorPercents) : std::span<const int>(),
             FHint);
    PlainTrayIcon->SetHint(FHint);
    TextTrayIcon->SetText(std::to_string(percent));

    // The dialog exists once start-up has created all four windows; a tick inside a message box
    // shown during start-up comes before that.
    if (SystemInfoForm != nullptr)
        SystemInfoForm->AddLoadSample(percent);
    FollowFullScreen();
}

void TMeterForm::ExitItemClick(TObject*) {
    Close();
}

void TMeterForm::OptionsItemClick(TObject*) {
    OptionsForm->Show();
}

void TMeterForm::SystemInformationItemClick(TObject*) {
    SystemInfoForm->Show();
}

void TMeterForm::NumericItemClick(TObject*) {
    SetNumericIcon(!Settings().NumericIcon);
}

void TMeterForm::SetNumericIcon(bool on) {
    TMeterWindow::SetNumericIcon(on);
    NumericItem->SetChecked(on);
    // The one to be shown first, as a shell that holds neither would; none added twice.
    if (TextTrayIcon->IconVisible() != on)
        TextTrayIcon->SetIconVisible(on);
    if (PlainTrayIcon->IconVisible() == on)
        PlainTrayIcon->SetIconVisible(!on);
}

void TMeterForm::TrayIconDblClick(TObject*) {
    FHiddenForFullScreen = false; // the user's choice stands when the full-screen program ends
    if (Visible())
        Hide();
    else
        ShowUnlessStoodIn();
}

void TMeterForm::BringIntoView() {
    FHiddenForFullScreen = false; // as the user's double click on the tray icon
    ShowUnlessStoodIn();
    if (Visible()) {
        BringToFront();
        SetForegroundWindow(Handle());
    }
}

void TMeterForm::AboutItemClick(TObject*) {
    if (AboutForm != nullptr)
        AboutForm->ShowPage(TAboutForm::AboutPage);
}

void TMeterForm::StartWithWindowsItemClick(TObject*) {
    const std::string command = RunCommand(ProgramFileName());
    const long error = RunKey->Write(StartWithWindowsItem->Checked() ? nullptr : command.c_str());
    MeterMenu->OnPopup(MeterMenu);
    if (error != 0)
        throw Exception(SystemErrorText(
            "Unable to change HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
            "\\Zentiq: ",
            static_cast<unsigned long>(error)));
}

} // namespace zq
