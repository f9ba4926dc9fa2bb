#pragma once
// Controls and forms. The toolkit is the only place that knows window messages: controls expose
// properties and events, and the window procedures here turn messages into them.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Graphics.h"
#include "toolkit/Handles.h"

namespace zq {

class TWinControl;
class TPopupMenu;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

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
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor color);
    TFont& Font() { return FFont; }
    void SetFont(const TFont& font) { FFont.Assign(font); }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint) { FHint = hint; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; }
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value) { FParentShowHint = value; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    std::string Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& caption);

    virtual void Invalidate();
    // Paints at once.
    virtual void Repaint() { Invalidate(); }

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

protected:
    friend class TWinControl;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void FontChanged() { Invalidate(); }
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
    TFont FFont;
    std::string FHint;
    std::string FCaption;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
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
    TCanvas& Canvas() { return FCanvas; }
    // Paints through the parent's window right away.
    void Repaint() override;
    // Called by the parent during WM_PAINT with the paint DC.
    void PaintWith(HDC dc);

protected:
    virtual void Paint() {}
    TControlCanvas FCanvas;
};

struct TCreateParams {
    std::string ClassName;
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    bool SystemClass = false; // a system window class, subclassed after creation
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }
    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void SetCaption(const std::string& caption) override;
    void Invalidate() override;
    void SetFocus();
    bool Focused() const;
    LONG WindowStyle() { return GetWindowLongA(Handle(), GWL_STYLE); }
    // Applies a new window style and lets the frame follow it.
    void SetWindowStyle(LONG style);
    LONG WindowExStyle() { return GetWindowLongA(Handle(), GWL_EXSTYLE); }
    void SetWindowExStyle(LONG style);
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value) { FTabOrder = value; }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(index); }
    // The topmost visible child at a client point, or nullptr.
    TControl* ControlAtPos(int x, int y) const;
    void AlignControls();

    static TWinControl* FromHandle(HWND wnd);

protected:
    friend class TControl;
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Every message of the window; the default handling ends in DefaultHandler.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
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
    void PaintGraphicChildren(HDC dc);
    void ChildMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    bool ContextMenu(int screenX, int screenY);

    UniqueWindow FHandle;
    WNDPROC FDefProc = nullptr;
    std::vector<TControl*> FControls;
    TControl* FMouseControl = nullptr;
    int FTabOrder = 0;

private:
    static LRESULT CALLBACK InitialProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
};

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

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
    void SetColor(TColor color) override;
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    // The client size; applies to the window once it exists.
    void SetClientSize(int width, int height);

    void Show();
    void Hide() { SetVisible(false); }
    void SetVisible(bool value) override;
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

    // Step three of creation: runs OnCreate.
    void DoCreate();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

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
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

} // namespace zq
