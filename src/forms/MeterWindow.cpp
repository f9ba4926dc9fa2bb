#include "forms/MeterWindow.h"

#include <vector>

#include "forms/AccessibleNames.h"

namespace zq {

namespace {

TMeterWindow* gMeterWindow = nullptr;
// The dialogs that stand in for the strip while they exist (two).
std::vector<TStripDialog*> gStripDialogs;

// The options the menu marks, in the menu's order: choosing one sets it the other way.
struct TOptionItem {
    const char* Caption;
    TMenuItem* TMeterWindow::*Item;
    bool MeterSettings::*Option;
    void (TMeterWindow::*Set)(bool on);
};

const TOptionItem kOptionItems[] = {
    {"A&lpha Blending", &TMeterWindow::AlphaBlendingItem, &MeterSettings::AlphaBlending,
     &TMeterWindow::SetAlphaBlending},
    {"Always on &Top", &TMeterWindow::AlwaysOnTopItem, &MeterSettings::AlwaysOnTop,
     &TMeterWindow::SetAlwaysOnTop},
    {"All &Processors", &TMeterWindow::AllProcessorsItem, &MeterSettings::AllProcessors,
     &TMeterWindow::SetAllProcessors},
    {"&Each Processor", &TMeterWindow::EachProcessorItem, &MeterSettings::EachProcessor,
     &TMeterWindow::SetEachProcessor},
    {"Hide in &Full Screen", &TMeterWindow::HideFullScreenItem, &MeterSettings::HideFullScreen,
     &TMeterWindow::SetHideFullScreen},
};

// The snap distance in design units.
constexpr int kSnapDistance = 10;

} // namespace

TMeterWindow::TMeterWindow(TComponent* owner) : TForm(owner), FSettings(DefaultMeterSettings()) {
    gMeterWindow = this;
    LoadBar = NewControl<TGradientBar>(this, this, {0, 0, 160, 31});
    LoadBar->SetAlign(TAlign::alClient);
    Magnet = new TFormMagnet(this);
    Magnet->SetActive(true);
    Magnet->SetArea(kSnapDistance);

    MeterMenu = new TPopupMenu(this);
    for (const TOptionItem& row : kOptionItems) {
        auto* item = new TMenuItem(this);
        item->SetCaption(row.Caption);
        item->SetChecked(FSettings.*row.Option);
        item->OnClick = [this, &row](TObject*) { (this->*row.Set)(!(FSettings.*row.Option)); };
        MeterMenu->Items().Add(item);
        this->*row.Item = item;
    }
}

TMeterWindow::~TMeterWindow() {
    if (gMeterWindow == this)
        gMeterWindow = nullptr;
}

MeterSettings TMeterWindow::Settings() const {
    MeterSettings settings = FSettings;
    settings.Width = Unscaled(Width());
    settings.Height = Unscaled(Height());
    settings.Left = Left();
    settings.Top = Top();
    return settings;
}

void TMeterWindow::ApplySettings(const MeterSettings& s) {
    SetBackgroundColor(s.BackgroundColor);
    SetBarColor1(s.BarColor1);
    SetBarColor2(s.BarColor2);
    SetBarColor3(s.BarColor3);
    SetTextColor(s.TextColor);
    SetStripBounds(s.Left, s.Top, s.Width, s.Height);
    SetOpacity(s.Opacity);
    SetAlphaBlending(s.AlphaBlending);
    SetSnapping(s.Snapping);
    SetAlwaysOnTop(s.AlwaysOnTop);
    SetNumericText(s.NumericText);
    SetAllProcessors(s.AllProcessors);
    SetEachProcessor(s.EachProcessor);
    SetHideFullScreen(s.HideFullScreen);
    SetNumericIcon(s.NumericIcon);
    SetHorizontal(s.Horizontal);
    SetWelcome(s.Welcome);
}

void TMeterWindow::SetBackgroundColor(TColor color) {
    FSettings.BackgroundColor = color;
    LoadBar->SetBackgroundColor(color);
}

void TMeterWindow::SetBarColor1(TColor color) {
    FSettings.BarColor1 = color;
    LoadBar->SetBarColor1(color);
}

void TMeterWindow::SetBarColor2(TColor color) {
    FSettings.BarColor2 = color;
    LoadBar->SetBarColor2(color);
}

void TMeterWindow::SetBarColor3(TColor color) {
    FSettings.BarColor3 = color;
    LoadBar->SetBarColor3(color);
}

void TMeterWindow::SetTextColor(TColor color) {
    FSettings.TextColor = color;
    LoadBar->Font().SetColor(color);
}

void TMeterWindow::SetStripBounds(int left, int top, int width, int height) {
    const int pixelWidth = Scaled(width), pixelHeight = Scaled(height);
    const TPoint place = StripPosition(left, top, pixelWidth, pixelHeight, Screen().WorkAreas());
    SetBounds(place.X, place.Y, pixelWidth, pixelHeight);
}

void TMeterWindow::SetAlwaysOnTop(bool on) {
    FSettings.AlwaysOnTop = on;
    AlwaysOnTopItem->SetChecked(on);
    PlaceInBand(on);
}

void TMeterWindow::SetNumericText(bool on) {
    FSettings.NumericText = on;
    LoadBar->SetShowPosText(on);
}

void TMeterWindow::SetSnapping(bool on) {
    FSettings.Snapping = on;
    Magnet->SetActive(on);
}

void TMeterWindow::SetAlphaBlending(bool on) {
    FSettings.AlphaBlending = on;
    SetAlphaBlend(on);
    const bool offered = LayeredWindowsSupported();
    AlphaBlendingItem->SetEnabled(offered);
    AlphaBlendingItem->SetChecked(on && offered);
}

void TMeterWindow::SetOpacity(unsigned char value) {
    FSettings.Opacity = value;
    SetAlphaBlendValue(value);
}

void TMeterWindow::SetAllProcessors(bool on) {
    FSettings.AllProcessors = on;
    AllProcessorsItem->SetChecked(on);
    // The bar fills the strip: the strip's window answers screen readers for it.
    LoadBar->SetAccessibleName(StripAccessibleName(on));
}

void TMeterWindow::SetEachProcessor(bool on) {
    FSettings.EachProcessor = on;
    EachProcessorItem->SetChecked(on);
    LoadBar->SetShowSlices(on);
}

void TMeterWindow::SetHideFullScreen(bool on) {
    FSettings.HideFullScreen = on;
    HideFullScreenItem->SetChecked(on);
}

void TMeterWindow::SetNumericIcon(bool on) {
    FSettings.NumericIcon = on;
}

void TMeterWindow::SetHorizontal(bool on) {
    FSettings.Horizontal = on;
    LoadBar->SetDirection(on ? pdLeftToRight : pdBottomToTop);
}

void TMeterWindow::SetWelcome(bool pending) {
    FSettings.Welcome = pending;
}

void TMeterWindow::ShowUnlessStoodIn(const TCustomForm* closing) {
    for (TStripDialog* dialog : gStripDialogs)
        if (dialog != closing && dialog->Visible())
            return;
    Show();
}

TMeterWindow* MeterWindow() {
    return gMeterWindow;
}

TStripDialog::TStripDialog(TComponent* owner) : TForm(owner) {
    gStripDialogs.push_back(this);
}

TStripDialog::~TStripDialog() {
    std::erase(gStripDialogs, this);
}

void TStripDialog::DoShow() {
    if (TMeterWindow* strip = MeterWindow())
        strip->Hide();
    TForm::DoShow();
}

void TStripDialog::DoClose(TCloseAction& action) {
    if (TMeterWindow* strip = MeterWindow())
        strip->ShowUnlessStoodIn(this);
    TForm::DoClose(action);
}

} // namespace zq
