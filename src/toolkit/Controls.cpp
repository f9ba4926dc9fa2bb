#include "toolkit/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Menus.h"

namespace zq {

namespace {
const char kControlProp[] = "ZqControl";
const char kWindowClass[] = "ZqWindow";

void RegisterWindowClass(WNDPROC proc) {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    wc.lpszClassName = kWindowClass;
    registered = RegisterClassA(&wc) != 0;
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
} // namespace

// ---- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    FFont.OnChange = [this](TObject*) { FontChanged(); };
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
    if (parent != nullptr)
        parent->InsertControl(this);
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
    FEnabled = value;
}

void TControl::SetColor(TColor color) {
    FColor = color;
    Invalidate();
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
    if (!FVisible || FParent == nullptr || !FParent->HandleAllocated())
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
}

TWinControl* TWinControl::FromHandle(HWND wnd) {
    if (wnd == nullptr)
        return nullptr;
    return static_cast<TWinControl*>(GetPropA(wnd, kControlProp));
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    if (auto* win = dynamic_cast<TWinControl*>(control); win != nullptr && win->HandleAllocated())
        ::SetParent(win->FHandle.Get(), Handle());
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

void TWinControl::CreateParams(TCreateParams& p) {
    p.ClassName = kWindowClass;
    p.Caption = FCaption;
    p.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (FVisible ? WS_VISIBLE : 0);
    if (!FEnabled)
        p.Style |= WS_DISABLED;
    p.X = FLeft;
    p.Y = FTop;
    p.Width = FWidth;
    p.Height = FHeight;
    p.WndParent = FParent != nullptr ? FParent->Handle() : nullptr;
}

HWND TWinControl::Handle() {
    if (!FHandle)
        CreateWnd();
    return FHandle.Get();
}

void TWinControl::CreateWnd() {
    RegisterWindowClass(&TWinControl::ControlProc);
    TCreateParams p;
    CreateParams(p);
    HWND wnd = CreateWindowExA(p.ExStyle, p.ClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                               p.Width, p.Height, p.WndParent, nullptr, GetModuleHandleA(nullptr),
                               p.SystemClass ? nullptr : this);
    if (wnd == nullptr)
        throw Exception("Error creating window");
    if (!FHandle)
        FHandle.Reset(wnd);
    if (p.SystemClass) {
        SetPropA(wnd, kControlProp, this);
        FDefProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::ControlProc)));
    }
    SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), 0);
    for (TControl* c : FControls)
        if (auto* win = dynamic_cast<TWinControl*>(c))
            win->Handle();
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

LRESULT CALLBACK TWinControl::ControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FromHandle(wnd);
    if (control == nullptr && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        control = static_cast<TWinControl*>(cs->lpCreateParams);
        if (control != nullptr) {
            SetPropA(wnd, kControlProp, control);
            control->FHandle.Reset(wnd);
            control->FDefProc = nullptr;
        }
    }
    if (control == nullptr)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    LRESULT result = 0;
    try {
        result = control->WndProc(msg, wParam, lParam);
    } catch (...) {
        HandleCurrentException(control);
        result = 0;
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(wnd, kControlProp);
        if (control->FHandle.Get() == wnd)
            control->FHandle.Release();
    }
    return result;
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND wnd = FHandle.Get();
    if (FDefProc != nullptr)
        return CallWindowProcA(FDefProc, wnd, msg, wParam, lParam);
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

TControl* TWinControl::ControlAtPos(int x, int y) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->Visible() && dynamic_cast<TWinControl*>(c) == nullptr && x >= c->Left() &&
            x < c->Left() + c->Width() && y >= c->Top() && y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

void TWinControl::PaintGraphicChildren(HDC dc) {
    for (TControl* c : FControls)
        if (auto* g = dynamic_cast<TGraphicControl*>(c); g != nullptr && g->Visible())
            g->PaintWith(dc);
}

void TWinControl::ChildMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    TShiftState shift = ShiftFromKeys(wParam);
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

bool TWinControl::ContextMenu(int screenX, int screenY) {
    POINT pt{screenX, screenY};
    if (screenX == -1 && screenY == -1) {
        GetCursorPos(&pt);
    }
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

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        if (FDefProc == nullptr) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(FHandle.Get(), &ps);
            PaintGraphicChildren(dc);
            EndPaint(FHandle.Get(), &ps);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (FDefProc == nullptr) {
            RECT r;
            GetClientRect(FHandle.Get(), &r);
            TBrush brush;
            brush.SetColor(FColor);
            FillRect(reinterpret_cast<HDC>(wParam), &r, brush.Handle());
            return 1;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        if (FDefProc == nullptr) {
            ChildMouse(msg, wParam, lParam);
        } else {
            int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            TShiftState shift = ShiftFromKeys(wParam);
            if (msg == WM_LBUTTONDOWN)
                MouseDown(TMouseButton::mbLeft, shift, x, y);
            else if (msg == WM_RBUTTONDOWN)
                MouseDown(TMouseButton::mbRight, shift, x, y);
            else if (msg == WM_LBUTTONUP)
                MouseUp(TMouseButton::mbLeft, shift, x, y);
            else if (msg == WM_RBUTTONUP)
                MouseUp(TMouseButton::mbRight, shift, x, y);
            else if (msg == WM_MOUSEMOVE)
                MouseMove(shift, x, y);
        }
        break;
    case WM_CONTEXTMENU:
        if (ContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
            return 0;
        break;
    case WM_WINDOWPOSCHANGED: {
        RECT r;
        GetWindowRect(FHandle.Get(), &r);
        HWND parent = GetParent(FHandle.Get());
        if (parent != nullptr && (GetWindowLongA(FHandle.Get(), GWL_STYLE) & WS_CHILD)) {
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        }
        bool resized = r.right - r.left != FWidth || r.bottom - r.top != FHeight;
        UpdateBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        LRESULT res = DefaultHandler(msg, wParam, lParam);
        if (resized) {
            AlignControls();
            Resize();
        }
        return res;
    }
    case WM_COMMAND:
        if (lParam != 0) {
            if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(lParam));
                c != nullptr && c != this && c->HandleCommand(HIWORD(wParam)))
                return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (TWinControl* c = FromHandle(header->hwndFrom);
            c != nullptr && c != this && c->HandleNotify(header, result))
            return result;
        break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam != 0) {
            if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(lParam));
                c != nullptr && c != this && c->HandleScroll(LOWORD(wParam)))
                return 0;
        }
        break;
    default:
        break;
    }
    return DefaultHandler(msg, wParam, lParam);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
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
}

void TWinControl::SetEnabled(bool value) {
    FEnabled = value;
    if (FHandle)
        EnableWindow(FHandle.Get(), value);
}

void TWinControl::SetCaption(const std::string& caption) {
    FCaption = caption;
    if (FHandle)
        SetWindowTextA(FHandle.Get(), caption.c_str());
}

void TWinControl::Invalidate() {
    if (FHandle)
        InvalidateRect(FHandle.Get(), nullptr, TRUE);
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

// ---- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    FVisible = false;
    FLeft = 0;
    FTop = 0;
    FWidth = 320;
    FHeight = 240;
    Screen().FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            HandleCurrentException(this);
        }
    }
    // Components refer back to the form: free them while it is whole.
    DestroyComponents();
    auto& forms = Screen().FForms;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    switch (FBorderStyle) {
    case TBorderStyle::bsNone:
        p.Style |= WS_POPUP;
        break;
    case TBorderStyle::bsSingle:
        p.Style |= WS_CAPTION | WS_BORDER;
        break;
    case TBorderStyle::bsSizeable:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case TBorderStyle::bsDialog:
        p.Style |= WS_CAPTION | WS_DLGFRAME;
        p.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TBorderStyle::bsToolWindow:
        p.Style |= WS_CAPTION;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case TBorderStyle::bsSizeToolWin:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (FBorderStyle != TBorderStyle::bsNone && (FBorderIcons & biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        if (FBorderStyle != TBorderStyle::bsDialog && FBorderStyle != TBorderStyle::bsToolWindow &&
            FBorderStyle != TBorderStyle::bsSizeToolWin) {
            if (FBorderIcons & biMinimize)
                p.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons & biMaximize)
                p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FFormStyle == TFormStyle::fsStayOnTop)
        p.ExStyle |= WS_EX_TOPMOST;
    p.WndParent = Application != nullptr ? Application->Handle() : nullptr;
    if (FPosition == TPosition::poScreenCenter) {
        p.X = (GetSystemMetrics(SM_CXSCREEN) - FWidth) / 2;
        p.Y = (GetSystemMetrics(SM_CYSCREEN) - FHeight) / 2;
    }
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (FClientWidth >= 0)
        SetClientSize(FClientWidth, FClientHeight);
    if (FAlphaBlend)
        ApplyLayeredAlpha(FHandle.Get(), true, FAlphaBlendValue);
}

void TCustomForm::SetClientSize(int width, int height) {
    FClientWidth = width;
    FClientHeight = height;
    if (!FHandle) {
        FWidth = width;
        FHeight = height;
        return;
    }
    RECT client, window;
    GetClientRect(FHandle.Get(), &client);
    GetWindowRect(FHandle.Get(), &window);
    SetBounds(FLeft, FTop, (window.right - window.left) - client.right + width,
              (window.bottom - window.top) - client.bottom + height);
}

void TCustomForm::SetFormStyle(TFormStyle style) {
    FFormStyle = style;
    if (FHandle && (style == TFormStyle::fsStayOnTop || style == TFormStyle::fsNormal))
        SetWindowPos(FHandle.Get(),
                     style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetAlphaBlend(bool value) {
    FAlphaBlend = value;
    if (FHandle)
        ApplyLayeredAlpha(FHandle.Get(), value, FAlphaBlendValue);
}

void TCustomForm::SetAlphaBlendValue(unsigned char value) {
    FAlphaBlendValue = value;
    if (FHandle && FAlphaBlend)
        ApplyLayeredAlpha(FHandle.Get(), true, value);
}

void TCustomForm::SetColor(TColor color) {
    FColor = color;
    TWinControl::Invalidate();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    FActiveControl = control;
    if (control != nullptr && FHandle && GetActiveWindow() == FHandle.Get())
        control->SetFocus();
}

void TCustomForm::DoCreate() {
    if (!OnCreate)
        return;
    try {
        OnCreate(this);
    } catch (...) {
        HandleCurrentException(this);
    }
}

void TCustomForm::SetVisible(bool value) {
    if (value == FVisible && (!value || FHandle))
        return;
    FVisible = value;
    HWND wnd = Handle();
    if (value) {
        ShowWindow(wnd, SW_SHOW);
        if (FActiveControl != nullptr)
            FActiveControl->SetFocus();
        if (OnShow)
            OnShow(this);
    } else {
        ShowWindow(wnd, SW_HIDE);
        if (OnHide)
            OnHide(this);
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::BringToFront() {
    if (FHandle)
        SetWindowPos(FHandle.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::PlaceInBand(bool topmost) {
    HWND wnd = Handle();
    SetWindowPos(wnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, FLeft, FTop, FWidth, FHeight, 0);
    if (!topmost && (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        // Some window managers (Wine's) keep an owned window topmost; leave the band unowned.
        LONG_PTR owner = GetWindowLongPtrA(wnd, GWLP_HWNDPARENT);
        SetWindowLongPtrA(wnd, GWLP_HWNDPARENT, 0);
        SetWindowPos(wnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowLongPtrA(wnd, GWLP_HWNDPARENT, owner);
    }
}

void TCustomForm::BeginSystemMove() {
    ReleaseCapture();
    SendMessageA(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TCustomForm::Close() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    if (!canClose)
        return;
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == TCloseAction::caNone)
        return;
    if (Application != nullptr && Application->MainForm() == this)
        Application->Terminate();
    else if (action == TCloseAction::caHide)
        Hide();
    else if (action == TCloseAction::caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Hide(); // caFree: forms live for the whole run here
}

LRESULT TCustomForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            if (FActiveControl != nullptr && FActiveControl->HandleAllocated())
                ::SetFocus(FActiveControl->Handle());
            if (OnActivate)
                OnActivate(this);
        }
        break;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

} // namespace zq
