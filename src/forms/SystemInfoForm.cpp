#include "forms/SystemInfoForm.h"

#include "forms/FigureText.h"
#include "forms/LoadHistory.h"
#include "forms/LoadText.h"
#include "forms/ProcessorPages.h"
#include "sysinfo/OsVersion.h"
#include "sysinfo/SystemUpTime.h"
#include "toolkit/DateTime.h"

namespace zq {

TSystemInfoForm* SystemInfoForm = nullptr;

namespace {

using Form = TSystemInfoForm;

// The pages, in the tab control's order.
const struct {
    const char* Caption;
    TTabSheet* Form::*Sheet;
} kPages[] = {
    {"General", &Form::GeneralSheet},
    {"Processor", &Form::ProcessorSheet},
    {"Cache", &Form::CacheSheet},
    {"Feature Set", &Form::FeatureSheet},
};

// The pages' rows of facts: a caption at the left (none: the row goes on with the value above)
// and the value label, which shows its design text until FormCreate or the figures fill it.
struct TFactRow {
    TTabSheet* Form::*Page;
    TLabel* Form::*Value;
    const char* Caption;
    const char* DesignText;
    int Top;
    int ValueLeft;
};

const TFactRow kFactRows[] = {
    {&Form::GeneralSheet, &Form::OsText, "Operating System:", "lblOS", 8, 150},
    {&Form::GeneralSheet, &Form::ProcessorCountText, "Number of Processors:", "lblProcNum", 26,
     150},
    {&Form::GeneralSheet, &Form::UpTimeText, "System Up Time:", "lblSysUpTime", 164, 150},
    {&Form::GeneralSheet, &Form::TotalMemoryText, "Total Physical Memory:", "TotalPhy", 188, 150},
    {&Form::GeneralSheet, &Form::FreeMemoryText, "Free Physical Memory:", "FreePhy", 208, 150},
    {&Form::GeneralSheet, &Form::SwapSizeText, "Swap File Size:", "SwapSize", 228, 150},
    {&Form::ProcessorSheet, &Form::ProcessorNameText, "Processor:", "%CpuIdent.name%", 8, 110},
    {&Form::ProcessorSheet, &Form::VendorText, "Vendor:", "%CpuIdent.vendor%", 28, 110},
    {&Form::ProcessorSheet, &Form::SpeedText, "Speed:", "%CpuIdent.speed%", 48, 110},
    {&Form::ProcessorSheet, &Form::SerialText, "Serial number:", "%CpuIdent.serial%", 68, 110},
    {&Form::ProcessorSheet, &Form::FDivBugText, "FDiv Bug:", "%CpuIdent.fdiv%", 88, 110},
    {&Form::ProcessorSheet, &Form::CpuTypeText, "Cpu Type:", "%CpuIdent.overdrive%", 108, 110},
    {&Form::ProcessorSheet, &Form::MmxSupportText, "Extensions:", "%CpuIdent.MMX%", 128, 110},
    {&Form::ProcessorSheet, &Form::SimdSupportText, nullptr, "%CpuIdent.FeatureSet.SIMD%", 148,
     110},
    {&Form::ProcessorSheet, &Form::ThreeDNowSupportText, nullptr, "%CpuIdent.FeatureSetEx.3DNow%",
     168, 110},
    {&Form::CacheSheet, &Form::L1DataText, "Level 1 Data:", "%CpuIdent.Cache.L1Data%", 8, 110},
    {&Form::CacheSheet, &Form::L1CodeText, "Level 1 Code:", "%CpuIdent.Cache.L1Code%", 28, 110},
    {&Form::CacheSheet, &Form::L1UnifiedText, "Level 1 Unified:", "%CpuIdent.Cache.Level1%", 48,
     110},
    {&Form::CacheSheet, &Form::L2UnifiedText, "Level 2 Unified:", "%CpuIdent.Cache.Level2%", 68,
     110},
    {&Form::CacheSheet, &Form::L3UnifiedText, "Level 3 Unified:", "%CpuIdent.Cache.Level3%", 88,
     110},
};

// The General page's memory and swap gauges, one above the other at the right.
const struct {
    TGradientBar* Form::*Bar;
    int Top;
    const char* Name; // read by screen readers; the text shown puts the value after it
} kGauges[] = {
    {&Form::MemoryLoadBar, 186, "Memory Load"},
    {&Form::SwapUsageBar, 216, "Swap Usage"},
};

// The local date and time as days since 30 December 1899.
double LocalDateTime() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME ft;
    SystemTimeToFileTime(&local, &ft);
    return FileTimeToDateTime(ULARGE_INTEGER{{ft.dwLowDateTime, ft.dwHighDateTime}}.QuadPart);
}

} // namespace

TSystemInfoForm::TSystemInfoForm(TComponent* owner) : TStripDialog(owner) {
    SetCaption("System Information");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(419, 353);
    SetDialogKeys(true);

    Pages = NewControl<TPageControl>(this, this, {4, 4, 411, 294});
    for (const auto& page : kPages) {
        auto* sheet = new TTabSheet(this);
        sheet->SetPageControl(Pages);
        sheet->SetCaption(page.Caption);
        this->*page.Sheet = sheet;
    }
    for (const TFactRow& row : kFactRows) {
        if (row.Caption != nullptr)
            NewLabel(this, this->*row.Page, row.Caption, 8, row.Top);
        this->*row.Value = NewLabel(this, this->*row.Page, row.DesignText, row.ValueLeft, row.Top);
    }

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
    GeneralSheet->OnResize = [this](TObject* s) { GeneralSheetResize(s); };
    for (const auto& gauge : kGauges) {
        auto* bar = NewControl<TGradientBar>(this, GeneralSheet, {248, gauge.Top, 137, 20});
        bar->SetBackgroundColor(clBtnFace);
        bar->SetPosTextPrefix(std::string(gauge.Name) + ' ');
        bar->SetAccessibleName(gauge.Name);
        bar->SetPosTextSuffix("%");
        this->*gauge.Bar = bar;
    }

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

    Processor = new TProcessorIdentity(this);
    Machine = new TMachineFacts(this);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
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
    ProcessorCountText->SetCaption(std::to_string(Processor->Count()));
    ProcessorNameText->SetCaption(Processor->FullName());
    VendorText->SetCaption(Processor->Vendor());
    SpeedText->SetCaption("");
    FClockMeasurement.Start(Processor->FeatureSet()->TSC(), [this](const TClockFigures& figures) {
        Processor->SetMeasuredSpeed(figures.ComponentSpeed);
        SpeedText->SetCaption(ClockSpeedText(figures.DialogSpeed, UserDecimalSeparator()));
    });
    SerialText->SetCaption(Processor->Serial());
    FDivBugText->SetCaption(FDivText(Processor->FDivBug()));
    CpuTypeText->SetCaption(ProcessorTypeText(Processor->OverDrive()));
    MmxSupportText->SetCaption(MMXText(Processor->MMX()));
    SimdSupportText->SetCaption(SIMDText(Processor->FeatureSet()->SIMD()));
    ThreeDNowSupportText->SetCaption(AMD3DNowText(Processor->FeatureSetEx()->AMD3DNow()));

    TCpuCacheInfo& cache = *Processor->Cache();
    L1CodeText->SetCaption(CacheSizeText(cache.L1Code()));
    L1DataText->SetCaption(CacheSizeText(cache.L1Data()));
    L1UnifiedText->SetCaption(CacheSizeText(cache.Level1()));
    L2UnifiedText->SetCaption(CacheSizeText(cache.Level2()));
    L3UnifiedText->SetCaption(CacheSizeText(cache.Level3()));

    FeatureList->BeginUpdate();
    for (const TFeatureRow& row : FeatureRows) {
        bool present = row.Present(*Processor->FeatureSet(), *Processor->FeatureSetEx());
        FeatureList->AddItem(
            {row.Name, {row.Description}, present ? FeaturePresentImage : FeatureAbsentImage});
    }
    FeatureList->EndUpdate();
}

void TSystemInfoForm::AddLoadSample(int percent) {
    LoadSeries->AddXY(LocalDateTime(), percent, {}, clTeeColor);
    FLastPercent = percent;
    FSampled = true;
    if (Visible())
        ShowFigures(percent);
}

void TSystemInfoForm::ShowFigures(int percent) {
    StatusBar->SetPanelText(0, LoadHint(percent));
    MemoryLoadBar->SetPosition(UsedPercent(Machine->AvailPhysMemory(), Machine->TotalPhysMemory()));
    FormatKilobytes(Machine->TotalPhysMemory(), FFigureText);
    TotalMemoryText->SetCaption(FFigureText);
    FormatKilobytes(Machine->AvailPhysMemory(), FFigureText);
    FreeMemoryText->SetCaption(FFigureText);
    SwapUsageBar->SetPosition(UsedPercent(Machine->AvailSwapMemory(), Machine->TotalSwapMemory()));
    FormatKilobytes(Machine->TotalSwapMemory(), FFigureText);
    SwapSizeText->SetCaption(FFigureText);
    FormatSwapUsage(Machine->TotalSwapMemory(), Machine->AvailSwapMemory(), FFigureText);
    StatusBar->SetPanelText(1, FFigureText);
    DurationToText(true, false, false, UpTimeSeconds(SystemUpTime()), FFigureText);
    UpTimeText->SetCaption(FFigureText);
}

void TSystemInfoForm::FormShow(TObject*) {
    Pages->SetActivePageIndex(0);
    if (FSampled)
        ShowFigures(FLastPercent);
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
