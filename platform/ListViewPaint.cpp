// Painting of the list view: background, rows (default or owner-drawn), grid lines and the
// header (default or owner-drawn items).

#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "platform/ListView.h"
#include "platform/SystemColors.h"

#include <algorithm>

namespace ondrex {

namespace {
constexpr TColor kGridColor = clBtnFace;
constexpr TColor kHotColor = clSystemColor | COLOR_HOTLIGHT;
constexpr unsigned kCellText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
} // namespace

unsigned TCustomListView::ItemDrawState(int index) const {
    unsigned state = 0;
    const unsigned itemState = ownerData_           ? VirtualState(index)
                               : items_.Item(index) ? items_.Item(index)->State()
                                                    : 0;
    if (itemState & (LVIS_SELECTED | LVIS_DROPHILITED)) state |= ODS_SELECTED;
    if (itemState & LVIS_FOCUSED) state |= ODS_FOCUS;
    if (index == hot_) state |= ODS_HOTLIGHT;
    if (const TListItem* item = items_.Item(index); item && item->Checked()) state |= ODS_CHECKED;
    return state;
}

void TCustomListView::PaintBackground(TCanvas& canvas, const TRect& r) {
    if (r.IsEmpty()) return;
    canvas.Brush = TBrush{color_, TBrushStyle::bsSolid, background_};
    canvas.FillRect(r);
}

void TCustomListView::Paint(TCanvas& canvas, const TRect& clip) {
    const int header = HeaderHeight();
    const int height = RowHeight();
    const int count = ItemCount();
    const int first = top_ + std::max(clip.Top - header, 0) / height;
    const int last = std::min(count - 1, top_ + std::max(clip.Bottom - header - 1, 0) / height);
    if (ownerData_ && first <= last && (first != lastHint_.From || last != lastHint_.To)) {
        lastHint_ = {first, last};
        CacheHint(lastHint_);
    }
    int bottom = header;
    for (int i = first; i <= last; ++i) {
        const TRect row = ItemRect(i);
        bottom = row.Bottom;
        canvas.Save();
        canvas.IntersectClipRect({0, std::max(row.Top, header), ClientWidth(), row.Bottom});
        if (ownerDraw_) {
            canvas.Font = font_;
            canvas.Brush = TBrush{color_, TBrushStyle::bsSolid, background_};
            DrawItem(canvas, i, row, ItemDrawState(i));
        } else {
            PaintRow(canvas, i, row);
        }
        canvas.Restore();
    }
    PaintBackground(canvas, {0, std::max(bottom, header), ClientWidth(), ClientHeight()});
    if (HasExStyle(LVS_EX_GRIDLINES) && !ownerDraw_)
        PaintGridLines(canvas, {0, header, ClientWidth(), ClientHeight()});
    if (header > 0 && clip.Top < header) PaintHeader(canvas);
}

void TCustomListView::PaintRow(TCanvas& canvas, int index, const TRect& row) {
    PaintBackground(canvas, row);
    const bool selected = IsSelected(index) && (Focused() || !hideSelection_);
    const bool fullRow = HasExStyle(LVS_EX_FULLROWSELECT);
    if (selected && fullRow && !order_.empty()) {
        canvas.Brush = TBrush{Focused() ? clHighlight : clBtnFace};
        const TRect first = CellRect(index, order_.front());
        canvas.FillRect({first.Left + StateSlotWidth(), row.Top,
                         ColumnLeft(order_.back()) + columns_.Item(order_.back())->Width(),
                         row.Bottom});
    }
    for (int column : order_)
        PaintCell(canvas, index, column, CellRect(index, column), selected && fullRow);
    if (focused_ == index && Focused()) {
        TRect band = CellRect(index, 0);
        band.Left += StateSlotWidth();
        if (fullRow && !order_.empty()) {
            band.Left = std::min(band.Left, CellRect(index, order_.front()).Left);
            band.Right = ColumnLeft(order_.back()) + columns_.Item(order_.back())->Width();
        }
        canvas.DrawFocusRect(band);
    }
}

void TCustomListView::PaintCell(TCanvas& canvas, int index, int column, const TRect& cell,
                                bool selectedRow) {
    if (cell.IsEmpty()) return;
    canvas.Save();
    canvas.IntersectClipRect(cell);
    const TListColumn* col = columns_.Item(column);
    const TListItem* item = items_.Item(index);
    const bool selected = IsSelected(index) && (Focused() || !hideSelection_);
    const bool hot = index == hot_ && HasExStyle(LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE |
                                                 LVS_EX_TWOCLICKACTIVATE);
    TRect text{cell.Left + 4, cell.Top, cell.Right - 4, cell.Bottom};
    int x = cell.Left;
    if (column == 0) {
        if (HasExStyle(LVS_EX_CHECKBOXES)) {
            PaintCheckBox(canvas, x + 2, cell.Top + (cell.Height() - CheckBoxSize()) / 2,
                          item && item->Checked());
            x += StateSlotWidth();
        } else if (stateImages_) {
            int state = item ? item->StateIndex() : -1;
            if (ownerData_) {
                TLVDispInfo info;
                info.Item = index;
                info.Mask = LVIF_STATE;
                GetDispInfo(info);
                state = int((info.State >> 12) & 0xF) - 1;
            }
            if (state >= 0)
                stateImages_->Draw(canvas, x,
                                   cell.Top + (cell.Height() - stateImages_->Height()) / 2, state,
                                   ILD_TRANSPARENT, Enabled());
            x += stateImages_->Width();
        }
        if (smallImages_) {
            int image = item ? item->ImageIndex() : -1;
            if (ownerData_) {
                TLVDispInfo info;
                info.Item = index;
                info.Mask = LVIF_IMAGE;
                GetDispInfo(info);
                image = info.Image;
            }
            unsigned style = selected && Focused() ? ILD_SELECTED : ILD_TRANSPARENT;
            if (item && item->OverlayIndex() >= 0)
                style |= INDEXTOOVERLAYMASK(item->OverlayIndex() + 1);
            smallImages_->Draw(canvas, x + 2,
                               cell.Top + (cell.Height() - smallImages_->Height()) / 2, image,
                               style, Enabled());
            x += smallImages_->Width() + 2;
        }
        text.Left = x + 4;
        if (selected && !selectedRow) {
            // Without full-row selection only the caption's own band shows the selection.
            const std::string caption = ItemText(index, 0);
            canvas.Font = font_;
            const int w = canvas.TextWidth(caption);
            canvas.Brush = TBrush{Focused() ? clHighlight : clBtnFace};
            canvas.FillRect({x + 2, cell.Top, std::min(x + w + 8, cell.Right), cell.Bottom});
        }
    } else if (HasExStyle(LVS_EX_SUBITEMIMAGES) && smallImages_ && item) {
        const int image = item->SubItemImage(column - 1);
        if (image >= 0) {
            smallImages_->Draw(canvas, x + 2,
                               cell.Top + (cell.Height() - smallImages_->Height()) / 2, image,
                               ILD_TRANSPARENT, Enabled());
            text.Left = x + smallImages_->Width() + 6;
        }
    }
    canvas.Font = font_;
    const bool highlighted = selected && (selectedRow || column == 0);
    TColor color = font_.Color();
    if (highlighted)
        color = Focused() ? clHighlightText : clBtnText;
    else if (hot)
        color = kHotColor;
    if (!Enabled()) color = clGrayText;
    canvas.Font.SetColor(color);
    TFontStyles style = font_.Style();
    if ((hot && HasExStyle(LVS_EX_UNDERLINEHOT)) || (!hot && HasExStyle(LVS_EX_UNDERLINECOLD)))
        style |= fsUnderline;
    canvas.Font.SetStyle(style);
    canvas.BkMode = TBkMode::bkTransparent;
    std::string value = ItemText(index, column);
    canvas.DrawText(value, text, kCellText | AlignFlags(col->Alignment()));
    canvas.Restore();
}

void TCustomListView::PaintCheckBox(TCanvas& canvas, int x, int y, bool checked) {
    const int size = CheckBoxSize();
    canvas.Brush = TBrush{clWindow};
    canvas.FillRect(Bounds(x, y, size, size));
    canvas.Brush = TBrush{clBtnShadow};
    canvas.FrameRect(Bounds(x, y, size, size));
    if (!checked) return;
    canvas.Pen = TPen{clWindowText, 1};
    // A tick of three pixel rows, as the classic box draws it.
    for (int d = 0; d < 3; ++d) {
        canvas.MoveTo(x + 3, y + 5 + d);
        canvas.LineTo(x + 5, y + 7 + d);
        canvas.LineTo(x + 10, y + 2 + d);
    }
}

void TCustomListView::PaintGridLines(TCanvas& canvas, const TRect& area) {
    canvas.Pen = TPen{kGridColor, 1};
    int x = -hOffset_;
    for (int c : order_) {
        x += columns_.Item(c)->Width();
        canvas.MoveTo(x - 1, area.Top);
        canvas.LineTo(x - 1, area.Bottom);
    }
    const int right = std::max(x, 0);
    if (right <= 0) return;
    const int height = RowHeight();
    for (int y = area.Top + height - 1; y < area.Bottom; y += height) {
        canvas.MoveTo(0, y);
        canvas.LineTo(right, y);
    }
}

void TCustomListView::PaintHeader(TCanvas& canvas) {
    const int height = HeaderHeight();
    canvas.Save();
    canvas.IntersectClipRect({0, 0, ClientWidth(), height});
    int right = -hOffset_;
    for (int column : order_) {
        const TRect rect = HeaderItemRect(column);
        right = rect.Right;
        if (rect.Right <= 0 || rect.Left >= ClientWidth()) continue;
        const bool pressed = PressedHeaderItem() == column;
        canvas.Save();
        canvas.IntersectClipRect(rect);
        // Owner-drawn items get the button's frame; their owner paints inside it.
        PaintHeaderFrame(canvas, rect, pressed);
        if (HeaderItemOwnerDraw(column)) {
            canvas.Font = font_;
            canvas.Brush = TBrush{color_};
            DrawHeaderItem(canvas, column, rect, pressed);
        } else {
            DefaultDrawHeaderItem(canvas, column, rect, pressed);
        }
        canvas.Restore();
    }
    if (right < ClientWidth()) {
        // The empty part of the header right of the last item.
        const TRect rest{std::max(right, 0), 0, ClientWidth(), height};
        canvas.Brush = TBrush{clBtnFace};
        canvas.FillRect(rest);
        canvas.Pen = TPen{clBtnShadow, 1};
        canvas.MoveTo(rest.Left, height - 1);
        canvas.LineTo(rest.Right, height - 1);
    }
    if (const int target = HeaderDropPosition(); target >= 0) {
        // Where a dragged header item would land.
        int x = -hOffset_;
        for (int p = 0; p < target && p < int(order_.size()); ++p)
            x += columns_.Item(order_[std::size_t(p)])->Width();
        canvas.Brush = TBrush{clHighlight};
        canvas.FillRect({x - 1, 0, x + 1, height});
    }
    canvas.Restore();
}

void TCustomListView::PaintHeaderFrame(TCanvas& canvas, const TRect& rect, bool pressed) {
    canvas.Brush = TBrush{clBtnFace};
    canvas.FillRect(rect);
    // A raised button, or a sunken one while pressed.
    const TColor light = pressed ? clBtnShadow : clBtnHighlight;
    const TColor dark = pressed ? clBtnHighlight : clBtnShadow;
    canvas.Pen = TPen{light, 1};
    canvas.MoveTo(rect.Left, rect.Bottom - 1);
    canvas.LineTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Right - 1, rect.Top);
    canvas.Pen = TPen{dark, 1};
    canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
    canvas.LineTo(rect.Left - 1, rect.Bottom - 1);
}

void TCustomListView::DefaultDrawHeaderItem(TCanvas& canvas, int column, const TRect& rect,
                                            bool pressed) {
    const TListColumn* col = columns_.Item(column);
    if (!col) return;
    TRect text = rect.Inflate(-6, 0);
    if (pressed) text = text.Offset(1, 1);
    const int imageIndex = col->ImageIndex();
    if ((col->Format() & LVCFMT_IMAGE) && smallImages_ && imageIndex >= 0 &&
        imageIndex < smallImages_->Count()) {
        const int w = smallImages_->Width();
        const int top = text.Top + (text.Height() - smallImages_->Height()) / 2;
        if (col->Format() & LVCFMT_BITMAP_ON_RIGHT) {
            smallImages_->Draw(canvas, text.Right - w, top, imageIndex, ILD_TRANSPARENT, Enabled());
            text.Right -= w + 4;
        } else {
            smallImages_->Draw(canvas, text.Left, top, imageIndex, ILD_TRANSPARENT, Enabled());
            text.Left += w + 4;
        }
    }
    canvas.Font = font_;
    canvas.Font.SetColor(Enabled() ? clBtnText : clGrayText);
    canvas.BkMode = TBkMode::bkTransparent;
    canvas.DrawText(col->Caption(), text, kCellText | AlignFlags(col->Alignment()));
}

} // namespace ondrex
