#include "forms/Unit4.h"

#include "forms/MeterWindow.h"
#include "forms/ProcessorPages.h"
#include "forms/OptionsForm.h"
#include "sysinfo/OsVersion.h"
#include "sysinfo/SystemUpTime.h"

namespace zq {

TMemoryForm* MemoryForm = nullptr;

namespace {
constexpr TColor kGridColor = 4358656; // 0x00428200
constexpr double kSecond = 1.0 / 86400;
} // namespace

TMemoryForm::TMemoryForm(TComponent* owner) : TForm(owner) {
    SetName("MemoryForm");
    SetCaption("System Information");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(419, 353);
    SetDialogKeys(true);

    PageControl1 = new TPageControl(this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetParent(this);
    PageControl1->SetBounds(4, 4, 411, 294);

    // General
    tabSystem = AddPage("tabSystem", "General");
    tabSystem->OnResize = [this](TObject* s) { tabSystemResize(s); };
    Label22 = NewLabel(this, tabSystem, "Operating System:", 8, 8);
    lblOS = NewLabel(this, tabSystem, "lblOS", 150, 8);
    Label6 = NewLabel(this, tabSystem, "Number of Processors:", 8, 26);
    lblProcNum = NewLabel(this, tabSystem, "lblProcNum", 150, 26);

    CPUBox = new TGroupBox(this);
    CPUBox->SetName("CPUBox");
    CPUBox->SetParent(tabSystem);
    CPUBox->SetCaption("CPU Usage History");
    CPUBox->SetBounds(8, 46, 377, 110);
    CPUPanel = new TPanel(this);
    CPUPanel->SetName("CPUPanel");
    CPUPanel->SetParent(CPUBox);
    CPUPanel->SetBevelOuter(TPanelBevel::bvNone);
    CPUPanel->SetBorderStyle(TPanelBorder::bsSingle);
    CPUPanel->SetBounds(8, 18, 361, 85);
    Chart1 = new TChart(this);
    Chart1->SetName("Chart1");
    Chart1->SetBounds(0, 0, 600, 83);
    Chart1->SetParent(CPUPanel);
    Chart1->SetAlign(TAlign::alRight); // only the newest part shows
    Chart1->SetColor(clSilver);
    Chart1->LeftAxis().SetMinMax(-1, 101);
    Chart1->LeftAxis().SetIncrement(5);
    Chart1->LeftAxis().SetGridColor(kGridColor);
    Chart1->BottomAxis().SetIncrement(5 * kSecond);
    Chart1->BottomAxis().SetGridColor(kGridColor);
    Series1 = new TFastLineSeries(this);
    Series1->SetName("Series1");
    Series1->SetSeriesColor(clLime);
    Series1->SetParentChart(Chart1);
    Series1->OnAfterAdd = [this](TObject* s, int i) { Series1AfterAdd(s, i); };

    Label1 = NewLabel(this, tabSystem, "System Up Time:", 8, 164);
    lblSysUpTime = NewLabel(this, tabSystem, "lblSysUpTime", 150, 164);
    Label24 = NewLabel(this, tabSystem, "Total Physical Memory:", 8, 188);
    TotalPhy = NewLabel(this, tabSystem, "TotalPhy", 150, 188);
    Label25 = NewLabel(this, tabSystem, "Free Physical Memory:", 8, 208);
    FreePhy = NewLabel(this, tabSystem, "FreePhy", 150, 208);
    Label26 = NewLabel(this, tabSystem, "Swap File Size:", 8, 228);
    SwapSize = NewLabel(this, tabSystem, "SwapSize", 150, 228);
    ALProgressBar2 = new TALProgressBar(this);
    ALProgressBar2->SetName("ALProgressBar2");
    ALProgressBar2->SetParent(tabSystem);
    ALProgressBar2->SetBounds(248, 186, 137, 20);
    ALProgressBar2->SetBackgroundColor(clBtnFace);
    ALProgressBar2->SetPosTextPrefix("Memory Load ");
    ALProgressBar2->SetPosTextSuffix("%");
    ALProgressBar3 = new TALProgressBar(this);
    ALProgressBar3->SetName("ALProgressBar3");
    ALProgressBar3->SetParent(tabSystem);
    ALProgressBar3->SetBounds(248, 216, 137, 20);
    ALProgressBar3->SetBackgroundColor(clBtnFace);
    ALProgressBar3->SetPosTextPrefix("Swap Usage ");
    ALProgressBar3->SetPosTextSuffix("%");

    // Processor
    TabSheet1 = AddPage("TabSheet1", "Processor");
    lblName = AddPair(TabSheet1, "Processor:", "lblName", "%CpuIdent.name%", 8);
    lblVendor = AddPair(TabSheet1, "Vendor:", "lblVendor", "%CpuIdent.vendor%", 28);
    lblSpeed = AddPair(TabSheet1, "Speed:", "lblSpeed", "%CpuIdent.speed%", 48);
    lblSerial = AddPair(TabSheet1, "Serial number:", "lblSerial", "%CpuIdent.serial%", 68);
    lblFDiv = AddPair(TabSheet1, "FDiv Bug:", "lblFDiv", "%CpuIdent.fdiv%", 88);
    lblType = AddPair(TabSheet1, "Cpu Type:", "lblType", "%CpuIdent.overdrive%", 108);
    lblMMX = AddPair(TabSheet1, "Extensions:", "lblMMX", "%CpuIdent.MMX%", 128);
    lblSIMD = NewLabel(this, TabSheet1, "%CpuIdent.FeatureSet.SIMD%", 110, 148);
    lbl3DNow = NewLabel(this, TabSheet1, "%CpuIdent.FeatureSetEx.3DNow%", 110, 168);

    // Cache
    TabSheet2 = AddPage("TabSheet2", "Cache");
    lblL1Data = AddPair(TabSheet2, "Level 1 Data:", "lblL1Data", "%CpuIdent.Cache.L1Data%", 8);
    lblL1Code = AddPair(TabSheet2, "Level 1 Code:", "lblL1Code", "%CpuIdent.Cache.L1Code%", 28);
    lblLevel1 = AddPair(TabSheet2, "Level 1 Unified:", "lblLevel1", "%CpuIdent.Cache.Level1%", 48);
    lblLevel2 = AddPair(TabSheet2, "Level 2 Unified:", "lblLevel2", "%CpuIdent.Cache.Level2%", 68);

    // Feature Set
    tabFeatureSet = AddPage("tabFeatureSet", "Feature Set");
    ImageList1 = new TImageList(16, 16, this);
    ImageList1->SetName("ImageList1");
    DrawImages();
    FeatureList = new TListView(this);
    FeatureList->SetName("FeatureList");
    FeatureList->SetParent(tabFeatureSet);
    FeatureList->SetAlign(TAlign::alClient);
    FeatureList->SetShowColumnHeaders(false);
    FeatureList->SetColumnClick(false);
    FeatureList->SetSmallImages(ImageList1);
    FeatureList->SetSortType(TSortType::stText);
    FeatureList->AddColumn("", 100);
    FeatureList->AddColumn("", 290);

    Button2 = new TButton(this);
    Button2->SetName("Button2");
    Button2->SetParent(this);
    Button2->SetCaption("Close");
    Button2->SetDefault(true);
    Button2->SetBounds(340, 304, 75, 25);
    Button2->OnClick = [this](TObject* s) { Button1Click(s); };

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetParent(this);
    StatusBar1->AddPanel("CPU Usage: ", 175);
    StatusBar1->AddPanel("Mem Usage: ", 50);

    CpuIdent = new TCpuIdent(this);
    CpuIdent->SetName("CpuIdent");
    CpuIdent->AutoBench()->SetEnabled(true);
    CpuIdent->AutoBench()->SetDelay(500);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TTabSheet* TMemoryForm::AddPage(const char* name, const char* caption) {
    auto* page = new TTabSheet(this);
    page->SetName(name);
    page->SetPageControl(PageControl1);
    page->SetCaption(caption);
    return page;
}

TLabel* TMemoryForm::AddPair(TTabSheet* page, const char* caption, const char* name,
                             const char* value, int top, int valueLeft) {
    NewLabel(this, page, caption, 8, top);
    return NewLabel(this, page, value, valueLeft, top);
}

void TMemoryForm::DrawImages() {
    // A green check mark and a red cross on a transparent (fuchsia) ground.
    struct Stroke {
        TColor Color;
        TPoint Points[3];
        int Count;
    };
    const Stroke images[2][2] = {
        {{0x00A000, {{3, 8}, {6, 11}, {12, 3}}, 3}, {0x00A000, {{3, 9}, {6, 12}, {12, 4}}, 3}},
        {{0x0000D0, {{4, 4}, {12, 12}, {}}, 2}, {0x0000D0, {{12, 4}, {4, 12}, {}}, 2}},
    };
    for (const auto& strokes : images) {
        TBitmap picture;
        picture.SetSize(16, 16);
        TCanvas& canvas = picture.Canvas();
        canvas.Brush().SetColor(clFuchsia);
        canvas.FillRect({0, 0, 16, 16});
        canvas.Pen().SetWidth(2);
        for (const Stroke& stroke : strokes) {
            canvas.Pen().SetColor(stroke.Color);
            canvas.MoveTo(stroke.Points[0].X, stroke.Points[0].Y);
            for (int i = 1; i < stroke.Count; ++i)
                canvas.LineTo(stroke.Points[i].X, stroke.Points[i].Y);
        }
        ImageList1->AddMasked(picture, clFuchsia);
    }
}

void TMemoryForm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    // Owned by the desktop: the dialog has a taskbar button of its own while the strip is hidden.
    params.WndParent = GetDesktopWindow();
}

void TMemoryForm::FormCreate(TObject*) {
    PageControl1->SetActivePageIndex(0);
    lblOS->SetCaption(OperatingSystemName());
    lblProcNum->SetCaption(std::to_string(CpuIdent->Count()));
    lblName->SetCaption(CpuIdent->FullName());
    lblVendor->SetCaption(CpuIdent->Vendor());
    lblSpeed->SetCaption(
        ClockSpeedText(MeasureClockSpeed(HardwareCpuPort(), CpuIdent->FeatureSet()->TSC()),
                       UserDecimalSeparator()));
    lblSerial->SetCaption(CpuIdent->Serial());
    lblFDiv->SetCaption(FDivText(CpuIdent->FDivBug()));
    lblType->SetCaption(ProcessorTypeText(CpuIdent->OverDrive()));
    lblMMX->SetCaption(MMXText(CpuIdent->MMX()));
    lblSIMD->SetCaption(SIMDText(CpuIdent->FeatureSet()->SIMD()));
    lbl3DNow->SetCaption(AMD3DNowText(CpuIdent->FeatureSetEx()->AMD3DNow()));

    TCpuCacheInfo& cache = *CpuIdent->Cache();
    lblL1Code->SetCaption(CacheSizeText(cache.L1Code()));
    lblL1Data->SetCaption(CacheSizeText(cache.L1Data()));
    lblLevel1->SetCaption(CacheSizeText(cache.Level1()));
    lblLevel2->SetCaption(CacheSizeText(cache.Level2()));

    FeatureList->BeginUpdate();
    for (const TFeatureRow& row : FeatureRows) {
        bool present = row.Present(*CpuIdent->FeatureSet(), *CpuIdent->FeatureSetEx());
        FeatureList->AddItem(
            {row.Name, {row.Description}, present ? FeaturePresentImage : FeatureAbsentImage});
    }
    FeatureList->EndUpdate();

    FHistoryUnit = 1.0 / 1440;
    Chart1->BottomAxis().SetIncrement(kSecond);
}

void TMemoryForm::FormShow(TObject*) {
    PageControl1->SetActivePageIndex(0);
}

void TMemoryForm::FormClose(TObject*, TCloseAction&) {
    if (OptionsForm != nullptr && OptionsForm->Visible())
        return;
    if (TMeterWindow* meter = MeterWindow())
        meter->Show();
}

void TMemoryForm::Button1Click(TObject*) {
    Close();
}

void TMemoryForm::tabSystemResize(TObject*) {
    CPUBox->SetWidth(Width() - 50);
    CPUPanel->SetWidth(CPUBox->Width() - 16);
    CPUPanel->SetLeft(8);
}

void TMemoryForm::Series1AfterAdd(TObject*, int) {
    ScrollTimeAxis(*Series1, Chart1->BottomAxis(), 3 * FHistoryUnit);
}

} // namespace zq
