#include "forms/OptionsForm.h"

#include "forms/AboutForm.h"

namespace zq {

TOptionsForm* OptionsForm = nullptr;

namespace {

constexpr const char* kNoLayeredWindows = "You need Windows 2000 or Windows XP for this feature";

// The colour rows, top to bottom: the caption of the row's button, the row's controls, and the
// strip's colour that the row shows and changes.
struct TColorRow {
    const char* Caption;
    TButton* TOptionsForm::*Button;
    TPanel* TOptionsForm::*Swatch;
    TColor MeterSettings::*Color;
    void (TMeterWindow::*Set)(TColor color);
};

const TColorRow kColorRows[] = {
    {"Text", &TOptionsForm::TextColorButton, &TOptionsForm::TextColorSwatch,
     &MeterSettings::TextColor, &TMeterWindow::SetTextColor},
    {"Background", &TOptionsForm::BackgroundColorButton, &TOptionsForm::BackgroundColorSwatch,
     &MeterSettings::BackgroundColor, &TMeterWindow::SetBackgroundColor},
    {"Progress 1", &TOptionsForm::BarColor1Button, &TOptionsForm::BarColor1Swatch,
     &MeterSettings::BarColor1, &TMeterWindow::SetBarColor1},
    {"Progress 2", &TOptionsForm::BarColor2Button, &TOptionsForm::BarColor2Swatch,
     &MeterSettings::BarColor2, &TMeterWindow::SetBarColor2},
    {"Progress 3", &TOptionsForm::BarColor3Button, &TOptionsForm::BarColor3Swatch,
     &MeterSettings::BarColor3, &TMeterWindow::SetBarColor3},
};
constexpr int kFirstColorRowTop = 80;
constexpr int kColorRowPitch = 30;

TMeterWindow& Meter() {
    return *MeterWindow();
}

} // namespace

TOptionsForm::TOptionsForm(TComponent* owner) : TStripDialog(owner) {
    SetCaption("Options");
    SetBorderStyle(TBorderStyle::bsToolWindow);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(336, 249);
    SetDialogKeys(true);

    WindowGroup = NewControl<TGroupBox>(this, this, {8, 6, 144, 202}, "Window Properties");
    AlwaysOnTopCheck = AddCheckBox("Always on top", 20, nullptr);
    NumericDisplayCheck =
        AddCheckBox("Numeric display", 40, &TOptionsForm::NumericDisplayCheckClick);
    SnapWindowCheck = AddCheckBox("Snap window", 60, &TOptionsForm::SnapWindowCheckClick);
    OpacityTrackBar = NewControl<THoverTrackBar>(this, WindowGroup, {6, 82, 132, 30});
    OpacityTrackBar->SetRange(0, 255);
    OpacityTrackBar->SetFrequency(64);
    OpacityTrackBar->SetPosition(kDefaultOpacity);
    OpacityTrackBar->SetHint(kNoLayeredWindows);
    OpacityTrackBar->OnChange = [this](TObject* s) { OpacityTrackBarChange(s); };
    OpacityLabel = NewLabel(this, WindowGroup, "Opacity level", 42, 114);
    OpacityLabel->SetHint(kNoLayeredWindows);
    NewLabel(this, WindowGroup, "Graph orientation:", 10, 140);
    OrientationBox = NewControl<TComboBox>(this, WindowGroup, {10, 158, 124, 21});
    OrientationBox->SetItems({"Horizontal", "Vertical"});
    OrientationBox->OnChange = [this](TObject* s) { OrientationBoxChange(s); };

    ColorsGroup = NewControl<TGroupBox>(this, this, {158, 6, 170, 235}, "Graph Colors");
    NewLabel(this, ColorsGroup, "Number of", 10, 20);
    NewLabel(this, ColorsGroup, "progress bar colors", 10, 34);
    ColorCountBox = NewControl<TComboBox>(this, ColorsGroup, {10, 50, 48, 21});
    ColorCountBox->SetItems({"1", "2", "3"});
    ColorCountBox->OnChange = [this](TObject* s) { ColorCountBoxChange(s); };
    int top = kFirstColorRowTop;
    for (const TColorRow& row : kColorRows) {
        TButton* button = NewControl<TButton>(this, ColorsGroup, {8, top, 75, 25}, row.Caption);
        button->OnClick = [this](TObject* s) { ColorButtonClick(s); };
        TPanel* swatch = NewControl<TPanel>(this, ColorsGroup, {87, top, 75, 25});
        swatch->SetBevelOuter(TPanelBevel::bvNone);
        swatch->SetBorderStyle(TPanelBorder::bsSingle);
        this->*row.Button = button;
        this->*row.Swatch = swatch;
        top += kColorRowPitch;
    }

    HelpButton = NewControl<TButton>(this, this, {8, 216, 70, 25}, "Help");
    HelpButton->OnClick = [this](TObject* s) { HelpButtonClick(s); };
    OkButton = NewControl<TButton>(this, this, {82, 216, 70, 25}, "OK");
    OkButton->SetDefault(true);
    OkButton->OnClick = [this](TObject* s) { OkButtonClick(s); };

    ColorDialog = new TColorDialog(this);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TCheckBox* TOptionsForm::AddCheckBox(const char* caption, int top,
                                     void (TOptionsForm::*handler)(TObject*)) {
    auto* box = NewControl<TCheckBox>(this, WindowGroup, {10, top, 126, 17}, caption);
    box->SetChecked(true); // the design state, before the handler is bound
    if (handler != nullptr)
        box->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    return box;
}

void TOptionsForm::FormCreate(TObject*) {
    const MeterSettings state = Meter().Settings();
    if (LayeredWindowsSupported()) {
        OpacityTrackBar->SetEnabled(true);
        OpacityTrackBar->SetPosition(state.Opacity);
    } else {
        OpacityTrackBar->SetEnabled(false);
        OpacityLabel->SetEnabled(false);
        OpacityTrackBar->SetPosition(0);
        OpacityLabel->SetShowHint(true);
        OpacityTrackBar->SetShowHint(true);
    }
    SnapWindowCheck->SetChecked(state.Snapping);
}

void TOptionsForm::FormShow(TObject*) {
    const TBarColorStyle style = Meter().LoadBar->BarColorStyle();
    const int count = style == cs2Colors ? 1 : style == cs3Colors ? 2 : 0;
    ColorCountBox->SetItemIndex(count);
    ShowColorRows(count);
    const MeterSettings state = Meter().Settings();
    OrientationBox->SetItemIndex(state.Horizontal ? 0 : 1);
    for (const TColorRow& row : kColorRows)
        (this->*row.Swatch)->SetColor(state.*row.Color);
    AlwaysOnTopCheck->SetChecked(state.AlwaysOnTop);
    NumericDisplayCheck->SetChecked(state.NumericText);
}

void TOptionsForm::FormClose(TObject*, TCloseAction&) {
    Meter().SetAlwaysOnTop(AlwaysOnTopCheck->Checked());
}

void TOptionsForm::ColorButtonClick(TObject* sender) {
    for (const TColorRow& row : kColorRows) {
        if (this->*row.Button != sender)
            continue;
        if (!ColorDialog->Execute())
            return;
        (Meter().*row.Set)(ColorDialog->Color());
        (this->*row.Swatch)->SetColor(Meter().Settings().*row.Color);
        return;
    }
}

void TOptionsForm::ShowColorRows(int index) {
    BarColor3Button->SetVisible(index >= 2);
    BarColor3Swatch->SetVisible(index >= 2);
    BarColor2Button->SetVisible(index >= 1);
    BarColor2Swatch->SetVisible(index >= 1);
}

// The number of bar colours is the bar's own: the settings file does not keep it.
void TOptionsForm::ColorCountBoxChange(TObject*) {
    const int index = ColorCountBox->ItemIndex();
    Meter().LoadBar->SetBarColorStyle(index == 0 ? cs1Color : index == 1 ? cs2Colors : cs3Colors);
    ShowColorRows(index);
}

void TOptionsForm::NumericDisplayCheckClick(TObject*) {
    Meter().SetNumericText(NumericDisplayCheck->Checked());
}

void TOptionsForm::OpacityTrackBarChange(TObject*) {
    Meter().SetOpacity(static_cast<unsigned char>(OpacityTrackBar->Position()));
}

void TOptionsForm::SnapWindowCheckClick(TObject*) {
    Meter().SetSnapping(SnapWindowCheck->Checked());
}

void TOptionsForm::OrientationBoxChange(TObject*) {
    Meter().SetHorizontal(OrientationBox->ItemIndex() == 0);
}

void TOptionsForm::OkButtonClick(TObject*) {
    Close();
}

void TOptionsForm::HelpButtonClick(TObject*) {
    AboutForm->ShowPage(TAboutForm::TipsPage);
}

} // namespace zq
