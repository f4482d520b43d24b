#include "platform/ListView.h"

#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "platform/LabelEditor.h"
#include "platform/MergeSort.h"
#include "platform/SystemColors.h"
#include "platform/Timer.h"

#include <algorithm>

namespace ondrex {

namespace {
constexpr int kDefaultHoverTime = 400;

// Keeps a stored row index pointing at the same row after rows were inserted (delta 1) or
// removed (delta -1) at `at`.
void Shift(int& index, int at, int delta) {
    if (index < 0) return;
    if (delta < 0 && index == at)
        index = -1;
    else if (index >= at)
        index += delta;
}
} // namespace

TCustomListView::TCustomListView()
    : items_(this), columns_(this), color_(clWindow), font_("MS Sans Serif", -11) {
    font_.OnChange = TNotifyEvent::fromFunction(
        [](void* self, TObject*) { static_cast<TCustomListView*>(self)->LayoutChanged(); }, this);
}

TCustomListView::~TCustomListView() {
    editor_.reset();
    // Rows go first, without notifications: a derived control is already gone.
    items_.owner_ = nullptr;
    columns_.owner_ = nullptr;
}

// ---- Owner data --------------------------------------------------------------------------

void TCustomListView::SetOwnerData(bool ownerData) {
    if (ownerData_ == ownerData) return;
    items_.Clear();
    ownerData_ = ownerData;
    virtualCount_ = 0;
    virtualStates_.clear();
    focused_ = hot_ = anchor_ = -1;
    top_ = 0;
    LayoutChanged();
}

void TCustomListView::SetItemCount(int count, unsigned flags) {
    if (!ownerData_) return;
    count = std::max(count, 0);
    const int before = virtualCount_;
    const int top = top_;
    virtualCount_ = count;
    virtualStates_.resize(std::size_t(count));
    if (focused_ >= count) focused_ = -1;
    if (hot_ >= count) hot_ = -1;
    if (!(flags & LVSICF_NOSCROLL)) top_ = std::min(top_, std::max(count - 1, 0));
    UpdateScrollBars();
    if (!(flags & LVSICF_NOINVALIDATEALL) || top_ != top) {
        Invalidate();
        return;
    }
    // Only the rows that came or went, where they are in view: rows appended below a full
    // view (a scan still listing its finds) cost no paint.
    const int y = HeaderHeight() + std::max(std::min(before, count) - top_, 0) * RowHeight();
    if (y < ClientHeight()) InvalidateRect({0, y, ClientWidth(), ClientHeight()}, true);
}

int TCustomListView::ItemCount() const {
    return ownerData_ ? virtualCount_ : items_.Count();
}

// ---- Styles ------------------------------------------------------------------------------

void TCustomListView::SetExtendedStyle(unsigned mask, unsigned style) {
    if (mask == 0) mask = ~0u;
    const unsigned next = ((exStyle_ & ~mask) | (style & mask)) & LVS_EX_ALL;
    if (next == exStyle_) return;
    exStyle_ = next;
    if (!HasExStyle(LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE))
        SetHot(-1);
    LayoutChanged();
}

void TCustomListView::SetOwnerDraw(bool ownerDraw) {
    if (ownerDraw_ == ownerDraw) return;
    ownerDraw_ = ownerDraw;
    LayoutChanged();
}

void TCustomListView::SetMultiSelect(bool multi) {
    if (multiSelect_ == multi) return;
    // Going back to single selection keeps the first selected row only.
    if (!multi && SelCount() > 1) {
        const int keep = ItemIndex();
        ClearSelection();
        multiSelect_ = multi;
        SetItemSelected(keep, true);
        return;
    }
    multiSelect_ = multi;
    if (!multi) singleSelected_ = Selected();
}

void TCustomListView::SetColumnClick(bool on) {
    if (columnClick_ == on) return;
    columnClick_ = on;
    Invalidate();
}

void TCustomListView::SetHideSelection(bool hide) {
    if (hideSelection_ == hide) return;
    hideSelection_ = hide;
    Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool show) {
    if (showHeaders_ == show) return;
    showHeaders_ = show;
    LayoutChanged();
}

void TCustomListView::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!enabled) {
        EndEditing(false);
        SetHot(-1);
    }
    Invalidate();
}

void TCustomListView::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Invalidate();
}

void TCustomListView::SetBackgroundBitmap(const TBitmap* bitmap) {
    background_ = bitmap;
    Invalidate();
}

void TCustomListView::SetSmallImages(TImageList* images) {
    if (smallImages_ == images) return;
    smallImages_ = images;
    LayoutChanged();
}

void TCustomListView::SetStateImages(TImageList* images) {
    if (stateImages_ == images) return;
    stateImages_ = images;
    LayoutChanged();
}

void TCustomListView::SetMeasureCanvas(std::unique_ptr<TCanvas> canvas) {
    measure_ = std::move(canvas);
    LayoutChanged();
}

TCanvas& TCustomListView::MeasureCanvas() {
    if (!measure_) measure_ = CreateScreenCanvas();
    measure_->Font = font_;
    return *measure_;
}

// ---- Columns -----------------------------------------------------------------------------

bool TCustomListView::SetColumnOrder(const std::vector<int>& order) {
    const int n = columns_.Count();
    if (int(order.size()) != n) return false;
    std::vector<bool> seen(static_cast<std::size_t>(n), false);
    for (int c : order) {
        if (c < 0 || c >= n || seen[std::size_t(c)]) return false;
        seen[std::size_t(c)] = true;
    }
    order_ = order;
    Invalidate();
    return true;
}

int TCustomListView::ColumnAtPosition(int position) const {
    if (position < 0 || position >= int(order_.size())) return -1;
    return order_[std::size_t(position)];
}

int TCustomListView::PositionOfColumn(int column) const {
    const auto it = std::find(order_.begin(), order_.end(), column);
    return it == order_.end() ? -1 : int(it - order_.begin());
}

bool TCustomListView::HeaderItemOwnerDraw(int column) const {
    return column >= 0 && column < int(headerOwnerDraw_.size()) &&
           headerOwnerDraw_[std::size_t(column)];
}

void TCustomListView::SetHeaderItemOwnerDraw(int column, bool ownerDraw) {
    if (column < 0 || column >= int(headerOwnerDraw_.size())) return;
    if (headerOwnerDraw_[std::size_t(column)] == ownerDraw) return;
    headerOwnerDraw_[std::size_t(column)] = ownerDraw;
    InvalidateHeaderItem(column);
}

void TCustomListView::ColumnAdded(int column) {
    order_.push_back(column);
    headerOwnerDraw_.push_back(false);
    LayoutChanged();
}

void TCustomListView::ColumnDeleted(int column) {
    order_.erase(std::remove(order_.begin(), order_.end(), column), order_.end());
    for (int& c : order_)
        if (c > column) --c;
    headerOwnerDraw_.erase(headerOwnerDraw_.begin() + column);
    LayoutChanged();
}

void TCustomListView::ColumnsChanged(int, bool layout) {
    if (layout)
        LayoutChanged();
    else
        Invalidate();
}

int TCustomListView::TotalColumnWidth() const {
    int total = 0;
    for (int i = 0; i < columns_.Count(); ++i)
        total += columns_.Item(i)->Width();
    return total;
}

int TCustomListView::ColumnLeft(int column) const {
    int x = -hOffset_;
    for (int c : order_) {
        if (c == column) return x;
        x += columns_.Item(c)->Width();
    }
    return x;
}

int TCustomListView::ContentWidth(int column, bool useHeader) {
    const TListColumn* col = columns_.Item(column);
    if (!col) return 0;
    TCanvas& canvas = MeasureCanvas();
    int width = 0;
    for (int i = 0; i < ItemCount(); ++i)
        width = std::max(width, canvas.TextWidth(ItemText(i, column)));
    width += 12;
    if (column == 0) {
        if (smallImages_) width += smallImages_->Width() + 4;
        width += StateSlotWidth();
    }
    if (useHeader) {
        width = std::max(width, canvas.TextWidth(col->Caption()) + 12);
        // The last column fills the rest of the window.
        if (PositionOfColumn(column) == int(order_.size()) - 1)
            width = std::max(width, ClientWidth() - (ColumnLeft(column) + hOffset_));
    }
    return width;
}

// ---- Layout ------------------------------------------------------------------------------

int TCustomListView::HeaderHeight() {
    if (!showHeaders_) return 0;
    if (headerHeight_ < 0) headerHeight_ = MeasureCanvas().TextHeight("Wy") + 6;
    return headerHeight_;
}

int TCustomListView::RowHeight() {
    if (rowHeight_ < 0) {
        const int text = MeasureCanvas().TextHeight("Wy");
        int height;
        if (ownerDraw_) {
            height = text + 1;
            MeasureItem(height);
        } else {
            height = text + 4;
            if (smallImages_) height = std::max(height, smallImages_->Height() + 1);
            if (stateImages_) height = std::max(height, stateImages_->Height() + 1);
            if (HasExStyle(LVS_EX_CHECKBOXES)) height = std::max(height, CheckBoxSize() + 3);
        }
        rowHeight_ = std::max(height, 1);
    }
    return rowHeight_;
}

int TCustomListView::VisibleRowCount() {
    return std::max((ClientHeight() - HeaderHeight()) / RowHeight(), 0);
}

void TCustomListView::LayoutChanged() {
    headerHeight_ = -1;
    rowHeight_ = -1;
    UpdateScrollBars();
    Invalidate();
}

void TCustomListView::UpdateScrollBars() {
    if (!HandleAllocated() || items_.UpdateCount() > 0) return;
    const int count = ItemCount();
    const int page = std::max(VisibleRowCount(), 1);
    top_ = std::clamp(top_, 0, std::max(count - page, 0));
    SetScrollInfo(TScrollBarKind::sbVertical, {0, std::max(count - 1, 0), page, top_}, false);
    const int total = TotalColumnWidth();
    const int width = std::max(ClientWidth(), 1);
    hOffset_ = std::clamp(hOffset_, 0, std::max(total - width, 0));
    SetScrollInfo(TScrollBarKind::sbHorizontal, {0, std::max(total - 1, 0), width, hOffset_},
                  false);
}

void TCustomListView::SetTopIndex(int index) {
    const int count = ItemCount();
    index = std::clamp(index, 0, std::max(count - std::max(VisibleRowCount(), 1), 0));
    if (index == top_) return;
    top_ = index;
    UpdateScrollBars();
    Invalidate();
}

void TCustomListView::EnsureVisible(int index) {
    if (index < 0 || index >= ItemCount()) return;
    const int page = std::max(VisibleRowCount(), 1);
    if (index < top_)
        SetTopIndex(index);
    else if (index >= top_ + page)
        SetTopIndex(index - page + 1);
}

TRect TCustomListView::ItemRect(int index) {
    if (index < 0 || index >= ItemCount()) return {};
    const int height = RowHeight();
    const int y = HeaderHeight() + (index - top_) * height;
    return {-hOffset_, y, std::max(TotalColumnWidth() - hOffset_, ClientWidth()), y + height};
}

TRect TCustomListView::CellRect(int index, int column) {
    const TRect row = ItemRect(index);
    const TListColumn* col = columns_.Item(column);
    if (row.IsEmpty() || !col) return {};
    const int left = ColumnLeft(column);
    return {left, row.Top, left + col->Width(), row.Bottom};
}

int TCustomListView::RowAtY(int y) {
    const int top = HeaderHeight();
    if (y < top) return -1;
    const int index = top_ + (y - top) / RowHeight();
    return index < ItemCount() ? index : -1;
}

int TCustomListView::ColumnAtX(int x) const {
    int left = -hOffset_;
    for (int c : order_) {
        const int right = left + columns_.Item(c)->Width();
        if (x >= left && x < right) return c;
        left = right;
    }
    return -1;
}

int TCustomListView::DividerAt(int x) const {
    // The right edge of a column, grabbed from 4 pixels either side; the rightmost wins so
    // that a column of width 0 can be pulled open again.
    int left = -hOffset_;
    int found = -1;
    for (int c : order_) {
        left += columns_.Item(c)->Width();
        if (x >= left - 4 && x <= left + 4) found = c;
    }
    return found;
}

int TCustomListView::CheckBoxSize() {
    return 13;
}

int TCustomListView::StateSlotWidth() {
    if (HasExStyle(LVS_EX_CHECKBOXES)) return CheckBoxSize() + 4;
    return stateImages_ ? stateImages_->Width() : 0;
}

THitTestInfo TCustomListView::HitTest(int x, int y) {
    THitTestInfo info;
    if (showHeaders_ && y >= 0 && y < HeaderHeight()) {
        info.Flags = LVHT_ONHEADER;
        const int divider = DividerAt(x);
        if (divider >= 0) {
            info.Flags |= LVHT_ONDIVIDER;
            info.Header = divider;
        } else {
            info.Header = ColumnAtX(x);
        }
        return info;
    }
    const int row = RowAtY(y);
    const int column = ColumnAtX(x);
    if (row < 0 || column < 0) return info;
    info.Item = row;
    info.SubItem = column;
    if (column != 0) {
        // Sub-item cells count as the item only with full-row selection.
        if (HasExStyle(LVS_EX_FULLROWSELECT)) info.Flags = LVHT_ONITEMLABEL;
        return info;
    }
    int left = ColumnLeft(0);
    const int state = StateSlotWidth();
    if (x < left + state) {
        info.Flags = LVHT_ONITEMSTATEICON;
        return info;
    }
    left += state;
    if (smallImages_ && x < left + smallImages_->Width() + 2) {
        info.Flags = LVHT_ONITEMICON;
        return info;
    }
    info.Flags = LVHT_ONITEMLABEL;
    return info;
}

std::string TCustomListView::ItemText(int index, int column) {
    if (!ownerData_) {
        const TListItem* item = items_.Item(index);
        return item ? std::string(item->Text(column)) : std::string();
    }
    if (index < 0 || index >= virtualCount_) return {};
    TLVDispInfo info;
    info.Item = index;
    info.SubItem = column;
    info.Mask = LVIF_TEXT;
    GetDispInfo(info);
    if (info.Text.size() >= info.TextMax) info.Text.resize(info.TextMax ? info.TextMax - 1 : 0);
    return info.Text;
}

void TCustomListView::InvalidateRow(int index) {
    const TRect r = ItemRect(index);
    if (!r.IsEmpty()) InvalidateRect({0, r.Top, ClientWidth(), r.Bottom}, false);
}

void TCustomListView::InvalidateHeaderItem(int column) {
    const TRect r = HeaderItemRect(column);
    if (!r.IsEmpty()) InvalidateRect(r, false);
}

TRect TCustomListView::HeaderItemRect(int column) {
    const TListColumn* col = columns_.Item(column);
    if (!col || !showHeaders_) return {};
    const int left = ColumnLeft(column);
    return {left, 0, left + col->Width(), HeaderHeight()};
}

// ---- Items -------------------------------------------------------------------------------

void TCustomListView::ShiftIndexes(int at, int delta) {
    Shift(focused_, at, delta);
    Shift(hot_, at, delta);
    Shift(anchor_, at, delta);
    Shift(editIndex_, at, delta);
    Shift(selectionMark_, at, delta);
}

void TCustomListView::ItemAdded(TListItem& item) {
    if (item.index_ < items_.Count() - 1) ShiftIndexes(item.index_, 1);
    if (items_.UpdateCount() == 0) {
        UpdateScrollBars();
        if (item.index_ < top_ + VisibleRowCount() + 1)
            InvalidateRect({0, ItemRect(item.index_).Top, ClientWidth(), ClientHeight()}, false);
    }
    ItemInserted(&item);
}

void TCustomListView::ItemDeleting(TListItem& item) {
    if (editIndex_ == item.index_) EndEditing(false);
    OnDeletion(this, &item);
    if (item.Selected()) {
        --selectedCount_;
        item.state_ &= std::uint8_t(~LVIS_SELECTED);
    }
    if (singleSelected_ == &item) singleSelected_ = nullptr;
    if (items_.UpdateCount() == 0) ShiftIndexes(item.index_, -1);
}

void TCustomListView::ItemsCleared() {
    selectedCount_ = 0;
    singleSelected_ = nullptr;
    focused_ = hot_ = anchor_ = editIndex_ = -1;
    top_ = 0;
    UpdateScrollBars();
    Invalidate();
}

void TCustomListView::ItemsReordered() {
    focused_ = -1;
    for (int i = 0; i < items_.Count(); ++i)
        if (items_.Item(i)->Focused()) focused_ = i;
    hot_ = -1;
    anchor_ = focused_;
    if (editIndex_ >= 0) EndEditing(false);
    Invalidate();
}

void TCustomListView::ItemsUpdated() {
    if (items_.UpdateCount() > 0) return;
    // Indexes of rows deleted inside an update bracket were not followed one by one.
    if (focused_ >= items_.Count() || hot_ >= items_.Count()) {
        focused_ = -1;
        for (int i = 0; i < items_.Count(); ++i)
            if (items_.Item(i)->Focused()) focused_ = i;
        hot_ = -1;
    }
    UpdateScrollBars();
    Invalidate();
}

void TCustomListView::ItemChanged(TListItem& item, TItemChange change) {
    if (items_.UpdateCount() == 0) InvalidateRow(item.index_);
    OnChange(this, &item, change);
}

void TCustomListView::SelectionChanging(TListItem& item, bool selected) {
    if (selected && !multiSelect_ && singleSelected_ && singleSelected_ != &item)
        singleSelected_->SetSelected(false);
    selectedCount_ += selected ? 1 : -1;
    if (selected)
        singleSelected_ = &item;
    else if (singleSelected_ == &item)
        singleSelected_ = nullptr;
}

void TCustomListView::SelectionChanged(TListItem& item) {
    const int row = item.Index();
    const bool selected = item.Selected();
    ItemChanged(item, TItemChange::ctState);
    if (SelectionObserver) SelectionObserver(row, selected);
    OnSelectItem(this, &item, selected);
}

void TCustomListView::ItemInserted(TListItem* item) {
    OnInsert(this, item);
}

void TCustomListView::ColumnClicked(int column) {
    OnColumnClick(this, columns_.Item(column));
}

bool TCustomListView::HotTrackItem(int&, int, TPoint) {
    return true;
}

// ---- Selection ---------------------------------------------------------------------------

unsigned TCustomListView::VirtualState(int index) const {
    if (index < 0 || index >= int(virtualStates_.size())) return 0;
    return virtualStates_[std::size_t(index)];
}

void TCustomListView::SetVirtualState(int index, unsigned mask, unsigned state) {
    if (index < 0 || index >= int(virtualStates_.size())) return;
    auto& slot = virtualStates_[std::size_t(index)];
    const unsigned next = (slot & ~mask) | (state & mask);
    if (next == slot) return;
    const unsigned old = slot;
    slot = std::uint8_t(next);
    InvalidateRow(index);
    StateChanged({index, index, next, old});
    if (((next ^ old) & LVIS_SELECTED) && SelectionObserver)
        SelectionObserver(index, next & LVIS_SELECTED);
}

bool TCustomListView::IsSelected(int index) const {
    if (ownerData_) return VirtualState(index) & LVIS_SELECTED;
    const TListItem* item = items_.Item(index);
    return item && item->Selected();
}

void TCustomListView::SetItemSelected(int index, bool selected) {
    if (ownerData_) {
        if (selected && !multiSelect_)
            for (int i = 0; i < virtualCount_; ++i)
                if (i != index && (virtualStates_[std::size_t(i)] & LVIS_SELECTED))
                    SetVirtualState(i, LVIS_SELECTED, 0);
        SetVirtualState(index, LVIS_SELECTED, selected ? unsigned(LVIS_SELECTED) : 0u);
        return;
    }
    if (TListItem* item = items_.Item(index)) item->SetSelected(selected);
}

TListItem* TCustomListView::Selected() const {
    if (ownerData_ || selectedCount_ == 0) return nullptr;
    if (!multiSelect_ && singleSelected_) return singleSelected_;
    for (int i = 0; i < items_.Count(); ++i)
        if (items_.Item(i)->Selected()) return items_.Item(i);
    return nullptr;
}

int TCustomListView::ItemIndex() const {
    if (ownerData_) {
        for (int i = 0; i < virtualCount_; ++i)
            if (virtualStates_[std::size_t(i)] & LVIS_SELECTED) return i;
        return -1;
    }
    const TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int index) {
    SelectOnly(index);
    SetFocusedIndex(index);
    EnsureVisible(index);
}

int TCustomListView::SelCount() const {
    if (!ownerData_) return selectedCount_;
    return int(std::count_if(virtualStates_.begin(), virtualStates_.end(),
                             [](std::uint8_t s) { return s & LVIS_SELECTED; }));
}

void TCustomListView::ClearSelection() {
    if (ownerData_) {
        for (int i = 0; i < virtualCount_; ++i)
            SetVirtualState(i, LVIS_SELECTED, 0);
        return;
    }
    if (selectedCount_ == 0) return;
    if (!multiSelect_ && singleSelected_) {
        singleSelected_->SetSelected(false);
        if (selectedCount_ == 0) return;
    }
    for (int i = 0; i < items_.Count() && selectedCount_ > 0; ++i)
        items_.Item(i)->SetSelected(false);
}

void TCustomListView::SelectAll() {
    if (!multiSelect_) return;
    SelectRange(0, ItemCount() - 1);
}

void TCustomListView::SelectOnly(int index) {
    if (index >= 0 && IsSelected(index) && SelCount() == 1) return;
    if (ownerData_) {
        SetItemSelected(index, true);
        for (int i = 0; i < virtualCount_; ++i)
            if (i != index) SetVirtualState(i, LVIS_SELECTED, 0);
        return;
    }
    if (multiSelect_) {
        for (int i = 0; i < items_.Count() && selectedCount_ > 0; ++i)
            if (i != index) items_.Item(i)->SetSelected(false);
    }
    if (index < 0)
        ClearSelection();
    else
        SetItemSelected(index, true);
}

void TCustomListView::SelectRange(int from, int to) {
    if (from > to) std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, ItemCount() - 1);
    if (ownerData_) {
        // One notice for the whole range, as the rows' data live with the owner.
        unsigned old = 0;
        for (int i = 0; i < virtualCount_; ++i) {
            const bool inside = i >= from && i <= to;
            if (!inside) SetVirtualState(i, LVIS_SELECTED, 0);
        }
        for (int i = from; i <= to; ++i) {
            const bool was = virtualStates_[std::size_t(i)] & LVIS_SELECTED;
            old |= virtualStates_[std::size_t(i)];
            virtualStates_[std::size_t(i)] |= LVIS_SELECTED;
            if (!was && SelectionObserver) SelectionObserver(i, true);
        }
        if (from <= to) StateChanged({from, to, LVIS_SELECTED, old & LVIS_SELECTED});
        Invalidate();
        return;
    }
    for (int i = 0; i < items_.Count(); ++i)
        items_.Item(i)->SetSelected(i >= from && i <= to);
}

void TCustomListView::SetFocusedIndex(int index) {
    if (index >= ItemCount()) index = -1;
    if (index == focused_) return;
    const int before = focused_;
    focused_ = index;
    FocusChanged(before);
}

void TCustomListView::FocusChanged(int before) {
    if (ownerData_) {
        if (before >= 0 && before < virtualCount_)
            virtualStates_[std::size_t(before)] &= std::uint8_t(~LVIS_FOCUSED);
        if (focused_ >= 0) virtualStates_[std::size_t(focused_)] |= LVIS_FOCUSED;
    } else {
        if (TListItem* old = items_.Item(before)) old->state_ &= std::uint8_t(~LVIS_FOCUSED);
        if (TListItem* now = items_.Item(focused_)) now->state_ |= LVIS_FOCUSED;
    }
    InvalidateRow(before);
    InvalidateRow(focused_);
}

void TCustomListView::SetHot(int index) {
    if (index == hot_) return;
    InvalidateRow(hot_);
    hot_ = index;
    InvalidateRow(hot_);
}

// ---- Sorting -----------------------------------------------------------------------------

bool TCustomListView::CustomSort(const TLVCompare& compare) {
    if (ownerData_ || !compare) return false;
    std::vector<TListItem*> rows = items_.Rows();
    MergeSort(rows, [&](const TListItem* a, const TListItem* b) { return compare(a, b) < 0; });
    items_.SetRows(std::move(rows));
    return true;
}

// ---- Label editing -----------------------------------------------------------------------

bool TCustomListView::EditCaption(int index) {
    if (readOnly_ || ownerData_ || editor_) return false;
    TListItem* item = items_.Item(index);
    if (!item || !CanEdit(item)) return false;
    EnsureVisible(index);
    const TRect cell = CellRect(index, 0);
    const int left = cell.Left + StateSlotWidth() + (smallImages_ ? smallImages_->Width() + 4 : 2);
    editor_ = CreateLabelEditor(*this);
    editIndex_ = index;
    editor_->OnEnd = [this](bool accept) { EndEditing(accept); };
    editor_->Show({left, cell.Top, std::max(cell.Right, left + 40), cell.Bottom}, item->Caption(),
                  font_);
    return true;
}

bool TCustomListView::IsEditing() const {
    return editor_ != nullptr;
}

void TCustomListView::EndEditing(bool accept) {
    if (!editor_) return;
    // Taken out first: the box may end itself again while it is being hidden.
    std::unique_ptr<TLabelEditor> editor = std::move(editor_);
    const int index = editIndex_;
    editIndex_ = -1;
    const std::string text = editor->Text();
    editor->OnEnd = nullptr;
    editor->Hide();
    EndLabelEdit(index, accept ? &text : nullptr);
}

bool TCustomListView::CanEdit(TListItem* item) {
    bool allow = true;
    OnEditing(this, item, allow);
    return allow;
}

void TCustomListView::EndLabelEdit(int index, const std::string* text) {
    TListItem* item = items_.Item(index);
    if (!item || !text) return;
    std::string caption = *text;
    OnEdited(this, item, caption);
    item->SetCaption(caption);
}

// ---- Owner data defaults -----------------------------------------------------------------

void TCustomListView::GetDispInfo(TLVDispInfo&) {}

int TCustomListView::FindItem(TLVFindInfo&) {
    return -1;
}

// ---- Hover selection ---------------------------------------------------------------------

void TCustomListView::StartHoverTimer() {
    if (!HasExStyle(LVS_EX_TRACKSELECT) || hot_ < 0) return;
    if (!hoverTimer_) {
        hoverTimer_ = std::make_unique<TTimer>();
        hoverTimer_->SetOnTimer(TNotifyEvent::bind<&TCustomListView::HoverTick>(this));
    }
    hoverTimer_->SetEnabled(false);
    hoverTimer_->SetInterval(hoverTime_ < 0 ? kDefaultHoverTime : std::max(hoverTime_, 1));
    hoverTimer_->SetEnabled(true);
}

void TCustomListView::HoverTick(TObject*) {
    hoverTimer_->SetEnabled(false);
    HoverTimeElapsed();
}

void TCustomListView::HoverTimeElapsed() {
    if (!HasExStyle(LVS_EX_TRACKSELECT) || hot_ < 0 || hot_ >= ItemCount()) return;
    const int index = hot_;
    if (!(multiSelect_ && (KeyboardState() & (ssCtrl | ssShift)))) SelectOnly(index);
    SetFocusedIndex(index);
    anchor_ = index;
}

} // namespace ondrex
