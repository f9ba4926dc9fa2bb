#include "toolkit/Application.h"

#include "toolkit/Exceptions.h"
#include "toolkit/WideText.h"
#include "toolkit/Window.h"

namespace zq {

TApplication* Application = nullptr;

namespace {
const char kAppClass[] = "ZqApplication";

// The message another start posts to the application window; 0 where it cannot be registered.
UINT WakeUpMessage() {
    static const UINT message = RegisterWindowMessageA("ZqApplication.WakeUp");
    return message;
}
} // namespace

TApplication::TApplication() : TComponent(nullptr) {
    Application = this;
    FormHost = this;
    SetExceptionHandler([this](TObject* sender) { HandleException(sender); });
}

TApplication::~TApplication() {
    // Forms go last-created first while the application window still exists.
    DestroyComponents();
    Detach();
    FHandle.Reset();
    FTaskbarOwner.reset();
    if (Application == this) {
        Application = nullptr;
        SetExceptionHandler(nullptr);
    }
    if (FormHost == this)
        FormHost = nullptr;
}

void TApplication::Initialize() {
    if (FHandle)
        return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TWindowObject::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(kProgramIcon));
    wc.lpszClassName = kAppClass;
    RegisterWindowClass(wc);
    // A zero-sized window at the screen's centre: it carries the taskbar button.
    FHandle.Reset(
        CreateWindowChecked(0, kAppClass, FTitle.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                            0, nullptr, nullptr, this));
}

void TApplication::RemoveTaskbarButton() {
    HWND wnd = FHandle.Get();
    ShowWindow(wnd, SW_HIDE);
    SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    // Wine's taskbar gives every visible unowned window a button, tool windows included; an
    // owned window gets none anywhere. The owner is a hidden utility window, never shown and never
    // closed by a message (DefWindowProc would destroy it, and with it every window it owns).
    if (!FTaskbarOwner)
        FTaskbarOwner =
            std::make_unique<TUtilWindow>([](HWND owner, UINT msg, WPARAM wParam, LPARAM lParam) {
                return DefWindowProcA(owner, msg, wParam, lParam);
            });
    SetWindowLongPtrA(wnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(FTaskbarOwner->Handle()));
    ShowWindow(wnd, SW_SHOW);
}

void TApplication::SetTitle(const std::string& title) {
    FTitle = title;
    if (FHandle)
        SetWindowTextA(FHandle.Get(), title.c_str());
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FMainForm)
        FMainForm = nullptr;
    if (component == FMouseControl) {
        FMouseControl = nullptr;
        CancelHint();
    }
    if (component == FHintWindow)
        FHintWindow = nullptr;
    if (component == FHintTimer)
        FHintTimer = nullptr;
}

// ---- Mouse tracking and hints

void TApplication::TrackMouse(HWND wnd) {
    POINT cursor;
    GetCursorPos(&cursor);
    TControl* control = ControlAtScreenPoint(cursor);
    if (control == FMouseControl)
        return;
    TControl* previous = FMouseControl;
    if (previous != nullptr)
        RemoveFreeNotification(previous);
    FMouseControl = control;
    if (control != nullptr)
        FreeNotification(control);
    CancelHint();
    if (previous != nullptr)
        previous->MouseLeave();
    if (control == nullptr)
        return;
    // WM_MOUSELEAVE tells when the mouse leaves the window that had it.
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, wnd, 0};
    if (wnd != nullptr)
        TrackMouseEvent(&track);
    control->MouseEnter();
    if (FMouseControl == control && control->HintShown() && !control->Hint().empty()) {
        if (FHintTimer == nullptr) {
            FHintTimer = new TTimer(this);
            FHintTimer->OnTimer = [this](TObject*) { HintTimerTick(); };
        }
        FHintTimer->SetInterval(static_cast<unsigned>(FHintPause));
        FHintTimer->SetEnabled(true);
    }
}

void TApplication::HintTimerTick() {
    FHintTimer->SetEnabled(false);
    if (FHintShowing || FMouseControl == nullptr) {
        CancelHint();
        return;
    }
    if (FHintWindow == nullptr)
        FHintWindow = new THintWindow(this);
    FHintWindow->ChangeScale(FMouseControl->PixelsPerInch());
    POINT cursor;
    GetCursorPos(&cursor);
    FHintWindow->ActivateHint(cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4,
                              FMouseControl->Hint(), FHintColor);
    FHintShowing = true;
    FHintTimer->SetInterval(static_cast<unsigned>(FHintHidePause));
    FHintTimer->SetEnabled(true);
}

void TApplication::CancelHint() {
    if (FHintTimer != nullptr)
        FHintTimer->SetEnabled(false);
    if (FHintWindow != nullptr)
        FHintWindow->ReleaseHandle();
    FHintShowing = false;
}

void TApplication::FinishFormCreation(TCustomForm* form) {
    form->LoadedTree();
    if (FMainForm == nullptr)
        FMainForm = form;
    form->DoCreate();
}

LRESULT TApplication::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        if (FMainForm != nullptr)
            FMainForm->Close();
        return 0;
    }
    if (msg != 0 && msg == WakeUpMessage()) {
        if (OnWakeUp)
            OnWakeUp();
        return 0;
    }
    return DefaultHandler(msg, wParam, lParam);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    Dispatch(msg);
    return true;
}

void TApplication::Dispatch(MSG& msg) {
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE ||
        msg.message == WM_MOUSELEAVE)
        TrackMouse(msg.hwnd);
    else if ((msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MBUTTONDBLCLK) ||
             (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST))
        CancelHint();
    if (IsDialogKeyMessage(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Run() {
    if (FMainForm != nullptr && FShowMainForm) {
        if (FHandle && !IsWindowVisible(FHandle.Get()))
            ShowWindow(FHandle.Get(), SW_SHOWNA);
        try {
            FMainForm->Show();
        } catch (...) {
            HandleException(FMainForm);
        }
    }
    MSG msg;
    while (!FTerminated) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            FTerminated = true;
            break;
        }
        Dispatch(msg);
    }
}

int TApplication::Execute(const std::function<void()>& setUp) {
    try {
        setUp();
        Run();
        return 0;
    } catch (...) {
        HandleException(nullptr);
        return 1;
    }
}

void TApplication::Terminate() {
    if (!FTerminated)
        PostQuitMessage(0);
}

bool WakeRunningApplication(const std::string& title) {
    HWND running = FindWindowA(kAppClass, title.c_str());
    if (running == nullptr || WakeUpMessage() == 0)
        return false;
    // A program started by the user may hand the foreground on; the running one may not take it.
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    return PostMessageA(running, WakeUpMessage(), 0, 0);
}

void TApplication::HandleException(TObject* sender) {
    std::string message = CurrentExceptionMessage();
    if (OnException) {
        OnException(sender, message);
        return;
    }
    // A failure that repeats while its box is still open (a timer failing every tick) is not
    // stacked up in a pile of identical boxes.
    static std::string showing;
    if (!showing.empty() && showing == message)
        return;
    std::string previous = showing;
    showing = message;
    HWND owner = GetActiveWindow();
    MessageBoxW(owner != nullptr ? owner : FHandle.Get(), WideChars(Utf16(message)),
                WideChars(Utf16(FTitle)), MB_OK | MB_ICONSTOP);
    showing = previous;
}

} // namespace zq
