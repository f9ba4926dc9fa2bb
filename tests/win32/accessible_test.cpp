// What a screen reader reads of the program's windows, asked as readers ask: a window that speaks
// for the control filling it, named controls after the child windows, an object outliving its
// window; the strip with its value changes, the gauges and the chart.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <string>
#include <tuple>
#include <vector>

#include "Harness.h"
#include "app/ProgramWindows.h"
#include "common/AllocCounter.h"
#include "controls/GradientBar.h"
#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/StdCtrls.h"
#include "tray_support.h"

using namespace zq;

namespace {

VARIANT Child(long id) {
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = id;
    return v;
}

// A window's client object as a screen reader gets it.
struct Reader {
    IAccessible* Object = nullptr;
    explicit Reader(HWND wnd) {
        AccessibleObjectFromWindow(wnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&Object));
    }
    ~Reader() {
        if (Object != nullptr)
            Object->Release();
    }
    std::string Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long child) {
        BSTR text = nullptr;
        char buffer[64] = "(failed)";
        if ((Object->*get)(Child(child), &text) == S_OK && text != nullptr)
            WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
        SysFreeString(text);
        return buffer;
    }
    std::string Name(long child = CHILDID_SELF) { return Text(&IAccessible::get_accName, child); }
    std::string Value(long child = CHILDID_SELF) { return Text(&IAccessible::get_accValue, child); }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long child) {
        VARIANT v;
        V_VT(&v) = VT_EMPTY;
        return (Object->*get)(Child(child), &v) == S_OK && V_VT(&v) == VT_I4 ? V_I4(&v) : -1;
    }
    long Role(long child = CHILDID_SELF) { return Number(&IAccessible::get_accRole, child); }
    long State(long child = CHILDID_SELF) { return Number(&IAccessible::get_accState, child); }
    // The children as AccessibleChildren lists them: the own ones by id, child windows as
    // objects of their own (by their window).
    std::vector<long> Ids;
    std::vector<HWND> Windows;
    void List() {
        VARIANT children[40];
        LONG got = 0;
        AccessibleChildren(Object, 0, 40, children, &got);
        for (LONG i = 0; i < got; ++i) {
            HWND wnd = nullptr;
            IAccessible* window = nullptr;
            if (V_VT(&children[i]) == VT_I4)
                Ids.push_back(V_I4(&children[i]));
            else if (V_VT(&children[i]) == VT_DISPATCH &&
                     V_DISPATCH(&children[i])
                             ->QueryInterface(__uuidof(IAccessible),
                                              reinterpret_cast<void**>(&window)) == S_OK) {
                WindowFromAccessibleObject(window, &wnd);
                window->Release();
                Windows.push_back(wnd);
            }
            VariantClear(&children[i]);
        }
    }
};

// EVENT_OBJECT_VALUECHANGE raised in the process while it lives: window, object, child.
std::vector<std::tuple<HWND, LONG, LONG>> gValueEvents;
void CALLBACK RecordValueEvent(HWINEVENTHOOK, DWORD, HWND wnd, LONG object, LONG child, DWORD,
                               DWORD) {
    gValueEvents.emplace_back(wnd, object, child);
}
struct ValueEvents {
    HWINEVENTHOOK Hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                        RecordValueEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ~ValueEvents() { UnhookWinEvent(Hook); }
    std::vector<std::tuple<HWND, LONG, LONG>> Take() {
        test::PumpMessages();
        return std::exchange(gValueEvents, {});
    }
};

class AccessibleTest : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        form->SetBounds(40, 40, 120, 60);
        bar->SetPosTextSuffix("%");
        form->Show();
    }
    void TearDown() override {
        delete form;
        EXPECT_EQ(LiveAccessibleObjects(), 0);
        EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
        CoUninitialize();
    }
    TForm* form = new TForm(Application);
    TGradientBar* bar = NewControl<TGradientBar>(form, form, {0, 0, 100, 30});
};

} // namespace

TEST_F(AccessibleTest, AWindowSpeaksForTheNamedControlThatFillsItAndListsItsParts) {
    bar->SetPosTextPrefix("Load ");
    bar->SetPosition(53);
    EXPECT_EQ(Reader(form->Handle()).Role(), ROLE_SYSTEM_CLIENT); // nothing named: the system's
    EXPECT_EQ(LiveAccessibleObjects(), 0);
    bar->SetAccessibleName("Load");
    bar->SetAlign(TAlign::alClient);
    Reader strip(form->Handle());
    EXPECT_EQ((std::vector<std::string>{strip.Name(), strip.Value()}),
              (std::vector<std::string>{"Load", "53%"})); // the number without the words
    EXPECT_EQ(strip.Role(), ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_NE(strip.State() & STATE_SYSTEM_READONLY, 0);
    strip.List();
    EXPECT_EQ(strip.Ids, std::vector<long>{});

    // Parts of the control (one per processor, say) are its children.
    bar->Accessible().PartCount = [] { return 2; };
    bar->Accessible().Part = [](int i, TAccessibleItem& part) {
        part.Name = "CPU " + std::to_string(i + 1);
        part.Value = std::to_string(10 * (i + 1)) + "%";
    };
    EXPECT_EQ((std::vector<std::string>{strip.Name(1), strip.Value(1), strip.Name(2),
                                        strip.Value(2), strip.Name(3)}),
              (std::vector<std::string>{"CPU 1", "10%", "CPU 2", "20%", "(failed)"}));
    EXPECT_EQ(LiveAccessibleObjects(), 1);
}

TEST_F(AccessibleTest, NamedGraphicControlsFollowTheChildWindows) {
    bar->SetBounds(10, 30, 60, 20);
    bar->SetPosition(3);
    bar->SetAccessibleName("Swap Usage");
    const HWND close = NewControl<TButton>(form, form, {75, 8, 40, 20}, "Close")->Handle();
    Reader sheet(form->Handle());
    sheet.List();
    EXPECT_EQ(sheet.Windows, std::vector<HWND>{close}); // as the system's object lists it
    EXPECT_EQ(sheet.Ids, std::vector<long>{2});
    EXPECT_EQ((std::vector<std::string>{sheet.Name(2), sheet.Value(2)}),
              (std::vector<std::string>{"Swap Usage", "3%"}));
    EXPECT_EQ(sheet.Role(2), ROLE_SYSTEM_PROGRESSBAR);
    IDispatch* element = nullptr;
    EXPECT_EQ(sheet.Object->get_accChild(Child(2), &element), S_FALSE); // a simple element
    LONG x = 0, y = 0, w = 0, h = 0;
    sheet.Object->accLocation(&x, &y, &w, &h, Child(2));
    POINT origin{10, 30};
    ClientToScreen(form->Handle(), &origin);
    EXPECT_EQ((std::vector<LONG>{x, y, w, h}), (std::vector<LONG>{origin.x, origin.y, 60, 20}));
    VARIANT hit;
    ASSERT_EQ(sheet.Object->accHitTest(origin.x + 59, origin.y + 19, &hit), S_OK);
    EXPECT_EQ(V_I4(&hit), 2);
}

TEST_F(AccessibleTest, AnObjectThatOutlivesItsWindowNeverReachesItAgain) {
    bar->SetAccessibleName("Load");
    Reader kept(form->Handle());
    EXPECT_EQ(kept.Value(1), "0%");
    delete form;
    form = nullptr;
    LONG count = 0;
    EXPECT_EQ(kept.Object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(kept.Name(), "(failed)");
    EXPECT_EQ(LiveAccessibleObjects(), 1); // until the reader lets go
}

// ---- The program

TEST_F(AccessibleTest, TheStripTheGaugesAndTheChartReadAsShown) {
    zqtest::StartProgram();
    MeterForm->Show();
    ValueEvents events;
    MeterForm->Tick(MeterForm->TickTimer);
    const std::vector<std::tuple<HWND, LONG, LONG>> raised{{MeterForm->Handle(), OBJID_CLIENT, 0}};
    EXPECT_EQ(events.Take(), raised);
    {
        Reader strip(MeterForm->Handle());
        EXPECT_EQ(strip.Role(), ROLE_SYSTEM_PROGRESSBAR);
        EXPECT_EQ(strip.Name(), "CPU Usage");
        EXPECT_EQ(strip.Value(), std::to_string(MeterForm->LoadBar->Position()) + "%");
        MeterForm->AllProcessorsItem->Click();
        MeterForm->Tick(MeterForm->TickTimer); // the name changes with the value it names
        EXPECT_EQ(strip.Name(), "CPU 0 Usage");
        zqtest::StartCountingAllocations(); // built and announcing, the tick allocates nothing
        for (int i = 0; i < 20; ++i) {
            Sleep(5);
            MeterForm->Tick(MeterForm->TickTimer);
        }
        EXPECT_EQ(zqtest::StopCountingAllocations(), 0);

        MeterForm->SystemInformationItem->Click(); // the strip hides: nothing is announced
        events.Take();
        Sleep(TValueChangeGate::kIntervalMs + 20);
        TGradientBar& bar = *MeterForm->LoadBar;
        bar.SetPosition(bar.Position() == 50 ? 51 : 50);
        bar.AccessibleValueChanged();
        EXPECT_TRUE(events.Take().empty());
        TSystemInfoForm& f = *SystemInfoForm;
        Reader general(f.GeneralSheet->Handle());
        general.List();
        ASSERT_EQ(general.Ids.size(), 2u);
        EXPECT_EQ(
            (std::vector<std::string>{general.Name(general.Ids[0]), general.Value(general.Ids[0]),
                                      general.Name(general.Ids[1]), general.Value(general.Ids[1])}),
            (std::vector<std::string>{
                "Memory Load", std::to_string(f.MemoryLoadBar->Position()) + "%", "Swap Usage",
                std::to_string(f.SwapUsageBar->Position()) + "%"}));
        EXPECT_NE(general.Windows.size(), 0u); // the labels, as before
        Reader chart(f.HistoryChart->Handle());
        EXPECT_EQ(chart.Role(), ROLE_SYSTEM_CHART);
        EXPECT_EQ((std::vector<std::string>{chart.Name(), chart.Value()}),
                  (std::vector<std::string>{"CPU Usage History",
                                            std::to_string(static_cast<int>(
                                                f.LoadSeries->YValue(f.LoadSeries->Count() - 1))) +
                                                "%"}));
        f.Close();
    }
    zqtest::EndProgram();
}
