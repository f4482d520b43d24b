#include "controls/TExtListView.h"

#include "platform/ImageList.h"

#include <algorithm>
#include <array>

namespace ondrex {

namespace {

// Set element i sets this list-view style.
constexpr std::array<unsigned, 11> kStyleBits = {
    LVS_EX_GRIDLINES,        LVS_EX_SUBITEMIMAGES,    LVS_EX_CHECKBOXES,
    LVS_EX_TRACKSELECT,      LVS_EX_HEADERDRAGDROP,   LVS_EX_FULLROWSELECT,
    LVS_EX_ONECLICKACTIVATE, LVS_EX_TWOCLICKACTIVATE, LVS_EX_FLATSB,
    LVS_EX_UNDERLINEHOT,     LVS_EX_UNDERLINECOLD};

} // namespace

unsigned ExtendedStylesToBits(TLVExtendedStyles styles) {
    unsigned bits = 0;
    for (std::size_t i = 0; i < kStyleBits.size(); ++i)
        if (styles & (1u << i)) bits |= kStyleBits[i];
    return bits;
}

TLVExtendedStyles BitsToExtendedStyles(unsigned bits) {
    TLVExtendedStyles styles = 0;
    for (std::size_t i = 0; i < kStyleBits.size(); ++i)
        if (bits & kStyleBits[i]) styles |= 1u << i;
    return styles;
}

std::vector<int> RepairColumnOrder(const std::vector<int>& stored, int count) {
    std::vector<int> order;
    std::vector<bool> used(std::size_t(std::max(count, 0)), false);
    for (int c : stored) {
        if (c < 0 || c >= count || used[std::size_t(c)]) continue;
        used[std::size_t(c)] = true;
        order.push_back(c);
    }
    for (int c = 0; c < count; ++c)
        if (!used[std::size_t(c)]) order.push_back(c);
    return order;
}

bool VersionAtLeast(const TListViewVersion& have, int major, int minor, int release,
                    int build) {
    const std::array<int, 4> a{have.Major, have.Minor, have.Release, have.Build};
    const std::array<int, 4> b{major, minor, release, build};
    return a >= b;
}

// ---- Column header images ----------------------------------------------------------------

void TExtListColumn::SetImageIndex(int index) {
    if (imageIndex_ == index) return;
    imageIndex_ = index;
    owner_->Changed();
}

void TExtListColumn::SetImageAlignment(TColumnImageAlign alignment) {
    if (imageAlignment_ == alignment) return;
    imageAlignment_ = alignment;
    owner_->Changed();
}

void TExtListColumn::Assign(const TExtListColumn& other) {
    imageIndex_ = other.imageIndex_;
    imageAlignment_ = other.imageAlignment_;
    owner_->Changed();
}

TExtListColumn* TExtListColumns::Item(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[std::size_t(index)].get();
}

TExtListColumn* TExtListColumns::Add() {
    auto item = std::unique_ptr<TExtListColumn>(new TExtListColumn(*this));
    item->index_ = Count();
    items_.push_back(std::move(item));
    Changed();
    return items_.back().get();
}

void TExtListColumns::Clear() {
    items_.clear();
    Changed();
}

void TExtListColumns::Assign(const TExtListColumns& other) {
    if (&other == this) return;
    items_.clear();
    for (const auto& item : other.items_) {
        auto copy = std::unique_ptr<TExtListColumn>(new TExtListColumn(*this));
        copy->index_ = Count();
        copy->imageIndex_ = item->imageIndex_;
        copy->imageAlignment_ = item->imageAlignment_;
        items_.push_back(std::move(copy));
    }
    Changed();
}

void TExtListColumns::Changed() {
    if (owner_) owner_->ApplyColumnFormats();
}

// ---- The list view -----------------------------------------------------------------------

TCustomExtListView::TCustomExtListView() : columnsFormat_(this) {}

TCustomExtListView::~TCustomExtListView() {
    // Written here, while the column order of this class can still be read.
    settingsStored_ = true;
    try {
        StoreSettings();
    } catch (...) {
    }
}

void TCustomExtListView::Loaded() {
    loading_ = false;
    if (!storedOrder_.empty())
        TCustomListView::SetColumnOrder(RepairColumnOrder(storedOrder_, Columns().Count()));
    TCustomEnhListView::Loaded();
    ApplyColumnFormats();
}

TLVExtendedStyles TCustomExtListView::ExtendedStyles() const {
    return BitsToExtendedStyles(ExtendedStyle());
}

void TCustomExtListView::SetExtendedStyles(TLVExtendedStyles styles) {
    // Underlined items only make sense with activation by a click.
    if (styles & lvxUnderlineCold && !(styles & lvxOneClickActivate))
        styles |= lvxOneClickActivate;
    if (styles & lvxUnderlineHot && !(styles & (lvxOneClickActivate | lvxTwoClickActivate)))
        styles |= lvxOneClickActivate;
    SetExtendedStyle(0, ExtendedStylesToBits(styles));
}

void TCustomExtListView::SetVirtualMode(bool on) {
    if (OwnerData() == on) return;
    Items().Clear();
    SetOwnerData(on);
    if (on && virtualItemCount_ > 0) SetItemCount(virtualItemCount_, virtualItemCountFlags_);
}

void TCustomExtListView::SetVirtualItemCount(int count, unsigned flags) {
    virtualItemCount_ = count;
    virtualItemCountFlags_ = flags & 0xFF;
    SetItemCount(count, flags & (LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL));
}

std::vector<int> TCustomExtListView::CurrentOrder() {
    return ColumnOrder();
}

bool TCustomExtListView::GetColumnOrder(int count, int* array) {
    const std::vector<int> order = CurrentOrder();
    if (count != int(order.size()) || (count > 0 && !array)) return false;
    std::copy(order.begin(), order.end(), array);
    storedOrder_ = order;
    return true;
}

void TCustomExtListView::SetColumnOrder(int count, const int* array) {
    std::vector<int> stored;
    if (array && count > 0) stored.assign(array, array + count);
    storedOrder_ = RepairColumnOrder(stored, Columns().Count());
    TCustomListView::SetColumnOrder(storedOrder_);
    Invalidate();
}

void TCustomExtListView::SetSmallImages(TImageList* images) {
    TCustomEnhListView::SetSmallImages(images);
    SetHeaderOwnerDraw(HeaderOwnerDrawWanted());
    ApplyColumnFormats();
}

void TCustomExtListView::SetShowSortArrows(bool show) {
    TCustomEnhListView::SetShowSortArrows(show);
    ApplyColumnFormats();
}

void TCustomExtListView::ApplyColumnFormat(int index) {
    if (HeaderOwnerDrawWanted() || index < 0 || index >= columnsFormat_.Count()) return;
    TListColumn* column = Columns()[index];
    if (!column || !SmallImages() || SmallImages()->Count() == 0) return;
    const TExtListColumn* format = columnsFormat_[index];
    unsigned bits = column->Format() & ~(LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT);
    if (format->ImageIndex() != -1) {
        bits |= LVCFMT_IMAGE;
        if (format->ImageAlignment() == TColumnImageAlign::ciaRightOfText)
            bits |= LVCFMT_BITMAP_ON_RIGHT;
        column->SetImageIndex(format->ImageIndex());
    }
    column->SetFormat(bits);
}

void TCustomExtListView::ApplyColumnFormats() {
    if (HeaderOwnerDrawWanted()) return;
    for (int i = 0; i < Columns().Count(); ++i) ApplyColumnFormat(i);
}

bool TCustomExtListView::CheckComCtlVersion(int major, int minor, int release,
                                            int build) const {
    return VersionAtLeast(ListViewControlVersion(), major, minor, release, build);
}

void TCustomExtListView::SetRequireComCtlUpdate(bool on) {
    requireComCtlUpdate_ = on;
    if (on && !CheckComCtlVersion(4, 70, 0, 0))
        throw EELVOldComCtl("COMCTL32.DLL is older than required version");
}

// ---- Header ------------------------------------------------------------------------------

bool TCustomExtListView::HeaderArrowShown(int index) {
    return ShowSortArrows() && index == CurrentSortColumn() &&
           (AutoColumnSort() != TAutoColumnSort::acsNoSort || OnSortItems);
}

bool TCustomExtListView::HeaderImage(int index, int& image, bool& rightOfText) {
    const TExtListColumn* format = columnsFormat_[index];
    TImageList* images = SmallImages();
    if (!format || !images || format->ImageIndex() < 0 || format->ImageIndex() >= images->Count())
        return false;
    image = format->ImageIndex();
    rightOfText = format->ImageAlignment() == TColumnImageAlign::ciaRightOfText;
    return true;
}

void TCustomExtListView::DoDrawItem(TCanvas& canvas, int index, TRect rect, unsigned state,
                                    bool& defaultDrawing, bool& fullRowSelect) {
    fullRowSelect = HasExStyle(LVS_EX_FULLROWSELECT);
    TCustomEnhListView::DoDrawItem(canvas, index, rect, state, defaultDrawing, fullRowSelect);
}

void TCustomExtListView::HeaderBeginTrack(int column) {
    ApplyColumnFormat(column);
    TCustomEnhListView::HeaderBeginTrack(column);
}

// ---- Column mapping ----------------------------------------------------------------------

int TCustomExtListView::ActualColumnIndex(int index) {
    const std::vector<int> order = CurrentOrder();
    if (index >= int(order.size())) return 0;
    const auto it = std::find(order.begin(), order.end(), index);
    return it == order.end() ? 0 : int(it - order.begin());
}

TListColumn* TCustomExtListView::GetActualColumn(int position) {
    const int column = ColumnAtPosition(position);
    return column < 0 ? nullptr : Columns()[column];
}

std::string TCustomExtListView::GetSubItemText(int index, int subItem) {
    const TListItem* item = Items()[index];
    if (!item) return {};
    if (Columns().Count() < subItem + 2)
        return subItem >= 0 && subItem < item->SubItemCount() ? item->SubItem(subItem)
                                                              : std::string();
    const int column = ColumnAtPosition(subItem + 1);
    if (column < 0) return {};
    return column == 0 ? item->Caption() : std::string(item->Text(column));
}

// ---- Notifications -----------------------------------------------------------------------

bool TCustomExtListView::MarqueeBegin() {
    bool canBegin = true;
    OnMarqueeBegin(this, canBegin);
    return canBegin;
}

void TCustomExtListView::ItemActivate() {
    OnItemActivate(this);
}

bool TCustomExtListView::HotTrackItem(int& index, int subItem, TPoint where) {
    bool allow = true;
    OnHotTrack(this, index, subItem, where, allow);
    return allow;
}

void TCustomExtListView::GetDispInfo(TLVDispInfo& info) {
    if (!VirtualMode() || info.Item == -1 || !OnVMGetItemInfo) return;
    std::string text;
    unsigned state = info.State;
    const TLVVMMaskItems mask = info.Mask & 0x1F;
    // Sub-item numbers count from the caption's column here, as the owner expects them.
    OnVMGetItemInfo(this, info.Item, info.SubItem, mask, info.Image, info.Param, state,
                    info.Indent, text);
    if (info.Mask & LVIF_TEXT) {
        if (info.TextMax > 0 && text.size() >= info.TextMax) text.resize(info.TextMax - 1);
        info.Text = std::move(text);
    }
    info.State = state;
}

void TCustomExtListView::CacheHint(const TLVCacheHint& hint) {
    TLVCacheHint copy = hint;
    OnVMCacheHint(this, copy);
}

int TCustomExtListView::FindItem(TLVFindInfo& info) {
    int found = -1;
    OnVMFindItem(this, info, found);
    return found;
}

void TCustomExtListView::StateChanged(const TLVStateChange& change) {
    TLVStateChange copy = change;
    OnVMStateChanged(this, copy);
}

// ---- Settings ----------------------------------------------------------------------------

bool TCustomExtListView::WriteSettings() {
    const int count = Columns().Count();
    if ((saveSettings_.SaveColumnOrder || saveSettings_.SaveColumnSizes) && count > 0) {
        if (saveSettings_.SaveColumnOrder) {
            std::vector<int> order(static_cast<std::size_t>(count));
            GetColumnOrder(count, order.data());
            std::string text;
            for (int i = 0; i < count; ++i)
                text += (i ? "," : "") + std::to_string(order[std::size_t(i)]);
            WriteSettingsValue(SettingsPath("Columns"), "Order", text);
        }
        if (saveSettings_.SaveColumnSizes) WriteColumnSizes();
    }
    if (saveSettings_.SaveCurrentSort) WriteSortSettings();
    return true;
}

bool TCustomExtListView::ReadSettings() {
    const int count = Columns().Count();
    if ((saveSettings_.SaveColumnOrder || saveSettings_.SaveColumnSizes) && count > 0) {
        if (saveSettings_.AutoSave && saveSettings_.SaveColumnOrder) {
            // Entries that are missing stay invalid and are filled in by the repair.
            std::vector<int> order(static_cast<std::size_t>(count), -1);
            const std::string text = ReadSettingsValue(SettingsPath("Columns"), "Order");
            if (text.empty()) {
                for (int i = 0; i < count; ++i) order[std::size_t(i)] = i;
            } else {
                const int zero = 0;
                ParseList(text, order, &zero);
            }
            SetColumnOrder(count, order.data());
        }
        if (saveSettings_.SaveColumnSizes) ReadColumnSizes();
    }
    if (saveSettings_.SaveCurrentSort) ReadSortSettings();
    return true;
}

} // namespace ondrex
