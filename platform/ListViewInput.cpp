// Mouse, keyboard and scroll-bar input of the list view: selection, hot tracking,
// activation, check boxes, header clicks, resizing and dragging, the selection band and
// incremental search.

#include "platform/LabelEditor.h"
#include "platform/ListView.h"
#include "platform/SystemMetrics.h"
#include "platform/Timer.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace ondrex {

namespace {
// Typed characters within this time extend the incremental search text.
constexpr long long kSearchPause = 1000;

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Fold(text[i]) != Fold(prefix[i])) return false;
    return true;
}
} // namespace

int TCustomListView::PressedHeaderItem() const {
    return track_ && track_->Mode == TMouseTrack::TMode::Header && track_->Pressed ? track_->Column
                                                                                   : -1;
}

int TCustomListView::HeaderDropPosition() const {
    return track_ && track_->Mode == TMouseTrack::TMode::HeaderDrag ? track_->DropPosition : -1;
}

void TCustomListView::Activate() {
    ItemActivate();
}

void TCustomListView::ToggleChecked(int index) {
    if (TListItem* item = items_.Item(index)) item->SetChecked(!item->Checked());
}

void TCustomListView::MoveFocus(int index, TShiftState shift) {
    const int count = ItemCount();
    if (count == 0) return;
    index = std::clamp(index, 0, count - 1);
    if (multiSelect_ && (shift & ssShift)) {
        if (anchor_ < 0) anchor_ = focused_ >= 0 ? focused_ : index;
        SelectRange(anchor_, index);
    } else if (multiSelect_ && (shift & ssCtrl)) {
        // Ctrl moves the focus only; Space then toggles.
    } else {
        SelectOnly(index);
        anchor_ = index;
    }
    SetFocusedIndex(index);
    EnsureVisible(index);
}

// ---- Mouse -------------------------------------------------------------------------------

void TCustomListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (!enabled_) return;
    if (editor_) EndEditing(true);
    SetFocus();
    const THitTestInfo hit = HitTest(x, y);
    track_.reset();
    if (hit.Flags & LVHT_ONHEADER) {
        if (button != TMouseButton::mbLeft || hit.Header < 0) return;
        track_ = std::make_unique<TMouseTrack>();
        track_->Column = hit.Header;
        track_->Start = {x, y};
        if (hit.Flags & LVHT_ONDIVIDER) {
            track_->Mode = TMouseTrack::TMode::Resize;
            track_->StartWidth = columns_.Item(hit.Header)->Width();
            HeaderBeginTrack(hit.Header);
        } else {
            track_->Mode = TMouseTrack::TMode::Header;
            track_->Pressed = columnClick_;
            InvalidateHeaderItem(hit.Header);
        }
        SetCapture();
        return;
    }
    if (!(hit.Flags & LVHT_ONITEM)) {
        if (!(shift & ssCtrl)) ClearSelection();
        if (multiSelect_ && button == TMouseButton::mbLeft && MarqueeBegin()) {
            track_ = std::make_unique<TMouseTrack>();
            track_->Mode = TMouseTrack::TMode::Marquee;
            track_->Start = {x, y};
            SetCapture();
        }
        return;
    }
    const int row = hit.Item;
    if ((hit.Flags & LVHT_ONITEMSTATEICON) && HasExStyle(LVS_EX_CHECKBOXES) &&
        button == TMouseButton::mbLeft) {
        ToggleChecked(row);
        SetFocusedIndex(row);
        return;
    }
    const bool wasSelected = IsSelected(row);
    if (button != TMouseButton::mbLeft) {
        // A right or middle press selects the row under it, keeping a selection it belongs to.
        if (!wasSelected) MoveFocus(row, 0);
        return;
    }
    if (multiSelect_ && (shift & ssShift) && anchor_ >= 0) {
        SelectRange(anchor_, row);
    } else if (multiSelect_ && (shift & ssCtrl)) {
        SetItemSelected(row, !wasSelected);
        anchor_ = row;
    } else {
        SelectOnly(row);
        anchor_ = row;
    }
    SetFocusedIndex(row);
    track_ = std::make_unique<TMouseTrack>();
    track_->Mode = TMouseTrack::TMode::Row;
    track_->Row = row;
    track_->Start = {x, y};
    track_->EditOnRelease = wasSelected && !readOnly_ && !(shift & (ssShift | ssCtrl | ssDouble)) &&
                            hit.SubItem == 0 && (hit.Flags & LVHT_ONITEMLABEL);
    // A click that activates the row does not also start editing its caption.
    if (!(shift & ssDouble) && (HasExStyle(LVS_EX_ONECLICKACTIVATE) ||
                                (HasExStyle(LVS_EX_TWOCLICKACTIVATE) && wasSelected))) {
        track_->EditOnRelease = false;
        Activate();
    }
}

void TCustomListView::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (!enabled_) return;
    if (track_) {
        TMouseTrack& t = *track_;
        switch (t.Mode) {
        case TMouseTrack::TMode::Resize:
            if (TListColumn* col = columns_.Item(t.Column)) {
                const int before = col->Width();
                col->SetWidth(std::max(t.StartWidth + x - t.Start.X, 0));
                if (col->Width() != before) HeaderItemChanged(t.Column);
            }
            return;
        case TMouseTrack::TMode::Header:
            if (HasExStyle(LVS_EX_HEADERDRAGDROP) &&
                std::abs(x - t.Start.X) > std::max(SystemMetric(SM_CXDRAG), 1)) {
                t.Mode = TMouseTrack::TMode::HeaderDrag;
                t.Pressed = false;
            } else {
                const bool inside = HeaderItemRect(t.Column).Contains({x, y});
                if (columnClick_ && inside != t.Pressed) {
                    t.Pressed = inside;
                    InvalidateHeaderItem(t.Column);
                }
                return;
            }
            [[fallthrough]];
        case TMouseTrack::TMode::HeaderDrag: {
            // The boundary between positions nearest to the pointer.
            int left = -hOffset_;
            int target = int(order_.size());
            for (std::size_t p = 0; p < order_.size(); ++p) {
                const int w = columns_.Item(order_[p])->Width();
                if (x < left + w / 2) {
                    target = int(p);
                    break;
                }
                left += w;
            }
            if (target != t.DropPosition) {
                t.DropPosition = target;
                InvalidateRect({0, 0, ClientWidth(), HeaderHeight()}, false);
            }
            return;
        }
        case TMouseTrack::TMode::Marquee: {
            const int a = RowAtY(std::min(t.Start.Y, y));
            const int top =
                a < 0 ? (std::min(t.Start.Y, y) < HeaderHeight() ? top_ : ItemCount()) : a;
            int bottom = RowAtY(std::max(t.Start.Y, y));
            if (bottom < 0) bottom = ItemCount() - 1;
            if (top <= bottom)
                SelectRange(top, bottom);
            else if (!(shift & ssCtrl))
                ClearSelection();
            return;
        }
        case TMouseTrack::TMode::Row:
            return;
        }
    }
    if (!HasExStyle(LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE)) return;
    const THitTestInfo hit = HitTest(x, y);
    int index = (hit.Flags & LVHT_ONITEM) ? hit.Item : -1;
    if (!HotTrackItem(index, hit.SubItem, {x, y})) return;
    if (index >= ItemCount()) index = -1;
    if (index == hot_) return;
    SetHot(index);
    StartHoverTimer();
}

void TCustomListView::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    std::unique_ptr<TMouseTrack> track = std::move(track_);
    if (MouseCapture()) ReleaseCapture();
    if (!track || !enabled_) return;
    switch (track->Mode) {
    case TMouseTrack::TMode::Resize:
        HeaderItemChanged(track->Column);
        break;
    case TMouseTrack::TMode::Header:
        InvalidateHeaderItem(track->Column);
        if (track->Pressed && HeaderItemRect(track->Column).Contains({x, y}))
            ColumnClicked(track->Column);
        break;
    case TMouseTrack::TMode::HeaderDrag: {
        InvalidateRect({0, 0, ClientWidth(), HeaderHeight()}, false);
        const int from = PositionOfColumn(track->Column);
        int to = track->DropPosition;
        if (from < 0 || to < 0) break;
        if (to > from) --to;
        if (to == from) break;
        std::vector<int> order = order_;
        order.erase(order.begin() + from);
        order.insert(order.begin() + to, track->Column);
        SetColumnOrder(order);
        HeaderEndDrag();
        break;
    }
    case TMouseTrack::TMode::Row: {
        const THitTestInfo hit = HitTest(x, y);
        if (track->EditOnRelease && hit.Item == track->Row && (hit.Flags & LVHT_ONITEMLABEL))
            EditCaption(track->Row);
        break;
    }
    case TMouseTrack::TMode::Marquee:
        Invalidate();
        break;
    }
}

void TCustomListView::DblClick(int x, int y) {
    if (enabled_) {
        const THitTestInfo hit = HitTest(x, y);
        if ((hit.Flags & LVHT_ONHEADER) && (hit.Flags & LVHT_ONDIVIDER)) {
            if (TListColumn* col = columns_.Item(hit.Header)) col->SetWidth(LVSCW_AUTOSIZE);
            HeaderDividerDblClick(hit.Header);
        } else if (hit.Flags & LVHT_ONITEM) {
            Activate();
        }
    }
    TCustomControl::DblClick(x, y);
}

bool TCustomListView::MouseWheel(TShiftState, int delta, int, int) {
    if (!enabled_) return false;
    int lines = WheelScrollLines();
    if (lines < 0) lines = std::max(VisibleRowCount(), 1);
    SetTopIndex(top_ - delta * lines / 120);
    return true;
}

void TCustomListView::MouseLeave() {
    TCustomControl::MouseLeave();
    if (track_) return;
    SetHot(-1);
    if (hoverTimer_) hoverTimer_->SetEnabled(false);
}

TCursor TCustomListView::CursorAt(int x, int y) {
    if (track_ && track_->Mode == TMouseTrack::TMode::Resize) return crHSplit;
    const THitTestInfo hit = HitTest(x, y);
    if ((hit.Flags & LVHT_ONHEADER) && (hit.Flags & LVHT_ONDIVIDER)) return crHSplit;
    if (hit.Item >= 0 && hit.Item == hot_ &&
        HasExStyle(LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE))
        return crHandPoint;
    return TCustomControl::CursorAt(x, y);
}

void TCustomListView::FocusIn() {
    TCustomControl::FocusIn();
    Invalidate();
}

void TCustomListView::FocusOut() {
    TCustomControl::FocusOut();
    Invalidate();
}

void TCustomListView::Resize() {
    TCustomControl::Resize();
    UpdateScrollBars();
    Invalidate();
}

void TCustomListView::Scroll(TScrollBarKind bar, int code, int pos) {
    if (bar == TScrollBarKind::sbVertical) {
        SetTopIndex(RequestedTopRow(code, top_, std::max(VisibleRowCount(), 1), pos, ItemCount()));
        return;
    }
    int next = hOffset_;
    switch (code) {
    case SB_LINELEFT:
        next -= 8;
        break;
    case SB_LINERIGHT:
        next += 8;
        break;
    case SB_PAGELEFT:
        next -= ClientWidth();
        break;
    case SB_PAGERIGHT:
        next += ClientWidth();
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        next = pos;
        break;
    case SB_LEFT:
        next = 0;
        break;
    case SB_RIGHT:
        next = TotalColumnWidth();
        break;
    default:
        return;
    }
    next = std::clamp(next, 0, std::max(TotalColumnWidth() - ClientWidth(), 0));
    if (next == hOffset_) return;
    hOffset_ = next;
    UpdateScrollBars();
    Invalidate();
}

// ---- Keyboard ----------------------------------------------------------------------------

void TCustomListView::KeyDown(std::uint16_t& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (!enabled_ || key == 0) return;
    const int page = std::max(VisibleRowCount(), 1);
    const int current = focused_;
    switch (key) {
    case VK_UP:
        MoveFocus(current < 0 ? 0 : current - 1, shift);
        break;
    case VK_DOWN:
        MoveFocus(current < 0 ? 0 : current + 1, shift);
        break;
    case VK_HOME:
        MoveFocus(0, shift);
        break;
    case VK_END:
        MoveFocus(ItemCount() - 1, shift);
        break;
    case VK_PRIOR:
        MoveFocus(current <= top_ ? current - page + 1 : top_, shift);
        break;
    case VK_NEXT: {
        const int bottom = top_ + page - 1;
        MoveFocus(current >= bottom ? current + page - 1 : bottom, shift);
        break;
    }
    case VK_LEFT:
        Scroll(TScrollBarKind::sbHorizontal, SB_LINELEFT, 0);
        break;
    case VK_RIGHT:
        Scroll(TScrollBarKind::sbHorizontal, SB_LINERIGHT, 0);
        break;
    case VK_SPACE:
        if (HasExStyle(LVS_EX_CHECKBOXES) && focused_ >= 0)
            ToggleChecked(focused_);
        else if (multiSelect_ && (shift & ssCtrl) && focused_ >= 0)
            SetItemSelected(focused_, !IsSelected(focused_));
        else if (focused_ >= 0 && !IsSelected(focused_))
            SelectOnly(focused_);
        break;
    case VK_RETURN:
        if (focused_ >= 0) Activate();
        break;
    case VK_F1 + 1: // F2
        if (focused_ >= 0) EditCaption(focused_);
        break;
    case 'A':
        if ((shift & ssCtrl) && multiSelect_) SelectAll();
        return;
    default:
        return;
    }
    key = 0;
}

void TCustomListView::KeyPress(std::string& character) {
    TCustomControl::KeyPress(character);
    if (!enabled_ || character.empty() || static_cast<unsigned char>(character[0]) < 0x20) return;
    if (KeyboardState() & (ssCtrl | ssAlt)) return;
    IncrementalSearch(character);
}

void TCustomListView::IncrementalSearch(const std::string& character) {
    const long long now = NowMs();
    if (now - lastSearchKey_ > kSearchPause) search_.clear();
    lastSearchKey_ = now;
    search_ += character;
    const int count = ItemCount();
    if (count == 0) return;
    // A first character looks from the row after the focused one, so repeating it cycles.
    const int start = search_.size() == character.size() ? focused_ + 1 : std::max(focused_, 0);
    int found = -1;
    if (ownerData_) {
        TLVFindInfo info;
        info.Flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
        info.Text = search_;
        info.Start = start % count;
        found = FindItem(info);
    } else {
        for (int n = 0; n < count && found < 0; ++n) {
            const int i = (start + n) % count;
            if (StartsWithFolded(items_.Item(i)->Text(0), search_)) found = i;
        }
    }
    if (found >= 0 && found < count) MoveFocus(found, 0);
}

} // namespace ondrex
