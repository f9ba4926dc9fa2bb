#pragma once
// The "Options" window: every option of the strip, changed live through the meter window's
// setters (always on top: when the window closes). It keeps nothing of its own; the meter saves
// its state at exit. It stands in for the strip while it is open.
#include "controls/HoverTrackBar.h"
#include "forms/MeterWindow.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zq {

class TOptionsForm : public TStripDialog {
public:
    explicit TOptionsForm(TComponent* owner);

    TGroupBox* WindowGroup;
    TCheckBox* AlwaysOnTopCheck;
    TCheckBox* NumericDisplayCheck;
    TCheckBox* SnapWindowCheck;
    THoverTrackBar* OpacityTrackBar;
    TLabel* OpacityLabel;
    TComboBox* OrientationBox;
    TGroupBox* ColorsGroup;
    TComboBox* ColorCountBox;
    // One row per colour of the bar: a button that opens the colour dialog and the swatch that
    // shows the colour.
    TButton* TextColorButton;
    TPanel* TextColorSwatch;
    TButton* BackgroundColorButton;
    TPanel* BackgroundColorSwatch;
    TButton* BarColor1Button;
    TPanel* BarColor1Swatch;
    TButton* BarColor2Button;
    TPanel* BarColor2Swatch;
    TButton* BarColor3Button;
    TPanel* BarColor3Swatch;
    TButton* HelpButton;
    TButton* OkButton;
    TColorDialog* ColorDialog;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    // Any colour row's button: the dialog, then the bar's colour and the row's swatch.
    void ColorButtonClick(TObject* sender);
    void ColorCountBoxChange(TObject* sender);
    void NumericDisplayCheckClick(TObject* sender);
    void OpacityTrackBarChange(TObject* sender);
    void SnapWindowCheckClick(TObject* sender);
    void OrientationBoxChange(TObject* sender);
    void OkButtonClick(TObject* sender);
    void HelpButtonClick(TObject* sender);

private:
    TCheckBox* AddCheckBox(const char* caption, int top, void (TOptionsForm::*handler)(TObject*));
    // The second and third bar colours' rows are shown for as many colours as the count's entry
    // selects.
    void ShowColorRows(int index);
};

extern TOptionsForm* OptionsForm;

} // namespace zq
