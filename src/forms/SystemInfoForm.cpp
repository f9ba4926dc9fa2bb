#include "forms/SystemInfoForm.h"

#include "forms/LoadHistory.h"
#include "forms/ProcessorPages.h"
#include "sysinfo/OsVersion.h"
#include "sysinfo/SystemUpTime.h"

namespace zq {

TSystemInfoForm* SystemInfoForm = nullptr;

TSystemInfoForm::TSystemInfoForm(TComponent* owner) : TStripDialog(owner) {
    SetCaption("System Information");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(419, 353);
    SetDialogKeys(true);

    Pages = NewControl<TPageControl>(this, this, {4, 4, 411, 294});

    GeneralSheet = AddPage("General");
    GeneralSheet->OnResize = [this](TObject* s) { GeneralSheetResize(s); };
    OsText = AddPair(GeneralSheet, "Operating System:", "lblOS", 8, 150);
    ProcessorCountText = AddPair(GeneralSheet, "Number of Processors:", "lblProcNum", 26, 150);
    HistoryGroup =
        NewControl<TGroupBox>(this, GeneralSheet, {8, 46, 377, 110}, "CPU Usage History");
    HistoryPanel = NewControl<TPanel>(this, HistoryGroup, {8, 18, 361, 85});
    HistoryPanel->SetBevelOuter(TPanelBevel::bvNone);
    HistoryPanel->SetBorderStyle(TPanelBorder::bsSingle);
    HistoryChart = NewControl<TChart>(this, HistoryPanel, {0, 0, 600, 83});
    HistoryChart->SetAlign(TAlign::alRight); // only the newest part shows
    HistoryChart->SetColor(clSilver);
    LoadSeries = new TFastLineSeries(this);
    SetUpLoadHistory(*HistoryChart, *LoadSeries);
    HistoryChart->SetAccessibleName("CPU Usage History");

    UpTimeText = AddPair(GeneralSheet, "System Up Time:", "lblSysUpTime", 164, 150);
    TotalMemoryText = AddPair(GeneralSheet, "Total Physical Memory:", "TotalPhy", 188, 150);
    FreeMemoryText = AddPair(GeneralSheet, "Free Physical Memory:", "FreePhy", 208, 150);
    SwapSizeText = AddPair(GeneralSheet, "Swap File Size:", "SwapSize", 228, 150);
    MemoryLoadBar = NewControl<TGradientBar>(this, GeneralSheet, {248, 186, 137, 20});
    MemoryLoadBar->SetBackgroundColor(clBtnFace);
    MemoryLoadBar->SetPosTextPrefix("Memory Load ");
    MemoryLoadBar->SetPosTextSuffix("%");
    MemoryLoadBar->SetAccessibleName("Memory Load");
    SwapUsageBar = NewControl<TGradientBar>(this, GeneralSheet, {248, 216, 137, 20});
    SwapUsageBar->SetBackgroundColor(clBtnFace);
    SwapUsageBar->SetPosTextPrefix("Swap Usage ");
    SwapUsageBar->SetPosTextSuffix("%");
    SwapUsageBar->SetAccessibleName("Swap Usage");

    ProcessorSheet = AddPage("Processor");
    ProcessorNameText = AddPair(ProcessorSheet, "Processor:", "%CpuIdent.name%", 8);
    VendorText = AddPair(ProcessorSheet, "Vendor:", "%CpuIdent.vendor%", 28);
    SpeedText = AddPair(ProcessorSheet, "Speed:", "%CpuIdent.speed%", 48);
    SerialText = AddPair(ProcessorSheet, "Serial number:", "%CpuIdent.serial%", 68);
    FDivBugText = AddPair(ProcessorSheet, "FDiv Bug:", "%CpuIdent.fdiv%", 88);
    CpuTypeText = AddPair(ProcessorSheet, "Cpu Type:", "%CpuIdent.overdrive%", 108);
    MmxSupportText = AddPair(ProcessorSheet, "Extensions:", "%CpuIdent.MMX%", 128);
    SimdSupportText = NewLabel(this, ProcessorSheet, "%CpuIdent.FeatureSet.SIMD%", 110, 148);
    ThreeDNowSupportText =
        NewLabel(this, ProcessorSheet, "%CpuIdent.FeatureSetEx.3DNow%", 110, 168);

    CacheSheet = AddPage("Cache");
    L1DataText = AddPair(CacheSheet, "Level 1 Data:", "%CpuIdent.Cache.L1Data%", 8);
    L1CodeText = AddPair(CacheSheet, "Level 1 Code:", "%CpuIdent.Cache.L1Code%", 28);
    L1UnifiedText = AddPair(CacheSheet, "Level 1 Unified:", "%CpuIdent.Cache.Level1%", 48);
    L2UnifiedText = AddPair(CacheSheet, "Level 2 Unified:", "%CpuIdent.Cache.Level2%", 68);
    L3UnifiedText = AddPair(CacheSheet, "Level 3 Unified:", "%CpuIdent.Cache.Level3%", 88);

    FeatureSheet = AddPage("Feature Set");
    FeatureImages = new TImageList(16, 16, this);
    DrawImages();
    FeatureList = new TListView(this);
    FeatureList->SetParent(FeatureSheet);
    FeatureList->SetAlign(TAlign::alClient);
    FeatureList->SetShowColumnHeaders(false);
    FeatureList->SetColumnClick(false);
    FeatureList->SetSmallImages(FeatureImages);
    FeatureList->SetSortType(TSortType::stText);
    FeatureList->AddColumn("", 100);
    FeatureList->AddColumn("", 290);

    CloseButton = NewControl<TButton>(this, this, {340, 304, 75, 25}, "Close");
    CloseButton->SetDefault(true);
    CloseButton->OnClick = [this](TObject* s) { CloseButtonClick(s); };

    StatusBar = new TStatusBar(this);
    StatusBar->SetParent(this);
    StatusBar->AddPanel("CPU Usage: ", 175);
    StatusBar->AddPanel("Mem Usage: ", 50);

    CpuIdent = new TCpuIdent(this);
    CpuIdent->AutoBench()->SetEnabled(true);
    CpuIdent->AutoBench()->SetDelay(500);
    CpuIdent->TakeOverAutoBench();

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
}

TTabSheet* TSystemInfoForm::AddPage(const char* caption) {
    auto* page = new TTabSheet(this);
    page->SetPageControl(Pages);
    page->SetCaption(caption);
    return page;
}

TLabel* TSystemInfoForm::AddPair(TTabSheet* page, const char* caption, const char* value, int top,
                                 int valueLeft) {
    NewLabel(this, page, caption, 8, top);
    return NewLabel(this, page, value, valueLeft, top);
}

void TSystemInfoForm::DrawImages() {
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
        FeatureImages->AddMasked(picture, clFuchsia);
    }
}

void TSystemInfoForm::CreateParams(TCreateParams& params) {
    TStripDialog::CreateParams(params);
    // Owned by the desktop: the dialog has a taskbar button of its own while the strip is hidden.
    params.WndParent = GetDesktopWindow();
}

void TSystemInfoForm::FormCreate(TObject*) {
    Pages->SetActivePageIndex(0);
    OsText->SetCaption(OperatingSystemName());
    ProcessorCountText->SetCaption(std::to_string(CpuIdent->Count()));
    ProcessorNameText->SetCaption(CpuIdent->FullName());
    VendorText->SetCaption(CpuIdent->Vendor());
    SpeedText->SetCaption("");
    TCpuAutoBench& bench = *CpuIdent->AutoBench();
    FClockMeasurement.Start(bench.Enabled(), bench.Delay(), CpuIdent->FeatureSet()->TSC(),
                            [this](const TClockFigures& figures) {
                                CpuIdent->SetMeasuredSpeed(figures.ComponentSpeed);
                                SpeedText->SetCaption(
                                    ClockSpeedText(figures.DialogSpeed, UserDecimalSeparator()));
                            });
    SerialText->SetCaption(CpuIdent->Serial());
    FDivBugText->SetCaption(FDivText(CpuIdent->FDivBug()));
    CpuTypeText->SetCaption(ProcessorTypeText(CpuIdent->OverDrive()));
    MmxSupportText->SetCaption(MMXText(CpuIdent->MMX()));
    SimdSupportText->SetCaption(SIMDText(CpuIdent->FeatureSet()->SIMD()));
    ThreeDNowSupportText->SetCaption(AMD3DNowText(CpuIdent->FeatureSetEx()->AMD3DNow()));

    TCpuCacheInfo& cache = *CpuIdent->Cache();
    L1CodeText->SetCaption(CacheSizeText(cache.L1Code()));
    L1DataText->SetCaption(CacheSizeText(cache.L1Data()));
    L1UnifiedText->SetCaption(CacheSizeText(cache.Level1()));
    L2UnifiedText->SetCaption(CacheSizeText(cache.Level2()));
    L3UnifiedText->SetCaption(CacheSizeText(cache.Level3()));

    FeatureList->BeginUpdate();
    for (const TFeatureRow& row : FeatureRows) {
        bool present = row.Present(*CpuIdent->FeatureSet(), *CpuIdent->FeatureSetEx());
        FeatureList->AddItem(
            {row.Name, {row.Description}, present ? FeaturePresentImage : FeatureAbsentImage});
    }
    FeatureList->EndUpdate();
}

void TSystemInfoForm::FormShow(TObject*) {
    Pages->SetActivePageIndex(0);
}

void TSystemInfoForm::CloseButtonClick(TObject*) {
    Close();
}

void TSystemInfoForm::GeneralSheetResize(TObject*) {
    HistoryGroup->SetWidth(Width() - Scaled(50));
    HistoryPanel->SetWidth(HistoryGroup->Width() - Scaled(16));
    HistoryPanel->SetLeft(Scaled(8));
}

} // namespace zq
