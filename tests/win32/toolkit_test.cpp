// The toolkit's Windows side: forms, exceptions at Win32 frames, the route from a window to its
// object and message listeners, timers, menus, handles.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>

#include "Harness.h"
#include "toolkit/Application.h"
#include "toolkit/Forms.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Graphics.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/Timer.h"
#include "toolkit/UtilWindow.h"
#include "toolkit/Window.h"

using namespace zq;

namespace {

std::vector<std::string>* gFormLog = nullptr;

struct ProbeForm : TForm {
    explicit ProbeForm(TComponent* owner) : TForm(owner), log(gFormLog) {
        timer = new TTimer(this);
        OnCreate = [this](TObject*) {
            this->log->push_back(std::string("create, handle ") +
                                 (HandleAllocated() ? "yes" : "no"));
        };
    }
    void Loaded() override {
        TForm::Loaded();
        log->push_back("loaded");
    }
    std::vector<std::string>* log;
    TTimer* timer;
};

} // namespace

TEST(Forms, CreationRunsDesignValuesLoadedThenOnCreate) {
    std::vector<std::string> log;
    gFormLog = &log;
    ProbeForm* form = nullptr;
    Application->CreateForm(form);
    EXPECT_EQ(log, (std::vector<std::string>{"loaded", "create, handle no"}));
    EXPECT_EQ(Application->MainForm(), form);
    delete form;
}

TEST(Forms, AFailureInOnCreateIsHandedToTheApplication) {
    TForm form(nullptr);
    form.OnCreate = [](TObject*) { throw Exception("priming failed"); };
    form.DoCreate();
    EXPECT_EQ(zqtest::TakeExceptions(), (std::vector<std::string>{"priming failed"}));
}

TEST(Forms, ExceptionsNeverCrossTheWindowProcedure) {
    TForm form(nullptr);
    form.SetBounds(10, 10, 200, 100);
    form.Handle();
    form.OnResize = [](TObject*) { throw Exception("resize failed"); };
    form.SetBounds(10, 10, 220, 120); // WM_WINDOWPOSCHANGED -> OnResize
    EXPECT_EQ(zqtest::TakeExceptions(), (std::vector<std::string>{"resize failed"}));
}

TEST(Forms, BoundsFollowTheWindowAndStyleChangesKeepTheSizingFrame) {
    TForm form(nullptr);
    form.SetBorderIcons(0);
    form.SetBounds(30, 40, 168, 58);
    HWND wnd = form.Handle();
    form.Show();
    form.SetWindowStyle(form.WindowStyle() & ~WS_CAPTION);
    EXPECT_EQ(form.WindowStyle() & WS_CAPTION, 0);
    EXPECT_NE(form.WindowStyle() & WS_THICKFRAME, 0);
    form.SetHeight(34);
    form.SetWidth(98);
    RECT r;
    GetWindowRect(wnd, &r);
    EXPECT_EQ(r.right - r.left, 98);
    EXPECT_EQ(r.bottom - r.top, 34);
    form.PlaceInBand(true);
    EXPECT_NE(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    form.PlaceInBand(false);
    EXPECT_EQ(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(wnd, GW_OWNER), Application->Handle());
}

// Windows reports another resolution (a monitor of other scaling): the controls' bounds and
// fonts follow, the form takes the suggested rectangle; back at 96 everything is as designed.
TEST(Forms, AnotherResolutionLaysTheFormOutAgainInTheSuggestedRectangle) {
    TForm form(nullptr);
    form.SetBounds(30, 40, 200, 100);
    auto* shared = new TButton(&form);
    shared->SetParent(&form);
    shared->SetBounds(8, 10, 75, 25);
    auto* own = new TButton(&form);
    own->SetParent(&form);
    own->Font().SetHeight(-13);
    auto bounds = [](TControl* c) {
        return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()};
    };
    RECT suggested{50, 60, 350, 210};
    SendMessageA(form.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form.PixelsPerInch(), 144);
    EXPECT_EQ(bounds(shared), (std::vector<int>{12, 15, 113, 38}));
    EXPECT_EQ(shared->Font().Height(), -17);
    EXPECT_EQ(own->Font().Height(), -20);
    RECT r;
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
              (std::vector<int>{50, 60, 350, 210}));
    form.ChangeScale(96);
    EXPECT_EQ(bounds(&form), (std::vector<int>{50, 60, 200, 100}));
    EXPECT_EQ(bounds(shared), (std::vector<int>{8, 10, 75, 25}));
    EXPECT_EQ(shared->Font().Height(), -11);
    EXPECT_EQ(own->Font().Height(), -13);
}

TEST(Forms, CloseRunsOnCloseAndAFailureKeepsTheFormOpen) {
    TForm form(nullptr);
    form.Show();
    int closes = 0;
    form.OnClose = [&](TObject*, TCloseAction&) {
        ++closes;
        throw EIniFileException("Unable to write to x");
    };
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(zqtest::TakeExceptions(), (std::vector<std::string>{"Unable to write to x"}));
    form.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form.Close();
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

namespace {
// A control whose window class does not exist: its window cannot be created.
struct TUnmakeable : TWinControl {
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        p.ClassName = "ZqNoSuchClass";
        p.SystemClass = true;
    }
};
struct TUnmakeableForm : TForm {
    explicit TUnmakeableForm(TComponent* owner) : TForm(owner) {
        auto* control = new TUnmakeable(this);
        control->SetParent(this);
        control->Handle();
    }
};
} // namespace

TEST(Application, AWindowThatCannotBeCreatedEndsTheRunWithItsMessage) {
    const int forms = Screen().FormCount();
    TUnmakeableForm* form = nullptr;
    int code = Application->Execute([&] {
        Application->CreateForm(form);
        throw Exception("the form was created"); // never reach the message loop here
    });
    EXPECT_EQ(code, 1);
    const std::vector<std::string> messages = zqtest::TakeExceptions();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(std::regex_match(
        messages[0],
        std::regex(R"(CreateWindowExA failed for window class "ZqNoSuchClass": .+ \(error \d+\))")))
        << messages[0];
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(Screen().FormCount(), forms);
}

TEST(Windows, AClassTheSystemRefusesIsReportedWithTheCallTheClassAndTheSystemsText) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.cbWndExtra = -1;
    wc.lpszClassName = "ZqRefusedClass";
    try {
        RegisterWindowClass(wc);
        ADD_FAILURE() << "registered";
    } catch (const ESystemError& e) {
        EXPECT_TRUE(std::regex_match(
            e.Message(),
            std::regex(
                R"(RegisterClassA failed for window class "ZqRefusedClass": .+ \(error \d+\))")))
            << e.Message();
    }
    wc.cbWndExtra = 0; // registered once, then left alone
    wc.lpszClassName = "ZqAcceptedClass";
    RegisterWindowClass(wc);
    wc.lpfnWndProc = nullptr;
    EXPECT_NO_THROW(RegisterWindowClass(wc));
    WNDCLASSA registered;
    ASSERT_TRUE(GetClassInfoA(wc.hInstance, "ZqAcceptedClass", &registered));
    EXPECT_EQ(registered.lpfnWndProc, reinterpret_cast<WNDPROC>(DefWindowProcA));
    UnregisterClassA("ZqAcceptedClass", wc.hInstance);
}

TEST(Windows, OneRouteFromEachWindowToItsObject) {
    TForm form(nullptr);
    auto* button = new TButton(&form); // a system class, subclassed
    button->SetParent(&form);
    TUtilWindow util(
        [](HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); });
    EXPECT_EQ(TWindowObject::FromHandle(form.Handle()), static_cast<TWindowObject*>(&form));
    EXPECT_EQ(TWinControl::FromHandle(button->Handle()), button);
    EXPECT_EQ(TWindowObject::FromHandle(Application->Handle()),
              static_cast<TWindowObject*>(Application));
    EXPECT_EQ(TWindowObject::FromHandle(util.Handle()), static_cast<TWindowObject*>(&util));
    EXPECT_EQ(TWindowObject::FromHandle(GetDesktopWindow()), nullptr); // not the toolkit's
    HWND gone = button->Handle();
    delete button;
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_EQ(TWindowObject::FromHandle(gone), nullptr);
}

TEST(Listeners, SeeEveryMessageInInstallationOrderBeforeTheWindowAndAFailureStopsNoOne) {
    TForm form(nullptr);
    form.Handle();
    std::vector<std::string> seen;
    form.OnResize = [&](TObject*) { seen.push_back("window"); };
    TMessageListener first, second, third;
    auto logger = [&seen](const char* name, bool fail) {
        return [&seen, name, fail](UINT m, WPARAM, LPARAM) {
            if (m != WM_WINDOWPOSCHANGED)
                return;
            seen.push_back(name);
            if (fail)
                throw Exception("listener failed");
        };
    };
    first.Install(form, logger("first", false));
    second.Install(form, logger("second", true));
    third.Install(form, logger("third", false));
    form.SetBounds(0, 0, 120, 90);
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "second", "third", "window"}));
    EXPECT_EQ(zqtest::TakeExceptions(), (std::vector<std::string>{"listener failed"}));

    seen.clear();
    second.Remove();
    first.Install(form, logger("first again", false)); // moves behind the others
    form.SetBounds(0, 0, 130, 90);
    EXPECT_EQ(seen, (std::vector<std::string>{"third", "first again", "window"}));
}

TEST(Listeners, EitherTheListenerOrTheWindowMayGoFirst) {
    std::vector<std::string> seen;
    auto* form = new TForm(nullptr);
    form->Handle();
    {
        TMessageListener brief;
        brief.Install(*form, [&](UINT m, WPARAM, LPARAM) {
            if (m == WM_USER + 7)
                seen.push_back("brief");
        });
    }
    TMessageListener lasting;
    lasting.Install(*form, [&](UINT m, WPARAM, LPARAM) {
        if (m == WM_USER + 7)
            seen.push_back("lasting");
    });
    SendMessageA(form->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"lasting"}));
    delete form;
    EXPECT_FALSE(lasting.Installed());
    lasting.Remove(); // nothing left to leave
}

TEST(Timers, FireOnTheMessageLoopAndFailuresAreHandled) {
    TTimer timer(nullptr);
    timer.SetInterval(20);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 1)
            throw Exception("tick failed");
    };
    DWORD until = GetTickCount() + 2000;
    while (ticks < 3 && GetTickCount() < until) {
        Application->ProcessMessages();
        Sleep(5);
    }
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(zqtest::TakeExceptions(), (std::vector<std::string>{"tick failed"}));
    timer.SetEnabled(false);
    int stopped = ticks;
    Sleep(60);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, stopped);
}

TEST(Menus, ItemsOwnedByTheFormDetachCleanly) {
    auto* owner = new TComponent(nullptr);
    auto* menu = new TPopupMenu(owner);
    auto* sub = new TMenuItem(owner);
    auto* leaf = new TMenuItem(owner);
    menu->Items().Add(sub);
    sub->Add(leaf);
    int clicks = 0;
    leaf->OnClick = [&](TObject*) { ++clicks; };
    leaf->Click();
    leaf->SetEnabled(false);
    leaf->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(leaf->Parent(), sub);
    delete owner; // items go before the menu: each leaves its parent
}

TEST(Handles, DrawingLeavesTheHandleCountUnchanged) {
    long gdi = LiveHandleCount(HandleKind::Gdi);
    long user = LiveHandleCount(HandleKind::User);
    for (int i = 0; i < 200; ++i) {
        TBitmap bmp;
        bmp.SetSize(16, 16);
        bmp.Canvas().Brush().SetColor(ColorRGB(i, 0, 0));
        bmp.Canvas().FillRect({0, 0, 16, 16});
        bmp.Canvas().Font().SetColor(clWhite);
        bmp.Canvas().TextOut(1, 1, std::to_string(i));
        TImageList list(16, 16);
        list.AddMasked(bmp, clNone);
        TIcon icon;
        list.GetIcon(0, icon);
        ASSERT_FALSE(icon.Empty());
        TIcon copy;
        copy.Assign(icon);
    }
    EXPECT_EQ(LiveHandleCount(HandleKind::Gdi), gdi);
    EXPECT_EQ(LiveHandleCount(HandleKind::User), user);
}

// Pictures added before the system's list exists go into it, in order and masked, when it is made;
// until then they hold no GDI handle.
TEST(Graphics, AnImageListKeepsItsPicturesUntilItsHandleIsMade) {
    TImageList list(4, 4);
    TBitmap picture;
    picture.SetSize(4, 4);
    picture.Canvas().Brush().SetColor(clFuchsia);
    picture.Canvas().FillRect({0, 0, 4, 4});
    picture.Canvas().Brush().SetColor(clRed);
    picture.Canvas().FillRect({0, 0, 2, 4});
    const long gdi = LiveHandleCount(HandleKind::Gdi);
    EXPECT_EQ(list.AddMasked(picture, clFuchsia), 0);
    EXPECT_EQ(LiveHandleCount(HandleKind::Gdi), gdi);
    TIcon icon;
    icon.SetHandle(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)))); // IDI_APPLICATION
    EXPECT_EQ(list.AddIcon(icon), 1);
    EXPECT_EQ(list.Count(), 2);

    EXPECT_EQ(ImageList_GetImageCount(list.Handle()), 2);
    TBitmap canvas;
    canvas.SetSize(4, 4);
    canvas.Canvas().Brush().SetColor(clWhite);
    canvas.Canvas().FillRect({0, 0, 4, 4});
    list.Draw(canvas.Canvas(), 0, 0, 0);
    EXPECT_EQ(canvas.PixelAt(0, 1), ColorToRGB(clRed));
    EXPECT_EQ(canvas.PixelAt(3, 1), ColorToRGB(clWhite)); // the mask colour stays transparent
    EXPECT_EQ(list.AddMasked(picture, clNone), 2);
    EXPECT_EQ(list.Count(), 3);
}

TEST(Graphics, SystemColoursResolveThroughTheColourTable) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(0x0012345678), 0x00345678u);
    TBitmap bmp;
    bmp.SetSize(4, 4);
    bmp.Canvas().Brush().SetColor(clBtnShadow);
    bmp.Canvas().FillRect({0, 0, 4, 4});
    EXPECT_EQ(bmp.PixelAt(2, 2), GetSysColor(COLOR_BTNSHADOW));
}
