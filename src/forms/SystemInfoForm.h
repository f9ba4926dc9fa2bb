#pragma once
// The "System Information" window: a load history, memory and swap gauges, the operating
// system, processor count and up-time on its General page, and the processor's identity,
// caches and features on three more. The meter's tick keeps the live parts filled, shown or not.
// The processor's clock is measured in timed steps once the strip is shown; the speed
// label stays empty until the figure comes.
#include "chart/Chart.h"
#include "controls/GradientBar.h"
#include "cpuid/ProcessorIdentity.h"
#include "forms/ClockMeasurement.h"
#include "forms/MeterWindow.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zq {

class TSystemInfoForm : public TStripDialog {
public:
    explicit TSystemInfoForm(TComponent* owner);

    TPageControl* Pages;

    TTabSheet* GeneralSheet;
    TLabel* OsText;
    TLabel* ProcessorCountText;
    TGroupBox* HistoryGroup;
    TPanel* HistoryPanel;
    TChart* HistoryChart;
    TFastLineSeries* LoadSeries;
    TLabel* UpTimeText;
    TLabel* TotalMemoryText;
    TLabel* FreeMemoryText;
    TLabel* SwapSizeText;
    TGradientBar* MemoryLoadBar;
    TGradientBar* SwapUsageBar;

    TTabSheet* ProcessorSheet;
    TLabel* ProcessorNameText;
    TLabel* VendorText;
    TLabel* SpeedText;
    TLabel* SerialText;
    TLabel* FDivBugText;
    TLabel* CpuTypeText;
    TLabel* MmxSupportText;
    TLabel* SimdSupportText;
    TLabel* ThreeDNowSupportText;

    TTabSheet* CacheSheet;
    TLabel* L1DataText;
    TLabel* L1CodeText;
    TLabel* L1UnifiedText;
    TLabel* L2UnifiedText;
    TLabel* L3UnifiedText;

    TTabSheet* FeatureSheet;
    TListView* FeatureList;

    TButton* CloseButton;
    TStatusBar* StatusBar;
    TProcessorIdentity* Processor;
    TImageList* FeatureImages;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void CloseButtonClick(TObject* sender);
    void GeneralSheetResize(TObject* sender);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    // A caption label and its value label on one row of a page; returns the value label.
    TLabel* AddPair(TTabSheet* page, const char* caption, const char* value, int top,
                    int valueLeft = 110);
    TTabSheet* AddPage(const char* caption);
    void DrawImages();
    // The two clock measurements: the component's automatic benchmark and the speed shown here.
    TClockMeasurement FClockMeasurement;
};

extern TSystemInfoForm* SystemInfoForm;

} // namespace zq
