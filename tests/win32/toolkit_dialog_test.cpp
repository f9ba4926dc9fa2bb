// The toolkit's dialogs: standard controls on real windows, dialog keys through the message
// loop, focus, colours and painting.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "Harness.h"
#include "toolkit/Application.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Exceptions.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/StdCtrls.h"

using namespace zq;

namespace {

// Posts a key to the focused window and runs the message loop with the modifiers held.
void PressKey(UINT vk, bool shift = false, bool ctrl = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, vk, 1);
    PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
    Application->ProcessMessages();
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

std::string ClassOf(HWND wnd) {
    char name[64] = {};
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

// The colour of a window pixel as it is on the screen.
COLORREF ScreenPixel(HWND wnd, int x, int y) {
    UpdateWindow(wnd);
    POINT pt{x, y};
    ClientToScreen(wnd, &pt);
    WindowDC dc(nullptr);
    return GetPixel(dc.Get(), pt.x, pt.y);
}

// A dialog: a group box with two check boxes, a page control with a button on each page, a
// blue label and a default button.
struct Dialog : TForm {
    explicit Dialog(TComponent* owner) : TForm(owner) {
        SetCaption("Dialog");
        SetBorderStyle(TBorderStyle::bsDialog);
        SetPosition(TPosition::poScreenCenter);
        SetClientSize(320, 260);
        SetDialogKeys(true);

        Group = new TGroupBox(this);
        Group->SetParent(this);
        Group->SetCaption("Group");
        Group->SetBounds(8, 8, 140, 80);
        First = new TCheckBox(this);
        First->SetParent(Group);
        First->SetCaption("First");
        First->SetBounds(8, 20, 120, 17);
        Second = new TCheckBox(this);
        Second->SetParent(Group);
        Second->SetCaption("Second");
        Second->SetBounds(8, 44, 120, 17);

        Pages = new TPageControl(this);
        Pages->SetParent(this);
        Pages->SetBounds(156, 8, 156, 120);
        for (int i = 0; i < 2; ++i) {
            Sheet[i] = new TTabSheet(this);
            Sheet[i]->SetPageControl(Pages);
            Sheet[i]->SetCaption(i == 0 ? "One" : "Two");
            OnPage[i] = new TButton(this);
            OnPage[i]->SetParent(Sheet[i]);
            OnPage[i]->SetCaption(i == 0 ? "A" : "B");
            OnPage[i]->SetBounds(8, 8, 75, 25);
        }

        Link = new TLabel(this);
        Link->SetParent(this);
        Link->SetBounds(8, 140, 100, 20);
        Link->Font().SetColor(clBlue);
        Link->SetCaption("WWWWWWWW");

        Ok = new TButton(this);
        Ok->SetParent(this);
        Ok->SetCaption("OK");
        Ok->SetDefault(true);
        Ok->SetBounds(237, 228, 75, 25);
        Ok->OnClick = [this](TObject*) { ++OkClicks; };
    }
    TGroupBox* Group;
    TCheckBox* First;
    TCheckBox* Second;
    TPageControl* Pages;
    TTabSheet* Sheet[2];
    TButton* OnPage[2];
    TLabel* Link;
    TButton* Ok;
    int OkClicks = 0;
};

class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        users = LiveHandleCount(HandleKind::User);
        dialog = new Dialog(nullptr);
        dialog->Show();
        SetForegroundWindow(dialog->Handle());
        Application->ProcessMessages();
    }
    void TearDown() override {
        delete dialog;
        EXPECT_EQ(LiveHandleCount(HandleKind::User), users);
        EXPECT_TRUE(zqtest::TakeExceptions().empty());
    }
    long users = 0;
    Dialog* dialog = nullptr;
};

} // namespace

TEST(Controls, AChildAskedForItsWindowFirstGetsExactlyOne) {
    long users = LiveHandleCount(HandleKind::User);
    {
        TForm form(nullptr);
        auto* panel = new TPanel(&form);
        panel->SetParent(&form);
        auto* button = new TButton(&form);
        button->SetParent(panel);
        HWND wnd = button->Handle(); // creates the form and the panel first
        int buttons = 0;
        for (HWND c = GetWindow(panel->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            buttons += ClassOf(c) == "Button";
        EXPECT_EQ(buttons, 1);
        EXPECT_EQ(GetParent(wnd), panel->Handle());
        EXPECT_EQ(GetParent(panel->Handle()), form.Handle());
    }
    EXPECT_EQ(LiveHandleCount(HandleKind::User), users);
}

TEST(Controls, ANewFontReachesTheWindowBeforeTheOldOneGoes) {
    TForm form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    HWND wnd = button->Handle();
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0)), form.FontHandle());
    form.Font().SetHeight(-15); // the button shares its form's font
    HFONT now = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
    EXPECT_EQ(now, form.FontHandle());
    EXPECT_EQ(GetObjectType(now), static_cast<DWORD>(OBJ_FONT));
    button->Font().SetStyle(fsBold); // its own font from now on
    now = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
    EXPECT_NE(now, form.FontHandle());
    LOGFONTA lf{};
    GetObjectA(now, sizeof lf, &lf);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfHeight, -15);
}

TEST(Controls, AFailingPaintStillEndsThePaintAndCaptureLossForgetsTheDraggedControl) {
    struct Throwing : TGraphicControl {
        using TGraphicControl::TGraphicControl;
        void Paint() override {
            if (fail)
                throw Exception("paint failed");
        }
        void MouseMove(TShiftState, int, int) override { ++moves; }
        bool fail = false;
        int moves = 0;
    };
    TForm form(nullptr);
    form.SetBounds(40, 40, 200, 120);
    auto* a = new Throwing(&form);
    a->SetParent(&form);
    a->SetBounds(0, 0, 50, 50);
    auto* b = new Throwing(&form);
    b->SetParent(&form);
    b->SetBounds(100, 0, 50, 50);
    form.Show();
    Application->ProcessMessages();
    a->fail = true;
    InvalidateRect(form.Handle(), nullptr, TRUE);
    UpdateWindow(form.Handle());
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{"paint failed"});
    EXPECT_FALSE(GetUpdateRect(form.Handle(), nullptr, FALSE)); // EndPaint validated it
    a->fail = false;

    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ReleaseCapture(); // as the system's move loop does
    SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(110, 10));
    EXPECT_EQ(a->moves, 0);
    EXPECT_EQ(b->moves, 1);
}

TEST(Controls, SettingStateFromCodeRunsTheEventsThatUsersWouldRun) {
    TForm form(nullptr);
    auto* box = new TCheckBox(&form);
    box->SetParent(&form);
    auto* track = new TTrackBar(&form);
    track->SetParent(&form);
    track->SetRange(0, 255);
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetItems({"Horizontal", "Vertical"});
    int clicks = 0, changes = 0, picks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    track->OnChange = [&](TObject*) { ++changes; };
    combo->OnChange = [&](TObject*) { ++picks; };
    form.Handle();
    box->SetChecked(true);
    box->SetChecked(true);
    track->SetPosition(192);
    track->SetPosition(192);
    combo->SetItemIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picks, 0);
    EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETPOS, 0, 0), 192);
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCURSEL, 0, 0), 1);
    RECT r;
    GetWindowRect(combo->Handle(), &r);
    SendMessageA(combo->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_GT(r.bottom - r.top, combo->Height() * 2); // the window holds its list
}

TEST(Controls, AListViewSharesTheToolkitsImageList) {
    long users = LiveHandleCount(HandleKind::User);
    {
        TForm form(nullptr);
        auto* images = new TImageList(16, 16, &form);
        TBitmap picture;
        picture.SetSize(16, 16);
        images->AddMasked(picture, clNone);
        auto* list = new TListView(&form);
        list->SetParent(&form);
        list->SetSmallImages(images);
        list->SetSortType(TSortType::stText);
        list->AddColumn("", 100);
        list->BeginUpdate();
        for (const char* name : {"VME", "3DNOW", "TSC", "ACPI"})
            list->AddItem({name, {std::string(name) + " text"}, 0});
        list->EndUpdate();
        HWND wnd = list->Handle();
        char text[32] = {};
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(wnd, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, "3DNOW");
        SendMessageA(wnd, LVM_GETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, "VME");
        EXPECT_EQ(list->Items(3).Caption, "VME");
        delete list;
        EXPECT_EQ(ImageList_GetImageCount(images->Handle()), 1); // still whole
    }
    EXPECT_EQ(LiveHandleCount(HandleKind::User), users);
}

TEST_F(DialogTest, OnShowRunsBeforeTheWindowAppearsAndTheFormIsCentredByItsFrame) {
    dialog->Hide();
    bool visibleInOnShow = true;
    dialog->OnShow = [&](TObject*) { visibleInOnShow = IsWindowVisible(dialog->Handle()); };
    dialog->Show();
    EXPECT_FALSE(visibleInOnShow);
    RECT r;
    GetWindowRect(dialog->Handle(), &r);
    EXPECT_NEAR(r.left + r.right, GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_NEAR(r.top + r.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
}

TEST_F(DialogTest, TabAndShiftTabWalkThroughTheGroupBoxAndThePage) {
    ASSERT_EQ(GetFocus(), dialog->First->Handle()); // the first tab stop
    std::vector<HWND> forward;
    for (int i = 0; i < 5; ++i) {
        PressKey(VK_TAB);
        forward.push_back(GetFocus());
    }
    EXPECT_EQ(forward, (std::vector<HWND>{dialog->Second->Handle(), dialog->OnPage[0]->Handle(),
                                          dialog->Pages->Handle(), dialog->Ok->Handle(),
                                          dialog->First->Handle()}));
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), dialog->Ok->Handle());
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), dialog->Pages->Handle());
}

TEST_F(DialogTest, CtrlTabChangesThePageAndTheFocusComesBackOnActivation) {
    int changes = 0;
    dialog->Pages->OnChange = [&](TObject*) { ++changes; };
    PressKey(VK_TAB, false, true);
    EXPECT_EQ(dialog->Pages->ActivePageIndex(), 1);
    EXPECT_TRUE(IsWindowVisible(dialog->Sheet[1]->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->Sheet[0]->Handle()));
    PressKey(VK_TAB, true, true);
    EXPECT_EQ(dialog->Pages->ActivePageIndex(), 0);
    EXPECT_EQ(changes, 2);

    dialog->Second->SetFocus();
    TForm other(nullptr);
    other.Show();
    SetActiveWindow(other.Handle());
    SetActiveWindow(dialog->Handle());
    EXPECT_EQ(GetFocus(), dialog->Second->Handle());
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscHidesTheDialog) {
    EXPECT_NE(GetWindowLongA(dialog->Ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
    PressKey(VK_RETURN);
    EXPECT_EQ(dialog->OkClicks, 1);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
}

TEST(Forms, EscIsNotADialogKeyForAFormThatDoesNotAskForThem) {
    TForm meter(nullptr);
    meter.Show();
    SetForegroundWindow(meter.Handle());
    Application->ProcessMessages();
    PostMessageA(meter.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    Application->ProcessMessages();
    EXPECT_TRUE(IsWindowVisible(meter.Handle()));
}

TEST_F(DialogTest, LabelsTakeTheirFontColourAndTheGroupBoxPaintsItsInside) {
    RECT r;
    GetClientRect(dialog->Link->Handle(), &r);
    bool blue = false;
    for (int y = 0; y < r.bottom && !blue; ++y)
        for (int x = 0; x < r.right && !blue; ++x)
            blue = ScreenPixel(dialog->Link->Handle(), x, y) == RGB(0, 0, 255);
    EXPECT_TRUE(blue);
    // Inside the frame, away from the caption and the check boxes.
    EXPECT_EQ(ScreenPixel(dialog->Group->Handle(), 70, 70), GetSysColor(COLOR_BTNFACE));
}
