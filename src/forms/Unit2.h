#pragma once
// The "Options" window: every option of the strip, changed live on the strip itself (always on
// top: when the window closes). It keeps nothing of its own; the meter saves at exit.
#include "controls/HintTrackBar.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zq {

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* owner);

    TGroupBox* GroupBox1;
    TCheckBox* AlwaysTop;
    TCheckBox* NumericDisplay;
    TCheckBox* Snap;
    THintTrackBar* TrackBar;
    TLabel* TransLabel;
    TLabel* Label4;
    TComboBox* Orientationbox;
    TGroupBox* GroupBox2;
    TLabel* Label1;
    TLabel* Label2;
    TComboBox* ColorNum;
    TButton* Button2;
    TPanel* Panel5;
    TButton* BackButton;
    TPanel* Panel1;
    TButton* Pro1Button;
    TPanel* Panel2;
    TButton* Pro2Button;
    TPanel* Panel3;
    TButton* Pro3Button;
    TPanel* Panel4;
    TButton* Button1;
    TButton* Button5;
    TColorDialog* ColorDialog1;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void BackButtonClick(TObject* sender);
    void Pro1ButtonClick(TObject* sender);
    void Pro2ButtonClick(TObject* sender);
    void Pro3ButtonClick(TObject* sender);
    void Button2Click(TObject* sender);
    void ColorNumChange(TObject* sender);
    void NumericDisplayClick(TObject* sender);
    void TrackBarChange(TObject* sender);
    void SnapClick(TObject* sender);
    void OrientationboxChange(TObject* sender);
    void Button5Click(TObject* sender);
    void Button1Click(TObject* sender);

private:
    TCheckBox* AddCheckBox(const char* name, const char* caption, int top,
                           void (TForm2::*handler)(TObject*));
    TButton* AddColorRow(const char* name, const char* caption, TPanel*& swatch,
                         const char* swatchName, int top, void (TForm2::*handler)(TObject*));
    // Runs the colour dialog; when a colour is chosen, writes it with `set` and paints the
    // swatch with the value read back with `get`.
    template <typename Get, typename Set> void ChooseColor(TPanel* swatch, Get get, Set set);
    // Progress 2 and 3 are shown for as many colours as the count's entry selects.
    void ShowColorRows(int index);
};

extern TForm2* Form2;

} // namespace zq
