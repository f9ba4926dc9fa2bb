#include "toolkit/Forms.h"

#include <algorithm>

#include "toolkit/Exceptions.h"
#include "toolkit/SystemProc.h"

namespace zq {

TFormHost* FormHost = nullptr;

// ---- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    FVisible = false;
    FLeft = 0;
    FTop = 0;
    FWidth = 320;
    FHeight = 240;
    FControlStyle = csAcceptsControls;
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
    if (FDialogKeys)
        p.ExStyle |= WS_EX_CONTROLPARENT;
    p.WndParent = FormHost != nullptr ? FormHost->Handle() : nullptr;
    p.Id = 0;
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    ChangeScale(WindowPixelsPerInch(FHandle.Get()));
    if (FClientWidth >= 0)
        SetClientSize(FClientWidth, FClientHeight);
    if (FPosition == TPosition::poScreenCenter) {
        // Centred by the window's real size, frame included.
        RECT r;
        GetWindowRect(FHandle.Get(), &r);
        int w = r.right - r.left, h = r.bottom - r.top;
        SetBounds((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                  w, h);
    }
    if (FAlphaBlend)
        ApplyLayeredAlpha(FHandle.Get(), true, FAlphaBlendValue);
}

void TCustomForm::ChangeScale(int ppi) {
    const int from = FPixelsPerInch;
    TWinControl::ChangeScale(ppi);
    if (FClientWidth >= 0)
        SetClientSize(ScaleToDpi(FClientWidth, ppi, from), ScaleToDpi(FClientHeight, ppi, from));
}

bool TCustomForm::WMDpiChanged(TMessage& m) {
    ChangeScale(HIWORD(m.WParam));
    const auto& r = *reinterpret_cast<const RECT*>(m.LParam);
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    return true;
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

void TCustomForm::SetActiveControl(TWinControl* control) {
    FActiveControl = control;
    if (control != nullptr && FHandle && GetActiveWindow() == FHandle.Get())
        control->SetFocus();
}

void TCustomForm::DescendantFocused(TWinControl* control) {
    if (control != this)
        FActiveControl = control;
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FActiveControl)
        FActiveControl = nullptr;
}

bool TCustomForm::RestoreFocus() {
    TWinControl* target = FActiveControl;
    if (target != nullptr && target->HandleAllocated() && IsWindowVisible(target->Handle()) &&
        IsWindowEnabled(target->Handle())) {
        ::SetFocus(target->Handle());
        return true;
    }
    HWND first = GetNextDlgTabItem(FHandle.Get(), nullptr, FALSE);
    if (first == nullptr || first == FHandle.Get() || !IsChild(FHandle.Get(), first))
        return false;
    ::SetFocus(first);
    return true;
}

TWinControl* TCustomForm::DefaultControl(TWinControl& within) const {
    for (int i = 0; i < within.ControlCount(); ++i) {
        auto* win = within.Controls(i)->AsWinControl();
        if (win == nullptr || !win->Visible() || !win->Enabled())
            continue;
        if (win->IsDefaultControl())
            return win;
        if (TWinControl* found = DefaultControl(*win))
            return found;
    }
    return nullptr;
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
        // Before the window appears: OnShow may select a page or hide another window.
        DoShow();
        ShowWindow(wnd, SW_SHOW);
        if (GetActiveWindow() == wnd)
            RestoreFocus();
    } else {
        ShowWindow(wnd, SW_HIDE);
        if (OnHide)
            OnHide(this);
    }
}

void TCustomForm::DoShow() {
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose)
        OnClose(this, action);
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
    if (FEndedProgram)
        return;
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    if (!canClose)
        return;
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone)
        return;
    if (FormHost != nullptr && FormHost->MainForm() == this) {
        FEndedProgram = true;
        FormHost->Terminate();
    } else if (action == TCloseAction::caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Hide(); // caFree too: forms live for the whole run here
}

bool TCustomForm::WMClose(TMessage&) {
    Close();
    return true;
}

bool TCustomForm::WMEndSession(TMessage& m) {
    if (m.WParam != FALSE && OnEndSession)
        OnEndSession(this);
    return true;
}

bool TCustomForm::WMActivate(TMessage& m) {
    if (LOWORD(m.WParam) == WA_INACTIVE || HIWORD(m.WParam) != 0)
        return false;
    bool focused = RestoreFocus();
    if (OnActivate)
        OnActivate(this);
    return focused; // else DefWindowProc focuses the form itself
}

bool TCustomForm::WMCommand(TMessage& m) {
    if (FDialogKeys && LOWORD(m.WParam) == IDCANCEL &&
        TWinControl::FromHandle(reinterpret_cast<HWND>(m.LParam)) == nullptr) {
        Close();
        return true;
    }
    return TWinControl::WMCommand(m);
}

bool TCustomForm::DMGetDefID(TMessage& m) {
    if (TWinControl* def = DefaultControl(*this); def != nullptr && def->HandleAllocated())
        m.Result = MAKELRESULT(GetDlgCtrlID(def->Handle()), DC_HASDEFID);
    return true;
}

bool TCustomForm::WMNextDlgCtl(TMessage& m) {
    HWND target = LOWORD(m.LParam) != 0
                      ? reinterpret_cast<HWND>(m.WParam)
                      : GetNextDlgTabItem(FHandle.Get(), GetFocus(), m.WParam != 0);
    if (target != nullptr)
        ::SetFocus(target);
    return true;
}

// ---- THintWindow

THintWindow::THintWindow(TComponent* owner) : TWinControl(owner) {
    FVisible = false;
    FColor = clInfoBk;
}

void THintWindow::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    p.WndParent = nullptr;
    p.Id = 0;
}

namespace {
// A hint's text is broken to this width; around it lie the border and a margin, and left and
// right a pixel to spare, so that the painted text breaks where it was measured.
constexpr int kHintTextWidth = 300;
constexpr int kHintBorder = 1;
constexpr int kHintMarginX = 2;
constexpr int kHintMarginY = 1;
constexpr int kHintSpareX = 1;
} // namespace

void THintWindow::ActivateHint(int x, int y, const std::string& text, TColor color) {
    FColor = color;
    SetCaption(text);
    WindowDC dc(nullptr);
    SelectGuard font(dc.Get(), FontHandle());
    RECT r{0, 0, Scaled(kHintTextWidth), 0};
    DrawTextA(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    // Kept on the screen.
    int width = r.right + 2 * (kHintBorder + Scaled(kHintMarginX) + kHintSpareX);
    int height = r.bottom + 2 * (kHintBorder + Scaled(kHintMarginY));
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height));
    SetWindowPos(Handle(), HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FVisible = true;
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    if (FHandle && FVisible)
        ShowWindow(FHandle.Get(), SW_HIDE);
    FVisible = false;
}

void THintWindow::PaintWindow(HDC dc) {
    RECT r;
    GetClientRect(FHandle.Get(), &r);
    InflateRect(&r, -Scaled(kHintMarginX), -Scaled(kHintMarginY));
    SelectGuard font(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(clInfoText));
    DrawTextA(dc, FCaption.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX);
}

TControl* ControlAtScreenPoint(POINT point) {
    HWND wnd = WindowFromPoint(point);
    DWORD pid = 0;
    if (wnd == nullptr || (GetWindowThreadProcessId(wnd, &pid), pid != GetCurrentProcessId()))
        return nullptr;
    // WindowFromPoint passes over disabled windows; their parents find them.
    for (;;) {
        POINT client = point;
        ScreenToClient(wnd, &client);
        HWND child = ChildWindowFromPointEx(wnd, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (child == nullptr || child == wnd)
            break;
        wnd = child;
    }
    // Windows the toolkit did not make (a list view's header) belong to their parents.
    TWinControl* control = nullptr;
    for (; wnd != nullptr && control == nullptr; wnd = GetParent(wnd))
        control = TWinControl::FromHandle(wnd);
    if (control == nullptr)
        return nullptr;
    POINT client = point;
    ScreenToClient(control->Handle(), &client);
    TControl* graphic = control->ControlAtPos(client.x, client.y);
    return graphic != nullptr ? graphic : control;
}

TCustomForm* GetParentForm(TControl* control) {
    while (control != nullptr && control->Parent() != nullptr)
        control = control->Parent();
    return control != nullptr ? control->AsForm() : nullptr;
}

bool IsDialogKeyMessage(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || msg.hwnd == nullptr)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    TWinControl* window = TWinControl::FromHandle(root);
    TCustomForm* form = window != nullptr ? window->AsForm() : nullptr;
    if (form == nullptr || !form->DialogKeys())
        return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
        form->SelectNextPage(GetKeyState(VK_SHIFT) >= 0))
        return true;
    return IsDialogMessageA(root, &msg) != FALSE;
}

// ---- Layered windows

namespace {
using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
}

namespace {
bool (*gLayeredWindowsCheck)() = nullptr;
}

void SetLayeredWindowsCheck(bool (*check)()) {
    gLayeredWindowsCheck = check;
}

bool LayeredWindowsSupported() {
    if (gLayeredWindowsCheck != nullptr)
        return gLayeredWindowsCheck();
    HMODULE user32 = LoadLibraryA("USER32.DLL");
    if (user32 == nullptr)
        return false;
    bool found = GetProcAddress(user32, "SetLayeredWindowAttributes") != nullptr;
    FreeLibrary(user32);
    return found;
}

void ApplyLayeredAlpha(HWND wnd, bool enabled, unsigned char alpha) {
    if (wnd == nullptr)
        return;
    LONG ex = GetWindowLongA(wnd, GWL_EXSTYLE);
    if (!enabled) {
        if (ex & WS_EX_LAYERED) {
            SetWindowLongA(wnd, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
            RedrawWindow(wnd, nullptr, nullptr,
                         RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        return;
    }
    auto fn = LoadedProc<SetLayeredFn>("user32.dll", "SetLayeredWindowAttributes");
    if (fn == nullptr)
        return;
    SetWindowLongA(wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    fn(wnd, 0, alpha, LWA_ALPHA);
}

// ---- TScreen

namespace {
using MonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
using EnumMonitorsFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);

struct TMonitorScan {
    MonitorInfoFn Info;
    TMonitorLayout Layout;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* scan = reinterpret_cast<TMonitorScan*>(data);
    TMonitorLayout& layout = scan->Layout;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (layout.Count < layout.Items.size() && scan->Info(monitor, &info))
        layout.Items[layout.Count++] = {RectOf(info.rcMonitor), RectOf(info.rcWork)};
    return TRUE;
}
} // namespace

TScreen& Screen() {
    static TScreen screen;
    return screen;
}

TCustomForm* TScreen::ActiveForm() const {
    TWinControl* window = TWinControl::FromHandle(GetActiveWindow());
    return window != nullptr ? window->AsForm() : nullptr;
}

std::vector<TRect> TScreen::WorkAreas() const {
    const TMonitorLayout monitors = Monitors();
    std::vector<TRect> areas;
    for (std::size_t i = 0; i < monitors.Count; ++i)
        areas.push_back(monitors.Items[i].WorkArea);
    return areas;
}

TMonitorLayout TScreen::Monitors() const {
    TMonitorScan scan{LoadedProc<MonitorInfoFn>("user32.dll", "GetMonitorInfoA"), {}};
    // Windows 95 and NT 4 have one monitor and no monitor functions.
    auto enumerate = LoadedProc<EnumMonitorsFn>("user32.dll", "EnumDisplayMonitors");
    if (enumerate != nullptr && scan.Info != nullptr)
        enumerate(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&scan));
    RECT work;
    if (scan.Layout.Count == 0 && SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        scan.Layout.Items[scan.Layout.Count++] = {
            {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, RectOf(work)};
    return scan.Layout;
}

TWinControl* TScreen::ActiveControl() const {
    if (TCustomForm* form = ActiveForm())
        if (form->ActiveControl() != nullptr)
            return form->ActiveControl();
    return TWinControl::FromHandle(GetFocus());
}

} // namespace zq
