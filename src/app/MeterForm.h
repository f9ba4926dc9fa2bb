#pragma once
// The meter window: a borderless, normally topmost strip whose client area is the gradient bar.
// It applies the settings file when created, samples the processor once a second and writes the
// settings back when it closes; its state and the options' setters are the meter window's
// (forms/MeterWindow.h). A message to its window reaches first the listeners of the magnet
// (WM_MOVING) and of the plain and the text tray icon (activation, showing), in the order they
// are created, then the toolkit's message map (toolkit/Controls.cpp) and the form's handlers
// (toolkit/Forms.cpp), which run the events bound below.
#include <memory>
#include <string>
#include <vector>

#include "forms/MeterWindow.h"
#include "toolkit/IniFile.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "tray/TextTrayIcon.h"
#include "tray/TrayIcon.h"

namespace zq {

class TMeterForm : public TMeterWindow {
public:
    explicit TMeterForm(TComponent* owner);

    // The bar, the magnet, the menu and its option items are the meter window's (TMeterWindow).
    TTimer* TickTimer;
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

    void FormCreate(TObject* sender);
    // Writes the settings; when that fails, asks whether to exit without saving (No stays open).
    void FormClose(TObject* sender, TCloseAction& action);
    // The Windows session ends: the settings are written as at close (a failure is not shown);
    // should the session go on after all, the meter keeps running and writes them at close.
    void FormEndSession(TObject* sender);
    // A left button pressed on the strip (the form or its bar) drags it.
    void StripMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // Once a second: sample, bar (and each processor's slice), tray icons, the System
    // Information dialog's sample, then the strip hidden or shown for a full-screen program.
    void Tick(TObject* sender);
    void OptionsItemClick(TObject* sender);
    void SystemInformationItemClick(TObject* sender);
    void NumericItemClick(TObject* sender);
    void AboutItemClick(TObject* sender);
    // Writes or deletes the Run value that starts this program at logon; a failure is raised
    // with the system's reason, the mark showing the registry as it is.
    void StartWithWindowsItemClick(TObject* sender);
    void ExitItemClick(TObject* sender);
    // The number icon or the plain one, and the mark of "&Numeric".
    void SetNumericIcon(bool on) override;
    // Either tray icon's double click hides the strip, or shows it unless a dialog stands in.
    void TrayIconDblClick(TObject* sender);
    // Another start asked for the strip: shown (unless a dialog stands in), even where the user
    // or a full-screen program hid it, and brought to the front.
    void BringIntoView();

private:
    // What both tray icons share: no cycling, the picture (a resource id), the menu, the double
    // click.
    void SetUpTrayIcon(TTrayIcon& icon, int pictureId);
    // The settings file, opened at its first use: at start-up, or at the close should start-up
    // have failed before opening it.
    TIniFile& SettingsFile();
    // Writes the state into the settings file; a failed write raises.
    void WriteSettings();
    // Whether the foreground window runs full screen on the strip's monitor. Allocates nothing.
    bool FullScreenProgramRuns();
    // With "Hide in &Full Screen" on, hides the strip when a full-screen program starts on its
    // monitor and shows it when that ends, unless the user hid or showed it meanwhile.
    void FollowFullScreen();
    std::unique_ptr<TIniFile> FIniFile;
    std::vector<int> FProcessorPercents; // each processor's percent of the last tick
    std::string FHint;                   // the plain tray icon's tool-tip of the last tick
    bool FFullScreen = false;            // the last tick saw a full-screen program (option on)
    bool FHiddenForFullScreen = false;   // the strip is hidden because of it
};

extern TMeterForm* MeterForm;

} // namespace zq
