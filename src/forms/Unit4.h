#pragma once
// The "System Information" window: a load history, memory and swap gauges, the operating
// system, processor count and up-time on its General page, and the processor's identity,
// caches and features on three more. The meter's tick keeps the live parts filled, shown or not.
#include "chart/Chart.h"
#include "controls/ALProgressBar.h"
#include "cpuid/CpuIdentComp.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zq {

class TMemoryForm : public TForm {
public:
    explicit TMemoryForm(TComponent* owner);

    TPageControl* PageControl1;
    TTabSheet* tabSystem;
    TLabel* Label22;
    TLabel* lblOS;
    TLabel* Label6;
    TLabel* lblProcNum;
    TGroupBox* CPUBox;
    TPanel* CPUPanel;
    TChart* Chart1;
    TFastLineSeries* Series1;
    TLabel* Label1;
    TLabel* lblSysUpTime;
    TLabel* Label24;
    TLabel* TotalPhy;
    TLabel* Label25;
    TLabel* FreePhy;
    TLabel* Label26;
    TLabel* SwapSize;
    TALProgressBar* ALProgressBar2;
    TALProgressBar* ALProgressBar3;

    TTabSheet* TabSheet1;
    TLabel* lblName;
    TLabel* lblVendor;
    TLabel* lblSpeed;
    TLabel* lblSerial;
    TLabel* lblFDiv;
    TLabel* lblType;
    TLabel* lblMMX;
    TLabel* lblSIMD;
    TLabel* lbl3DNow;

    TTabSheet* TabSheet2;
    TLabel* lblL1Data;
    TLabel* lblL1Code;
    TLabel* lblLevel1;
    TLabel* lblLevel2;
    TLabel* lblLevel3;

    TTabSheet* tabFeatureSet;
    TListView* FeatureList;

    TButton* Button2;
    TStatusBar* StatusBar1;
    TCpuIdent* CpuIdent;
    TImageList* ImageList1;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void Button1Click(TObject* sender);
    void tabSystemResize(TObject* sender);
    void Series1AfterAdd(TObject* sender, int valueIndex);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    // A caption label and its value label on one row of a page.
    TLabel* AddPair(TTabSheet* page, const char* caption, const char* name, const char* value,
                    int top, int valueLeft = 110);
    TTabSheet* AddPage(const char* name, const char* caption);
    void DrawImages();
    // One minute: the chart shows three.
    double FHistoryUnit = 0;
};

extern TMemoryForm* MemoryForm;

} // namespace zq
