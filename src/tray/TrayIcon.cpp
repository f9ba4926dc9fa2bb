#include "tray/TrayIcon.h"

#include "toolkit/Application.h"
#include "toolkit/Forms.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "tray/TrayShell.h"

namespace zq {

UINT TaskbarCreatedMsg = 0;

namespace {

TShiftState CurrentShiftState() {
    TShiftState shift = 0;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000)
        shift |= ssShift;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000)
        shift |= ssCtrl;
    if (GetAsyncKeyState(VK_MENU) & 0x8000)
        shift |= ssAlt;
    return shift;
}

std::uint32_t HandleValue(const void* handle) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

} // namespace

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner) {
    TaskbarCreatedMsg = RegisterWindowMessageA("TaskbarCreated");
    FHint.reserve(MaxTipLength); // a hint as long as the shell shows is set without allocating
    FIcon = std::make_unique<TIcon>();
    FIconWindow =
        std::make_unique<TUtilWindow>([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
            return IconWindowProc(wnd, msg, wParam, lParam);
        });
    FIconData = MakeIconData(HandleValue(FIconWindow->Handle()));
    FCycleTimer = std::make_unique<TTimer>(nullptr);
    FCycleTimer->SetEnabled(false);
    FCycleTimer->SetInterval(FCycleInterval);
    FCycleTimer->OnTimer = [this](TObject* sender) { CycleTimerTick(sender); };
    if (Application != nullptr)
        FApplicationListener.Install(*Application, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            ApplicationMessage(msg, wParam, lParam);
        });
    if (auto* owner = OwnerControl())
        FOwnerListener.Install(*owner, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            OwnerMessage(msg, wParam, lParam);
        });
}

TTrayIcon::~TTrayIcon() {
    SetIconVisible(false);
    SetDesignPreview(false);
    FIcon.reset();
    FIconWindow.reset();
    FCycleTimer.reset();
}

// --- properties ---------------------------------------------------------------------------

void TTrayIcon::SetDesignPreview(bool value) {
    FDesignPreview = value;
    FPreviewSwitching = true;
    if (value)
        AddIcon();
    else
        RemoveIcon();
    FPreviewSwitching = false;
}

void TTrayIcon::SetIconList(TImageList* list) {
    FIconList = list;
    if (list != nullptr)
        FreeNotification(list);
    SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool value) {
    FCycleIcons = value;
    if (value)
        SetIconIndex(0);
    FCycleTimer->SetEnabled(value);
}

void TTrayIcon::SetCycleInterval(unsigned value) {
    FCycleInterval = value;
    FCycleTimer->SetInterval(value);
}

void TTrayIcon::SetHint(const std::string& hint) {
    // The meter sets the hint every second: an unchanged one costs the shell nothing, a new one
    // goes without the icon (each update with it has the icon's pictures copied for the shell).
    if (hint == FHint)
        return;
    FHint = hint;
    TNotifyIconDataA tip = FIconData;
    tip.uFlags = tray::NifTip;
    FillTip(tip, FHint, FShowHint);
    TrayShell().NotifyIcon(tray::NimModify, tip);
}

void TTrayIcon::SetShowHint(bool value) {
    FShowHint = value;
    UpdateIcon();
}

void TTrayIcon::SetIcon(const TIcon& icon) {
    if (&icon != FIcon.get())
        FIcon->Assign(icon);
    UpdateIcon();
}

void TTrayIcon::SetIconVisible(bool value) {
    if (value)
        AddIcon();
    else
        RemoveIcon();
}

void TTrayIcon::SetIconIndex(int value) {
    if (FIconList != nullptr) {
        FIconIndex = ClampIconIndex(value, true, FIconList->Count());
        CopyListImage(FIconIndex);
    } else {
        FIconIndex = 0;
    }
    UpdateIcon();
}

void TTrayIcon::SetPopupMenu(TPopupMenu* menu) {
    FPopupMenu = menu;
    if (menu != nullptr)
        FreeNotification(menu);
}

void TTrayIcon::CopyListImage(int index) {
    // An empty list or a negative index names no image; the icon is left as it is.
    if (FIconList != nullptr && ValidImageIndex(index, FIconList->Count()))
        FIconList->GetIcon(index, *FIcon);
}

// --- shell ------------------------------------------------------------------------------------

bool TTrayIcon::FillIconData() {
    if (!FIcon)
        return false;
    FIconData.hIcon = HandleValue(FIcon->Handle());
    FillTip(FIconData, FHint, FShowHint);
    return true;
}

bool TTrayIcon::SendToShell(std::uint32_t message) {
    if (!FillIconData())
        return false;
    return TrayShell().NotifyIcon(message, FIconData);
}

bool TTrayIcon::AddIcon() {
    if (!FPreviewSwitching)
        FIconVisible = true;
    return SendToShell(tray::NimAdd);
}

bool TTrayIcon::RemoveIcon() {
    if (!FPreviewSwitching)
        FIconVisible = false;
    return SendToShell(tray::NimDelete);
}

bool TTrayIcon::UpdateIcon() {
    return SendToShell(tray::NimModify);
}

bool TTrayIcon::ShowBalloon(const std::string& title, const std::string& text,
                            TBalloonIconKind iconKind, std::uint8_t timeoutSeconds) {
    if (!FEnabled)
        return true;
    PrepareBalloonClear(FIconData);
    UpdateIcon();
    PrepareBalloon(FIconData, title, text, iconKind, timeoutSeconds);
    const bool result = UpdateIcon();
    EndBalloon(FIconData);
    return result;
}

bool TTrayIcon::MakeIconFromBitmap(TBitmap& bitmap, TIcon& icon, TColor maskColor) {
    TImageList list(bitmap.Width(), bitmap.Height());
    list.Handle(); // made at once, so the picture goes straight in instead of through a copy
    list.AddMasked(bitmap, maskColor);
    list.GetIcon(0, icon);
    return true;
}

// --- mouse --------------------------------------------------------------------------------------

LRESULT TTrayIcon::IconWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TRAYCALLBACK) {
        HandleMouse(static_cast<std::uint32_t>(lParam));
        return 0;
    }
    if (msg == WM_QUERYENDSESSION)
        return 1;
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

void TTrayIcon::HandleMouse(std::uint32_t mouseMessage) {
    if (!FEnabled)
        return;
    TTrayMouseInput input;
    input.Message = mouseMessage;
    input.Enabled = FEnabled;
    input.LeftPopup = FLeftPopup;
    input.MenuAutoPopup = FPopupMenu != nullptr && FPopupMenu->AutoPopup();
    input.KeyShift = CurrentShiftState();
    POINT pt{};
    GetCursorPos(&pt);
    for (const TTrayStep& step : FClicks.Dispatch(input)) {
        switch (step.Action) {
        case TTrayAction::MouseDown:
            MouseDown(step.Button, step.Shift, pt.x, pt.y);
            break;
        case TTrayAction::Click:
            Click();
            break;
        case TTrayAction::MouseUp:
            MouseUp(step.Button, step.Shift, pt.x, pt.y);
            break;
        case TTrayAction::DblClick:
            DblClick();
            break;
        case TTrayAction::MouseMove:
            MouseMove(step.Shift, pt.x, pt.y);
            break;
        case TTrayAction::ShowPopup:
            ShowPopupAtCursor();
            break;
        case TTrayAction::RunDefaultItem:
            RunDefaultItem();
            break;
        }
    }
}

void TTrayIcon::RunDefaultItem() {
    // An event handler may have taken the menu away or turned AutoPopup off meanwhile.
    if (FPopupMenu == nullptr || !FPopupMenu->AutoPopup() || FLeftPopup)
        return;
    TMenuItem& items = FPopupMenu->Items();
    const int index =
        FindDefaultItem(items.Count(), [&items](int i) { return items.Items(i)->Default(); });
    if (index >= 0)
        items.Items(index)->Click();
}

void TTrayIcon::ShowPopupAtCursor() {
    if (FPopupMenu == nullptr || !FPopupMenu->AutoPopup())
        return;
    POINT pt{};
    if (!GetCursorPos(&pt))
        return;
    if (Application != nullptr)
        Application->ProcessMessages();
    if (FPopupMenu == nullptr) // a processed message may have removed the menu
        return;
    SetForegroundWindow(IconWindow());
    const HWND owner = OwnerWindow();
    if (owner != nullptr)
        SetForegroundWindow(owner);
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(pt.x, pt.y);
    if (owner != nullptr)
        PostMessageA(owner, WM_NULL, 0, 0);
}

void TTrayIcon::Click() {
    if (OnClick)
        OnClick(this);
}

void TTrayIcon::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TTrayIcon::Cycle(int nextIndex) {
    if (OnCycle)
        OnCycle(this, nextIndex);
}

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TTrayIcon::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

// --- cycling ------------------------------------------------------------------------------------

void TTrayIcon::CycleTimerTick(TObject*) {
    if (FIconList == nullptr)
        return;
    CopyListImage(FIconIndex);
    Cycle(NextCycleIndex(FIconIndex, FIconList->Count()));
    UpdateIcon();
    if (FIconList != nullptr) // OnCycle may have taken the list away
        SetIconIndex(NextCycleIndex(FIconIndex, FIconList->Count()));
}

// --- application and owner windows ------------------------------------------------------------

HWND TTrayIcon::OwnerWindow() const {
    auto* owner = OwnerControl();
    return owner != nullptr ? owner->Handle() : nullptr;
}

void TTrayIcon::HideToTray() {
    HideApplicationWindows();
    SetIconVisible(true);
}

void TTrayIcon::HideApplicationWindows() {
    if (OwnerControl() == nullptr || Application == nullptr || Application->MainForm() == nullptr)
        return;
    Application->MainForm()->SetVisible(false);
    ShowWindow(Application->Handle(), SW_HIDE);
}

void TTrayIcon::ApplicationMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_SIZE && wParam == SIZE_MINIMIZED && FMinimizeToTray) {
        HideToTray();
    } else if (msg == WM_WINDOWPOSCHANGED && FFirstPosChange && Application != nullptr &&
               Application->MainForm() != nullptr) {
        if (Application->MainForm()->FormStyle() == TFormStyle::fsMDIForm && FStartMinimized)
            ShowWindow(Application->Handle(), SW_HIDE);
        FFirstPosChange = false;
    } else if (msg == TaskbarCreatedMsg && msg != 0 && FIconVisible) {
        AddIcon();
    } else if (msg == WM_SETTINGCHANGE || msg == WM_SYSCOLORCHANGE) {
        SystemSettingsChanged();
    }
}

void TTrayIcon::OwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ACTIVATE && (LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE)) {
        TWinControl* active = Screen().ActiveControl();
        if (active != nullptr) {
            TWinControl* compared = active->Parent() != nullptr ? active->Parent() : active;
            if (compared->Handle() != reinterpret_cast<HWND>(lParam))
                ::SetFocus(active->Handle());
        }
    } else if (msg == WM_SHOWWINDOW && wParam == 1 && lParam == 0) {
        if (Application != nullptr && Application->Handle() != nullptr) {
            ShowWindow(Application->Handle(), SW_RESTORE);
            SetForegroundWindow(Application->Handle());
        }
        SetForegroundWindow(OwnerWindow());
    }
}

// --- life cycle ---------------------------------------------------------------------------------

void TTrayIcon::Loaded() {
    TComponent::Loaded();
    if (OwnerControl() != nullptr && FStartMinimized && Application != nullptr) {
        Application->SetShowMainForm(false);
        ShowWindow(Application->Handle(), SW_HIDE);
    }
    UpdateIcon();
    SetIconVisible(FIconVisible);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FPopupMenu)
        FPopupMenu = nullptr;
    if (component == FIconList) {
        FIconList = nullptr;
        SetIconList(nullptr);
    }
}

} // namespace zq
