#pragma once
// The "System Information" window: a load history, memory and swap gauges, the operating
// system, processor count and up-time on its General page, and the processor's identity,
// caches and features on three more. The meter's tick hands it each load sample; it keeps its
// live parts filled itself. The processor's clock is measured in timed steps once the strip is
// shown; the speed label stays empty until the figure comes.
#include <string>

#include "chart/Chart.h"
#include "controls/GradientBar.h"
#include "cpuid/ProcessorIdentity.h"
#include "forms/ClockMeasurement.h"
#include "forms/MeterWindow.h"
#include "sysinfo/MachineFacts.h"
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
    TMachineFacts* Machine;
    TImageList* FeatureImages;

    // One tick's load in percent: a point of the history (at the local date and time), shown or
    // not, and while the dialog is visible its figures. Allocates nothing once running.
    void AddLoadSample(int percent);

    void FormCreate(TObject* sender);
    // Back on the General page, with the figures of the last sample.
    void FormShow(TObject* sender);
    void CloseButtonClick(TObject* sender);
    void GeneralSheetResize(TObject* sender);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void DrawImages();
    // The status bar, gauges, memory labels and up-time: written only while the dialog is visible
    // (under Wine each text costs tens of microseconds a second) and as it is shown.
    void ShowFigures(int percent);
    // The figures' texts, kept so that a sample allocates nothing once they have grown.
    std::string FFigureText;
    int FLastPercent = 0;
    bool FSampled = false; // a load sample has come
    // The two clock measurements: the component's automatic benchmark and the speed shown here.
    TClockMeasurement FClockMeasurement;
};

extern TSystemInfoForm* SystemInfoForm;

} // namespace zq
