#include "controls/TCustomEnhListView.h"

#include "platform/Canvas.h"
#include "platform/MergeSort.h"

#include <algorithm>
#include <numeric>

namespace ondrex {

TCustomEnhListView::TCustomEnhListView() : sortFormat_(FormatSettings()) {}

TCustomEnhListView::~TCustomEnhListView() {
    if (settingsStored_) return;
    // A settings file that cannot be written must not end the program from a destructor.
    try {
        StoreSettings();
    } catch (...) {
    }
}

void TCustomEnhListView::Loaded() {
    loading_ = false;
    ApplyBackground();
    updateCount_ = 0;
    if (!LoadSettings() || !SaveSettings().SaveCurrentSort) {
        if (Columns().Count() > 0) currentSortColumn_ = 0;
        Resort();
    }
    SetHeaderOwnerDraw(HeaderOwnerDrawWanted());
    Repaint();
}

// ---- Sorting -----------------------------------------------------------------------------

void TCustomEnhListView::SortColumn(int column, bool ascending) {
    resortPending_ = false;
    SetCurrentSortColumn(column);
    DoSortBegin(column, ascending);
    const int sign = ascending ? 1 : -1;
    const int subItem = column - 1;
    if (OnSortItems) {
        CustomSort([&](const TListItem* a, const TListItem* b) {
            return DoSortItems(const_cast<TListItem*>(a), const_cast<TListItem*>(b), subItem) *
                   sign;
        });
    } else {
        SortBuiltIn(sign, column);
    }
    DoSortFinished(column, ascending);
}

// The built-in comparison with each row's texts examined once: the answers are those of
// comparing the rows pair by pair.
void TCustomEnhListView::SortBuiltIn(int sign, int column) {
    if (OwnerData()) return;
    const int n = Items().Count();
    std::vector<std::string_view> texts(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) texts[std::size_t(i)] = Items()[i]->Text(column);
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    if (autoSortStyle_ == TAutoSortStyle::assSmart) {
        std::vector<TSmartKey> keys(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            keys[std::size_t(i)] = MakeSmartKey(texts[std::size_t(i)], sortFormat_);
        MergeSort(order, [&](int a, int b) {
            return sign * CompareSmartKeys(keys[std::size_t(a)], texts[std::size_t(a)],
                                           keys[std::size_t(b)], texts[std::size_t(b)]) <
                   0;
        });
    } else {
        MergeSort(order, [&](int a, int b) {
            return sign * CompareTextOrder(texts[std::size_t(a)], texts[std::size_t(b)]) < 0;
        });
    }
    texts.clear();
    Items().Reorder(order);
}

void TCustomEnhListView::SortColumnToggle(int column, bool ascending) {
    if (autoColumnSort_ == TAutoColumnSort::acsSortToggle) {
        currentSortAscending_ = column == currentSortColumn_ ? !ascending : ascending;
        InvalidateColumnHeader(column);
    }
    SortColumn(column, ascending);
}

void TCustomEnhListView::Resort() {
    resortPending_ = true;
    const bool columnValid = currentSortColumn_ >= 0 && currentSortColumn_ < Columns().Count();
    if (((autoColumnSort_ != TAutoColumnSort::acsNoSort && columnValid) || OnSortItems) &&
        updateCount_ <= 0)
        SortColumn(currentSortColumn_, currentSortAscending_);
}

void TCustomEnhListView::BeginUpdate() {
    Items().BeginUpdate();
    ++updateCount_;
}

void TCustomEnhListView::EndUpdate() {
    updateCount_ = std::max(updateCount_ - 1, 0);
    if (updateCount_ == 0 && resortPending_) Resort();
    Items().EndUpdate();
}

void TCustomEnhListView::DoSortBegin(int column, bool ascending) {
    OnSortBegin(this, column, ascending);
}

void TCustomEnhListView::DoSortFinished(int column, bool ascending) {
    OnSortFinished(this, column, ascending);
}

int TCustomEnhListView::DoSortItems(TListItem* item1, TListItem* item2, int sortColumn) {
    int result = 0;
    OnSortItems(this, item1, item2, sortColumn, result);
    return result;
}

void TCustomEnhListView::ColumnClicked(int column) {
    if (autoColumnSort_ == TAutoColumnSort::acsSortToggle) {
        if (column == currentSortColumn_)
            SetCurrentSortAscending(!currentSortAscending_);
        else
            SetCurrentSortAscending(autoSortAscending_);
    }
    TListView::ColumnClicked(column);
    if (autoColumnSort_ != TAutoColumnSort::acsNoSort && column < Columns().Count())
        SortColumn(column, currentSortAscending_);
    SetCurrentSortColumn(column);
}

void TCustomEnhListView::ItemInserted(TListItem* item) {
    TListView::ItemInserted(item);
    if (autoResort_) Resort();
}

void TCustomEnhListView::EndLabelEdit(int index, const std::string* text) {
    TListView::EndLabelEdit(index, text);
    if (text) {
        if (autoResort_) Resort();
    } else if (index != -1) {
        DoEditCanceled(Items()[index]);
    }
}

void TCustomEnhListView::DoEditCanceled(TListItem* item) {
    OnEditCanceled(this, item);
}

// ---- Properties --------------------------------------------------------------------------

void TCustomEnhListView::SetAutoColumnSort(TAutoColumnSort value) {
    if (autoColumnSort_ == value) return;
    autoColumnSort_ = value;
    if (value != TAutoColumnSort::acsNoSort) Resort();
}

void TCustomEnhListView::SetAutoSortStyle(TAutoSortStyle value) {
    if (autoSortStyle_ == value) return;
    autoSortStyle_ = value;
    Resort();
}

void TCustomEnhListView::SetAutoSortAscending(bool value) {
    autoSortAscending_ = value;
    currentSortAscending_ = value;
}

void TCustomEnhListView::SetCurrentSortColumn(int column) {
    if (currentSortColumn_ == column) return;
    const int previous = currentSortColumn_;
    currentSortColumn_ = column;
    if (showSortArrows_) InvalidateColumnHeader(previous);
}

void TCustomEnhListView::SetCurrentSortAscending(bool ascending) {
    if (currentSortAscending_ == ascending) return;
    currentSortAscending_ = ascending;
    InvalidateColumnHeader(currentSortColumn_);
}

void TCustomEnhListView::SetShowSortArrows(bool show) {
    showSortArrows_ = show;
    sortUp_.reset();
    sortDown_.reset();
    if (show) CreateSortArrowBitmaps();
    if (!loading_) SetHeaderOwnerDraw(HeaderOwnerDrawWanted());
    if (HandleAllocated()) Invalidate();
}

void TCustomEnhListView::SetReverseSortArrows(bool reverse) {
    if (reverseSortArrows_ == reverse) return;
    reverseSortArrows_ = reverse;
    if (showSortArrows_) {
        CreateSortArrowBitmaps();
        InvalidateColumnHeader(currentSortColumn_);
    }
}

void TCustomEnhListView::SetStyle(TLVStyle style) {
    if (style_ == style) return;
    style_ = style;
    SetOwnerDraw(style == TLVStyle::lvOwnerDrawFixed);
}

void TCustomEnhListView::SetBackgroundImage(const TBitmap& picture) {
    backgroundImage_ = picture;
    ApplyBackground();
}

void TCustomEnhListView::ApplyBackground() {
    SetBackgroundBitmap(backgroundImage_.Empty() ? nullptr : &backgroundImage_);
    Invalidate();
}

void TCustomEnhListView::SetOnDrawHeader(TLVHDrawItemEvent handler) {
    onDrawHeader_ = handler;
    SetHeaderOwnerDraw(HeaderOwnerDrawWanted());
}

bool TCustomEnhListView::HeaderOwnerDrawWanted() const {
    return bool(onDrawHeader_) || showSortArrows_;
}

void TCustomEnhListView::SetHeaderOwnerDraw(bool on) {
    for (int i = 0; i < Columns().Count(); ++i) SetHeaderItemOwnerDraw(i, on);
}

void TCustomEnhListView::ResizeColumns(bool fitHeader) {
    BeginUpdate();
    Columns().BeginUpdate();
    for (int i = 0; i < Columns().Count(); ++i)
        Columns()[i]->SetWidth(fitHeader ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE);
    Columns().EndUpdate();
    EndUpdate();
}

void TCustomEnhListView::InvalidateColumnHeader(int index) {
    if (index < 0 || index >= Columns().Count()) return;
    const TRect r = HeaderItemRect(index);
    if (!r.IsEmpty()) InvalidateRect(r.Inflate(-2, -2), false);
}

// ---- Header notifications ----------------------------------------------------------------

void TCustomEnhListView::HeaderItemChanged(int) {
    // Owner drawing is put back on items the header changed, once per change.
    if (headerBusy_) return;
    headerBusy_ = true;
    SetHeaderOwnerDraw(HeaderOwnerDrawWanted());
    headerBusy_ = false;
}

void TCustomEnhListView::HeaderBeginTrack(int column) {
    HeaderItemChanged(column);
}

// ---- Column mapping ----------------------------------------------------------------------

int TCustomEnhListView::ActualColumnIndex(int index) {
    return index;
}

TListColumn* TCustomEnhListView::GetActualColumn(int index) {
    return index < Columns().Count() ? Columns()[index] : nullptr;
}

std::string TCustomEnhListView::GetSubItemText(int index, int subItem) {
    const TListItem* item = Items()[index];
    if (!item) return {};
    return subItem == -1 ? item->Caption() : item->SubItem(subItem);
}

int TCustomEnhListView::ColumnWidthAt(int position) {
    const TListColumn* column = Columns()[ColumnAtPosition(position)];
    return column ? column->Width() : 0;
}

} // namespace ondrex
