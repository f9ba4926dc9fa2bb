#include "toolkit/Menus.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "toolkit/Handles.h"
#include "toolkit/UtilWindow.h"

namespace zq {

// ---- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    for (TMenuItem* item : FItems)
        item->FParent = nullptr;
    if (FParent != nullptr)
        FParent->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) {
    if (item == nullptr || item == this)
        return;
    if (item->FParent != nullptr)
        item->FParent->Remove(item);
    FItems.push_back(item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it != FItems.end()) {
        FItems.erase(it);
        item->FParent = nullptr;
    }
}

void TMenuItem::Click() {
    if (FEnabled && OnClick)
        OnClick(this);
}

// ---- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FPopupComponent)
        FPopupComponent = nullptr;
}

namespace {

void BuildMenu(HMENU menu, TMenuItem& parent, std::vector<TMenuItem*>& commands,
               std::vector<UniqueMenu>& subMenus) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible())
            continue;
        UINT flags = MF_STRING;
        if (item->Checked())
            flags |= MF_CHECKED;
        if (!item->Enabled())
            flags |= MF_GRAYED;
        if (item->Caption() == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (item->Count() > 0) {
            UniqueMenu sub(CreatePopupMenu());
            BuildMenu(sub.Get(), *item, commands, subMenus);
            // The parent menu destroys its sub-menus; the owner below only counts them.
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Get()),
                        item->Caption().c_str());
            subMenus.push_back(std::move(sub));
            continue;
        }
        commands.push_back(item);
        UINT id = static_cast<UINT>(commands.size());
        AppendMenuA(menu, flags, id, item->Caption().c_str());
        if (item->Default())
            SetMenuDefaultItem(menu, id, FALSE);
    }
}

HWND MenuOwnerWindow() {
    static TUtilWindow owner(
        [](HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); });
    HWND fg = GetForegroundWindow();
    DWORD pid = 0;
    if (fg != nullptr)
        GetWindowThreadProcessId(fg, &pid);
    return pid == GetCurrentProcessId() ? fg : owner.Handle();
}

} // namespace

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup)
        OnPopup(this);
    std::vector<TMenuItem*> commands;
    std::vector<UniqueMenu> subMenus;
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    BuildMenu(menu.Get(), *FItems, commands, subMenus);
    // Sub-menus go with their parent menu; only the count is dropped here.
    for (UniqueMenu& sub : subMenus)
        sub.Release();
    UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.Get(),
                                                   TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                   x, y, 0, MenuOwnerWindow(), nullptr));
    menu.Reset();
    if (chosen >= 1 && chosen <= commands.size())
        commands[chosen - 1]->Click();
}

} // namespace zq
