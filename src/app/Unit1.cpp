#include "app/Unit1.h"

#include "app/Forms.h"
#include "product/Resources.h"
#include "app/SysInfoFeed.h"
#include "cpuusage/CpuUsage.h"
#include "toolkit/Application.h"
#include "sysinfo/SystemUpTime.h"
#include "toolkit/DateTime.h"
#include "toolkit/FileStore.h"

namespace zq {

TForm1* Form1 = nullptr;

namespace {

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
    explicit TSettingsApplier(TForm1& form) : F(form) {}
    void Background(TColor v) override { F.ALProgressBar1->SetBackgroundColor(v); }
    void Pro1(TColor v) override { F.ALProgressBar1->SetBarColor1(v); }
    void Pro2(TColor v) override { F.ALProgressBar1->SetBarColor2(v); }
    void Pro3(TColor v) override { F.ALProgressBar1->SetBarColor3(v); }
    void Text(TColor v) override { F.ALProgressBar1->Font().SetColor(v); }
    void Height(int v) override { F.SetHeight(v); }
    void Width(int v) override { F.SetWidth(v); }
    void Left(int v) override { F.SetLeft(v); }
    void Top(int v) override { F.SetTop(v); }
    void Alpha(unsigned char v) override { F.SetAlphaBlendValue(v); }
    void SnapWindow(bool v) override { MeterFlags.SnapWindow = v; }
    void AlwaysTop(bool v) override { MeterFlags.AlwaysOnTop = v; }
    void AlphaOn(bool v) override { F.SetAlphaBlend(v); }
    void ShowNumeric(bool v) override { MeterFlags.NumericDisplay = v; }
    void Horizontal(bool v) override { MeterFlags.Horizontal = v; }
    void Welcome(bool v) override { MeterFlags.Welcome = v; }

private:
    TForm1& F;
};

} // namespace

TForm1::TForm1(TComponent* owner) : TMeterWindow(owner) {
    SetName("Form1");
    SetBounds(280, 121, 168, 58);
    SetCaption("Zentiq");
    SetBorderIcons(0);
    SetAlphaBlendValue(192);
    TForm::SetColor(8100492);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    Font().SetColor(clWindowText);

    ALProgressBar1 = new TALProgressBar(this);
    ALProgressBar1->SetName("ALProgressBar1");
    ALProgressBar1->SetBounds(0, 0, 160, 31);
    ALProgressBar1->SetParent(this);
    ALProgressBar1->SetAlign(TAlign::alClient);
    ALProgressBar1->SetBackgroundColor(clBtnFace);
    ALProgressBar1->SetBarColor1(4227072);
    ALProgressBar1->SetBarColor2(65408);
    ALProgressBar1->SetBorderColor1(926761);
    ALProgressBar1->SetBorderColor2(926761);
    ALProgressBar1->SetDirection(pdRightToLeft);
    ALProgressBar1->SetPosTextSuffix("%");
    ALProgressBar1->Font().SetName("MS Sans Serif");
    ALProgressBar1->Font().SetHeight(-11);
    ALProgressBar1->Font().SetColor(clAqua);
    ALProgressBar1->Font().SetCharset(ANSI_CHARSET);
    ALProgressBar1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        ALProgressBar1MouseDown(s, b, sh, x, y);
    };

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    TMenuItem& root = PopupMenu1->Items();
    Alpha = AddItem(root, "Alpha", "A&lpha Blendiing", &TForm1::AlphaClick);
    AlwaysOnTop1 = AddItem(root, "AlwaysOnTop1", "Always on &Top", &TForm1::AlwaysOnTop1Click);
    AlwaysOnTop1->SetChecked(true);
    Options = AddItem(root, "Options", "&Options", &TForm1::OptionsClick);
    RAMinfo1 = AddItem(root, "RAMinfo1", "&System Information", &TForm1::RAMinfo1Click);
    rayIcon1 = AddItem(root, "rayIcon1", "Tray &Icon", nullptr);
    Numeric1 = AddItem(*rayIcon1, "Numeric1", "&Numeric", &TForm1::Numeric1Click);
    About1 = AddItem(root, "About1", "&Help", nullptr);
    About2 = AddItem(*About1, "About2", "&About Zentiq", &TForm1::About2Click);
    Exit1 = AddItem(root, "Exit1", "E&xit", &TForm1::Exit1Click);
    SetPopupMenu(PopupMenu1);

    FormMagnet1 = new TFormMagnet(this);
    FormMagnet1->SetName("FormMagnet1");
    FormMagnet1->SetActive(true);
    FormMagnet1->SetArea(10);

    TIcon picture;
    VornTrayIcon = new TVornTrayIcon(this);
    VornTrayIcon->SetName("VornTrayIcon");
    VornTrayIcon->SetCycleInterval(0);
    picture.LoadFromResource(GetModuleHandleA(nullptr), kTrayIcon32);
    VornTrayIcon->SetIcon(picture);
    VornTrayIcon->SetIconIndex(0);
    VornTrayIcon->SetPopupMenu(PopupMenu1);
    VornTrayIcon->OnDblClick = [this](TObject* s) { VornTrayIconDblClick(s); };

    TextTrayIcon = new TTextTrayIcon(this);
    TextTrayIcon->SetName("TextTrayIcon");
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
    TextTrayIcon->SetPopupMenu(PopupMenu1);
    TextTrayIcon->OnDblClick = [this](TObject* s) { VornTrayIconDblClick(s); };

    SystemInfo = new TSystemInfo(this);
    SystemInfo->SetName("SystemInfo");

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        FormMouseDown(s, b, sh, x, y);
    };
    OnResize = [this](TObject* s) { FormResize(s); };
    OnEndSession = [this](TObject* s) { FormEndSession(s); };
}

TMenuItem* TForm1::AddItem(TMenuItem& parent, const char* name, const char* caption,
                           void (TForm1::*handler)(TObject*)) {
    auto* item = new TMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    if (handler != nullptr)
        item->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    parent.Add(item);
    return item;
}

void TForm1::FormCreate(TObject*) {
    Application->RemoveTaskbarButton();
    MeterFlags = {true, true, true, true, true};
    SetWindowStyle(WindowStyle() & static_cast<LONG>(0xFF3FFFFF));

    FIniFile =
        std::make_unique<TIniFile>(ExecutableDirectory() + kSettingsFileName, SystemFileStore());
    TSettingsApplier applier(*this);
    ReadMeterSettings(*FIniFile, applier);
    KeepOnScreen();

    Alpha->SetEnabled(LayeredWindowsSupported());
    Alpha->SetChecked(AlphaBlend() && LayeredWindowsSupported());

    PlaceInBand(MeterFlags.AlwaysOnTop);
    AlwaysOnTop1->SetChecked(MeterFlags.AlwaysOnTop);

    ALProgressBar1->SetShowPosText(MeterFlags.NumericDisplay);
    ALProgressBar1->SetDirection(MeterFlags.Horizontal ? pdLeftToRight : pdBottomToTop);
    SetHeight(ReadMeterHeight(*FIniFile));

    if (MeterFlags.Welcome) {
        VornTrayIcon->ShowBalloon("Welcome to Zentiq!",
                                  "You can close the program and access options by either\r"
                                  "right clicking this icon or the program.",
                                  TBalloonIconKind::bikInfo, 30);
        MeterFlags.Welcome = false;
    }

    TakeCpuSample();
}

void TForm1::FormClose(TObject*, TCloseAction&) {
    WriteSettings();
    FIniFile.reset();
}

void TForm1::FormEndSession(TObject*) {
    WriteSettings();
}

void TForm1::WriteSettings() {
    // Opened here too should FormCreate have failed before opening it.
    if (!FIniFile)
        FIniFile = std::make_unique<TIniFile>(ExecutableDirectory() + kSettingsFileName,
                                              SystemFileStore());
    MeterSettings s;
    s.Background = ALProgressBar1->BackgroundColor();
    s.Pro1 = ALProgressBar1->BarColor1();
    s.Pro2 = ALProgressBar1->BarColor2();
    s.Pro3 = ALProgressBar1->BarColor3();
    s.Text = ALProgressBar1->Font().Color();
    s.Height = TForm::Height();
    s.Width = TForm::Width();
    s.Left = TForm::Left();
    s.Top = TForm::Top();
    s.AlwaysTop = MeterFlags.AlwaysOnTop;
    s.ShowNumeric = MeterFlags.NumericDisplay;
    s.SnapWindow = MeterFlags.SnapWindow;
    s.AlphaOn = AlphaBlend();
    s.Alpha = AlphaBlendValue();
    s.Horizontal = MeterFlags.Horizontal;
    s.Welcome = MeterFlags.Welcome;
    WriteMeterSettings(*FIniFile, s);
}

void TForm1::KeepOnScreen() {
    TPoint place = StripPosition(TForm::Left(), TForm::Top(), TForm::Width(), TForm::Height(),
                                 Screen().WorkAreas());
    if (place.X != TForm::Left() || place.Y != TForm::Top())
        SetBounds(place.X, place.Y, TForm::Width(), TForm::Height());
}

void TForm1::FormMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != TMouseButton::mbLeft)
        return;
    BeginSystemMove();
}

void TForm1::ALProgressBar1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x,
                                     int y) {
    FormMouseDown(sender, button, shift, x, y);
}

void TForm1::FormResize(TObject*) {}

void TForm1::Timer1Timer(TObject*) {
    TakeCpuSample();
    int percent = LoadPercent(CpuLoadFraction(0));
    ALProgressBar1->SetPosition(percent);

    VornTrayIcon->SetHint(LoadHint(percent));
    TextTrayIcon->SetText(std::to_string(percent));

    // The dialog exists once start-up has created all four windows; a tick inside a message box
    // shown during start-up comes before that.
    if (MemoryForm != nullptr)
        SystemInformationFeed(percent);
}

void TForm1::SystemInformationFeed(int percent) {
    MemoryForm->Series1->AddXY(LocalDateTime(), percent, {}, clTeeColor);
    FLastPercent = percent;
    FTicked = true;
    if (MemoryForm->Visible())
        ShowSystemFigures(percent);
}

void TForm1::ShowSystemFigures(int percent) {
    TMemoryForm& f = *MemoryForm;
    f.StatusBar1->SetPanelText(0, LoadHint(percent));
    f.ALProgressBar2->SetPosition(
        UsedPercent(SystemInfo->AvailPhysMemory(), SystemInfo->TotalPhysMemory()));
    FormatKilobytes(SystemInfo->TotalPhysMemory(), FFeedText);
    f.TotalPhy->SetCaption(FFeedText);
    FormatKilobytes(SystemInfo->AvailPhysMemory(), FFeedText);
    f.FreePhy->SetCaption(FFeedText);
    f.ALProgressBar3->SetPosition(
        UsedPercent(SystemInfo->AvailSwapMemory(), SystemInfo->TotalSwapMemory()));
    FormatKilobytes(SystemInfo->TotalSwapMemory(), FFeedText);
    f.SwapSize->SetCaption(FFeedText);
    FormatSwapUsage(SystemInfo->TotalSwapMemory(), SystemInfo->AvailSwapMemory(), FFeedText);
    f.StatusBar1->SetPanelText(1, FFeedText);
    DurationToText(true, false, false, UpTimeSeconds(SystemUpTime()), FFeedText);
    f.lblSysUpTime->SetCaption(FFeedText);
}

void TForm1::AlphaClick(TObject*) {
    Alpha->SetChecked(!Alpha->Checked());
    SetAlphaBlend(Alpha->Checked());
}

void TForm1::AlwaysOnTop1Click(TObject*) {
    AlwaysOnTop1->SetChecked(!AlwaysOnTop1->Checked());
    MeterFlags.AlwaysOnTop = !MeterFlags.AlwaysOnTop;
    PlaceInBand(MeterFlags.AlwaysOnTop);
}

void TForm1::Exit1Click(TObject*) {
    Close();
}

void TForm1::OptionsClick(TObject*) {
    Form2->Show(); // its FormShow hides the strip
}

void TForm1::RAMinfo1Click(TObject*) {
    Hide();
    if (FTicked)
        ShowSystemFigures(FLastPercent);
    MemoryForm->Show();
}

void TForm1::Numeric1Click(TObject*) {
    Numeric1->SetChecked(!Numeric1->Checked());
    TextTrayIcon->SetIconVisible(Numeric1->Checked());
    VornTrayIcon->SetIconVisible(!Numeric1->Checked());
}

void TForm1::VornTrayIconDblClick(TObject*) {
    if (Visible())
        Hide();
    else if (!(Form2 != nullptr && Form2->Visible()) &&
             !(MemoryForm != nullptr && MemoryForm->Visible()))
        Show();
}

void TForm1::About2Click(TObject*) {
    if (Form3 != nullptr)
        Form3->ShowPage(TForm3::AboutPage);
}

} // namespace zq
