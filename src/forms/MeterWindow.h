#pragma once
// The meter window as the dialogs see it: the strip they hide while they are open and show again
// when they close, the bar, snapping and always-on-top menu item they edit, and the program's
// option flags. The meter window (app's TMeterForm) derives from it, so the dialogs need nothing
// above them.
#include "controls/GradientBar.h"
#include "magnet/FormMagnet.h"
#include "toolkit/Forms.h"
#include "toolkit/Menus.h"

namespace zq {

// The meter's option flags, program-wide for the whole run.
struct TMeterFlags {
    bool AlwaysOnTop = false;
    bool NumericDisplay = false;
    bool SnapWindow = false;
    bool Horizontal = false;
    bool Welcome = false;
    bool AllProcessors = false;  // the load of all processors, not the first one's
    bool HideFullScreen = false; // the strip hides while a program runs full screen on its monitor
};
extern TMeterFlags MeterFlags;

class TMeterWindow : public TForm {
public:
    explicit TMeterWindow(TComponent* owner);
    ~TMeterWindow() override;

    // Shows the strip unless a dialog that stands in for it is open; `closing`, a dialog on its
    // way out, does not count.
    void ShowUnlessStoodIn(const TCustomForm* closing = nullptr);

    // The gradient bar that fills the strip.
    TGradientBar* LoadBar = nullptr;
    // Snaps the strip to the work area's edges while it is dragged.
    TFormMagnet* Magnet = nullptr;
    TMenuItem* AlwaysOnTopItem = nullptr;
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
