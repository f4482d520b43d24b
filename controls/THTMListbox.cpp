#include "controls/THTMListbox.h"

#include "controls/HtmlMarkup.h"
#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/ImageList.h"
#include "platform/OpenUrl.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <stdexcept>

namespace ondrex {

namespace {

// With Multiline an item is measured in a rectangle this high, and gets this much room
// below its text.
constexpr int kMeasureHeight = 1000;
constexpr int kMultilineMargin = 4;

// Case-insensitive order, byte order between texts equal but for case.
bool SortsBefore(const std::string& a, const std::string& b) {
    const int order = CompareText(a, b);
    return order != 0 ? order < 0 : a < b;
}

bool IsWebOrMailLink(const std::string& target) {
    return target.find("://") != std::string::npos || target.find("mailto:") != std::string::npos;
}

} // namespace

// ---- Items ------------------------------------------------------------------------------

int THTMListboxItems::Count() const {
    return int(owner_.list_.size());
}

const std::string& THTMListboxItems::operator[](int index) const {
    return owner_.At(index).Text;
}

int THTMListboxItems::Add(const std::string& text) {
    const int index = owner_.sorted_ ? owner_.SortedPosition(text) : Count();
    owner_.InsertItem(index, text);
    return index;
}

void THTMListboxItems::Insert(int index, const std::string& text) {
    if (index != Count()) owner_.At(index);
    owner_.InsertItem(index, text);
}

void THTMListboxItems::Delete(int index) {
    owner_.DeleteItem(index);
}

void THTMListboxItems::Clear() {
    owner_.ClearItems();
}

void THTMListboxItems::Put(int index, const std::string& text) {
    owner_.PutItem(index, text);
}

void* THTMListboxItems::Objects(int index) const {
    return owner_.At(index).Data;
}

void THTMListboxItems::SetObjects(int index, void* data) {
    owner_.At(index).Data = data;
}

// ---- The control ------------------------------------------------------------------------

THTMListbox::THTMListbox() : color_(clWindow), urlColor_(clBlue) {
    Font.OnChange = TNotifyEvent::bind<&THTMListbox::FontChanged>(this);
}

THTMListbox::~THTMListbox() = default;

THTMListbox::TItem& THTMListbox::At(int index) {
    if (index < 0 || index >= int(list_.size()))
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return list_[std::size_t(index)];
}

const THTMListbox::TItem& THTMListbox::At(int index) const {
    return const_cast<THTMListbox*>(this)->At(index);
}

int THTMListbox::SortedPosition(const std::string& text) const {
    const auto at = std::upper_bound(
        list_.begin(), list_.end(), text,
        [](const std::string& t, const TItem& item) { return SortsBefore(t, item.Text); });
    return int(at - list_.begin());
}

void THTMListbox::InsertItem(int index, const std::string& text) {
    TItem item{text};
    item.Height = MeasureItem(text);
    list_.insert(list_.begin() + index, std::move(item));
    if (itemIndex_ >= index) ++itemIndex_;
    if (anchor_ >= index) ++anchor_;
    UpdateScrollBar();
    Invalidate();
}

void THTMListbox::DeleteItem(int index) {
    At(index);
    list_.erase(list_.begin() + index);
    if (itemIndex_ == index)
        itemIndex_ = -1;
    else if (itemIndex_ > index)
        --itemIndex_;
    if (anchor_ >= index) anchor_ = anchor_ == index ? -1 : anchor_ - 1;
    topIndex_ = std::min(topIndex_, MaxTopIndex());
    UpdateScrollBar();
    Invalidate();
}

void THTMListbox::ClearItems() {
    list_.clear();
    itemIndex_ = anchor_ = -1;
    topIndex_ = 0;
    UpdateScrollBar();
    Invalidate();
}

void THTMListbox::PutItem(int index, const std::string& text) {
    TItem& item = At(index);
    item.Text = text;
    item.Height = MeasureItem(text);
    UpdateScrollBar();
    Invalidate();
}

// ---- Selection --------------------------------------------------------------------------

void THTMListbox::SetItemIndex(int index) {
    if (index < 0 || index >= int(list_.size())) index = -1;
    if (index == itemIndex_ && (multiSelect_ || index < 0)) return;
    InvalidateItem(itemIndex_);
    itemIndex_ = index;
    anchor_ = index;
    InvalidateItem(index);
    MakeVisible(index);
}

bool THTMListbox::Selected(int index) const {
    const TItem& item = At(index);
    return multiSelect_ ? item.Selected : index == itemIndex_;
}

void THTMListbox::SetSelected(int index, bool selected) {
    TItem& item = At(index);
    if (!multiSelect_) {
        if (selected)
            SetItemIndex(index);
        else if (index == itemIndex_)
            SetItemIndex(-1);
        return;
    }
    if (item.Selected == selected) return;
    item.Selected = selected;
    InvalidateItem(index);
}

int THTMListbox::SelCount() const {
    if (!multiSelect_) return -1;
    return int(
        std::count_if(list_.begin(), list_.end(), [](const TItem& i) { return i.Selected; }));
}

void THTMListbox::SetMultiSelect(bool multiSelect) {
    if (multiSelect_ == multiSelect) return;
    multiSelect_ = multiSelect;
    for (TItem& item : list_)
        item.Selected = false;
    if (multiSelect_ && itemIndex_ >= 0) list_[std::size_t(itemIndex_)].Selected = true;
    Invalidate();
}

void THTMListbox::SelectRange(int from, int to) {
    if (from > to) std::swap(from, to);
    for (int i = 0; i < int(list_.size()); ++i)
        list_[std::size_t(i)].Selected = i >= from && i <= to;
    Invalidate();
}

// A click or a key moved the focus to `index`: what gets selected depends on the mode.
void THTMListbox::MoveFocusTo(int index, TShiftState shift) {
    if (!multiSelect_) {
        SetItemIndex(index);
        return;
    }
    InvalidateItem(itemIndex_);
    itemIndex_ = index;
    if (extendedSelect_ && (shift & ssShift) && anchor_ >= 0) {
        SelectRange(anchor_, index);
    } else if (extendedSelect_ && !(shift & ssCtrl)) {
        SelectRange(index, index);
        anchor_ = index;
    } else {
        anchor_ = index;
    }
    InvalidateItem(index);
    MakeVisible(index);
}

void THTMListbox::SelectFromMouse(int index, TShiftState shift) {
    MoveFocusTo(index, shift);
    // Plain multiple selection toggles at every click, extended selection with Ctrl.
    if (multiSelect_ && (!extendedSelect_ || (shift & ssCtrl)) && !(shift & ssShift)) {
        TItem& item = list_[std::size_t(index)];
        item.Selected = !item.Selected;
        InvalidateItem(index);
    }
}

// ---- Settings ---------------------------------------------------------------------------

void THTMListbox::SetItemHeight(int height) {
    height = std::max(height, 1);
    if (itemHeight_ == height) return;
    itemHeight_ = height;
    topIndex_ = std::min(topIndex_, MaxTopIndex());
    UpdateScrollBar();
    Invalidate();
}

void THTMListbox::SetMultiline(bool multiline) {
    if (multiline_ == multiline) return;
    multiline_ = multiline;
    RemeasureAll();
}

void THTMListbox::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    sorted_ = sorted;
    if (!sorted_) return;
    if (itemIndex_ >= 0 && !multiSelect_) list_[std::size_t(itemIndex_)].Selected = true;
    std::stable_sort(list_.begin(), list_.end(),
                     [](const TItem& a, const TItem& b) { return SortsBefore(a.Text, b.Text); });
    if (!multiSelect_) {
        const auto selected =
            std::find_if(list_.begin(), list_.end(), [](const TItem& i) { return i.Selected; });
        itemIndex_ = selected == list_.end() ? -1 : int(selected - list_.begin());
        if (selected != list_.end()) selected->Selected = false;
    }
    anchor_ = itemIndex_;
    Invalidate();
}

void THTMListbox::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Invalidate();
}

void THTMListbox::SetURLColor(TColor color) {
    if (urlColor_ == color) return;
    urlColor_ = color;
    Invalidate();
}

void THTMListbox::SetBorderStyle(TBorderStyle style) {
    if (borderStyle_ == style) return;
    borderStyle_ = style;
    RemeasureAll();
}

void THTMListbox::SetImages(TImageList* images) {
    imagesNotice_.Clear();
    images_ = images;
    if (images_)
        images_->FreeNotification(TNotifyEvent::bind<&THTMListbox::ImagesFreed>(this),
                                  imagesNotice_);
    RemeasureAll();
}

void THTMListbox::ImagesFreed(TObject* sender) {
    if (sender != images_) return;
    images_ = nullptr;
    RemeasureAll();
}

void THTMListbox::FontChanged(TObject*) {
    RemeasureAll();
}

// ---- Measuring --------------------------------------------------------------------------

std::unique_ptr<TCanvas> THTMListbox::CreateMeasureCanvas() {
    return CreateScreenCanvas();
}

TCanvas& THTMListbox::MeasureCanvas() {
    if (!measure_) measure_ = CreateMeasureCanvas();
    measure_->Font = Font;
    return *measure_;
}

int THTMListbox::MeasureItem(const std::string& text) {
    if (!multiline_) return itemHeight_;
    const TRect area = ItemsArea();
    TMarkupRequest request;
    request.MeasureOnly = true;
    request.Images = images_;
    TMarkupResult result;
    RenderMarkup(MeasureCanvas(), text, {area.Left, 0, area.Right, kMeasureHeight}, request,
                 result);
    return result.Height + kMultilineMargin;
}

void THTMListbox::RemeasureAll() {
    if (remeasuring_) return;
    {
        const TScopedValue<bool> busy(remeasuring_, true);
        if (multiline_)
            for (TItem& item : list_)
                item.Height = MeasureItem(item.Text);
    }
    topIndex_ = std::min(topIndex_, MaxTopIndex());
    UpdateScrollBar();
    Invalidate();
}

int THTMListbox::ItemHeightOf(int index) const {
    return multiline_ ? At(index).Height : itemHeight_;
}

// ---- Geometry and scrolling -------------------------------------------------------------

TRect THTMListbox::ItemsArea() const {
    const TRect client = ClientRect();
    return borderStyle_ == TBorderStyle::bsSingle ? client.Inflate(-1, -1) : client;
}

int THTMListbox::MaxTopIndex() const {
    const int room = ItemsArea().Height();
    int top = int(list_.size());
    for (int used = 0; top > 0;) {
        used += ItemHeightOf(top - 1);
        if (used > room) break;
        --top;
    }
    return std::min(top, std::max(0, int(list_.size()) - 1));
}

void THTMListbox::UpdateScrollBar() {
    if (!HandleAllocated()) return;
    const int count = int(list_.size());
    const int maxTop = MaxTopIndex();
    SetScrollInfo(TScrollBarKind::sbVertical,
                  {0, std::max(0, count - 1), count - maxTop, topIndex_}, false);
}

int THTMListbox::PageItems() const {
    const int room = ItemsArea().Height();
    int n = 0;
    for (int i = topIndex_, used = 0; i < int(list_.size()); ++i, ++n) {
        used += ItemHeightOf(i);
        if (used > room) break;
    }
    return std::max(n, 1);
}

void THTMListbox::SetTopIndex(int index) {
    index = std::clamp(index, 0, MaxTopIndex());
    if (index == topIndex_) return;
    topIndex_ = index;
    UpdateScrollBar();
    Invalidate();
}

void THTMListbox::MakeVisible(int index) {
    if (index < 0) return;
    if (index < topIndex_) {
        SetTopIndex(index);
        return;
    }
    // The first top from which the item's bottom is still in view.
    const int room = ItemsArea().Height();
    int top = index;
    for (int used = ItemHeightOf(index); top > topIndex_;) {
        used += ItemHeightOf(top - 1);
        if (used > room) break;
        --top;
    }
    if (top > topIndex_) SetTopIndex(top);
}

int THTMListbox::ItemAtPos(int x, int y) const {
    const TRect area = ItemsArea();
    if (x < area.Left || x >= area.Right || y < area.Top) return -1;
    int top = area.Top;
    for (int i = topIndex_; i < int(list_.size()) && top < area.Bottom; ++i) {
        top += ItemHeightOf(i);
        if (y < top) return i;
    }
    return -1;
}

TRect THTMListbox::ItemRect(int index) const {
    const TRect area = ItemsArea();
    if (index < topIndex_ || index >= int(list_.size())) return {};
    int top = area.Top;
    for (int i = topIndex_; i < index; ++i) {
        top += ItemHeightOf(i);
        if (top >= area.Bottom) return {};
    }
    return {area.Left, top, area.Right, top + ItemHeightOf(index)};
}

void THTMListbox::InvalidateItem(int index) {
    const TRect r = ItemRect(index);
    if (!r.IsEmpty()) InvalidateRect(r, false);
}

void THTMListbox::Scroll(TScrollBarKind bar, int code, int pos) {
    if (bar != TScrollBarKind::sbVertical) return;
    SetTopIndex(RequestedTopRow(code, topIndex_, PageItems(), pos, MaxTopIndex()));
}

bool THTMListbox::MouseWheel(TShiftState, int delta, int, int) {
    SetTopIndex(topIndex_ - delta / 120 * std::max(1, WheelScrollLines()));
    return true;
}

void THTMListbox::Resize() {
    TCustomControl::Resize();
    if (!remeasuring_) RemeasureAll();
}

// ---- Painting ---------------------------------------------------------------------------

void THTMListbox::Paint(TCanvas& canvas, const TRect& clip) {
    const TRect area = ItemsArea();
    int top = area.Top;
    for (int i = topIndex_; i < int(list_.size()) && top < area.Bottom; ++i) {
        const TRect r{area.Left, top, area.Right, top + ItemHeightOf(i)};
        if (r.Intersects(clip)) DrawItem(canvas, i, r);
        top += r.Height();
    }
    canvas.Brush = TBrush{color_};
    if (top < area.Bottom) canvas.FillRect({area.Left, top, area.Right, area.Bottom});
    if (borderStyle_ == TBorderStyle::bsSingle) {
        canvas.Brush.Color = clWindowFrame;
        canvas.FrameRect(ClientRect());
    }
}

void THTMListbox::DrawItem(TCanvas& canvas, int index, const TRect& rect) {
    const bool selected = Selected(index);
    const TCanvasState keep(canvas);
    canvas.IntersectClipRect(rect); // a picture or a rule never reaches the next item
    canvas.Font = Font;
    canvas.Brush = TBrush{selected ? clHighlight : color_};
    canvas.Pen = TPen{canvas.Brush.Color};
    if (selected) canvas.Font.SetColor(clHighlightText);
    canvas.Rectangle(rect);
    TMarkupRequest request;
    request.LinkColor = selected ? clHighlightText : urlColor_;
    request.Images = images_;
    TMarkupResult result;
    RenderMarkup(canvas, list_[std::size_t(index)].Text, rect, request, result);
    if (index == itemIndex_ && Focused()) canvas.DrawFocusRect(rect);
}

void THTMListbox::FocusIn() {
    TCustomControl::FocusIn();
    InvalidateItem(itemIndex_);
}

void THTMListbox::FocusOut() {
    TCustomControl::FocusOut();
    InvalidateItem(itemIndex_);
}

// ---- Mouse and keyboard -----------------------------------------------------------------

bool THTMListbox::LinkAt(int x, int y, int& index, std::string& target) {
    index = ItemAtPos(x, y);
    if (index < 0) return false;
    TMarkupRequest request;
    request.TestOnly = true;
    request.TestX = x;
    request.TestY = y;
    request.Images = images_;
    TMarkupResult result;
    if (!RenderMarkup(MeasureCanvas(), list_[std::size_t(index)].Text, ItemRect(index), request,
                      result))
        return false;
    target = result.LinkTarget;
    return true;
}

void THTMListbox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    int index = -1;
    std::string target;
    if (LinkAt(x, y, index, target)) {
        if (IsWebOrMailLink(target))
            OpenUrl(target);
        else
            OnAnchorClick(this, index, target);
        return;
    }
    SetFocus();
    if (index >= 0 && button == TMouseButton::mbLeft) SelectFromMouse(index, shift);
    TCustomControl::MouseDown(button, shift, x, y);
}

void THTMListbox::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    int index = -1;
    std::string target;
    if (LinkAt(x, y, index, target)) OnAnchorEnter(this, index, target);
    // Dragging with the button down moves a single selection along.
    if (index >= 0 && (shift & ssLeft) && !multiSelect_) SetItemIndex(index);
}

TCursor THTMListbox::CursorAt(int x, int y) {
    int index = -1;
    std::string target;
    const bool onLink = LinkAt(x, y, index, target);
    // Over no item the pointer keeps its shape.
    if (index >= 0) linkCursor_ = onLink ? crHandPoint : Cursor();
    return linkCursor_;
}

void THTMListbox::KeyDown(std::uint16_t& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const int count = int(list_.size());
    if (key == 0 || count == 0) return;
    const int current = std::max(itemIndex_, 0);
    const int page = std::max(1, PageItems() - 1);
    int target;
    switch (key) {
    case VK_UP:
        target = itemIndex_ < 0 ? 0 : current - 1;
        break;
    case VK_DOWN:
        target = itemIndex_ < 0 ? 0 : current + 1;
        break;
    case VK_PRIOR:
        target = current - page;
        break;
    case VK_NEXT:
        target = current + page;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = count - 1;
        break;
    default:
        return;
    }
    target = std::clamp(target, 0, count - 1);
    key = 0;
    const int before = itemIndex_;
    MoveFocusTo(target, shift);
    if (itemIndex_ != before) Click();
}

} // namespace ondrex
