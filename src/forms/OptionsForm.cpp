#include "forms/OptionsForm.h"

#include "forms/AboutForm.h"

namespace zq {

TOptionsForm* OptionsForm = nullptr;

namespace {

constexpr const char* kNoLayeredWindows = "You need Windows 2000 or Windows XP for this feature";

// The colour rows, top to bottom: the caption of the row's button, the row's controls, and the
// colour of the strip's bar that the row shows and changes.
struct TColourRow {
    const char* Caption;
    TButton* TOptionsForm::*Button;
    TPanel* TOptionsForm::*Swatch;
    TColor (*Get)(TGradientBar& bar);
    void (*Set)(TGradientBar& bar, TColor colour);
};

const TColourRow kColourRows[] = {
    {"Text", &TOptionsForm::TextColourButton, &TOptionsForm::TextColourSwatch,
     [](TGradientBar& bar) { return bar.Font().Color(); },
     [](TGradientBar& bar, TColor colour) { bar.Font().SetColor(colour); }},
    {"Background", &TOptionsForm::BackgroundColourButton, &TOptionsForm::BackgroundColourSwatch,
     [](TGradientBar& bar) { return bar.BackgroundColor(); },
     [](TGradientBar& bar, TColor colour) { bar.SetBackgroundColor(colour); }},
    {"Progress 1", &TOptionsForm::BarColour1Button, &TOptionsForm::BarColour1Swatch,
     [](TGradientBar& bar) { return bar.BarColor1(); },
     [](TGradientBar& bar, TColor colour) { bar.SetBarColor1(colour); }},
    {"Progress 2", &TOptionsForm::BarColour2Button, &TOptionsForm::BarColour2Swatch,
     [](TGradientBar& bar) { return bar.BarColor2(); },
     [](TGradientBar& bar, TColor colour) { bar.SetBarColor2(colour); }},
    {"Progress 3", &TOptionsForm::BarColour3Button, &TOptionsForm::BarColour3Swatch,
     [](TGradientBar& bar) { return bar.BarColor3(); },
     [](TGradientBar& bar, TColor colour) { bar.SetBarColor3(colour); }},
};
constexpr int kFirstColourRowTop = 80;
constexpr int kColourRowPitch = 30;

TGradientBar& StripBar() {
    return *MeterWindow()->LoadBar;
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
    OpacityTrackBar->SetPosition(192);
    OpacityTrackBar->SetHint(kNoLayeredWindows);
    OpacityTrackBar->OnChange = [this](TObject* s) { OpacityTrackBarChange(s); };
    OpacityLabel = NewLabel(this, WindowGroup, "Opacity level", 42, 114);
    OpacityLabel->SetHint(kNoLayeredWindows);
    NewLabel(this, WindowGroup, "Graph orientation:", 10, 140);
    OrientationBox = NewControl<TComboBox>(this, WindowGroup, {10, 158, 124, 21});
    OrientationBox->SetItems({"Horizontal", "Vertical"});
    OrientationBox->OnChange = [this](TObject* s) { OrientationBoxChange(s); };

    ColoursGroup = NewControl<TGroupBox>(this, this, {158, 6, 170, 235}, "Graph Colors");
    NewLabel(this, ColoursGroup, "Number of", 10, 20);
    NewLabel(this, ColoursGroup, "progress bar colors", 10, 34);
    ColourCountBox = NewControl<TComboBox>(this, ColoursGroup, {10, 50, 48, 21});
    ColourCountBox->SetItems({"1", "2", "3"});
    ColourCountBox->OnChange = [this](TObject* s) { ColourCountBoxChange(s); };
    int top = kFirstColourRowTop;
    for (const TColourRow& row : kColourRows) {
        TButton* button = NewControl<TButton>(this, ColoursGroup, {8, top, 75, 25}, row.Caption);
        button->OnClick = [this](TObject* s) { ColourButtonClick(s); };
        TPanel* swatch = NewControl<TPanel>(this, ColoursGroup, {87, top, 75, 25});
        swatch->SetBevelOuter(TPanelBevel::bvNone);
        swatch->SetBorderStyle(TPanelBorder::bsSingle);
        this->*row.Button = button;
        this->*row.Swatch = swatch;
        top += kColourRowPitch;
    }

    HelpButton = NewControl<TButton>(this, this, {8, 216, 70, 25}, "Help");
    HelpButton->OnClick = [this](TObject* s) { HelpButtonClick(s); };
    OkButton = NewControl<TButton>(this, this, {82, 216, 70, 25}, "OK");
    OkButton->SetDefault(true);
    OkButton->OnClick = [this](TObject* s) { OkButtonClick(s); };

    ColourDialog = new TColorDialog(this);

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
    TMeterWindow& meter = *MeterWindow();
    if (LayeredWindowsSupported()) {
        OpacityTrackBar->SetEnabled(true);
        OpacityTrackBar->SetPosition(meter.AlphaBlendValue());
    } else {
        OpacityTrackBar->SetEnabled(false);
        OpacityLabel->SetEnabled(false);
        OpacityTrackBar->SetPosition(0);
        OpacityLabel->SetShowHint(true);
        OpacityTrackBar->SetShowHint(true);
    }
    SnapWindowCheck->SetChecked(MeterFlags.SnapWindow);
}

void TOptionsForm::FormShow(TObject*) {
    TGradientBar& bar = StripBar();
    int count = bar.BarColorStyle() == cs2Colors ? 1 : bar.BarColorStyle() == cs3Colors ? 2 : 0;
    ColourCountBox->SetItemIndex(count);
    ShowColourRows(count);
    OrientationBox->SetItemIndex(MeterFlags.Horizontal ? 0 : 1);
    for (const TColourRow& row : kColourRows)
        (this->*row.Swatch)->SetColor(row.Get(bar));
    AlwaysOnTopCheck->SetChecked(MeterFlags.AlwaysOnTop);
    NumericDisplayCheck->SetChecked(MeterFlags.NumericDisplay);
}

void TOptionsForm::FormClose(TObject*, TCloseAction&) {
    TMeterWindow& meter = *MeterWindow();
    meter.PlaceInBand(AlwaysOnTopCheck->Checked());
    MeterFlags.AlwaysOnTop = AlwaysOnTopCheck->Checked();
    meter.AlwaysOnTopItem->SetChecked(AlwaysOnTopCheck->Checked());
}

void TOptionsForm::ColourButtonClick(TObject* sender) {
    for (const TColourRow& row : kColourRows) {
        if (this->*row.Button != sender)
            continue;
        if (!ColourDialog->Execute())
            return;
        row.Set(StripBar(), ColourDialog->Color());
        (this->*row.Swatch)->SetColor(row.Get(StripBar()));
        return;
    }
}

void TOptionsForm::ShowColourRows(int index) {
    BarColour3Button->SetVisible(index >= 2);
    BarColour3Swatch->SetVisible(index >= 2);
    BarColour2Button->SetVisible(index >= 1);
    BarColour2Swatch->SetVisible(index >= 1);
}

void TOptionsForm::ColourCountBoxChange(TObject*) {
    int index = ColourCountBox->ItemIndex();
    StripBar().SetBarColorStyle(index == 0 ? cs1Color : index == 1 ? cs2Colors : cs3Colors);
    ShowColourRows(index);
}

void TOptionsForm::NumericDisplayCheckClick(TObject*) {
    bool on = NumericDisplayCheck->Checked();
    StripBar().SetShowPosText(on);
    MeterFlags.NumericDisplay = on;
}

void TOptionsForm::OpacityTrackBarChange(TObject*) {
    MeterWindow()->SetAlphaBlendValue(static_cast<unsigned char>(OpacityTrackBar->Position()));
}

void TOptionsForm::SnapWindowCheckClick(TObject*) {
    MeterWindow()->Magnet->SetActive(SnapWindowCheck->Checked());
    MeterFlags.SnapWindow = SnapWindowCheck->Checked();
}

void TOptionsForm::OrientationBoxChange(TObject*) {
    bool horizontal = OrientationBox->ItemIndex() == 0;
    StripBar().SetDirection(horizontal ? pdLeftToRight : pdBottomToTop);
    MeterFlags.Horizontal = horizontal;
}

void TOptionsForm::OkButtonClick(TObject*) {
    Close();
}

void TOptionsForm::HelpButtonClick(TObject*) {
    AboutForm->ShowPage(TAboutForm::TipsPage);
}

} // namespace zq
