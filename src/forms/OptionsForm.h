#pragma once
// The "Options" window: every option of the strip, changed live on the strip itself (always on
// top: when the window closes). It keeps nothing of its own; the meter saves at exit. It stands
// in for the strip while it is open.
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
    TGroupBox* ColoursGroup;
    TComboBox* ColourCountBox;
    // One row per colour of the bar: a button that opens the colour dialog and the swatch that
    // shows the colour.
    TButton* TextColourButton;
    TPanel* TextColourSwatch;
    TButton* BackgroundColourButton;
    TPanel* BackgroundColourSwatch;
    TButton* BarColour1Button;
    TPanel* BarColour1Swatch;
    TButton* BarColour2Button;
    TPanel* BarColour2Swatch;
    TButton* BarColour3Button;
    TPanel* BarColour3Swatch;
    TButton* HelpButton;
    TButton* OkButton;
    TColorDialog* ColourDialog;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    // Any colour row's button: the dialog, then the bar's colour and the row's swatch.
    void ColourButtonClick(TObject* sender);
    void ColourCountBoxChange(TObject* sender);
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
    void ShowColourRows(int index);
};

extern TOptionsForm* OptionsForm;

} // namespace zq
