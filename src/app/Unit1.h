#pragma once
// The meter window: a borderless, normally topmost strip whose client area is the gradient bar.
// It reads the settings file when created, samples the processor once a second and writes the
// settings back when it closes.
#include <memory>

#include "app/MeterSettings.h"
#include "forms/MeterWindow.h"
#include "controls/ALProgressBar.h"
#include "magnet/FormMagnet.h"
#include "sysinfo/SystemInfo4.h"
#include "tray/TextTrayIcon.h"
#include "tray/VornTrayIcon.h"
#include "toolkit/Forms.h"
#include "toolkit/IniFile.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"

namespace zq {

class TForm1 : public TMeterWindow {
public:
    explicit TForm1(TComponent* owner);

    // ALProgressBar1, FormMagnet1 and AlwaysOnTop1 are the meter window's (TMeterWindow).
    TTimer* Timer1;
    TPopupMenu* PopupMenu1;
    TMenuItem* Alpha;
    TMenuItem* Options;
    TMenuItem* RAMinfo1;
    TMenuItem* rayIcon1;
    TMenuItem* Numeric1;
    TMenuItem* About1;
    TMenuItem* About2;
    TMenuItem* Exit1;
    TVornTrayIcon* VornTrayIcon;
    TTextTrayIcon* TextTrayIcon;
    TSystemInfo* SystemInfo;

    void FormCreate(TObject* sender);
    // Writes the settings; when that fails, asks whether to exit without saving (No stays open).
    void FormClose(TObject* sender, TCloseAction& action);
    void FormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ALProgressBar1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x,
                                 int y);
    void FormResize(TObject* sender);
    void Timer1Timer(TObject* sender);
    void AlphaClick(TObject* sender);
    void AlwaysOnTop1Click(TObject* sender);
    void Exit1Click(TObject* sender);
    void OptionsClick(TObject* sender);
    void RAMinfo1Click(TObject* sender);
    void Numeric1Click(TObject* sender);
    void About2Click(TObject* sender);
    void VornTrayIconDblClick(TObject* sender);
    // The Windows session ends: the settings are written as at close (a failure is not shown);
    // should the session go on after all, the meter keeps running and writes them at close.
    void FormEndSession(TObject* sender);

private:
    // Writes the sixteen keys from the live window and flags; a failed write raises.
    void WriteSettings();
    // Moves a strip that lies on no monitor's work area to the first-run position.
    void KeepOnScreen();
    // The second half of the tick: the System Information dialog's chart, and while the dialog
    // is visible its figures.
    void SystemInformationFeed(int percent);
    // The dialog's status bar, gauges, labels and up-time. Written only while the dialog is
    // visible (under Wine each text costs tens of microseconds a second), and when it is shown,
    // with the last tick's percent.
    void ShowSystemFigures(int percent);
    TMenuItem* AddItem(TMenuItem& parent, const char* name, const char* caption,
                       void (TForm1::*handler)(TObject*));
    std::unique_ptr<TIniFile> FIniFile;
    // The feed's texts, kept so that a tick allocates nothing once they have grown.
    std::string FFeedText;
    int FLastPercent = 0;
    bool FTicked = false; // a tick has computed a percent
};

extern TForm1* Form1;

} // namespace zq
