#pragma once
// The meter window as the dialogs see it: the strip with its bar, its snapping and the menu items
// that mark its options, and the meter's one state (MeterSettings). Every option has one setter,
// which changes the strip, the option's menu mark and the state together: the menu, the Options
// dialog and start-up (ApplySettings) all go through them, and the settings file is written from
// Settings(). The program's meter window (app's TMeterForm) derives from it, so the dialogs need
// nothing above them.
#include "controls/GradientBar.h"
#include "forms/MeterSettings.h"
#include "magnet/FormMagnet.h"
#include "toolkit/Forms.h"
#include "toolkit/Menus.h"

namespace zq {

class TMeterWindow : public TForm {
public:
    explicit TMeterWindow(TComponent* owner);
    ~TMeterWindow() override;

    // The state: every option and colour as last set, the size (design units) and the place as
    // the window has them now (the user drags and sizes it).
    MeterSettings Settings() const;
    // Every setting at once, as start-up applies the file's.
    void ApplySettings(const MeterSettings& settings);

    void SetBackgroundColor(TColor color);
    void SetBarColor1(TColor color);
    void SetBarColor2(TColor color);
    void SetBarColor3(TColor color);
    void SetTextColor(TColor color);
    // The size in design units, laid out at the window's resolution, and the place in screen
    // pixels; a strip that would lie on no monitor's work area goes to the first-run position.
    void SetStripBounds(int left, int top, int width, int height);
    void SetAlwaysOnTop(bool on);
    void SetNumericText(bool on);
    void SetSnapping(bool on);
    // The menu item is enabled, and shows the mark, only where the system offers opacity.
    void SetAlphaBlending(bool on);
    void SetOpacity(unsigned char value);
    void SetAllProcessors(bool on);
    // One slice of the bar per processor (the meter greys the item with one processor).
    void SetEachProcessor(bool on);
    void SetHideFullScreen(bool on);
    // The number icon in the tray instead of the plain one; the meter's tray icons and their
    // menu item follow it.
    virtual void SetNumericIcon(bool on);
    void SetHorizontal(bool on);
    // Whether the welcome balloon is still to be shown (once, at the first start).
    void SetWelcome(bool pending);

    // Shows the strip unless a dialog that stands in for it is open; `closing`, a dialog on its
    // way out, does not count.
    void ShowUnlessStoodIn(const TCustomForm* closing = nullptr);

    // The gradient bar that fills the strip.
    TGradientBar* LoadBar;
    // Snaps the strip to the work area's edges while it is dragged.
    TFormMagnet* Magnet;
    // The strip's menu: first the options' items below, each flipping its option; the meter adds
    // its commands after them.
    TPopupMenu* MeterMenu;
    TMenuItem* AlphaBlendingItem;
    TMenuItem* AlwaysOnTopItem;
    TMenuItem* AllProcessorsItem;
    TMenuItem* EachProcessorItem;
    TMenuItem* HideFullScreenItem;

private:
    // The options and colours; the size and place are the window's own.
    MeterSettings FSettings;
};

// The meter window while it exists, else nullptr.
TMeterWindow* MeterWindow();

// A dialog that stands in for the strip (Options, System Information): the strip is hidden
// while the dialog is shown and comes back when it closes, unless another such dialog is still
// open.
class TStripDialog : public TForm {
public:
    explicit TStripDialog(TComponent* owner);
    ~TStripDialog() override;

protected:
    // The strip hides before OnShow runs.
    void DoShow() override;
    // The strip comes back before OnClose runs.
    void DoClose(TCloseAction& action) override;
};

} // namespace zq
