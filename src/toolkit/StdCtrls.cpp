#include "toolkit/StdCtrls.h"

#include <algorithm>

namespace zq {

// ---- TCustomLabel

TCustomLabel::TCustomLabel(TComponent* owner) : TWinControl(owner) {
    FParentColor = true;
    FWidth = 65;
    FHeight = 17;
}

void TCustomLabel::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = "STATIC";
    p.SystemClass = true;
    p.Style &= ~WS_CLIPCHILDREN;
    // SS_NOTIFY: clicks reach the label (links); without it the label lets the mouse through.
    p.Style |= SS_NOTIFY;
    switch (FAlignment) {
    case TAlignment::taLeftJustify:
        p.Style |= FWordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
        break;
    case TAlignment::taRightJustify:
        p.Style |= SS_RIGHT;
        break;
    case TAlignment::taCenter:
        p.Style |= SS_CENTER;
        break;
    }
}

void TCustomLabel::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustBounds();
}

void TCustomLabel::SetCaption(const std::string& caption) {
    if (caption == FCaption)
        return;
    TWinControl::SetCaption(caption);
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TWinControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::Loaded() {
    TWinControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || Loading())
        return;
    WindowDC dc(nullptr);
    SelectGuard font(dc.Get(), FontHandle());
    RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
    // An empty label keeps the height of a line.
    const char* text = FCaption.empty() ? " " : FCaption.c_str();
    DrawTextA(dc.Get(), text, -1, &r, DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE));
    int width = FWordWrap ? FWidth : r.right;
    int left = FAlignment == TAlignment::taRightJustify ? FLeft + FWidth - width : FLeft;
    SetBounds(left, FTop, width, r.bottom);
}

bool TCustomLabel::HandleCommand(WORD code) {
    if (code == STN_CLICKED) {
        Click();
        return true;
    }
    if (code == STN_DBLCLK) {
        DblClick();
        return true;
    }
    return false;
}

TLabel* NewLabel(TComponent* owner, TWinControl* parent, const std::string& caption, int left,
                 int top) {
    auto* label = new TLabel(owner);
    label->SetParent(parent);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetCaption(caption);
    return label;
}

// ---- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    FTabStop = true;
    FWidth = 75;
    FHeight = 25;
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = "BUTTON";
    p.SystemClass = true;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    if (FHandle)
        SendMessageA(FHandle.Get(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::HandleCommand(WORD code) {
    if (code != BN_CLICKED)
        return false;
    Click();
    return true;
}

// ---- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    FParentColor = true;
    FTabStop = true;
    FWidth = 97;
    FHeight = 17;
}

void TCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = "BUTTON";
    p.SystemClass = true;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(FHandle.Get(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool value) {
    if (value == FChecked)
        return;
    FChecked = value;
    if (FHandle)
        SendMessageA(FHandle.Get(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    // BM_SETCHECK notifies nobody: the click event runs here.
    Click();
}

bool TCheckBox::HandleCommand(WORD code) {
    if (code != BN_CLICKED)
        return false;
    FChecked = SendMessageA(FHandle.Get(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    Click();
    return true;
}

// ---- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    FParentColor = true;
    FControlStyle |= csAcceptsControls;
    FWidth = 185;
    FHeight = 105;
}

void TGroupBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = "BUTTON";
    p.SystemClass = true;
    p.Style |= BS_GROUPBOX;
}

bool TGroupBox::WMEraseBkgnd(TMessage& m) {
    // The system's group box paints only its frame and caption; under a form that clips its
    // children nothing else would paint the inside.
    RECT r;
    GetClientRect(FHandle.Get(), &r);
    FBrush.SetColor(Color());
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, FBrush.Handle());
    m.Result = 1;
    return true;
}

bool TGroupBox::WMPaint(TMessage& m) {
    m.Result = DefaultHandler(m.Msg, m.WParam, m.LParam);
    WindowDC dc(FHandle.Get());
    PaintGraphicChildren(dc.Get());
    return true;
}

bool TGroupBox::WMNcHitTest(TMessage& m) {
    // The system's group box is transparent to the mouse; its own controls are not.
    m.Result = HTCLIENT;
    return true;
}

// ---- TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    FColor = clWindow;
    FTabStop = true;
    FWidth = 145;
    FHeight = 21;
}

int TComboBox::ListHeight() const {
    constexpr int kItemHeight = 14;
    constexpr int kListBorders = 2;
    return FDropDownCount * Scaled(kItemHeight) + kListBorders;
}

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = "COMBOBOX";
    p.SystemClass = true;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= CBS_DROPDOWNLIST | WS_VSCROLL;
    p.Height = FHeight + ListHeight();
}

void TComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    for (const std::string& item : FItems)
        SendMessageA(FHandle.Get(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(FHandle.Get(), CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TComboBox::SetBounds(int left, int top, int width, int height) {
    if (!FHandle) {
        TWinControl::SetBounds(left, top, width, height);
        return;
    }
    SetWindowPos(FHandle.Get(), nullptr, left, top, width, height + ListHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::AddItem(const std::string& item) {
    FItems.push_back(item);
    if (FHandle)
        SendMessageA(FHandle.Get(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
    FItems.clear();
    FItemIndex = -1;
    if (FHandle)
        SendMessageA(FHandle.Get(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        AddItem(item);
}

void TComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(FItems.size()))
        index = -1;
    FItemIndex = index;
    if (FHandle)
        SendMessageA(FHandle.Get(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TComboBox::HandleCommand(WORD code) {
    if (code != CBN_SELCHANGE)
        return false;
    FItemIndex = static_cast<int>(SendMessageA(FHandle.Get(), CB_GETCURSEL, 0, 0));
    if (OnChange)
        OnChange(this);
    return true;
}

// ---- TMemo

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    FColor = clWindow;
    FTabStop = true;
    FWidth = 185;
    FHeight = 89;
}

std::string TMemo::Text() const {
    std::string text;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += FLines[i];
    }
    return text;
}

void TMemo::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = "EDIT";
    p.SystemClass = true;
    p.Caption = Text();
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (!FWordWrap)
        p.Style |= ES_AUTOHSCROLL;
    if (FReadOnly)
        p.Style |= ES_READONLY;
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth)
        p.Style |= WS_VSCROLL;
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth)
        p.Style |= WS_HSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
    FLines = lines;
    FCaption = Text();
    if (FHandle)
        SetWindowTextA(FHandle.Get(), FCaption.c_str());
}

bool TMemo::WMGetDlgCode(TMessage& m) {
    // Tab moves on, Enter presses the default button, Esc closes.
    LRESULT code = DefaultHandler(m.Msg, m.WParam, m.LParam);
    m.Result = (code & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE)) | DLGC_WANTARROWS;
    return true;
}

} // namespace zq
