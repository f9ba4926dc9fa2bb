#include "toolkit/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/Exceptions.h"
#include "toolkit/InsertionSort.h"

namespace zq {

// ---- TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    FParentColor = true;
    FControlStyle |= csAcceptsControls;
    FVisible = false;
}

TTabSheet::~TTabSheet() {
    if (FPageControl != nullptr)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    if (pageControl == FPageControl)
        return;
    if (FPageControl != nullptr)
        FPageControl->RemovePage(this);
    FPageControl = pageControl;
    SetParent(pageControl);
    if (pageControl != nullptr)
        pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (FPageControl == nullptr)
        return -1;
    const auto& pages = FPageControl->FPages;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetCaption(const std::string& caption) {
    FCaption = caption;
    if (FPageControl != nullptr)
        FPageControl->UpdateTab(this);
}

void TTabSheet::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Caption.clear();
}

// ---- TPageControl

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    FTabStop = true;
    FWidth = 289;
    FHeight = 193;
}

TPageControl::~TPageControl() {
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
}

void TPageControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = WC_TABCONTROLA;
    p.SystemClass = true;
    p.Style &= ~WS_CLIPCHILDREN;
}

void TPageControl::CreateWnd() {
    TWinControl::CreateWnd();
    for (TTabSheet* page : FPages) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(page->FCaption.c_str());
        SendMessageA(FHandle.Get(), TCM_INSERTITEMA, static_cast<WPARAM>(page->PageIndex()),
                     reinterpret_cast<LPARAM>(&item));
    }
    LayoutPages();
    ShowActivePage();
}

HWND TPageControl::ChildParentWindow(TWinControl*) {
    // The pages' windows are siblings of the tab control, above it.
    return FParent != nullptr ? FParent->Handle() : Handle();
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    if (FHandle) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(page->FCaption.c_str());
        SendMessageA(FHandle.Get(), TCM_INSERTITEMA, FPages.size() - 1,
                     reinterpret_cast<LPARAM>(&item));
        LayoutPages();
    }
    if (FActivePageIndex < 0)
        FActivePageIndex = 0;
    ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end())
        return;
    int index = static_cast<int>(it - FPages.begin());
    FPages.erase(it);
    if (FHandle)
        SendMessageA(FHandle.Get(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    if (FActivePageIndex >= PageCount())
        FActivePageIndex = PageCount() - 1;
    ShowActivePage();
}

void TPageControl::UpdateTab(TTabSheet* page) {
    if (!FHandle)
        return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(page->FCaption.c_str());
    SendMessageA(FHandle.Get(), TCM_SETITEMA, static_cast<WPARAM>(page->PageIndex()),
                 reinterpret_cast<LPARAM>(&item));
}

TTabSheet* TPageControl::ActivePage() const {
    return FActivePageIndex >= 0 && FActivePageIndex < PageCount() ? FPages[FActivePageIndex]
                                                                   : nullptr;
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount())
        return;
    FActivePageIndex = index;
    ShowActivePage();
}

void TPageControl::ShowActivePage() {
    if (FHandle)
        SendMessageA(FHandle.Get(), TCM_SETCURSEL, static_cast<WPARAM>(FActivePageIndex), 0);
    TTabSheet* active = ActivePage();
    // Show the new page before hiding the old one: no flash of the empty tab control.
    if (active != nullptr)
        active->SetVisible(FVisible);
    for (TTabSheet* page : FPages)
        if (page != active)
            page->SetVisible(false);
}

void TPageControl::SetVisible(bool value) {
    TWinControl::SetVisible(value);
    ShowActivePage();
}

bool TPageControl::SelectNextPage(bool forward) {
    if (!FVisible || PageCount() == 0)
        return false;
    int count = PageCount();
    SetActivePageIndex((FActivePageIndex + (forward ? 1 : count - 1)) % count);
    if (FHandle)
        ::SetFocus(FHandle.Get());
    if (OnChange)
        OnChange(this);
    return true;
}

bool TPageControl::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(TCN_SELCHANGE))
        return false;
    FActivePageIndex = static_cast<int>(SendMessageA(FHandle.Get(), TCM_GETCURSEL, 0, 0));
    ShowActivePage();
    if (OnChange)
        OnChange(this);
    result = 0;
    return true;
}

void TPageControl::BoundsChanged() {
    LayoutPages();
}

void TPageControl::FontChanged() {
    TWinControl::FontChanged();
    LayoutPages();
}

void TPageControl::LayoutPages() {
    if (!FHandle)
        return;
    RECT r;
    GetClientRect(FHandle.Get(), &r);
    SendMessageA(FHandle.Get(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(FHandle.Get(), GetParent(FHandle.Get()), reinterpret_cast<POINT*>(&r), 2);
    for (TTabSheet* page : FPages)
        page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::PlaceInTabOrder(HWND& after) {
    // Pages first: above the tab control, which would otherwise paint over them.
    for (TTabSheet* page : FPages)
        page->PlaceInTabOrder(after);
    TWinControl::PlaceInTabOrder(after);
}

// ---- TListView

namespace {
int CALLBACK CompareCaptions(LPARAM a, LPARAM b, LPARAM) {
    try {
        return lstrcmpA(reinterpret_cast<const TListItem*>(a)->Caption.c_str(),
                        reinterpret_cast<const TListItem*>(b)->Caption.c_str());
    } catch (...) {
        HandleCurrentException(nullptr);
        return 0;
    }
}
} // namespace

TListView::TListView(TComponent* owner) : TWinControl(owner) {
    FColor = clWindow;
    FTabStop = true;
    FWidth = 250;
    FHeight = 150;
}

void TListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = WC_LISTVIEWA;
    p.SystemClass = true;
    // Shared image lists: the toolkit's image list owns its handle.
    p.Style |= LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_SINGLESEL;
    if (!FShowColumnHeaders)
        p.Style |= LVS_NOCOLUMNHEADER;
    if (!FColumnClick)
        p.Style |= LVS_NOSORTHEADER;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
    TWinControl::CreateWnd();
    if (FSmallImages != nullptr)
        SendMessageA(FHandle.Get(), LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(FSmallImages->Handle()));
    for (int i = 0; i < ColumnCount(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = Scaled(FColumns[i].Width);
        column.pszText = const_cast<char*>(FColumns[i].Caption.c_str());
        column.iSubItem = i;
        SendMessageA(FHandle.Get(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < ItemCount(); ++i)
        InsertRow(i);
}

void TListView::AddColumn(const std::string& caption, int width) {
    FColumns.push_back({caption, width});
    if (!FHandle)
        return;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = Scaled(width);
    column.pszText = const_cast<char*>(FColumns.back().Caption.c_str());
    column.iSubItem = ColumnCount() - 1;
    SendMessageA(FHandle.Get(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(ColumnCount() - 1),
                 reinterpret_cast<LPARAM>(&column));
}

void TListView::ChangeScale(int ppi) {
    TWinControl::ChangeScale(ppi);
    for (int i = 0; FHandle && i < ColumnCount(); ++i)
        SendMessageA(FHandle.Get(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                     Scaled(FColumns[i].Width));
}

void TListView::InsertRow(int index) {
    TListItem& data = *FItems[index];
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(data.Caption.c_str());
    item.iImage = data.ImageIndex;
    item.lParam = reinterpret_cast<LPARAM>(&data);
    int row = static_cast<int>(
        SendMessageA(FHandle.Get(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t sub = 0; sub < data.SubItems.size(); ++sub) {
        LVITEMA text{};
        text.iSubItem = static_cast<int>(sub + 1);
        text.pszText = const_cast<char*>(data.SubItems[sub].c_str());
        SendMessageA(FHandle.Get(), LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&text));
    }
}

void TListView::AddItem(TListItem item) {
    FItems.push_back(std::make_unique<TListItem>(std::move(item)));
    if (FHandle)
        InsertRow(ItemCount() - 1);
    if (FUpdating == 0)
        Sort();
}

void TListView::Clear() {
    FItems.clear();
    if (FHandle)
        SendMessageA(FHandle.Get(), LVM_DELETEALLITEMS, 0, 0);
}

void TListView::BeginUpdate() {
    if (FUpdating++ == 0 && FHandle)
        SendMessageA(FHandle.Get(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
    if (FUpdating == 0 || --FUpdating > 0)
        return;
    Sort();
    if (FHandle) {
        SendMessageA(FHandle.Get(), WM_SETREDRAW, TRUE, 0);
        Invalidate();
    }
}

void TListView::Sort() {
    if (FSortType != TSortType::stText)
        return;
    StableInsertionSort(FItems, [](const auto& a, const auto& b) {
        return lstrcmpA(a->Caption.c_str(), b->Caption.c_str()) < 0;
    });
    if (FHandle)
        SendMessageA(FHandle.Get(), LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareCaptions));
}

void TListView::SetSmallImages(TImageList* images) {
    FSmallImages = images;
    if (images != nullptr)
        FreeNotification(images);
    if (FHandle)
        SendMessageA(FHandle.Get(), LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(images != nullptr ? images->Handle() : nullptr));
}

void TListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FSmallImages)
        SetSmallImages(nullptr);
}

// ---- TStatusBar

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    FAlign = TAlign::alBottom;
    FParentColor = true;
    FWidth = 200;
    FHeight = 19;
}

void TStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = STATUSCLASSNAMEA;
    p.SystemClass = true;
    // Laid out by the toolkit like any aligned control.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
}

void TStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyParts();
}

void TStatusBar::AddPanel(const std::string& text, int width) {
    FPanels.push_back({text, width});
    ApplyParts();
}

void TStatusBar::ApplyParts() {
    if (!FHandle)
        return;
    // Right edges; the last panel runs to the right edge of the bar.
    std::vector<int> edges;
    int right = 0;
    for (const TStatusPanel& panel : FPanels) {
        right += Scaled(panel.Width);
        edges.push_back(right);
    }
    if (!edges.empty())
        edges.back() = -1;
    SendMessageA(FHandle.Get(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (std::size_t i = 0; i < FPanels.size(); ++i)
        SendMessageA(FHandle.Get(), SB_SETTEXTA, i,
                     reinterpret_cast<LPARAM>(FPanels[i].Text.c_str()));
}

void TStatusBar::ChangeScale(int ppi) {
    TWinControl::ChangeScale(ppi);
    ApplyParts();
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
    if (index < 0 || index >= PanelCount() || FPanels[index].Text == text)
        return;
    FPanels[index].Text = text;
    if (FHandle)
        SendMessageA(FHandle.Get(), SB_SETTEXTA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(FPanels[index].Text.c_str()));
}

// ---- TTrackBar

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    FParentColor = true;
    FTabStop = true;
    FWidth = 150;
    FHeight = 45;
}

void TTrackBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = TRACKBAR_CLASSA;
    p.SystemClass = true;
    p.Style |= TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM;
}

void TTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(FHandle.Get(), TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageA(FHandle.Get(), TBM_SETRANGEMAX, FALSE, FMax);
    SendMessageA(FHandle.Get(), TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageA(FHandle.Get(), TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetRange(int min, int max) {
    FMin = min;
    FMax = std::max(min, max);
    if (FHandle) {
        SendMessageA(FHandle.Get(), TBM_SETRANGEMIN, FALSE, FMin);
        SendMessageA(FHandle.Get(), TBM_SETRANGEMAX, TRUE, FMax);
    }
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(int value) {
    value = std::clamp(value, FMin, FMax);
    if (value == FPosition)
        return;
    FPosition = value;
    if (FHandle)
        SendMessageA(FHandle.Get(), TBM_SETPOS, TRUE, value);
    // TBM_SETPOS notifies nobody: the change event runs here.
    Changed();
}

void TTrackBar::SetFrequency(int value) {
    FFrequency = value;
    if (FHandle)
        SendMessageA(FHandle.Get(), TBM_SETTICFREQ, static_cast<WPARAM>(value), 0);
}

bool TTrackBar::HandleScroll(WORD) {
    int position = static_cast<int>(SendMessageA(FHandle.Get(), TBM_GETPOS, 0, 0));
    if (position != FPosition) {
        FPosition = position;
        Changed();
    }
    return true;
}

void TTrackBar::Changed() {
    if (OnChange)
        OnChange(this);
}

} // namespace zq
