// A long run of the meter's real tick (sampler, bar, tray feed, the System Information feed and
// chart), and of a screen reader's requests: once warmed up, the toolkit's handle counts and the
// process's private bytes stay flat.
// ZQ_SOAK_TICKS sets the number of ticks (scripts/soak runs a long one).
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "Harness.h"
#include "app/ProgramWindows.h"
#include "cpuusage/CpuUsage.h"
#include "cpuusage/CpuUsageWin32.h"
#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/FileStore.h"
#include "tray_support.h"

using namespace zq;

namespace {

// The process's private bytes: GetProcessMemoryInfo's figure (psapi is looked up at run time, the
// program itself never uses it) where the system reports one; Wine reports 0, so there the
// committed private pages are added up.
using MemoryInfoFn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);

long long CommittedPrivateBytes() {
    long long total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (auto* at = static_cast<char*>(nullptr);
         VirtualQuery(at, &info, sizeof info) == sizeof info;
         at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += static_cast<long long>(info.RegionSize);
        if (info.RegionSize == 0)
            break;
    }
    return total;
}

long long PrivateBytes() {
    static MemoryInfoFn query = [] {
        HMODULE psapi = LoadLibraryA("psapi.dll");
        return reinterpret_cast<MemoryInfoFn>(reinterpret_cast<void*>(
            psapi != nullptr ? GetProcAddress(psapi, "GetProcessMemoryInfo") : nullptr));
    }();
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (query != nullptr &&
        query(GetCurrentProcess(), reinterpret_cast<PPROCESS_MEMORY_COUNTERS>(&counters),
              sizeof counters) &&
        counters.PrivateUsage != 0)
        return static_cast<long long>(counters.PrivateUsage);
    return CommittedPrivateBytes();
}

int Ticks() {
    const char* value = std::getenv("ZQ_SOAK_TICKS");
    int ticks = value != nullptr ? std::atoi(value) : 0;
    return ticks > 0 ? ticks : 4000;
}

struct TFigures {
    long Gdi = LiveHandleCount(HandleKind::Gdi);
    long User = LiveHandleCount(HandleKind::User);
    long long Private = PrivateBytes();
};

} // namespace

TEST(LongRun, TheTickKeepsHandlesAndPrivateBytesFlat) {
    zqtest::StartProgram();
    MeterForm->Show();
    // Every so often the tray switches between the plain and the numeric icon, so that adding
    // and removing icons runs too, and the System Information dialog opens (its chart paints,
    // the strip is hidden) and closes again (the bar paints).
    auto run = [](int ticks) {
        for (int i = 1; i <= ticks; ++i) {
            MeterForm->Tick(MeterForm->TickTimer);
            zq::test::PumpMessages();
            if (i % 1000 == 0)
                MeterForm->NumericItem->Click();
            if (i % 1000 == 500) {
                if (SystemInfoForm->Visible())
                    SendMessageA(SystemInfoForm->Handle(), WM_CLOSE, 0, 0);
                else
                    MeterForm->SystemInformationItem->Click();
            }
        }
    };
    run(1000); // warm-up: caches, the heap and the shell's records reach their working size
    const TFigures start;
    const int ticks = Ticks();
    run(ticks);
    const TFigures end;
    std::printf("long run: %d ticks, GDI %ld -> %ld, USER %ld -> %ld, private bytes %lld -> %lld "
                "(%+lld)\n",
                ticks, start.Gdi, end.Gdi, start.User, end.User, start.Private, end.Private,
                end.Private - start.Private);
    EXPECT_EQ(end.Gdi, start.Gdi);
    EXPECT_EQ(end.User, start.User);
    ASSERT_GE(start.Private, 0);
    // Room for the heap's page-sized steps, not for a leak that grows with the ticks.
    EXPECT_LE(end.Private - start.Private, 64 * 1024);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
    zqtest::EndProgram();
}

// A screen reader asking again and again (the strip, the General page and its children, the
// chart) while the meter ticks: each window keeps its one object and its references, and the
// private bytes grow no more than the platform's own hand-over of as many objects (Wine 8's COM
// keeps about 2 KB of every object it marshals, the system's standard object too).
TEST(LongRun, RepeatedScreenReaderRequestsKeepObjectsHandlesAndPrivateBytesFlat) {
    CoInitialize(nullptr);
    zqtest::StartProgram();
    MeterForm->Show();
    const HWND windows[] = {MeterForm->Handle(), SystemInfoForm->GeneralSheet->Handle(),
                            SystemInfoForm->HistoryChart->Handle()};
    auto request = [](HWND wnd) {
        IAccessible* object = nullptr;
        AccessibleObjectFromWindow(wnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
        return object;
    };
    auto run = [&](int rounds) {
        for (int i = 1; i <= rounds; ++i) {
            for (HWND wnd : windows) {
                IAccessible* object = request(wnd);
                ASSERT_NE(object, nullptr);
                VARIANT children[32];
                LONG got = 0;
                AccessibleChildren(object, 0, 32, children, &got);
                VARIANT last; // the last child (a gauge), or the object itself
                V_VT(&last) = VT_I4;
                V_I4(&last) = got;
                BSTR value = nullptr;
                object->get_accValue(last, &value);
                SysFreeString(value);
                for (LONG c = 0; c < got; ++c)
                    VariantClear(&children[c]);
                object->Release();
            }
            if (i % 10 == 0)
                MeterForm->Tick(MeterForm->TickTimer);
            zq::test::PumpMessages();
        }
    };
    auto references = [&] {
        IAccessible* strip = request(windows[0]);
        strip->AddRef();
        strip->Release();
        return strip->Release();
    };
    run(100); // warm-up
    const ULONG startReferences = references();
    const TFigures start;
    const int rounds = Ticks() / 8;
    run(rounds);
    const TFigures end;
    IAccessible* standard = nullptr;
    CreateStdAccessibleObject(windows[0], OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(&standard));
    const long long before = PrivateBytes();
    for (int i = 0; i < 3 * rounds; ++i) {
        IAccessible* object = nullptr;
        ObjectFromLresult(LresultFromObject(__uuidof(IAccessible), 0, standard),
                          __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object));
        object->Release();
    }
    const long long cost = PrivateBytes() - before;
    standard->Release();
    std::printf("screen reader: %d requests, GDI %ld -> %ld, USER %ld -> %ld, private bytes %+lld "
                "(the platform's hand-over %+lld)\n",
                3 * rounds, start.Gdi, end.Gdi, start.User, end.User, end.Private - start.Private,
                cost);
    EXPECT_EQ(LiveAccessibleObjects(), 3);
    EXPECT_EQ(references(), startReferences);
    EXPECT_EQ(end.Gdi, start.Gdi);
    EXPECT_EQ(end.User, start.User);
    EXPECT_LE(end.Private - start.Private - cost, 64 * 1024);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
    zqtest::EndProgram();
    EXPECT_EQ(LiveAccessibleObjects(), 0);
    CoUninitialize();
}
