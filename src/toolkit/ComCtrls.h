#pragma once
// Common controls: the page control and its sheets (SysTabControl32), the list view
// (SysListView32), the status bar (msctls_statusbar32) and the track bar (msctls_trackbar32).
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Controls.h"

namespace zq {

class TPageControl;

// One page: a container of controls shown while its tab is selected. Its window sits beside the
// tab control (a sibling above it), where dialog navigation finds its controls.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* pageControl);
    int PageIndex() const;
    void SetCaption(const std::string& caption) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(index); }
    int ActivePageIndex() const { return FActivePageIndex; }
    // Selecting from code does not run OnChange.
    void SetActivePageIndex(int index);
    TTabSheet* ActivePage() const;
    bool SelectNextPage(bool forward) override;
    void SetVisible(bool value) override;

    // The user chose another page.
    TNotifyEvent OnChange;

protected:
    friend class TTabSheet;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    HWND ChildParentWindow(TWinControl* child) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
    void BoundsChanged() override;
    // The tabs' height follows the font: the pages are laid out again.
    void FontChanged() override;
    void PlaceInTabOrder(HWND& after) override;
    void UpdateTabOrder() override {}

private:
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTab(TTabSheet* page);
    void ShowActivePage();
    void LayoutPages();
    std::vector<TTabSheet*> FPages;
    int FActivePageIndex = -1;
};

struct TListColumn {
    std::string Caption;
    int Width = 50;
};

struct TListItem {
    std::string Caption;
    std::vector<std::string> SubItems;
    int ImageIndex = -1;
};

enum class TSortType { stNone, stText };

// A report-style list view.
class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);

    // `width` in design units.
    void AddColumn(const std::string& caption, int width);
    void ChangeScale(int ppi) override;
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    // Adds a row; with SortType stText the rows stay ordered by caption (lstrcmpA).
    void AddItem(TListItem item);
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    const TListItem& Items(int index) const { return *FItems.at(index); }
    void Clear();
    // Rows added between the two are shown (and sorted) once, at EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // Shared: the list view never destroys it.
    TImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* images);
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType value) { FSortType = value; }
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value) { FShowColumnHeaders = value; }
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool value) { FColumnClick = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void InsertRow(int index);
    void Sort();
    std::vector<TListColumn> FColumns;
    std::vector<std::unique_ptr<TListItem>> FItems;
    TImageList* FSmallImages = nullptr;
    TSortType FSortType = TSortType::stNone;
    bool FShowColumnHeaders = true;
    bool FColumnClick = true;
    int FUpdating = 0;
};

struct TStatusPanel {
    std::string Text;
    int Width = 50;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);

    // `width` in design units.
    void AddPanel(const std::string& text, int width);
    void ChangeScale(int ppi) override;
    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    const TStatusPanel& Panels(int index) const { return FPanels.at(index); }
    void SetPanelText(int index, const std::string& text);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    void ApplyParts();
    std::vector<TStatusPanel> FPanels;
};

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* owner);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    void SetRange(int min, int max);
    int Position() const { return FPosition; }
    // A change of position runs OnChange, from code as from the user.
    void SetPosition(int value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    bool HandleScroll(WORD code) override;
    virtual void Changed();

    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FFrequency = 1;
};

} // namespace zq
