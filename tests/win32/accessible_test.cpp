// What a screen reader reads of the program's windows, asked as screen readers ask
// (AccessibleObjectFromWindow): a form that speaks for the control filling it, named controls
// after the child windows, an object that outlives its window; the strip, the gauges and the
// chart of the program.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <algorithm>
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
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = id;
    return v;
}

std::string Narrow(HRESULT hr, BSTR text) {
    if (hr != S_OK || text == nullptr)
        return hr == S_FALSE ? "(none)" : "(failed)";
    char buffer[256] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    SysFreeString(text);
    return buffer;
}

// A window's client object as a screen reader gets it.
class Accessible {
public:
    explicit Accessible(HWND wnd) {
        AccessibleObjectFromWindow(wnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&FObject));
    }
    ~Accessible() {
        if (FObject != nullptr)
            FObject->Release();
    }
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;
    IAccessible* operator->() const { return FObject; }
    bool Got() const { return FObject != nullptr; }

    std::string Name(long child = CHILDID_SELF) const {
        BSTR text = nullptr;
        HRESULT hr = FObject->get_accName(Child(child), &text);
        return Narrow(hr, text);
    }
    std::string Value(long child = CHILDID_SELF) const {
        BSTR text = nullptr;
        HRESULT hr = FObject->get_accValue(Child(child), &text);
        return Narrow(hr, text);
    }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
                long child) const {
        VARIANT v;
        VariantInit(&v);
        return (FObject->*get)(Child(child), &v) == S_OK && V_VT(&v) == VT_I4 ? V_I4(&v) : -1;
    }
    long Role(long child = CHILDID_SELF) const { return Number(&IAccessible::get_accRole, child); }
    long State(long child = CHILDID_SELF) const {
        return Number(&IAccessible::get_accState, child);
    }
    long ChildCount() const {
        LONG count = -1;
        FObject->get_accChildCount(&count);
        return count;
    }
    // The children as AccessibleChildren lists them: the own ones by id, the child windows by
    // their window (objects of their own).
    struct Children {
        std::vector<long> Ids;
        std::vector<HWND> Windows;
    };
    Children List() const {
        Children list;
        std::vector<VARIANT> children(static_cast<std::size_t>(std::max(ChildCount(), 1L)));
        LONG got = 0;
        AccessibleChildren(FObject, 0, static_cast<LONG>(children.size()), children.data(), &got);
        for (LONG i = 0; i < got; ++i) {
            VARIANT& child = children[i];
            if (V_VT(&child) == VT_I4) {
                list.Ids.push_back(V_I4(&child));
            } else if (V_VT(&child) == VT_DISPATCH && V_DISPATCH(&child) != nullptr) {
                IAccessible* object = nullptr;
                HWND wnd = nullptr;
                V_DISPATCH(&child)->QueryInterface(__uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&object));
                if (object != nullptr) {
                    WindowFromAccessibleObject(object, &wnd);
                    object->Release();
                }
                list.Windows.push_back(wnd);
            }
            VariantClear(&child);
        }
        return list;
    }
    // The id of the own child with the name, or -1.
    long ChildNamed(const std::string& name) const {
        for (long id : List().Ids)
            if (Name(id) == name)
                return id;
        return -1;
    }

private:
    IAccessible* FObject = nullptr;
};

// EVENT_OBJECT_VALUECHANGE raised in the process: window, object, child.
using ValueEvent = std::tuple<HWND, LONG, LONG>;
std::vector<ValueEvent> gValueEvents;

void CALLBACK RecordValueEvent(HWINEVENTHOOK, DWORD, HWND wnd, LONG object, LONG child, DWORD,
                               DWORD) {
    gValueEvents.emplace_back(wnd, object, child);
}

class ValueEvents {
public:
    ValueEvents() {
        gValueEvents.clear();
        FHook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                RecordValueEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~ValueEvents() { UnhookWinEvent(FHook); }
    std::vector<ValueEvent> Take() {
        test::PumpMessages();
        return std::exchange(gValueEvents, {});
    }

private:
    HWINEVENTHOOK FHook;
};

class AccessibleTest : public testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override {
        EXPECT_EQ(LiveAccessibleObjects(), 0);
        EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
        CoUninitialize();
    }
};

// A form with a bar of the strip's kind.
struct BarForm {
    TForm* form = new TForm(Application);
    TGradientBar* bar = NewControl<TGradientBar>(form, form, {0, 0, 100, 30});
    BarForm() {
        form->SetBounds(40, 40, 120, 60);
        bar->SetPosTextSuffix("%");
        form->Show();
    }
    ~BarForm() { delete form; }
};

} // namespace

TEST_F(AccessibleTest, AFormSpeaksForTheNamedControlThatFillsItAndItsParts) {
    BarForm f;
    f.bar->SetPosTextPrefix("Load ");
    f.bar->SetPosition(53);
    {
        Accessible plain(f.form->Handle()); // nothing named: the system's object
        ASSERT_TRUE(plain.Got());
        EXPECT_EQ(plain.Role(), ROLE_SYSTEM_CLIENT);
        EXPECT_EQ(LiveAccessibleObjects(), 0);
    }
    f.bar->SetAccessibleName("Load");
    Accessible strip(f.form->Handle());
    ASSERT_TRUE(strip.Got());
    EXPECT_EQ(strip.Role(), ROLE_SYSTEM_CLIENT); // a named child, not the whole client area
    EXPECT_EQ(strip.Name(1), "Load");
    f.bar->SetAlign(TAlign::alClient);
    EXPECT_EQ(strip.Role(), ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_EQ(strip.Name(), "Load");
    EXPECT_EQ(strip.Value(), "53%"); // the number as shown, without the words before it
    EXPECT_NE(strip.State() & STATE_SYSTEM_READONLY, 0);
    EXPECT_EQ(strip.ChildCount(), 0);
    f.bar->SetPosition(7);
    EXPECT_EQ(strip.Value(), "7%");

    // Parts of the control (one per processor, say) are its children.
    TAccessibleInfo& info = f.bar->Accessible();
    info.PartCount = [] { return 2; };
    info.Part = [](int i, TAccessibleItem& part) {
        part.Role = TAccessibleRole::ProgressBar;
        part.Name = "CPU " + std::to_string(i + 1);
        part.Value = std::to_string(10 * (i + 1)) + "%";
    };
    EXPECT_EQ(strip.ChildCount(), 2);
    EXPECT_EQ(
        (std::vector<std::string>{strip.Name(1), strip.Value(1), strip.Name(2), strip.Value(2)}),
        (std::vector<std::string>{"CPU 1", "10%", "CPU 2", "20%"}));
    EXPECT_EQ(strip.Role(2), ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_EQ(strip.Name(3), "(failed)"); // no such child
    EXPECT_EQ(LiveAccessibleObjects(), 1);
}

TEST_F(AccessibleTest, NamedGraphicControlsFollowTheChildWindows) {
    BarForm f;
    f.bar->SetBounds(10, 8, 60, 20);
    f.bar->SetPosition(40);
    f.bar->SetAccessibleName("Memory Load");
    auto* swap = NewControl<TGradientBar>(f.form, f.form, {10, 30, 60, 20});
    swap->SetPosTextSuffix("%");
    swap->SetPosition(3);
    swap->SetAccessibleName("Swap Usage");
    auto* close = NewControl<TButton>(f.form, f.form, {75, 8, 40, 20}, "Close");
    const HWND closeWindow = close->Handle();

    Accessible sheet(f.form->Handle());
    ASSERT_TRUE(sheet.Got());
    EXPECT_EQ(sheet.Role(), ROLE_SYSTEM_CLIENT); // the window itself as the system says
    // The child window as the system's object lists it, then the named controls.
    EXPECT_EQ(sheet.ChildCount(), 3);
    EXPECT_EQ(sheet.List().Windows, std::vector<HWND>{closeWindow});
    EXPECT_EQ(sheet.List().Ids, (std::vector<long>{2, 3}));
    const long memory = sheet.ChildNamed("Memory Load");
    EXPECT_EQ(memory, 2);
    EXPECT_EQ(sheet.ChildNamed("Swap Usage"), 3);
    EXPECT_EQ(sheet.Value(memory), "40%");
    EXPECT_EQ(sheet.Value(memory + 1), "3%");
    EXPECT_EQ(sheet.Role(memory), ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_NE(sheet.State(memory) & STATE_SYSTEM_READONLY, 0);

    IDispatch* element = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(sheet->get_accChild(Child(memory), &element), S_FALSE); // a simple element
    EXPECT_EQ(element, nullptr);
    LONG x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(sheet->accLocation(&x, &y, &w, &h, Child(memory + 1)), S_OK);
    POINT origin{10, 30};
    ClientToScreen(f.form->Handle(), &origin);
    EXPECT_EQ((std::vector<LONG>{x, y, w, h}), (std::vector<LONG>{origin.x, origin.y, 60, 20}));
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(sheet->accHitTest(origin.x + 5, origin.y + 5, &hit), S_OK);
    EXPECT_EQ(V_VT(&hit), VT_I4);
    EXPECT_EQ(V_I4(&hit), memory + 1);
}

TEST_F(AccessibleTest, AnObjectThatOutlivesItsWindowNeverReachesItAgain) {
    auto* f = new BarForm;
    f->bar->SetAlign(TAlign::alClient);
    f->bar->SetAccessibleName("Load");
    Accessible kept(f->form->Handle());
    ASSERT_TRUE(kept.Got());
    EXPECT_EQ(kept.Name(), "Load");
    delete f;
    BSTR name = nullptr;
    EXPECT_EQ(kept->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
    LONG count = 0;
    EXPECT_EQ(kept->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    VARIANT hit;
    EXPECT_EQ(kept->accHitTest(0, 0, &hit), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(LiveAccessibleObjects(), 1); // until the reader lets go
}

TEST_F(AccessibleTest, AValueChangeIsAnnouncedForTheClientAreaOnlyWhileItShows) {
    BarForm f;
    f.bar->SetAlign(TAlign::alClient);
    f.bar->SetAccessibleName("Load");
    ValueEvents events;
    f.bar->SetPosition(10);
    f.bar->AccessibleValueChanged();
    f.bar->SetPosition(20);
    f.bar->AccessibleValueChanged(); // within the second: held back
    const std::vector<ValueEvent> once{{f.form->Handle(), OBJID_CLIENT, CHILDID_SELF}};
    EXPECT_EQ(events.Take(), once);
    f.form->Hide();
    Sleep(TValueChangeGate::kIntervalMs + 20);
    f.bar->AccessibleValueChanged();
    EXPECT_EQ(events.Take(), std::vector<ValueEvent>{});
    f.form->Show();
    f.bar->AccessibleValueChanged();
    EXPECT_EQ(events.Take(), once);
}

// ---- The program

TEST_F(AccessibleTest, TheStripReadsAsTheLoadItShowsAndAnnouncesItsChanges) {
    zqtest::StartProgram("", false);
    MeterForm->Show();
    ValueEvents events;
    MeterForm->Tick(MeterForm->TickTimer);
    {
        Accessible strip(MeterForm->Handle());
        ASSERT_TRUE(strip.Got());
        EXPECT_EQ(strip.Role(), ROLE_SYSTEM_PROGRESSBAR);
        EXPECT_EQ(strip.Name(), "CPU Usage");
        EXPECT_EQ(strip.Value(), std::to_string(MeterForm->LoadBar->Position()) + "%");
        EXPECT_EQ(events.Take(),
                  (std::vector<ValueEvent>{{MeterForm->Handle(), OBJID_CLIENT, CHILDID_SELF}}));
        MeterForm->AllProcessorsItem->Click();
        MeterForm->Tick(MeterForm->TickTimer); // the name changes with the value it names
        EXPECT_EQ(strip.Name(), "CPU 0 Usage");
        // Built and announcing, the tick still allocates nothing.
        zqtest::StartCountingAllocations();
        for (int i = 0; i < 20; ++i) {
            Sleep(5);
            MeterForm->Tick(MeterForm->TickTimer);
        }
        EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
        EXPECT_EQ(strip.Value(), std::to_string(MeterForm->LoadBar->Position()) + "%");
    }
    zqtest::EndProgram();
}

TEST_F(AccessibleTest, TheSystemInformationGaugesAndChartReadAsShown) {
    zqtest::StartProgram();
    MeterForm->Tick(MeterForm->TickTimer);
    MeterForm->SystemInformationItem->Click();
    TSystemInfoForm& f = *SystemInfoForm;
    {
        Accessible general(f.GeneralSheet->Handle());
        ASSERT_TRUE(general.Got());
        const long memory = general.ChildNamed("Memory Load");
        const long swap = general.ChildNamed("Swap Usage");
        ASSERT_NE(memory, -1);
        ASSERT_NE(swap, -1);
        EXPECT_EQ(general.Role(memory), ROLE_SYSTEM_PROGRESSBAR);
        EXPECT_EQ(general.Value(memory), std::to_string(f.MemoryLoadBar->Position()) + "%");
        EXPECT_EQ(general.Value(swap), std::to_string(f.SwapUsageBar->Position()) + "%");
        const std::vector<HWND> windows = general.List().Windows;
        EXPECT_NE(std::find(windows.begin(), windows.end(), f.UpTimeText->Handle()),
                  windows.end()); // the child windows as before

        Accessible chart(f.HistoryChart->Handle());
        ASSERT_TRUE(chart.Got());
        EXPECT_EQ(chart.Role(), ROLE_SYSTEM_CHART);
        EXPECT_EQ(chart.Name(), "CPU Usage History");
        EXPECT_EQ(chart.Value(), std::to_string(MeterForm->LoadBar->Position()) + "%");
    }
    f.Close();
    zqtest::EndProgram();
}
