#include "app/MeterForm.h"

#include "app/ProgramWindows.h"
#include "app/AccessibleNames.h"
#include "app/FullScreen.h"
#include "app/RunKey.h"
#include "app/StartWithWindows.h"
#include "app/SysInfoFeed.h"
#include "cpuusage/CpuUsage.h"
#include "product/Resources.h"
#include "sysinfo/FileVersionInfo.h"
#include "sysinfo/SystemUpTime.h"
#include "toolkit/Application.h"
#include "toolkit/DateTime.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileStore.h"

namespace zq {

TMeterForm* MeterForm = nullptr;

namespace {

// The strip's design colours: the form's own colour (behind the bar), the bar's frame and its
// text.
constexpr TColor kStripColor = ColorRGB(0x8C, 0x9A, 0x7B);
constexpr TColor kBarFrameColor = ColorRGB(0x29, 0x24, 0x0E);
constexpr TColor kBarTextColor = clAqua;

// The local date and time as days since 30 December 1899.
double LocalDateTime() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME ft;
    SystemTimeToFileTime(&local, &ft);
    return FileTimeToDateTime(ULARGE_INTEGER{{ft.dwLowDateTime, ft.dwHighDateTime}}.QuadPart);
}

// Applies each setting to the live window as soon as it is read.
class TSettingsApplier : public IMeterSettingsSink {
public:
    explicit TSettingsApplier(TMeterForm& form) : F(form) {}
    void Background(TColor v) override { F.LoadBar->SetBackgroundColor(v); }
    void Pro1(TColor v) override { F.LoadBar->SetBarColor1(v); }
    void Pro2(TColor v) override { F.LoadBar->SetBarColor2(v); }
    void Pro3(TColor v) override { F.LoadBar->SetBarColor3(v); }
    void Text(TColor v) override { F.LoadBar->Font().SetColor(v); }
    // The size is stored in design units, the place in screen pixels.
    void Height(int v) override { F.SetHeight(F.Scaled(v)); }
    void Width(int v) override { F.SetWidth(F.Scaled(v)); }
    void Left(int v) override { F.SetLeft(v); }
    void Top(int v) override { F.SetTop(v); }
    void Alpha(unsigned char v) override { F.SetAlphaBlendValue(v); }
    void SnapWindow(bool v) override { MeterFlags.SnapWindow = v; }
    void AlwaysTop(bool v) override { MeterFlags.AlwaysOnTop = v; }
    void AlphaOn(bool v) override { F.SetAlphaBlend(v); }
    void ShowNumeric(bool v) override { MeterFlags.NumericDisplay = v; }
    void AllProcessors(bool v) override { MeterFlags.AllProcessors = v; }
    void HideFullScreen(bool v) override { MeterFlags.HideFullScreen = v; }
    void Horizontal(bool v) override { MeterFlags.Horizontal = v; }
    void Welcome(bool v) override { MeterFlags.Welcome = v; }

private:
    TMeterForm& F;
};

} // namespace

TMeterForm::TMeterForm(TComponent* owner) : TMeterWindow(owner) {
    SetBounds(280, 121, 168, 58);
    SetCaption("Zentiq");
    SetBorderIcons(0);
    SetAlphaBlendValue(192);
    TForm::SetColor(kStripColor);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    Font().SetColor(clWindowText);

    LoadBar = NewControl<TGradientBar>(this, this, {0, 0, 160, 31});
    LoadBar->SetAlign(TAlign::alClient);
    LoadBar->SetBackgroundColor(clBtnFace);
    LoadBar->SetBarColor1(kGradientStart);
    LoadBar->SetBarColor2(kGradientEnd);
    LoadBar->SetBorderColor1(kBarFrameColor);
    LoadBar->SetBorderColor2(kBarFrameColor);
    LoadBar->SetDirection(pdRightToLeft);
    LoadBar->SetPosTextSuffix("%");
    LoadBar->Font().SetName("MS Sans Serif");
    LoadBar->Font().SetHeight(-11);
    LoadBar->Font().SetColor(kBarTextColor);
    LoadBar->Font().SetCharset(ANSI_CHARSET);
    LoadBar->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        StripMouseDown(s, b, sh, x, y);
    };

    TickTimer = new TTimer(this);
    TickTimer->OnTimer = [this](TObject* s) { Tick(s); };

    MeterMenu = new TPopupMenu(this);
    TMenuItem& root = MeterMenu->Items();
    AlphaBlendingItem = AddItem(root, "A&lpha Blending", &TMeterForm::AlphaBlendingItemClick);
    AlwaysOnTopItem = AddItem(root, "Always on &Top", &TMeterForm::AlwaysOnTopItemClick);
    AlwaysOnTopItem->SetChecked(true);
    AllProcessorsItem = AddItem(root, "All &Processors", &TMeterForm::AllProcessorsItemClick);
    HideFullScreenItem =
        AddItem(root, "Hide in &Full Screen", &TMeterForm::HideFullScreenItemClick);
    OptionsItem = AddItem(root, "&Options", &TMeterForm::OptionsItemClick);
    SystemInformationItem =
        AddItem(root, "&System Information", &TMeterForm::SystemInformationItemClick);
    TrayIconItem = AddItem(root, "Tray &Icon", nullptr);
    NumericItem = AddItem(*TrayIconItem, "&Numeric", &TMeterForm::NumericItemClick);
    HelpItem = AddItem(root, "&Help", nullptr);
    AboutItem = AddItem(*HelpItem, "&About Zentiq", &TMeterForm::AboutItemClick);
    StartWithWindowsItem =
        AddItem(root, "Start with &Windows", &TMeterForm::StartWithWindowsItemClick);
    ExitItem = AddItem(root, "E&xit", &TMeterForm::ExitItemClick);
    // Start with Windows is checked when the Run value starts this program, read at every popup.
    MeterMenu->OnPopup = [this](TObject*) {
        StartWithWindowsItem->SetChecked(RunsProgram(RunKey->Read(), ProgramFileName()));
    };
    SetPopupMenu(MeterMenu);

    Magnet = new TFormMagnet(this);
    Magnet->SetActive(true);
    Magnet->SetArea(10);

    TIcon picture;
    PlainTrayIcon = new TTrayIcon(this);
    PlainTrayIcon->SetCycleInterval(0);
    // The 32-pixel picture: the shell reduces it to its icon size (16 to 32 pixels, up to 200 %).
    picture.LoadFromResource(GetModuleHandleA(nullptr), kTrayIcon32);
    PlainTrayIcon->SetIcon(picture);
    PlainTrayIcon->SetIconIndex(0);
    PlainTrayIcon->SetPopupMenu(MeterMenu);
    PlainTrayIcon->OnDblClick = [this](TObject* s) { TrayIconDblClick(s); };

    TextTrayIcon = new TTextTrayIcon(this);
    TextTrayIcon->SetHint("CPU Usage");
    TextTrayIcon->SetIconVisible(false);
    TextTrayIcon->SetCycleInterval(0);
    picture.LoadFromResource(GetModuleHandleA(nullptr), kTrayIcon16);
    TextTrayIcon->SetIcon(picture);
    TextTrayIcon->SetIconIndex(0);
    TextTrayIcon->SetBorder(false);
    TextTrayIcon->SetOptions(TOffsetOptions());
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
    font.SetColor(clWindowText);
    TextTrayIcon->SetFont(font);
    TextTrayIcon->SetPopupMenu(MeterMenu);
    TextTrayIcon->OnDblClick = [this](TObject* s) { TrayIconDblClick(s); };

    Machine = new TMachineFacts(this);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        StripMouseDown(s, b, sh, x, y);
    };
    OnEndSession = [this](TObject* s) { FormEndSession(s); };
}

TMenuItem* TMeterForm::AddItem(TMenuItem& parent, const char* caption,
                               void (TMeterForm::*handler)(TObject*)) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    if (handler != nullptr)
        item->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    parent.Add(item);
    return item;
}

void TMeterForm::FormCreate(TObject*) {
    Application->RemoveTaskbarButton();
    MeterFlags = {true, true, true, true, true};
    SetWindowStyle(WindowStyle() & ~WS_CAPTION);

    FIniFile =
        std::make_unique<TIniFile>(ExecutableDirectory() + kSettingsFileName, SystemFileStore());
    TSettingsApplier applier(*this);
    ReadMeterSettings(*FIniFile, applier);
    KeepOnScreen();

    AlphaBlendingItem->SetEnabled(LayeredWindowsSupported());
    AlphaBlendingItem->SetChecked(AlphaBlend() && LayeredWindowsSupported());

    PlaceInBand(MeterFlags.AlwaysOnTop);
    AlwaysOnTopItem->SetChecked(MeterFlags.AlwaysOnTop);
    AllProcessorsItem->SetChecked(MeterFlags.AllProcessors);
    HideFullScreenItem->SetChecked(MeterFlags.HideFullScreen);

    LoadBar->SetShowPosText(MeterFlags.NumericDisplay);
    LoadBar->SetDirection(MeterFlags.Horizontal ? pdLeftToRight : pdBottomToTop);
    SetHeight(Scaled(ReadMeterHeight(*FIniFile)));

    if (MeterFlags.Welcome) {
        PlainTrayIcon->ShowBalloon("Welcome to Zentiq!",
                                   "You can close the program and access options by either\r"
                                   "right clicking this icon or the program.",
                                   TBalloonIconKind::bikInfo, 30);
        MeterFlags.Welcome = false;
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

void TMeterForm::WriteSettings() {
    // Opened here too should FormCreate have failed before opening it.
    if (!FIniFile)
        FIniFile = std::make_unique<TIniFile>(ExecutableDirectory() + kSettingsFileName,
                                              SystemFileStore());
    MeterSettings s;
    s.Background = LoadBar->BackgroundColor();
    s.Pro1 = LoadBar->BarColor1();
    s.Pro2 = LoadBar->BarColor2();
    s.Pro3 = LoadBar->BarColor3();
    s.Text = LoadBar->Font().Color();
    s.Height = Unscaled(TForm::Height());
    s.Width = Unscaled(TForm::Width());
    s.Left = TForm::Left();
    s.Top = TForm::Top();
    s.AlwaysTop = MeterFlags.AlwaysOnTop;
    s.ShowNumeric = MeterFlags.NumericDisplay;
    s.AllProcessors = MeterFlags.AllProcessors;
    s.HideFullScreen = MeterFlags.HideFullScreen;
    s.SnapWindow = MeterFlags.SnapWindow;
    s.AlphaOn = AlphaBlend();
    s.Alpha = AlphaBlendValue();
    s.Horizontal = MeterFlags.Horizontal;
    s.Welcome = MeterFlags.Welcome;
    WriteMeterSettings(*FIniFile, s);
}

void TMeterForm::KeepOnScreen() {
    TPoint place = StripPosition(TForm::Left(), TForm::Top(), TForm::Width(), TForm::Height(),
                                 Screen().WorkAreas());
    if (place.X != TForm::Left() || place.Y != TForm::Top())
        SetBounds(place.X, place.Y, TForm::Width(), TForm::Height());
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
    const bool fullScreen = MeterFlags.HideFullScreen && FullScreenProgramRuns();
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
    int percent =
        LoadPercent(MeterFlags.AllProcessors ? AllProcessorsLoadFraction() : CpuLoadFraction(0));
    LoadBar->SetPosition(percent);
    // The bar fills the strip: the strip's window answers screen readers for it.
    LoadBar->SetAccessibleName(StripAccessibleName(MeterFlags.AllProcessors));
    LoadBar->AccessibleValueChanged();

    PlainTrayIcon->SetHint(LoadHint(percent));
    TextTrayIcon->SetText(std::to_string(percent));

    // The dialog exists once start-up has created all four windows; a tick inside a message box
    // shown during start-up comes before that.
    if (SystemInfoForm != nullptr)
        SystemInformationFeed(percent);
    FollowFullScreen();
}

void TMeterForm::SystemInformationFeed(int percent) {
    SystemInfoForm->LoadSeries->AddXY(LocalDateTime(), percent, {}, clTeeColor);
    FLastPercent = percent;
    FTicked = true;
    if (SystemInfoForm->Visible())
        ShowSystemFigures(percent);
}

void TMeterForm::ShowSystemFigures(int percent) {
    TSystemInfoForm& f = *SystemInfoForm;
    f.StatusBar->SetPanelText(0, LoadHint(percent));
    f.MemoryLoadBar->SetPosition(
        UsedPercent(Machine->AvailPhysMemory(), Machine->TotalPhysMemory()));
    FormatKilobytes(Machine->TotalPhysMemory(), FFeedText);
    f.TotalMemoryText->SetCaption(FFeedText);
    FormatKilobytes(Machine->AvailPhysMemory(), FFeedText);
    f.FreeMemoryText->SetCaption(FFeedText);
    f.SwapUsageBar->SetPosition(
        UsedPercent(Machine->AvailSwapMemory(), Machine->TotalSwapMemory()));
    FormatKilobytes(Machine->TotalSwapMemory(), FFeedText);
    f.SwapSizeText->SetCaption(FFeedText);
    FormatSwapUsage(Machine->TotalSwapMemory(), Machine->AvailSwapMemory(), FFeedText);
    f.StatusBar->SetPanelText(1, FFeedText);
    DurationToText(true, false, false, UpTimeSeconds(SystemUpTime()), FFeedText);
    f.UpTimeText->SetCaption(FFeedText);
}

void TMeterForm::AlphaBlendingItemClick(TObject*) {
    AlphaBlendingItem->SetChecked(!AlphaBlendingItem->Checked());
    SetAlphaBlend(AlphaBlendingItem->Checked());
}

void TMeterForm::AlwaysOnTopItemClick(TObject*) {
    AlwaysOnTopItem->SetChecked(!AlwaysOnTopItem->Checked());
    MeterFlags.AlwaysOnTop = !MeterFlags.AlwaysOnTop;
    PlaceInBand(MeterFlags.AlwaysOnTop);
}

void TMeterForm::AllProcessorsItemClick(TObject*) {
    MeterFlags.AllProcessors = !MeterFlags.AllProcessors;
    AllProcessorsItem->SetChecked(MeterFlags.AllProcessors);
}

void TMeterForm::HideFullScreenItemClick(TObject*) {
    MeterFlags.HideFullScreen = !MeterFlags.HideFullScreen;
    HideFullScreenItem->SetChecked(MeterFlags.HideFullScreen);
}

void TMeterForm::ExitItemClick(TObject*) {
    Close();
}

void TMeterForm::OptionsItemClick(TObject*) {
    OptionsForm->Show();
}

void TMeterForm::SystemInformationItemClick(TObject*) {
    if (FTicked)
        ShowSystemFigures(FLastPercent);
    SystemInfoForm->Show();
}

void TMeterForm::NumericItemClick(TObject*) {
    NumericItem->SetChecked(!NumericItem->Checked());
    TextTrayIcon->SetIconVisible(NumericItem->Checked());
    PlainTrayIcon->SetIconVisible(!NumericItem->Checked());
}

void TMeterForm::TrayIconDblClick(TObject*) {
    FHiddenForFullScreen = false; // the user's choice stands when the full-screen program ends
    if (Visible())
        Hide();
    else
        ShowUnlessStoodIn();
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
