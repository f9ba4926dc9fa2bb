#pragma once
// A non-visual component that keeps one icon in the taskbar notification area: tool-tip,
// balloon tips, mouse events, popup menu, icon cycling through an image list, and hiding the
// application to the tray. It listens to the messages of the application window and of its
// owner's window (a control's).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/Graphics.h"
#include "toolkit/UtilWindow.h"
#include "toolkit/Window.h"
#include "tray/TrayIconLogic.h"

namespace zq {

class TPopupMenu;
class TTimer;

using TCycleEvent = std::function<void(TObject* sender, int nextIndex)>;

// The message number of the shell's "TaskbarCreated" broadcast (every constructor stores it).
extern UINT TaskbarCreatedMsg;

class TTrayIcon : public TComponent {
public:
    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    bool DesignPreview() const { return FDesignPreview; }
    void SetDesignPreview(bool value);
    TImageList* IconList() const { return FIconList; }
    void SetIconList(TImageList* list);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool value);
    unsigned CycleInterval() const { return FCycleInterval; }
    void SetCycleInterval(unsigned value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    TIcon& Icon() { return *FIcon; }
    void SetIcon(const TIcon& icon);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool value);
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    bool LeftPopup() const { return FLeftPopup; }
    void SetLeftPopup(bool value) { FLeftPopup = value; }
    bool StartMinimized() const { return FStartMinimized; }
    void SetStartMinimized(bool value) { FStartMinimized = value; }
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;

    // Shows a balloon tip on the icon; answers the shell's result (True when disabled).
    bool ShowBalloon(const std::string& title, const std::string& text, TBalloonIconKind iconKind,
                     std::uint8_t timeoutSeconds);
    bool RefreshIcon() { return UpdateIcon(); }
    // Turns a square bitmap into an icon of its size through a temporary image list.
    bool MakeIconFromBitmap(TBitmap& bitmap, TIcon& icon, TColor maskColor);
    void ShowPopupAtCursor();
    void HideApplicationWindows();

    // The hidden window that receives the shell's notifications.
    HWND IconWindow() const { return FIconWindow ? FIconWindow->Handle() : nullptr; }
    const TNotifyIconDataA& IconData() const { return FIconData; }

    virtual bool WantsDesignTimeIcon() { return true; }
    virtual bool AddIcon();
    virtual bool RemoveIcon();
    virtual bool UpdateIcon();

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void Cycle(int nextIndex);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void HideToTray();
    // The system's settings or colours changed (WM_SETTINGCHANGE, WM_SYSCOLORCHANGE).
    virtual void SystemSettingsChanged() {}

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool FillIconData();
    bool SendToShell(std::uint32_t message);
    LRESULT IconWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HandleMouse(std::uint32_t mouseMessage);
    void RunDefaultItem();
    void CycleTimerTick(TObject* sender);
    void CopyListImage(int index);
    HWND OwnerWindow() const;
    TWinControl* OwnerControl() const {
        return Owner() != nullptr ? Owner()->AsWinControl() : nullptr;
    }
    // The application window: minimising hides to the tray when asked to, a restarted shell
    // ("TaskbarCreated") gets the icon again, a change of the system's settings or colours is
    // passed on.
    void ApplicationMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The owner's window: activation gives the focus back, showing it brings the application
    // window and the owner to the front.
    void OwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    bool FEnabled = true;
    std::unique_ptr<TIcon> FIcon;
    bool FIconVisible = true;
    std::string FHint;
    bool FShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    bool FLeftPopup = false;
    bool FStartMinimized = false;
    bool FMinimizeToTray = false;
    TTrayClickSequencer FClicks; // holds FClickPending
    std::unique_ptr<TTimer> FCycleTimer;
    int FIconIndex = 0;
    bool FDesignPreview = false;
    bool FPreviewSwitching = false;
    bool FFirstPosChange = true;
    TImageList* FIconList = nullptr;
    bool FCycleIcons = false;
    unsigned FCycleInterval = 0;
    TMessageListener FApplicationListener;
    TMessageListener FOwnerListener;
    std::unique_ptr<TUtilWindow> FIconWindow;
    TNotifyIconDataA FIconData{};
};

} // namespace zq
