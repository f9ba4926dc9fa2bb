#include "forms/AboutForm.h"

#include "product/ProductInfo.h"
#include "product/Resources.h"
#include "forms/AboutText.h"
#include "forms/ShellOpen.h"
#include "sysinfo/FileVersionInfo.h"
#include "toolkit/FileStore.h"

namespace zq {

TAboutForm* AboutForm = nullptr;

namespace {

// Several lines end in a blank: the memo shows them as they are.
const char* const kTips[] = {
    "Tips on How to Use Zentiq",
    "",
    "**Options Screen**",
    "",
    "-Always on top: Keeps main meter window on top of other ",
    "windows",
    "",
    "-Numeric Display: Numerically displays CPU % as opposed to ",
    "only a graphical representation",
    "",
    "-Snap window: When the meter window gets within 10 pixels ",
    "of the edges of the screen, it \"snaps\" to the edge, like glue",
    "",
    "-Opacity level: In Windows 2000 and Windows XP, this ",
    "option allows you to change the opacity of the meter window",
    "",
    "-Graph orientation: Ability to change direction of graph ",
    "progress",
    "",
    "-Number of progress bar colors: You can choose up to three ",
    "colors for the color of the progress bar. As the CPU ",
    "percentage increases, the color will gradually change into ",
    "the next color",
    "",
    "-Text: Change the text color of the meter window",
    "",
    "-Background: Click to change the background color of the ",
    "meter window",
    "",
    "-Progress 1: Changes the color of the first progress bar color. ",
    "If only one progress bar color is used, this will be the color of ",
    "the bar.",
    "",
    "-Progress 2: Changes color of the second progress bar, if ",
    "more than one progress bar is used.",
    "",
    "-Progress 3: Changes color of the third progress bar, if three ",
    "colors are used. ",
    "",
    "",
    "**Misc Hints**",
    "",
    "-Right clicking on the meter or the tray icon brings up the ",
    "only menu",
    "",
    "-Double click the tray icon to hide / show the meter",
    "",
    "-Moving you mouse over the tray icon shows you the CPU %",
};

// The About page's panel: 286 by 273 within a lowered and a raised bevel of one pixel each.
constexpr int kPanelWidth = 286;
constexpr int kBevels = 2;

} // namespace

TAboutForm::TAboutForm(TComponent* owner) : TForm(owner) {
    SetCaption("About Zentiq");
    SetBorderStyle(TBorderStyle::bsToolWindow);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(316, 361);
    SetDialogKeys(true);

    Pages = NewControl<TPageControl>(this, this, {0, 0, 316, 325});

    AboutSheet = new TTabSheet(this);
    AboutSheet->SetPageControl(Pages);
    AboutSheet->SetCaption("About");
    AboutPanel = NewControl<TPanel>(this, AboutSheet, {11, 10, kPanelWidth, 273});
    AboutPanel->SetBevelInner(TPanelBevel::bvRaised);
    AboutPanel->SetBevelOuter(TPanelBevel::bvLowered);

    BannerPanel = NewControl<TPanel>(this, AboutPanel, {kBevels, kBevels, 281, 73});
    BannerPanel->SetBevelOuter(TPanelBevel::bvNone);
    BannerPanel->SetColor(clBlack);
    BannerImage = NewControl<TImage>(this, BannerPanel, {34, 8, 212, 56});
    BannerImage->Picture().LoadFromResource(GetModuleHandleA(nullptr), kBannerBitmap);

    LetteringImage = NewControl<TImage>(this, AboutPanel, {(kPanelWidth - 117) / 2, 82, 117, 54});
    LetteringImage->Picture().LoadFromResource(GetModuleHandleA(nullptr), kLetteringBitmap);
    LetteringImage->Picture().SetTransparentColor(static_cast<TColor>(kLetteringTransparent));
    LetteringImage->SetTransparent(true);

    VersionLabel = AddLabel("Version 1.0.0.10", 138);
    VersionLabel->Font().SetStyle(fsBold);
    CentreInPanel(VersionLabel);
    FreewareLabel = AddLabel("Freeware", 154);
    MakerLink = AddLink(product::Maker, 174);
    MakerLink->SetHint(product::MakerUrl);
    MakerLink->SetShowHint(true);
    AddressLink = AddLink(product::MakerUrl, 190);
    AddressLink->SetHint(product::MakerUrl);

    CopyrightLabel =
        NewControl<TJustifiedLabel>(this, AboutPanel, {(kPanelWidth - 254) / 2, 214, 254, 49});
    CopyrightLabel->SetCaption(product::Copyright);

    TipsSheet = new TTabSheet(this);
    TipsSheet->SetPageControl(Pages);
    TipsSheet->SetCaption("Tips");
    TipsMemo = NewControl<TMemo>(this, TipsSheet, {0, 0, 308, 289});
    TipsMemo->SetAlign(TAlign::alTop);
    TipsMemo->SetScrollBars(TScrollStyle::ssVertical);
    TipsMemo->SetReadOnly(true);
    TipsMemo->SetLines({std::begin(kTips), std::end(kTips)});

    OkButton = NewControl<TButton>(this, this, {233, 331, 75, 25}, "OK");
    OkButton->SetDefault(true);
    OkButton->OnClick = [this](TObject* s) { OkButtonClick(s); };

    Pages->SetActivePageIndex(AboutPage);
    OnShow = [this](TObject* s) { FormShow(s); };
}

TLabel* TAboutForm::AddLabel(const std::string& caption, int top) {
    TLabel* label = NewLabel(this, AboutPanel, caption, 0, top);
    CentreInPanel(label);
    return label;
}

TLabel* TAboutForm::AddLink(const std::string& caption, int top) {
    TLabel* label = AddLabel(caption, top);
    label->Font().SetColor(clBlue);
    label->Font().SetStyle(fsUnderline);
    label->SetCursor(TCursor::crHandPoint);
    label->OnClick = [this](TObject* s) { LinkClick(s); };
    CentreInPanel(label);
    return label;
}

void TAboutForm::CentreInPanel(TControl* control) {
    control->SetLeft((AboutPanel->Width() - control->Width()) / 2);
}

void TAboutForm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    // Owned by the desktop rather than by the application's window, as the System Information
    // dialog is.
    params.WndParent = GetDesktopWindow();
}

void TAboutForm::ShowPage(int pageIndex) {
    Pages->SetActivePageIndex(pageIndex);
    Show();
}

void TAboutForm::FormShow(TObject*) {
    VersionLabel->SetCaption(VersionCaption(FileVersionText(ProgramFileName())));
    CentreInPanel(VersionLabel);
}

void TAboutForm::OkButtonClick(TObject*) {
    Close();
}

void TAboutForm::LinkClick(TObject* sender) {
    if (sender == MakerLink || sender == AddressLink)
        ShellOpener().Open(static_cast<TLabel*>(sender)->Hint());
}

} // namespace zq
