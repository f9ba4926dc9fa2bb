#include "forms/Unit2.h"

#include "forms/MeterWindow.h"
#include "forms/Unit4.h"
#include "forms/about.h"

namespace zq {

TForm2* Form2 = nullptr;

namespace {
constexpr const char* kNoLayeredWindows = "You need Windows 2000 or Windows XP for this feature";
}

TForm2::TForm2(TComponent* owner) : TForm(owner) {
    SetName("Form2");
    SetCaption("Options");
    SetBorderStyle(TBorderStyle::bsToolWindow);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(336, 249);
    SetDialogKeys(true);

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName("GroupBox1");
    GroupBox1->SetParent(this);
    GroupBox1->SetCaption("Window Properties");
    GroupBox1->SetBounds(8, 6, 144, 202);
    AlwaysTop = AddCheckBox("AlwaysTop", "Always on top", 20, nullptr);
    NumericDisplay =
        AddCheckBox("NumericDisplay", "Numeric display", 40, &TForm2::NumericDisplayClick);
    Snap = AddCheckBox("Snap", "Snap window", 60, &TForm2::SnapClick);
    TrackBar = new THintTrackBar(this);
    TrackBar->SetName("TrackBar");
    TrackBar->SetParent(GroupBox1);
    TrackBar->SetBounds(6, 82, 132, 30);
    TrackBar->SetRange(0, 255);
    TrackBar->SetFrequency(64);
    TrackBar->SetPosition(192);
    TrackBar->SetHint(kNoLayeredWindows);
    TrackBar->OnChange = [this](TObject* s) { TrackBarChange(s); };
    TransLabel = NewLabel(this, GroupBox1, "Opacity level", 42, 114);
    TransLabel->SetHint(kNoLayeredWindows);
    Label4 = NewLabel(this, GroupBox1, "Graph orientation:", 10, 140);
    Orientationbox = new TComboBox(this);
    Orientationbox->SetName("Orientationbox");
    Orientationbox->SetParent(GroupBox1);
    Orientationbox->SetBounds(10, 158, 124, 21);
    Orientationbox->SetItems({"Horizontal", "Vertical"});
    Orientationbox->OnChange = [this](TObject* s) { OrientationboxChange(s); };

    GroupBox2 = new TGroupBox(this);
    GroupBox2->SetName("GroupBox2");
    GroupBox2->SetParent(this);
    GroupBox2->SetCaption("Graph Colors");
    GroupBox2->SetBounds(158, 6, 170, 235);
    Label1 = NewLabel(this, GroupBox2, "Number of", 10, 20);
    Label2 = NewLabel(this, GroupBox2, "progress bar colors", 10, 34);
    ColorNum = new TComboBox(this);
    ColorNum->SetName("ColorNum");
    ColorNum->SetParent(GroupBox2);
    ColorNum->SetBounds(10, 50, 48, 21);
    ColorNum->SetItems({"1", "2", "3"});
    ColorNum->OnChange = [this](TObject* s) { ColorNumChange(s); };
    Button2 = AddColorRow("Button2", "Text", Panel5, "Panel5", 80, &TForm2::Button2Click);
    BackButton =
        AddColorRow("BackButton", "Background", Panel1, "Panel1", 110, &TForm2::BackButtonClick);
    Pro1Button =
        AddColorRow("Pro1Button", "Progress 1", Panel2, "Panel2", 140, &TForm2::Pro1ButtonClick);
    Pro2Button =
        AddColorRow("Pro2Button", "Progress 2", Panel3, "Panel3", 170, &TForm2::Pro2ButtonClick);
    Pro3Button =
        AddColorRow("Pro3Button", "Progress 3", Panel4, "Panel4", 200, &TForm2::Pro3ButtonClick);

    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetCaption("Help");
    Button1->SetBounds(8, 216, 70, 25);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button5 = new TButton(this);
    Button5->SetName("Button5");
    Button5->SetParent(this);
    Button5->SetCaption("OK");
    Button5->SetDefault(true);
    Button5->SetBounds(82, 216, 70, 25);
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };

    ColorDialog1 = new TColorDialog(this);
    ColorDialog1->SetName("ColorDialog1");

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TCheckBox* TForm2::AddCheckBox(const char* name, const char* caption, int top,
                               void (TForm2::*handler)(TObject*)) {
    auto* box = new TCheckBox(this);
    box->SetName(name);
    box->SetParent(GroupBox1);
    box->SetCaption(caption);
    box->SetBounds(10, top, 126, 17);
    box->SetChecked(true); // the design state, before the handler is bound
    if (handler != nullptr)
        box->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    return box;
}

TButton* TForm2::AddColorRow(const char* name, const char* caption, TPanel*& swatch,
                             const char* swatchName, int top, void (TForm2::*handler)(TObject*)) {
    auto* button = new TButton(this);
    button->SetName(name);
    button->SetParent(GroupBox2);
    button->SetCaption(caption);
    button->SetBounds(8, top, 75, 25);
    button->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    swatch = new TPanel(this);
    swatch->SetName(swatchName);
    swatch->SetParent(GroupBox2);
    swatch->SetBevelOuter(TPanelBevel::bvNone);
    swatch->SetBorderStyle(TPanelBorder::bsSingle);
    swatch->SetBounds(87, top, 75, 25);
    return button;
}

void TForm2::FormCreate(TObject*) {
    TMeterWindow& meter = *MeterWindow();
    if (LayeredWindowsSupported()) {
        TrackBar->SetEnabled(true);
        TrackBar->SetPosition(meter.AlphaBlendValue());
    } else {
        TrackBar->SetEnabled(false);
        TransLabel->SetEnabled(false);
        TrackBar->SetPosition(0);
        TransLabel->SetShowHint(true);
        TrackBar->SetShowHint(true);
    }
    Snap->SetChecked(MeterFlags.SnapWindow);
}

void TForm2::FormShow(TObject*) {
    TMeterWindow& meter = *MeterWindow();
    TALProgressBar& bar = *meter.LoadBar;
    meter.Hide();
    int count = bar.BarColorStyle() == cs2Colors ? 1 : bar.BarColorStyle() == cs3Colors ? 2 : 0;
    ColorNum->SetItemIndex(count);
    ShowColorRows(count);
    Orientationbox->SetItemIndex(MeterFlags.Horizontal ? 0 : 1);
    Panel1->SetColor(bar.BackgroundColor());
    Panel2->SetColor(bar.BarColor1());
    Panel3->SetColor(bar.BarColor2());
    Panel4->SetColor(bar.BarColor3());
    Panel5->SetColor(bar.Font().Color());
    AlwaysTop->SetChecked(MeterFlags.AlwaysOnTop);
    NumericDisplay->SetChecked(MeterFlags.NumericDisplay);
}

void TForm2::FormClose(TObject*, TCloseAction&) {
    TMeterWindow& meter = *MeterWindow();
    if (MemoryForm == nullptr || !MemoryForm->Visible())
        meter.Show();
    meter.PlaceInBand(AlwaysTop->Checked());
    MeterFlags.AlwaysOnTop = AlwaysTop->Checked();
    meter.AlwaysOnTopItem->SetChecked(AlwaysTop->Checked());
}

template <typename Get, typename Set> void TForm2::ChooseColor(TPanel* swatch, Get get, Set set) {
    if (!ColorDialog1->Execute())
        return;
    set(ColorDialog1->Color());
    swatch->SetColor(get());
}

void TForm2::BackButtonClick(TObject*) {
    TALProgressBar& bar = *MeterWindow()->LoadBar;
    ChooseColor(
        Panel1, [&] { return bar.BackgroundColor(); },
        [&](TColor c) { bar.SetBackgroundColor(c); });
}

void TForm2::Pro1ButtonClick(TObject*) {
    TALProgressBar& bar = *MeterWindow()->LoadBar;
    ChooseColor(
        Panel2, [&] { return bar.BarColor1(); }, [&](TColor c) { bar.SetBarColor1(c); });
}

void TForm2::Pro2ButtonClick(TObject*) {
    TALProgressBar& bar = *MeterWindow()->LoadBar;
    ChooseColor(
        Panel3, [&] { return bar.BarColor2(); }, [&](TColor c) { bar.SetBarColor2(c); });
}

void TForm2::Pro3ButtonClick(TObject*) {
    TALProgressBar& bar = *MeterWindow()->LoadBar;
    ChooseColor(
        Panel4, [&] { return bar.BarColor3(); }, [&](TColor c) { bar.SetBarColor3(c); });
}

void TForm2::Button2Click(TObject*) {
    TALProgressBar& bar = *MeterWindow()->LoadBar;
    ChooseColor(
        Panel5, [&] { return bar.Font().Color(); }, [&](TColor c) { bar.Font().SetColor(c); });
}

void TForm2::ShowColorRows(int index) {
    Pro3Button->SetVisible(index >= 2);
    Panel4->SetVisible(index >= 2);
    Pro2Button->SetVisible(index >= 1);
    Panel3->SetVisible(index >= 1);
}

void TForm2::ColorNumChange(TObject*) {
    int index = ColorNum->ItemIndex();
    TALProgressBar& bar = *MeterWindow()->LoadBar;
    bar.SetBarColorStyle(index == 0 ? cs1Color : index == 1 ? cs2Colors : cs3Colors);
    ShowColorRows(index);
}

void TForm2::NumericDisplayClick(TObject*) {
    bool on = NumericDisplay->Checked();
    MeterWindow()->LoadBar->SetShowPosText(on);
    MeterFlags.NumericDisplay = on;
}

void TForm2::TrackBarChange(TObject*) {
    MeterWindow()->SetAlphaBlendValue(static_cast<unsigned char>(TrackBar->Position()));
}

void TForm2::SnapClick(TObject*) {
    MeterWindow()->Magnet->SetActive(Snap->Checked());
    MeterFlags.SnapWindow = Snap->Checked();
}

void TForm2::OrientationboxChange(TObject*) {
    bool horizontal = Orientationbox->ItemIndex() == 0;
    MeterWindow()->LoadBar->SetDirection(horizontal ? pdLeftToRight : pdBottomToTop);
    MeterFlags.Horizontal = horizontal;
}

void TForm2::Button5Click(TObject*) {
    Close();
}

void TForm2::Button1Click(TObject*) {
    Form3->ShowPage(TForm3::TipsPage);
}

} // namespace zq
