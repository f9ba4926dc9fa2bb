#pragma once
// The meter window: a borderless, normally topmost strip whose client area is the gradient bar.
// It reads the settings file when created, samples the processor once a second and writes the
// settings back when it closes. A message to its window reaches first the listeners of the
// magnet (WM_MOVING) and of the plain and the text tray icon (activation, showing), in the order
// the constructor creates them, then the toolkit's message map (toolkit/Controls.cpp) and the
// form's handlers (toolkit/Forms.cpp), which run the events bound below.
#include <memory>

#include "app/MeterSettings.h"
#include "controls/GradientBar.h"
#include "forms/MeterWindow.h"
#include "magnet/FormMagnet.h"
#include "sysinfo/MachineFacts.h"
#include "toolkit/Forms.h"
#include "toolkit/IniFile.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "tray/TextTrayIcon.h"
#include "tray/TrayIcon.h"

namespace zq {

class TMeterForm : public TMeterWindow {
public:
    explicit TMeterForm(TComponent* owner);

    // The bar, the magnet and the always-on-top item are the meter window's (TMeterWindow).
    TTimer* TickTimer;
    TPopupMenu* MeterMenu;
    TMenuItem* AlphaBlendingItem;
    TMenuItem* AllProcessorsItem;
    TMenuItem* HideFullScreenItem;
    TMenuItem* OptionsItem;
    TMenuItem* SystemInformationItem;
    TMenuItem* TrayIconItem;
    TMenuItem* NumericItem;
    TMenuItem* HelpItem;
    TMenuItem* AboutItem;
    TMenuItem* StartWithWindowsItem;
    TMenuItem* ExitItem;
    TTrayIcon* PlainTrayIcon;
    TTextTrayIcon* TextTrayIcon;
    TMachineFacts* Machine;

    void FormCreate(TObject* sender);
    // Writes the settings; when that fails, asks whether to exit without saving (No stays open).
    void FormClose(TObject* sender, TCloseAction& action);
    // The Windows session ends: the settings are written as at close (a failure is not shown);
    // should the session go on after all, the meter keeps running and writes them at close.
    void FormEndSession(TObject* sender);
    // A left button pressed on the strip (the form or its bar) drags it.
    void StripMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // Once a second: sample, bar, tray icons, the System Information feed, then the strip hidden
    // or shown for a full-screen program.
    void Tick(TObject* sender);
    void AlphaBlendingItemClick(TObject* sender);
    void AlwaysOnTopItemClick(TObject* sender);
    void AllProcessorsItemClick(TObject* sender);
    void HideFullScreenItemClick(TObject* sender);
    void OptionsItemClick(TObject* sender);
    void SystemInformationItemClick(TObject* sender);
    void NumericItemClick(TObject* sender);
    void AboutItemClick(TObject* sender);
    // Writes or deletes the Run value that starts this program at logon; a failure is raised
    // with the system's reason, the mark showing the registry as it is.
    void StartWithWindowsItemClick(TObject* sender);
    void ExitItemClick(TObject* sender);
    // Either tray icon's double click hides the strip, or shows it unless a dialog stands in.
    void TrayIconDblClick(TObject* sender);
    // Another start asked for the strip: shown (unless a dialog stands in), even where the user
    // or a full-screen program hid it, and brought to the front.
    void BringIntoView();

private:
    // Writes the eighteen keys from the live window and flags; a failed write raises.
    void WriteSettings();
    // Moves a strip that lies on no monitor's work area to the first-run position.
    void KeepOnScreen();
    // Whether the foreground window runs full screen on the strip's monitor. Allocates nothing.
    bool FullScreenProgramRuns();
    // With "Hide in &Full Screen" on, hides the strip when a full-screen program starts on its
    // monitor and shows it when that ends, unless the user hid or showed it meanwhile.
    void FollowFullScreen();
    // The second half of the tick: the System Information dialog's chart, and while the dialog
    // is visible its figures.
    void SystemInformationFeed(int percent);
    // The dialog's status bar, gauges, labels and up-time. Written only while the dialog is
    // visible (under Wine each text costs tens of microseconds a second), and when it is shown,
    // with the last tick's percent.
    void ShowSystemFigures(int percent);
    TMenuItem* AddItem(TMenuItem& parent, const char* caption,
                       void (TMeterForm::*handler)(TObject*));
    std::unique_ptr<TIniFile> FIniFile;
    // The feed's texts, kept so that a tick allocates nothing once they have grown.
    std::string FFeedText;
    int FLastPercent = 0;
    bool FTicked = false;              // a tick has computed a percent
    bool FFullScreen = false;          // the last tick saw a full-screen program (option on)
    bool FHiddenForFullScreen = false; // the strip is hidden because of it
};

extern TMeterForm* MeterForm;

} // namespace zq
