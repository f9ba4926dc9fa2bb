#pragma once
// Forms (top-level windows holding controls), the screen's list of forms, and dialog navigation:
// Tab and Shift+Tab between controls, Enter for the default button, Esc for the close box and
// Ctrl+Tab between pages, for forms that ask for dialog keys.
#include <windows.h>

#include <functional>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/MonitorLayout.h"

namespace zq {

class TCustomForm;

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// What forms need of the application object, which implements it: the window that owns every
// top-level form, the main form, and ending the program when the main form closes.
class TFormHost {
public:
    virtual HWND Handle() const = 0;
    virtual TCustomForm* MainForm() const = 0;
    virtual void Terminate() = 0;

protected:
    ~TFormHost() = default;
};

extern TFormHost* FormHost;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    TCustomForm* AsForm() override { return this; }

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style) { FBorderStyle = style; }
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons) { FBorderIcons = icons; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle style);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    unsigned char AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(unsigned char value);
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    // The client size; applies to the window once it exists.
    void SetClientSize(int width, int height);
    // A form keeps its place and its client size follows; it is scaled to its monitor's
    // resolution when its window is made, and again when Windows reports another.
    void ChangeScale(int ppi) override;
    // Dialog navigation by the keyboard (the message loop asks IsDialogKeyMessage).
    bool DialogKeys() const { return FDialogKeys; }
    void SetDialogKeys(bool value) { FDialogKeys = value; }

    void Show();
    void Hide() { SetVisible(false); }
    void SetVisible(bool value) override;
    // Runs OnCloseQuery and OnClose, then hides the form, or ends the program for the main form.
    // Once the main form has ended the program, further close requests do nothing.
    void Close();
    void BringToFront();
    // Places the window in the topmost or the normal band, re-applying its position and size.
    void PlaceInBand(bool topmost);
    // Hands the window to the system's move loop as if its title bar had been grabbed.
    void BeginSystemMove();

    std::function<void(TObject* sender, TCloseAction& action)> OnClose;
    std::function<void(TObject* sender, bool& canClose)> OnCloseQuery;
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    // The Windows session is ending (log off, restart, shut down): the process may be ended
    // without any close once this returns.
    TNotifyEvent OnEndSession;

    // Step three of creation: runs OnCreate.
    void DoCreate();

protected:
    // Runs OnShow, before the window appears.
    virtual void DoShow();
    // Runs OnClose, which may change the action.
    virtual void DoClose(TCloseAction& action);
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // A close request runs Close; the end of the session runs OnEndSession; activation gives the
    // focus back to the active control; with dialog keys, Esc (IDCANCEL) closes, DM_GETDEFID
    // answers the default button and WM_NEXTDLGCTL moves the focus.
    bool WMClose(TMessage& m) override;
    bool WMEndSession(TMessage& m) override;
    bool WMActivate(TMessage& m) override;
    // Moved to a monitor of another resolution: laid out again there, in the suggested
    // rectangle.
    bool WMDpiChanged(TMessage& m) override;
    bool WMCommand(TMessage& m) override;
    bool DMGetDefID(TMessage& m) override;
    bool WMNextDlgCtl(TMessage& m) override;
    void DescendantFocused(TWinControl* control) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Gives the focus back to the active control, or to the first tab stop.
    bool RestoreFocus();
    TWinControl* DefaultControl(TWinControl& within) const;

    TBorderStyle FBorderStyle = TBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    TPosition FPosition = TPosition::poDesigned;
    bool FAlphaBlend = false;
    unsigned char FAlphaBlendValue = 255;
    TWinControl* FActiveControl = nullptr;
    int FModalResult = mrNone;
    int FClientWidth = -1;
    int FClientHeight = -1;
    bool FDialogKeys = false;
    bool FEndedProgram = false;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

// The small window that shows a control's hint near the mouse, in the application's hint colour.
class THintWindow : public TWinControl {
public:
    explicit THintWindow(TComponent* owner);
    // Shows `text` with its top-left corner at the screen point, without taking the focus.
    void ActivateHint(int x, int y, const std::string& text, TColor color);
    void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;
};

// The control at a screen point among this process's windows, disabled ones included (they
// show hints too), or nullptr.
TControl* ControlAtScreenPoint(POINT point);

// The form a control sits on, or nullptr.
TCustomForm* GetParentForm(TControl* control);

// The message loop's pre-translation: dialog keys for the form the message is aimed at, if it
// asks for them. True when the message was used up.
bool IsDialogKeyMessage(MSG& msg);

// Whether the running system offers layered-window opacity (SetLayeredWindowAttributes).
bool LayeredWindowsSupported();
// Replaces the check (tests of a system without layered windows); nullptr restores it.
void SetLayeredWindowsCheck(bool (*check)());
// Applies or removes layered-window opacity on a top-level window.
void ApplyLayeredAlpha(HWND wnd, bool enabled, unsigned char alpha);

class TScreen {
public:
    const std::vector<TCustomForm*>& Forms() const { return FForms; }
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    // The work area of every monitor (the desktop less taskbars and docked bars).
    std::vector<TRect> WorkAreas() const;
    // Every monitor's rectangle and work area. Allocates nothing.
    TMonitorLayout Monitors() const;

private:
    friend class TCustomForm;
    std::vector<TCustomForm*> FForms;
};

TScreen& Screen();

} // namespace zq
