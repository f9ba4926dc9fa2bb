#include "forms/about.h"

#include "product/ProductInfo.h"
#include "product/Resources.h"
#include "forms/AboutText.h"
#include "forms/ShellOpen.h"
#include "sysinfo/FileVersionInfo.h"

namespace zq {

TForm3* Form3 = nullptr;

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

TForm3::TForm3(TComponent* owner) : TForm(owner) {
    SetName("Form3");
    SetCaption("About Zentiq");
    SetBorderStyle(TBorderStyle::bsToolWindow);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(316, 361);
    SetDialogKeys(true);

    PageControl1 = new TPageControl(this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetParent(this);
    PageControl1->SetBounds(0, 0, 316, 325);

    // About
    TabSheet1 = new TTabSheet(this);
    TabSheet1->SetName("TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("About");
    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(TabSheet1);
    Panel1->SetBevelInner(TPanelBevel::bvRaised);
    Panel1->SetBevelOuter(TPanelBevel::bvLowered);
    Panel1->SetBounds(11, 10, kPanelWidth, 273);

    Panel2 = new TPanel(this);
    Panel2->SetName("Panel2");
    Panel2->SetParent(Panel1);
    Panel2->SetBevelOuter(TPanelBevel::bvNone);
    Panel2->SetColor(clBlack);
    Panel2->SetBounds(kBevels, kBevels, 281, 73);
    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(Panel2);
    Image1->SetBounds(34, 8, 212, 56);
    Image1->Picture().LoadFromResource(GetModuleHandleA(nullptr), kBannerBitmap);

    Image2 = new TImage(this);
    Image2->SetName("Image2");
    Image2->SetParent(Panel1);
    Image2->SetBounds((kPanelWidth - 117) / 2, 82, 117, 54);
    Image2->Picture().LoadFromResource(GetModuleHandleA(nullptr), kLetteringBitmap);
    Image2->Picture().SetTransparentColor(static_cast<TColor>(kLetteringTransparent));
    Image2->SetTransparent(true);

    VersionLabel = AddLabel("VersionLabel", "Version 1.0.0.10", 138);
    VersionLabel->Font().SetStyle(fsBold);
    CentreInPanel(VersionLabel);
    Label1 = AddLabel("Label1", "Freeware", 154);
    Label3 = AddLink("Label3", product::Maker, 174);
    Label3->SetHint(product::MakerUrl);
    Label3->SetShowHint(true);
    Label5 = AddLink("Label5", product::MakerUrl, 190);
    Label5->SetHint(product::MakerUrl);

    CopyrightLabel = new TJstLabel(this);
    CopyrightLabel->SetName("CopyrightLabel");
    CopyrightLabel->SetParent(Panel1);
    CopyrightLabel->SetBounds((kPanelWidth - 254) / 2, 214, 254, 49);
    CopyrightLabel->SetCaption(product::Copyright);

    // Tips
    TabSheet2 = new TTabSheet(this);
    TabSheet2->SetName("TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption("Tips");
    Memo1 = new TMemo(this);
    Memo1->SetName("Memo1");
    Memo1->SetParent(TabSheet2);
    Memo1->SetBounds(0, 0, 308, 289);
    Memo1->SetAlign(TAlign::alTop);
    Memo1->SetScrollBars(TScrollStyle::ssVertical);
    Memo1->SetReadOnly(true);
    Memo1->SetLines({std::begin(kTips), std::end(kTips)});

    OKButton = new TButton(this);
    OKButton->SetName("OKButton");
    OKButton->SetParent(this);
    OKButton->SetCaption("OK");
    OKButton->SetDefault(true);
    OKButton->SetBounds(233, 331, 75, 25);
    OKButton->OnClick = [this](TObject* s) { OKButtonClick(s); };

    PageControl1->SetActivePageIndex(AboutPage);
    OnShow = [this](TObject* s) { FormShow(s); };
}

TLabel* TForm3::AddLabel(const char* name, const std::string& caption, int top) {
    TLabel* label = NewLabel(this, Panel1, caption, 0, top);
    CentreInPanel(label);
    return label;
}

TLabel* TForm3::AddLink(const char* name, const std::string& caption, int top) {
    TLabel* label = AddLabel(name, caption, top);
    label->Font().SetColor(clBlue);
    label->Font().SetStyle(fsUnderline);
    label->SetCursor(TCursor::crHandPoint);
    label->OnClick = [this](TObject* s) { Label3Click(s); };
    CentreInPanel(label);
    return label;
}

void TForm3::CentreInPanel(TControl* control) {
    control->SetLeft((kPanelWidth - control->Width()) / 2);
}

void TForm3::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    // Owned by the desktop rather than by the application's window, as the System Information
    // dialog is.
    params.WndParent = GetDesktopWindow();
}

void TForm3::ShowPage(int pageIndex) {
    PageControl1->SetActivePageIndex(pageIndex);
    Show();
}

void TForm3::FormShow(TObject*) {
    VersionLabel->SetCaption(VersionCaption(FileVersionText(ProgramFileName())));
    CentreInPanel(VersionLabel);
}

void TForm3::OKButtonClick(TObject*) {
    Close();
}

void TForm3::Label3Click(TObject* sender) {
    if (auto* label = dynamic_cast<TCustomLabel*>(sender))
        ShellOpener().Open(label->Hint());
}

} // namespace zq
