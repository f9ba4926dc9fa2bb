#pragma once
// The base classes of every control: TControl (position, visibility, font, colour, mouse
// events), TGraphicControl (painted on its parent) and TWinControl (a window of the toolkit's own
// class or a subclassed system class, reached through TWindowObject: reflection of
// notifications and colours to the control they concern, tab order and control ids for dialog
// navigation). The toolkit is the only place that knows window messages: controls expose
// properties and events.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/AccessibleModel.h"
#include "toolkit/Component.h"
#include "toolkit/Dpi.h"
#include "toolkit/Graphics.h"
#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace zq {

class TWinControl;
class TPopupMenu;
class TAccessibleClient;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TCursor { crDefault, crHandPoint };

// Control style flags.
enum TControlStyleFlag : unsigned {
    // Paints every pixel of its rectangle: the background is not erased beneath it.
    csOpaque = 1,
    // May hold child controls.
    csAcceptsControls = 2,
};
using TControlStyle = unsigned;

class TGraphicControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // The control as a graphic control (no window of its own), or nullptr.
    virtual TGraphicControl* AsGraphicControl() { return nullptr; }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    // The parent's colour while ParentColor is on (the default for most controls).
    TColor Color() const;
    virtual void SetColor(TColor color);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    // The control's own font; while ParentFont is on it mirrors the parent's and shares its
    // handle. Changing it switches ParentFont off.
    TFont& Font() { return FFont; }
    void SetFont(const TFont& font) { FFont.Assign(font); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    // The font handle to draw with: the parent's while ParentFont is on.
    HFONT FontHandle() const;
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint) { FHint = hint; }
    // Whether pointing at the control shows its hint; with ParentShowHint on (the default) the
    // parent decides. Setting ShowHint switches ParentShowHint off.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) {
        FShowHint = value;
        FParentShowHint = false;
    }
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value) { FParentShowHint = value; }
    bool HintShown() const;
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor) { FCursor = cursor; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    std::string Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& caption);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle style) { FControlStyle = style; }

    // The resolution the control is laid out at: 96 dots per inch (design units) until its form
    // is scaled to its monitor's.
    int PixelsPerInch() const { return FPixelsPerInch; }
    // A length in design units in the control's pixels, and a length in its pixels in design
    // units: what a form or control needs at run time of its design values.
    int Scaled(int design) const;
    int Unscaled(int pixels) const;
    // Lays the control out again at `ppi` dots per inch: its bounds (a form keeps its place) and
    // its own font (with ParentFont on it follows its parent's); a windowed control scales its
    // children first. The one place where forms are scaled.
    virtual void ChangeScale(int ppi);

    virtual void Invalidate();
    // Paints at once; does nothing while the control cannot be seen.
    virtual void Repaint() { Invalidate(); }

    // What a screen reader learns of the control (toolkit/Accessible.h): nothing until a form
    // names it; Accessible() makes the record.
    TAccessibleInfo& Accessible();
    const TAccessibleInfo* AccessibleInfo() const { return FAccessible.get(); }
    void SetAccessibleName(const std::string& name);
    // The role and value the control shows (a graphic without a value unless it says more).
    virtual void DescribeAccessible(TAccessibleItem& item) const;
    // The shown value may have changed: announced (EVENT_OBJECT_VALUECHANGE) when the named
    // control's object is its window's client area, at most once a second and only when it
    // changed (TValueChangeGate); nothing while the window cannot be seen.
    void AccessibleValueChanged();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

    // Mouse input in the control's client coordinates (called by the parent's window procedure).
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    // The mouse entered or left the control, enabled or not (the application tracks it).
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}

protected:
    friend class TWinControl;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    // The parent's colour changed; a control with ParentColor follows it.
    virtual void ParentColorChanged();
    // The parent's font or colour changed; mirrors it while ParentFont/ParentColor is on.
    void ParentFontChanged();
    virtual void BoundsChanged() {}
    virtual void Resize();
    // Stores the bounds without touching any window (the window reported them).
    void UpdateBounds(int left, int top, int width, int height);

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = TAlign::alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TFont FFont;
    bool FParentFont = true;
    bool FMirroringFont = false;
    std::string FHint;
    std::string FCaption;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = TCursor::crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    TControlStyle FControlStyle = 0;
    int FPixelsPerInch = kDesignDpi;
    std::unique_ptr<TAccessibleInfo> FAccessible;
};

// A canvas on the parent's window at the control's origin, acquired on first use and released
// by FreeHandle (or handed the paint DC during WM_PAINT).
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl& control) : FControl(control) {}
    ~TControlCanvas() override { FreeHandle(); }
    HDC Handle() override;
    void FreeHandle();
    void UsePaintDC(HDC dc);

private:
    TControl& FControl;
    HWND FWnd = nullptr;
    HDC FDC = nullptr;
    bool FOwnDC = false;
    int FSavedDC = 0;
};

// A control without a window of its own; it paints on its parent.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    TGraphicControl* AsGraphicControl() override { return this; }
    TCanvas& Canvas() { return FCanvas; }
    // Paints through the parent's window right away, unless the window cannot be seen.
    void Repaint() override;
    // Called by the parent during WM_PAINT with the paint DC.
    void PaintWith(HDC dc);

protected:
    virtual void Paint() {}
    TControlCanvas FCanvas;
};

// A window message as its handler sees it; the handler that takes it sets Result.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

struct TCreateParams {
    // A system class, or one of the toolkit's own, which is registered (with ClassStyle) when its
    // first window is made.
    std::string ClassName;
    UINT ClassStyle = CS_DBLCLKS;
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    int Id = 0;               // control id of a child window
    bool SystemClass = false; // a system window class, subclassed after creation
};

class TWinControl : public TControl, public TWindowObject {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    TWinControl* AsWinControl() override { return this; }

    // The window, created on first use (with the parent's, which creates its children).
    HWND Handle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }
    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void ChangeScale(int ppi) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void SetCaption(const std::string& caption) override;
    void Invalidate() override;
    void Repaint() override;
    void SetFocus();
    bool Focused() const;
    // Whether the control's window and all its ancestors are shown.
    bool Showing() const;
    LONG WindowStyle() { return GetWindowLongA(Handle(), GWL_STYLE); }
    // Applies a new window style and lets the frame follow it.
    void SetWindowStyle(LONG style);
    LONG WindowExStyle() { return GetWindowLongA(Handle(), GWL_EXSTYLE); }
    void SetWindowExStyle(LONG style);
    // Tab order among the sibling windows: the order of the windows, which dialog navigation
    // follows. Controls take the next number when they join a parent.
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(index); }
    // The topmost visible graphic child at a client point, or nullptr.
    TControl* ControlAtPos(int x, int y) const;
    void AlignControls();

    // Pressed by Enter in a dialog (a default button).
    virtual bool IsDefaultControl() const { return false; }
    // Changes the page of a page control in this control's tree (Ctrl+Tab); false if none.
    virtual bool SelectNextPage(bool forward);

    // The control of a window, or nullptr.
    static TWinControl* FromHandle(HWND wnd);

protected:
    friend class TControl;
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // The window a child's window is created in (normally this control's).
    virtual HWND ChildParentWindow(TWinControl* child);
    // The message map: every message the toolkit handles, named after it, goes to its handler
    // below; what no handler takes goes to DefaultHandler (the class's procedure).
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) final;
    void WindowAttached(HWND wnd) override;
    void WindowDetached(HWND wnd) override;
    TObject* MessageSender() override { return this; }

    // The handlers: each answers whether it took the message (then m.Result is the answer).
    // Own classes paint their own inside and graphic children, erase their background (leaving
    // out opaque graphic children) and route mouse input to the graphic child under the mouse.
    virtual bool WMPaint(TMessage& m);
    virtual bool WMEraseBkgnd(TMessage& m);
    bool WMSetCursor(TMessage& m);
    bool WMMouse(TMessage& m);
    bool WMContextMenu(TMessage& m);
    bool WMWindowPosChanged(TMessage& m);
    // Taken by the controls and forms that need them.
    virtual bool WMNcHitTest(TMessage& m);
    virtual bool WMGetDlgCode(TMessage& m);
    virtual bool WMActivate(TMessage& m);
    virtual bool WMEndSession(TMessage& m);
    virtual bool WMDpiChanged(TMessage& m);
    // WM_GETOBJECT: the client area's object where the window presents named controls
    // (toolkit/Accessible.cpp).
    bool WMGetObject(TMessage& m);
    // WM_COMMAND, WM_NOTIFY, scroll and WM_CTLCOLOR* go to the control they concern (below).
    virtual bool WMCommand(TMessage& m);
    bool WMNotify(TMessage& m);
    bool WMScroll(TMessage& m);
    bool WMCtlColor(TMessage& m);
    // A child window passes its dialog traffic to its form; a form handles it.
    virtual bool WMClose(TMessage& m);
    virtual bool WMNextDlgCtl(TMessage& m);
    virtual bool DMGetDefID(TMessage& m);

    // Own painting of an own-class window, before its graphic children are painted.
    virtual void PaintWindow(HDC dc) { (void)dc; }
    // WM_COMMAND / WM_NOTIFY / scroll notifications reflected from the parent.
    virtual bool HandleCommand(WORD code) {
        (void)code;
        return false;
    }
    virtual bool HandleNotify(NMHDR* header, LRESULT& result) {
        (void)header;
        (void)result;
        return false;
    }
    virtual bool HandleScroll(WORD code) {
        (void)code;
        return false;
    }
    // WM_CTLCOLOR* reflected from the parent: sets the text and background colours, returns
    // the brush to paint the background with.
    virtual HBRUSH CtlColor(HDC dc);
    // A descendant window took the focus (forms remember it).
    virtual void DescendantFocused(TWinControl* control);
    // Puts this control's window after `after` in the z-order (the tab order) and makes it the
    // new `after`.
    virtual void PlaceInTabOrder(HWND& after);
    // Orders the child windows by TabOrder.
    virtual void UpdateTabOrder();
    void FontChanged() override;
    void ColorChanged() override;
    void PaintGraphicChildren(HDC dc);
    // Sends the font to the window.
    void ApplyFont();

    UniqueWindow FHandle;
    std::vector<TControl*> FControls;
    TControl* FMouseControl = nullptr;
    int FTabOrder = -1;
    bool FTabStop = false;
    TBrush FBrush;
    // Built at the first WM_GETOBJECT that this window answers; disconnected when it goes.
    TAccessibleClient* FAccessibleObject = nullptr;

private:
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Mouse input of an own-class window, for the graphic child under the mouse (or the one that
    // has the mouse captured), else for this control.
    void ChildMouse(UINT msg, TShiftState shift, int x, int y);
    // A window with the child style on a parent control.
    bool IsChildWindow();
    bool PassToForm(TMessage& m, UINT msg, WPARAM wParam, LPARAM lParam);
};

// A control's place on its parent in design units, the units form constructors give: pixels at
// 96 dots per inch.
struct TBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Makes a control owned by `owner` on `parent`, with its caption (when one is given) and its
// bounds in design units: how form constructors build their controls.
template <typename T>
T* NewControl(TComponent* owner, TWinControl* parent, const TBounds& bounds,
              const std::string& caption = {}) {
    auto* control = new T(owner);
    control->SetParent(parent);
    if (!caption.empty())
        control->SetCaption(caption);
    control->SetBounds(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    return control;
}

// Encloses a window's painting: BeginPaint and the EndPaint that always follows.
class PaintScope {
public:
    explicit PaintScope(HWND wnd) : FWnd(wnd), FDC(BeginPaint(wnd, &FPaint)) {}
    ~PaintScope() { EndPaint(FWnd, &FPaint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC DC() const { return FDC; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

} // namespace zq
