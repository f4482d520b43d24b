#include "platform/ListItems.h"

#include "platform/ListView.h"

#include <algorithm>

namespace ondrex {

namespace {

// Texts are stored as [varint length][bytes] per column.
std::size_t ReadLength(const std::string& s, std::size_t& pos) {
    std::size_t value = 0;
    int shift = 0;
    while (pos < s.size()) {
        const auto byte = static_cast<unsigned char>(s[pos++]);
        value |= std::size_t(byte & 0x7F) << shift;
        if (!(byte & 0x80)) break;
        shift += 7;
    }
    return value;
}

void WriteLength(std::string& s, std::size_t length) {
    while (length >= 0x80) {
        s.push_back(char((length & 0x7F) | 0x80));
        length >>= 7;
    }
    s.push_back(char(length));
}

// Start and end of column `column`'s segment (its length prefix included); both equal to
// the string's size when the column is missing.
std::pair<std::size_t, std::size_t> Segment(const std::string& s, int column) {
    std::size_t pos = 0;
    for (int i = 0; pos < s.size(); ++i) {
        const std::size_t start = pos;
        const std::size_t length = ReadLength(s, pos);
        if (i == column) return {start, pos + length};
        pos += length;
    }
    return {s.size(), s.size()};
}

int SegmentCount(const std::string& s) {
    int count = 0;
    for (std::size_t pos = 0; pos < s.size(); ++count) pos += ReadLength(s, pos);
    return count;
}

} // namespace

// ---- TListItem ---------------------------------------------------------------------------

std::string_view TListItem::Text(int column) const {
    if (column < 0) return {};
    std::size_t pos = 0;
    for (int i = 0; pos < texts_.size(); ++i) {
        const std::size_t length = ReadLength(texts_, pos);
        if (i == column) return std::string_view(texts_).substr(pos, length);
        pos += length;
    }
    return {};
}

void TListItem::SetText(int column, std::string_view text) {
    if (column < 0) return;
    // Missing columns before this one become empty texts (a caption always exists).
    for (int n = SegmentCount(texts_); n <= column; ++n) texts_.push_back('\0');
    const auto [start, end] = Segment(texts_, column);
    std::string segment;
    WriteLength(segment, text.size());
    segment.append(text);
    if (texts_.compare(start, end - start, segment) == 0) return;
    texts_.replace(start, end - start, segment);
    Changed();
}

int TListItem::SubItemCount() const {
    return std::max(SegmentCount(texts_) - 1, 0);
}

void TListItem::AddSubItem(std::string_view text) {
    SetText(SubItemCount() + 1, text);
}

void TListItem::SetSubItem(int i, std::string_view text) {
    SetText(i + 1, text);
}

void TListItem::DeleteSubItem(int i) {
    if (i < 0 || i >= SubItemCount()) return;
    const auto [start, end] = Segment(texts_, i + 1);
    texts_.erase(start, end - start);
    if (subItemImages_ && i < int(subItemImages_->size()))
        subItemImages_->erase(subItemImages_->begin() + i);
    Changed();
}

void TListItem::ClearSubItems() {
    if (SubItemCount() == 0) return;
    texts_.erase(Segment(texts_, 1).first);
    subItemImages_.reset();
    Changed();
}

int TListItem::SubItemImage(int i) const {
    if (!subItemImages_ || i < 0 || i >= int(subItemImages_->size())) return -1;
    return (*subItemImages_)[i];
}

void TListItem::SetSubItemImage(int i, int image) {
    if (i < 0 || SubItemImage(i) == image) return;
    if (!subItemImages_) subItemImages_ = std::make_unique<std::vector<int>>();
    if (int(subItemImages_->size()) <= i) subItemImages_->resize(i + 1, -1);
    (*subItemImages_)[i] = image;
    if (owner_) owner_->ItemChanged(*this, TItemChange::ctImage);
}

void TListItem::SetImageIndex(int index) {
    if (imageIndex_ == index) return;
    imageIndex_ = index;
    if (owner_) owner_->ItemChanged(*this, TItemChange::ctImage);
}

void TListItem::SetStateIndex(int index) {
    index = std::clamp(index, -1, 0x7FFF);
    if (stateIndex_ == index) return;
    stateIndex_ = std::int16_t(index);
    if (owner_) owner_->ItemChanged(*this, TItemChange::ctState);
}

void TListItem::SetOverlayIndex(int index) {
    index = std::clamp(index, -1, 3);
    if (overlayIndex_ == index) return;
    overlayIndex_ = std::int8_t(index);
    if (owner_) owner_->ItemChanged(*this, TItemChange::ctImage);
}

namespace {
std::uint8_t WithBit(std::uint8_t state, unsigned bit, bool on) {
    return std::uint8_t(on ? (state | bit) : (state & ~bit));
}
} // namespace

void TListItem::SetSelected(bool selected) {
    const std::uint8_t next = WithBit(state_, LVIS_SELECTED, selected);
    if (next == state_) return;
    if (owner_) owner_->SelectionChanging(*this, selected);
    state_ = next;
    if (owner_) owner_->SelectionChanged(*this);
}

void TListItem::SetFocused(bool focused) {
    if (Focused() == focused) return;
    if (owner_ && index_ >= 0) {
        // The list keeps the one focused row.
        owner_->SetFocusedIndex(focused ? index_ : -1);
        return;
    }
    state_ = WithBit(state_, LVIS_FOCUSED, focused);
}

void TListItem::SetCut(bool cut) {
    const std::uint8_t next = WithBit(state_, LVIS_CUT, cut);
    if (next == state_) return;
    state_ = next;
    if (owner_) owner_->ItemChanged(*this, TItemChange::ctState);
}

void TListItem::SetDropTarget(bool target) {
    const std::uint8_t next = WithBit(state_, LVIS_DROPHILITED, target);
    if (next == state_) return;
    state_ = next;
    if (owner_) owner_->ItemChanged(*this, TItemChange::ctState);
}

void TListItem::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    if (owner_) owner_->ItemChanged(*this, TItemChange::ctState);
}

void TListItem::MakeVisible() {
    if (owner_ && index_ >= 0) owner_->EnsureVisible(index_);
}

void TListItem::Delete() {
    if (owner_ && index_ >= 0) owner_->Items().Delete(index_);
}

void TListItem::Changed() {
    if (owner_) owner_->ItemChanged(*this, TItemChange::ctText);
}

// ---- TListItems --------------------------------------------------------------------------

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[index].get();
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
    index = std::clamp(index, 0, Count());
    auto item = std::unique_ptr<TListItem>(new TListItem(owner_));
    item->texts_.push_back('\0'); // an empty caption
    TListItem* raw = item.get();
    items_.insert(items_.begin() + index, std::move(item));
    if (index == Count() - 1)
        raw->index_ = index;
    else
        Renumber(index);
    if (owner_) owner_->ItemAdded(*raw);
    return raw;
}

void TListItems::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    if (owner_) owner_->ItemDeleting(*items_[index]);
    items_[index]->index_ = -1;
    items_.erase(items_.begin() + index);
    Renumber(index);
    if (owner_) owner_->ItemsUpdated();
}

void TListItems::Clear() {
    if (items_.empty()) return;
    if (owner_) {
        BeginUpdate();
        for (auto& item : items_) owner_->ItemDeleting(*item);
        EndUpdate();
    }
    items_.clear();
    if (owner_) owner_->ItemsCleared();
}

int TListItems::IndexOf(const TListItem* item) const {
    if (!item || item->index_ < 0 || item->index_ >= Count()) return -1;
    return items_[item->index_].get() == item ? item->index_ : -1;
}

void TListItems::BeginUpdate() {
    ++updateCount_;
}

void TListItems::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && owner_) owner_->ItemsUpdated();
}

bool TListItems::Reorder(const std::vector<int>& order) {
    if (int(order.size()) != Count()) return false;
    std::vector<bool> seen(order.size());
    for (int i : order) {
        if (i < 0 || i >= Count() || seen[i]) return false;
        seen[i] = true;
    }
    std::vector<TListItem*> rows;
    rows.reserve(order.size());
    for (int i : order) rows.push_back(items_[i].get());
    SetRows(std::move(rows));
    return true;
}

std::vector<TListItem*> TListItems::Rows() const {
    std::vector<TListItem*> rows;
    rows.reserve(items_.size());
    for (const auto& item : items_) rows.push_back(item.get());
    return rows;
}

void TListItems::SetRows(std::vector<TListItem*> rows) {
    // Each row goes back to its own slot first, so ownership is never lost, whatever the
    // caller handed back.
    std::vector<std::unique_ptr<TListItem>> next(items_.size());
    std::size_t placed = 0;
    for (std::size_t i = 0; i < rows.size() && i < next.size(); ++i) {
        const int from = IndexOf(rows[i]);
        if (from < 0 || !items_[from]) continue;
        next[placed++] = std::move(items_[from]);
    }
    for (auto& rest : items_)
        if (rest) next[placed++] = std::move(rest);
    items_ = std::move(next);
    Renumber(0);
    if (owner_) owner_->ItemsReordered();
}

void TListItems::Renumber(int from) {
    for (int i = std::max(from, 0); i < Count(); ++i) items_[i]->index_ = i;
}

// ---- Columns -----------------------------------------------------------------------------

void TListColumn::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Changed(false);
}

void TListColumn::SetWidth(int width) {
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
        TCustomListView* view = owner_->owner_;
        width = view ? view->ContentWidth(index_, width == LVSCW_AUTOSIZE_USEHEADER) : width_;
    }
    width = std::max(width, 0);
    if (width_ == width) return;
    width_ = width;
    Changed(true);
}

TAlignment TListColumn::Alignment() const {
    switch (format_ & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return TAlignment::taRightJustify;
    case LVCFMT_CENTER:
        return TAlignment::taCenter;
    default:
        return TAlignment::taLeftJustify;
    }
}

void TListColumn::SetAlignment(TAlignment alignment) {
    const unsigned bits = alignment == TAlignment::taRightJustify ? LVCFMT_RIGHT
                          : alignment == TAlignment::taCenter     ? LVCFMT_CENTER
                                                                  : LVCFMT_LEFT;
    SetFormat((format_ & ~LVCFMT_JUSTIFYMASK) | bits);
}

void TListColumn::SetFormat(unsigned format) {
    if (format_ == format) return;
    format_ = format;
    Changed(false);
}

void TListColumn::SetImageIndex(int index) {
    if (imageIndex_ == index) return;
    imageIndex_ = index;
    Changed(false);
}

void TListColumn::Changed(bool layout) {
    owner_->Changed(index_, layout);
}

TListColumn* TListColumns::Item(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return columns_[index].get();
}

TListColumn* TListColumns::Add() {
    auto column = std::unique_ptr<TListColumn>(new TListColumn(*this));
    column->index_ = Count();
    columns_.push_back(std::move(column));
    if (owner_) owner_->ColumnAdded(Count() - 1);
    return columns_.back().get();
}

void TListColumns::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    columns_.erase(columns_.begin() + index);
    for (int i = index; i < Count(); ++i) columns_[i]->index_ = i;
    if (owner_) owner_->ColumnDeleted(index);
}

void TListColumns::Clear() {
    while (Count() > 0) Delete(Count() - 1);
}

void TListColumns::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && pending_) {
        pending_ = false;
        if (owner_) owner_->ColumnsChanged(-1, true);
    }
}

void TListColumns::Changed(int index, bool layout) {
    if (updateCount_ > 0) {
        pending_ = true;
        return;
    }
    if (owner_) owner_->ColumnsChanged(index, layout);
}

} // namespace ondrex
