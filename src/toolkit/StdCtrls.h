#pragma once
// Standard controls over the system's own window classes: labels (STATIC), buttons, check
// boxes and group boxes (BUTTON), drop-down lists (COMBOBOX) and memos (EDIT). Screen readers
// see them as what they are, and WM_GETTEXT reads their texts.
#include <string>
#include <vector>

#include "toolkit/Controls.h"

namespace zq {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TCustomLabel : public TWinControl {
public:
    explicit TCustomLabel(TComponent* owner);

    // Sized to its caption (keeping its left and top) whenever the caption or font changes.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { FAlignment = value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { FWordWrap = value; }
    void SetCaption(const std::string& caption) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void FontChanged() override;
    void Loaded() override;
    virtual void AdjustBounds();
    bool HandleCommand(WORD code) override;

    bool FAutoSize = true;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// A label owned by `owner` on `parent` at (left, top) in design units, sized to its caption.
TLabel* NewLabel(TComponent* owner, TWinControl* parent, const std::string& caption, int left,
                 int top);

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    // Pressed by Enter anywhere in its form.
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool IsDefaultControl() const override { return FDefault; }

protected:
    void CreateParams(TCreateParams& params) override;
    bool HandleCommand(WORD code) override;

    bool FDefault = false;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return FChecked; }
    // A change of state runs the click event, from code as from the user.
    void SetChecked(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    bool HandleCommand(WORD code) override;

    bool FChecked = false;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    // The system's group box paints only its frame and caption, and lets the mouse through.
    bool WMEraseBkgnd(TMessage& m) override;
    bool WMPaint(TMessage& m) override;
    bool WMNcHitTest(TMessage& m) override;
};

// A drop-down list without free text.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);

    const std::vector<std::string>& Items() const { return FItems; }
    void AddItem(const std::string& item);
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const { return FItemIndex; }
    // Selecting from code does not run OnChange.
    void SetItemIndex(int index);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value) { FDropDownCount = value; }
    // The height of the closed box; the window's height also holds the dropped list.
    void SetBounds(int left, int top, int width, int height) override;

    // The user picked an entry.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    bool HandleCommand(WORD code) override;

private:
    int ListHeight() const;
    std::vector<std::string> FItems;
    int FItemIndex = -1;
    int FDropDownCount = 8;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);

    const std::vector<std::string>& Lines() const { return FLines; }
    void SetLines(const std::vector<std::string>& lines);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value) { FScrollBars = value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { FWordWrap = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    // Tab, Enter and Esc stay with the dialog.
    bool WMGetDlgCode(TMessage& m) override;

private:
    std::string Text() const;
    std::vector<std::string> FLines;
    bool FReadOnly = false;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
    bool FWordWrap = true;
};

} // namespace zq
