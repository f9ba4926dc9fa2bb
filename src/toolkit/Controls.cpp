#include "toolkit/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/Accessible.h"
#include "toolkit/Comctl32.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Menus.h"
#include "toolkit/Window.h"

namespace zq {

namespace {
const char kWindowClass[] = "ZqWindow";

// A class of the toolkit's own windows (forms, panels, the chart): the toolkit's window
// procedure, the arrow cursor, the program's icon, no background brush.
void RegisterControlClass(const TCreateParams& p) {
    WNDCLASSA wc{};
    wc.style = p.ClassStyle;
    wc.lpfnWndProc = &TWindowObject::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(kProgramIcon));
    wc.lpszClassName = p.ClassName.c_str();
    RegisterWindowClass(wc);
}

// Child window ids, unique in the process, above the dialog's reserved ids (IDOK, IDCANCEL...)
// and below the ids the dialog manager treats as special.
constexpr int kFirstControlId = 100;
// A window moved to a monitor of another resolution, or the resolution changed (Windows 8.1).
constexpr UINT kWmDpiChanged = 0x02E0;
constexpr int kControlIdLimit = 0x7FFF;

int NextControlId() {
    static int next = kFirstControlId;
    if (next >= kControlIdLimit)
        next = kFirstControlId;
    return next++;
}

HCURSOR CursorHandle(TCursor cursor) {
    // IDC_HAND is missing before Windows 98/2000: the arrow stands in.
    if (cursor == TCursor::crHandPoint)
        if (HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)))
            return hand;
    return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

TShiftState ShiftFromKeys(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

bool IsContainer(const TWinControl& control) {
    return (control.ControlStyle() & csAcceptsControls) != 0;
}
} // namespace

// ---- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    FFont.OnChange = [this](TObject*) {
        if (FMirroringFont)
            return;
        FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    FFont.OnChange = nullptr;
    if (FParent != nullptr)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent)
        return;
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    if (parent != nullptr) {
        parent->InsertControl(this);
        ParentFontChanged();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    bool resized = width != FWidth || height != FHeight;
    if (FParent != nullptr)
        FParent->Invalidate();
    UpdateBounds(left, top, width, height);
    if (FParent != nullptr)
        FParent->Invalidate();
    if (resized)
        Resize();
}

int TControl::Scaled(int design) const {
    return ScaleToDpi(design, FPixelsPerInch);
}

int TControl::Unscaled(int pixels) const {
    return ScaleToDpi(pixels, kDesignDpi, FPixelsPerInch);
}

void TControl::ChangeScale(int ppi) {
    const int from = FPixelsPerInch;
    FPixelsPerInch = ppi;
    if (ppi == from)
        return;
    const bool form = AsForm() != nullptr; // a window on the screen stays where it is
    SetBounds(form ? FLeft : ScaleToDpi(FLeft, ppi, from),
              form ? FTop : ScaleToDpi(FTop, ppi, from), ScaleToDpi(FWidth, ppi, from),
              ScaleToDpi(FHeight, ppi, from));
    if (!FParentFont || FParent == nullptr)
        FFont.SetHeight(ScaleToDpi(FFont.Height(), ppi, from));
}

void TControl::UpdateBounds(int left, int top, int width, int height) {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    BoundsChanged();
}

void TControl::Resize() {
    if (OnResize)
        OnResize(this);
}

void TControl::SetAlign(TAlign align) {
    FAlign = align;
    if (FParent != nullptr)
        FParent->AlignControls();
}

void TControl::SetVisible(bool value) {
    if (value == FVisible)
        return;
    FVisible = value;
    if (FParent != nullptr)
        FParent->Invalidate();
}

void TControl::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    FEnabled = value;
    Invalidate();
}

TColor TControl::Color() const {
    return FParentColor && FParent != nullptr ? FParent->Color() : FColor;
}

void TControl::SetColor(TColor color) {
    FParentColor = false;
    FColor = color;
    ColorChanged();
}

void TControl::SetParentColor(bool value) {
    FParentColor = value;
    ColorChanged();
}

void TControl::ParentColorChanged() {
    if (FParentColor)
        ColorChanged();
}

bool TControl::HintShown() const {
    return FParentShowHint && FParent != nullptr ? FParent->HintShown() : FShowHint;
}

void TControl::SetParentFont(bool value) {
    FParentFont = value;
    ParentFontChanged();
}

HFONT TControl::FontHandle() const {
    return FParentFont && FParent != nullptr ? FParent->FontHandle() : FFont.Handle();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || FParent == nullptr)
        return;
    FMirroringFont = true;
    FFont.Assign(FParent->Font());
    FMirroringFont = false;
    FontChanged();
}

void TControl::SetCaption(const std::string& caption) {
    FCaption = caption;
    Invalidate();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    FPopupMenu = menu;
    if (menu != nullptr)
        FreeNotification(menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::Invalidate() {
    if (FParent != nullptr && FParent->HandleAllocated()) {
        RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
        InvalidateRect(FParent->Handle(), &r, FALSE);
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

// ---- TControlCanvas, TGraphicControl

HDC TControlCanvas::Handle() {
    if (FDC == nullptr) {
        TWinControl* parent = FControl.Parent();
        if (parent == nullptr || !parent->HandleAllocated())
            return nullptr;
        FWnd = parent->Handle();
        FDC = GetDC(FWnd);
        if (FDC == nullptr)
            return nullptr;
        CountHandle(HandleKind::Gdi, +1);
        FOwnDC = true;
        FSavedDC = SaveDC(FDC);
        SetViewportOrgEx(FDC, FControl.Left(), FControl.Top(), nullptr);
        IntersectClipRect(FDC, 0, 0, FControl.Width(), FControl.Height());
    }
    return FDC;
}

void TControlCanvas::UsePaintDC(HDC dc) {
    FreeHandle();
    if (dc == nullptr)
        return;
    FDC = dc;
    FOwnDC = false;
    FSavedDC = SaveDC(FDC);
    SetViewportOrgEx(FDC, FControl.Left(), FControl.Top(), nullptr);
    IntersectClipRect(FDC, 0, 0, FControl.Width(), FControl.Height());
}

void TControlCanvas::FreeHandle() {
    if (FDC == nullptr)
        return;
    RestoreDC(FDC, FSavedDC);
    if (FOwnDC) {
        ReleaseDC(FWnd, FDC);
        CountHandle(HandleKind::Gdi, -1);
    }
    FDC = nullptr;
    FWnd = nullptr;
    FOwnDC = false;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(*this) {}

void TGraphicControl::Repaint() {
    if (!FVisible || FParent == nullptr || !FParent->Showing())
        return;
    struct Release {
        TControlCanvas& c;
        ~Release() { c.FreeHandle(); }
    } release{FCanvas};
    Paint();
}

void TGraphicControl::PaintWith(HDC dc) {
    FCanvas.UsePaintDC(dc);
    struct Release {
        TControlCanvas& c;
        ~Release() { c.FreeHandle(); }
    } release{FCanvas};
    Paint();
}

// ---- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    for (TControl* c : FControls)
        c->FParent = nullptr;
    FControls.clear();
    DestroyWnd();
    DisconnectAccessibleObject(FAccessibleObject);
}

TWinControl* TWinControl::FromHandle(HWND wnd) {
    TWindowObject* object = TWindowObject::FromHandle(wnd);
    return object != nullptr ? object->AsWinControl() : nullptr;
}

void TWinControl::WindowAttached(HWND wnd) {
    FHandle.Reset(wnd);
}

void TWinControl::WindowDetached(HWND wnd) {
    DisconnectAccessibleObject(FAccessibleObject);
    if (FHandle.Get() == wnd)
        FHandle.Release();
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    if (auto* win = control->AsWinControl()) {
        if (win->FTabOrder < 0) {
            int siblings = 0;
            for (TControl* c : FControls)
                if (c != control && c->AsWinControl() != nullptr)
                    ++siblings;
            win->FTabOrder = siblings;
        }
        if (win->HandleAllocated())
            ::SetParent(win->FHandle.Get(), ChildParentWindow(win));
    }
    AlignControls();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    if (control == FMouseControl)
        FMouseControl = nullptr;
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
    control->FParent = nullptr;
    Invalidate();
}

HWND TWinControl::ChildParentWindow(TWinControl*) {
    return Handle();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.ClassName = kWindowClass;
    p.Caption = FCaption;
    p.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (FVisible ? WS_VISIBLE : 0);
    if (!FEnabled)
        p.Style |= WS_DISABLED;
    if (FTabStop)
        p.Style |= WS_TABSTOP;
    if (IsContainer(*this))
        p.ExStyle |= WS_EX_CONTROLPARENT;
    p.X = FLeft;
    p.Y = FTop;
    p.Width = FWidth;
    p.Height = FHeight;
    p.WndParent = FParent != nullptr ? FParent->ChildParentWindow(this) : nullptr;
    p.Id = NextControlId();
}

HWND TWinControl::Handle() {
    if (!FHandle)
        CreateWnd();
    return FHandle.Get();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    // Asking for the parent's window may have created it, and with it this control's.
    if (FHandle)
        return;
    // The common controls' classes are comctl32's; under a version 6 manifest so are the
    // standard controls' (buttons, lists, edits), which Windows XP does not load it for.
    if (p.SystemClass)
        Comctl32();
    else
        RegisterControlClass(p);
    bool child = (p.Style & WS_CHILD) != 0;
    HWND wnd = CreateWindowChecked(
        p.ExStyle, p.ClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
        p.WndParent, child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.Id)) : nullptr,
        p.SystemClass ? nullptr : this);
    if (!FHandle)
        FHandle.Reset(wnd);
    if (p.SystemClass)
        Subclass(wnd);
    ApplyFont();
    for (TControl* c : FControls)
        if (auto* win = c->AsWinControl())
            win->Handle();
    UpdateTabOrder();
    AlignControls();
}

void TWinControl::DestroyWnd() {
    // WM_NCDESTROY gives the handle up; the window procedure keeps its handle until then.
    HWND wnd = FHandle.Get();
    if (wnd != nullptr && IsWindow(wnd))
        DestroyWindow(wnd);
    if (FHandle)
        FHandle.Release();
}

void TWinControl::ApplyFont() {
    if (FHandle)
        SendMessageA(FHandle.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
}

void TWinControl::FontChanged() {
    ApplyFont();
    Invalidate();
    for (TControl* c : FControls)
        c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
    Invalidate();
    for (TControl* c : FControls)
        c->ParentColorChanged();
}

HBRUSH TWinControl::CtlColor(HDC dc) {
    SetTextColor(dc, ColorToRGB(FFont.Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    SetBkMode(dc, OPAQUE);
    FBrush.SetColor(Color());
    return FBrush.Handle();
}

void TWinControl::DescendantFocused(TWinControl* control) {
    if (FParent != nullptr)
        FParent->DescendantFocused(control);
}

bool TWinControl::SelectNextPage(bool forward) {
    for (TControl* c : FControls)
        if (auto* win = c->AsWinControl(); win != nullptr && win->Visible())
            if (win->SelectNextPage(forward))
                return true;
    return false;
}

void TWinControl::PlaceInTabOrder(HWND& after) {
    if (!FHandle)
        return;
    SetWindowPos(FHandle.Get(), after != nullptr ? after : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    after = FHandle.Get();
}

void TWinControl::UpdateTabOrder() {
    std::vector<TWinControl*> children;
    for (TControl* c : FControls)
        if (auto* win = c->AsWinControl(); win != nullptr && win->HandleAllocated())
            children.push_back(win);
    std::stable_sort(children.begin(), children.end(),
                     [](TWinControl* a, TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
    HWND after = nullptr;
    for (TWinControl* win : children)
        win->PlaceInTabOrder(after);
}

void TWinControl::SetTabOrder(int value) {
    FTabOrder = value;
    if (FParent != nullptr && FParent->HandleAllocated())
        FParent->UpdateTabOrder();
}

void TWinControl::SetTabStop(bool value) {
    FTabStop = value;
    if (FHandle) {
        LONG style = GetWindowLongA(FHandle.Get(), GWL_STYLE);
        SetWindowLongA(FHandle.Get(), GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

TControl* TWinControl::ControlAtPos(int x, int y) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->Visible() && c->AsWinControl() == nullptr && x >= c->Left() &&
            x < c->Left() + c->Width() && y >= c->Top() && y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

void TWinControl::PaintGraphicChildren(HDC dc) {
    for (TControl* c : FControls)
        if (auto* g = c->AsGraphicControl(); g != nullptr && g->Visible())
            g->PaintWith(dc);
}

// ---- TWinControl's message map

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam};
    bool taken = false;
    switch (msg) {
    case WM_PAINT:
        taken = WMPaint(m);
        break;
    case WM_ERASEBKGND:
        taken = WMEraseBkgnd(m);
        break;
    case WM_SETCURSOR:
        taken = WMSetCursor(m);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        taken = WMMouse(m);
        break;
    case WM_CAPTURECHANGED:
        // A drag ended elsewhere (the system's move loop took the mouse): forget the control.
        FMouseControl = nullptr;
        break;
    case WM_SETFOCUS:
        DescendantFocused(this);
        break;
    case WM_CONTEXTMENU:
        taken = WMContextMenu(m);
        break;
    case WM_WINDOWPOSCHANGED:
        taken = WMWindowPosChanged(m);
        break;
    case WM_SIZE:
        // The client size can change while the window's does not (a frame style change).
        AlignControls();
        break;
    case WM_NCHITTEST:
        taken = WMNcHitTest(m);
        break;
    case WM_GETDLGCODE:
        taken = WMGetDlgCode(m);
        break;
    case WM_ACTIVATE:
        taken = WMActivate(m);
        break;
    case WM_ENDSESSION:
        taken = WMEndSession(m);
        break;
    case kWmDpiChanged:
        taken = WMDpiChanged(m);
        break;
    case WM_GETOBJECT:
        taken = WMGetObject(m);
        break;
    case WM_COMMAND:
        taken = WMCommand(m);
        break;
    case WM_NOTIFY:
        taken = WMNotify(m);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        taken = WMScroll(m);
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        taken = WMCtlColor(m);
        break;
    case WM_CLOSE:
        taken = WMClose(m);
        break;
    case WM_NEXTDLGCTL:
        taken = WMNextDlgCtl(m);
        break;
    case DM_GETDEFID:
        taken = DMGetDefID(m);
        break;
    default:
        break;
    }
    return taken ? m.Result : DefaultHandler(msg, wParam, lParam);
}

bool TWinControl::WMPaint(TMessage&) {
    if (Subclassed())
        return false;
    PaintScope paint(FHandle.Get());
    PaintWindow(paint.DC());
    PaintGraphicChildren(paint.DC());
    return true;
}

bool TWinControl::WMEraseBkgnd(TMessage& m) {
    if (Subclassed())
        return false;
    m.Result = 1;
    if (FControlStyle & csOpaque)
        return true;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    int saved = SaveDC(dc);
    // Opaque graphic children paint their own background: leaving them out keeps them from
    // flickering.
    for (TControl* c : FControls)
        if (c->Visible() && (c->ControlStyle() & csOpaque) && c->AsGraphicControl() != nullptr)
            ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(),
                            c->Top() + c->Height());
    RECT r;
    GetClientRect(FHandle.Get(), &r);
    FBrush.SetColor(Color());
    FillRect(dc, &r, FBrush.Handle());
    RestoreDC(dc, saved);
    return true;
}

bool TWinControl::WMSetCursor(TMessage& m) {
    if (reinterpret_cast<HWND>(m.WParam) != FHandle.Get() || LOWORD(m.LParam) != HTCLIENT)
        return false;
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(FHandle.Get(), &pt);
    TControl* target = !Subclassed() ? ControlAtPos(pt.x, pt.y) : nullptr;
    TCursor cursor = target != nullptr ? target->Cursor() : FCursor;
    if (cursor == TCursor::crDefault)
        return false;
    ::SetCursor(CursorHandle(cursor));
    m.Result = TRUE;
    return true;
}

bool TWinControl::WMMouse(TMessage& m) {
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = ShiftFromKeys(m.WParam);
    if (!Subclassed()) {
        ChildMouse(m.Msg, shift, x, y);
        return false;
    }
    // A system control's own mouse input is its own; the control's events see it too.
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        MouseDown(TMouseButton::mbLeft, shift, x, y);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(TMouseButton::mbRight, shift, x, y);
        break;
    case WM_LBUTTONUP:
        MouseUp(TMouseButton::mbLeft, shift, x, y);
        break;
    case WM_RBUTTONUP:
        MouseUp(TMouseButton::mbRight, shift, x, y);
        break;
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        break;
    default:
        break;
    }
    return false;
}

void TWinControl::ChildMouse(UINT msg, TShiftState shift, int x, int y) {
    TControl* target = FMouseControl != nullptr ? FMouseControl : ControlAtPos(x, y);
    if (target == nullptr)
        target = this;
    int cx = target == this ? x : x - target->Left();
    int cy = target == this ? y : y - target->Top();
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TMouseButton b = msg == WM_RBUTTONDOWN   ? TMouseButton::mbRight
                         : msg == WM_MBUTTONDOWN ? TMouseButton::mbMiddle
                                                 : TMouseButton::mbLeft;
        if (target != this) {
            FMouseControl = target;
            SetCapture(FHandle.Get());
        }
        if (msg == WM_LBUTTONDBLCLK) {
            target->DblClick();
            shift |= ssDouble;
        }
        target->MouseDown(b, shift, cx, cy);
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        TMouseButton b = msg == WM_RBUTTONUP   ? TMouseButton::mbRight
                         : msg == WM_MBUTTONUP ? TMouseButton::mbMiddle
                                               : TMouseButton::mbLeft;
        FMouseControl = nullptr;
        if (GetCapture() == FHandle.Get())
            ReleaseCapture();
        bool inside = cx >= 0 && cy >= 0 && cx < target->Width() && cy < target->Height();
        if (b == TMouseButton::mbLeft && inside)
            target->Click();
        target->MouseUp(b, shift, cx, cy);
        break;
    }
    case WM_MOUSEMOVE:
        target->MouseMove(shift, cx, cy);
        break;
    default:
        break;
    }
}

bool TWinControl::WMContextMenu(TMessage& m) {
    POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (pt.x == -1 && pt.y == -1) // from the keyboard
        GetCursorPos(&pt);
    POINT client = pt;
    ScreenToClient(FHandle.Get(), &client);
    TControl* target = ControlAtPos(client.x, client.y);
    TPopupMenu* menu = target != nullptr ? target->PopupMenu() : nullptr;
    TComponent* source = target;
    if (menu == nullptr) {
        menu = FPopupMenu;
        source = this;
    }
    if (menu == nullptr || !menu->AutoPopup())
        return false;
    menu->SetPopupComponent(source);
    menu->Popup(pt.x, pt.y);
    return true;
}

bool TWinControl::WMWindowPosChanged(TMessage& m) {
    RECT r;
    GetWindowRect(FHandle.Get(), &r);
    HWND parent = GetParent(FHandle.Get());
    if (parent != nullptr && (GetWindowLongA(FHandle.Get(), GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    bool resized = r.right - r.left != FWidth || r.bottom - r.top != FHeight;
    UpdateBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    m.Result = DefaultHandler(m.Msg, m.WParam, m.LParam);
    if (resized)
        Resize();
    return true;
}

bool TWinControl::WMNcHitTest(TMessage&) {
    return false;
}

bool TWinControl::WMGetDlgCode(TMessage&) {
    return false;
}

bool TWinControl::WMActivate(TMessage&) {
    return false;
}

bool TWinControl::WMEndSession(TMessage&) {
    return false;
}

bool TWinControl::WMDpiChanged(TMessage&) {
    return false;
}

// ---- Notifications reflected to the control they concern

bool TWinControl::WMCommand(TMessage& m) {
    TWinControl* c = FromHandle(reinterpret_cast<HWND>(m.LParam));
    return m.LParam != 0 && c != nullptr && c != this && c->HandleCommand(HIWORD(m.WParam));
}

bool TWinControl::WMNotify(TMessage& m) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    TWinControl* c = FromHandle(header->hwndFrom);
    return c != nullptr && c != this && c->HandleNotify(header, m.Result);
}

bool TWinControl::WMScroll(TMessage& m) {
    TWinControl* c = FromHandle(reinterpret_cast<HWND>(m.LParam));
    return m.LParam != 0 && c != nullptr && c != this && c->HandleScroll(LOWORD(m.WParam));
}

bool TWinControl::WMCtlColor(TMessage& m) {
    TWinControl* c = FromHandle(reinterpret_cast<HWND>(m.LParam));
    if (c == nullptr || c == this)
        return false;
    m.Result = reinterpret_cast<LRESULT>(c->CtlColor(reinterpret_cast<HDC>(m.WParam)));
    return true;
}

// ---- A child window's dialog traffic belongs to its form

bool TWinControl::PassToForm(TMessage& m, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsChildWindow())
        return false;
    HWND root = GetAncestor(FHandle.Get(), GA_ROOT);
    m.Result = root != nullptr ? SendMessageA(root, msg, wParam, lParam) : 0;
    return true;
}

// Never to DefWindowProc: a multi-line EDIT sends WM_CLOSE to its parent on Esc, and
// DefWindowProc would destroy the parent. The form takes it as Esc.
bool TWinControl::WMClose(TMessage& m) {
    return PassToForm(m, WM_COMMAND, IDCANCEL, 0);
}

bool TWinControl::WMNextDlgCtl(TMessage& m) {
    return PassToForm(m, m.Msg, m.WParam, m.LParam);
}

// System classes use DM_GETDEFID's number (WM_USER) for messages of their own.
bool TWinControl::DMGetDefID(TMessage& m) {
    return !Subclassed() && PassToForm(m, m.Msg, m.WParam, m.LParam);
}

bool TWinControl::IsChildWindow() {
    return FParent != nullptr && (GetWindowLongA(FHandle.Get(), GWL_STYLE) & WS_CHILD);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    if (FHandle) {
        SetWindowPos(FHandle.Get(), nullptr, left, top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // WM_WINDOWPOSCHANGED stored what the window took.
        return;
    }
    TControl::SetBounds(left, top, width, height);
    AlignControls();
}

int TWinControl::ClientWidth() const {
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle.Get(), &r);
        return r.right;
    }
    return FWidth;
}

int TWinControl::ClientHeight() const {
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle.Get(), &r);
        return r.bottom;
    }
    return FHeight;
}

void TWinControl::ChangeScale(int ppi) {
    for (TControl* c : FControls)
        c->ChangeScale(ppi);
    // Then the control's own size (its aligned children follow) and font (the children that
    // share it follow, and labels size themselves to their captions again).
    TControl::ChangeScale(ppi);
}

void TWinControl::AlignControls() {
    TRect area{0, 0, ClientWidth(), ClientHeight()};
    for (TControl* c : FControls) {
        if (!c->Visible() || c->Align() == TAlign::alNone)
            continue;
        switch (c->Align()) {
        case TAlign::alTop:
            c->SetBounds(area.Left, area.Top, area.Width(), c->Height());
            area.Top += c->Height();
            break;
        case TAlign::alBottom:
            c->SetBounds(area.Left, area.Bottom - c->Height(), area.Width(), c->Height());
            area.Bottom -= c->Height();
            break;
        case TAlign::alLeft:
            c->SetBounds(area.Left, area.Top, c->Width(), area.Height());
            area.Left += c->Width();
            break;
        case TAlign::alRight:
            c->SetBounds(area.Right - c->Width(), area.Top, c->Width(), area.Height());
            area.Right -= c->Width();
            break;
        case TAlign::alClient:
            c->SetBounds(area.Left, area.Top, area.Width(), area.Height());
            break;
        case TAlign::alNone:
            break;
        }
    }
}

void TWinControl::SetVisible(bool value) {
    if (value == FVisible)
        return;
    FVisible = value;
    if (FHandle)
        ShowWindow(FHandle.Get(), value ? SW_SHOW : SW_HIDE);
    if (FParent != nullptr)
        FParent->AlignControls();
}

void TWinControl::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    FEnabled = value;
    if (FHandle) {
        EnableWindow(FHandle.Get(), value);
        Invalidate();
    }
}

void TWinControl::SetCaption(const std::string& caption) {
    if (caption == FCaption)
        return;
    FCaption = caption;
    if (FHandle)
        SetWindowTextA(FHandle.Get(), caption.c_str());
}

void TWinControl::Invalidate() {
    if (FHandle)
        InvalidateRect(FHandle.Get(), nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (!Showing())
        return;
    Invalidate();
    UpdateWindow(FHandle.Get());
}

bool TWinControl::Showing() const {
    return FHandle && IsWindowVisible(FHandle.Get());
}

void TWinControl::SetFocus() {
    if (HandleAllocated() || FParent != nullptr)
        ::SetFocus(Handle());
}

void TWinControl::SetWindowStyle(LONG style) {
    SetWindowLongA(Handle(), GWL_STYLE, style);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinControl::SetWindowExStyle(LONG style) {
    SetWindowLongA(Handle(), GWL_EXSTYLE, style);
}

bool TWinControl::Focused() const {
    return FHandle && GetFocus() == FHandle.Get();
}

} // namespace zq
