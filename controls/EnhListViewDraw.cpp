// The enhanced list view's painters: sort-arrow pictures, the owner-drawn header and the
// owner-drawn rows with their cells.

#include "controls/TCustomEnhListView.h"

#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "platform/SystemColors.h"

#include <algorithm>

namespace ondrex {

namespace {
// Alignment + DT_SINGLELINE + DT_VCENTER + DT_NOPREFIX + DT_END_ELLIPSIS.
constexpr unsigned kCaptionFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

void Line(TCanvas& canvas, TColor color, std::initializer_list<TPoint> points) {
    canvas.Pen = TPen{color, 1};
    const TPoint* p = points.begin();
    canvas.MoveTo(p->X, p->Y);
    for (++p; p != points.end(); ++p)
        canvas.LineTo(p->X, p->Y);
}
} // namespace

// ---- Sort arrows -------------------------------------------------------------------------

void TCustomEnhListView::CreateSortArrowBitmaps() {
    if (!sortUp_) sortUp_ = std::make_unique<TBitmap>();
    if (!sortDown_) sortDown_ = std::make_unique<TBitmap>();
    const int h = MeasureCanvas().TextHeight("Wy");
    if (h < 7) {
        sortUp_->SetSize(0, 0);
        sortDown_->SetSize(0, 0);
        return;
    }
    const int s = (h % 2 == 0 ? h : h + 1) - 6;
    const int m = s / 2;
    TBitmap& down = reverseSortArrows_ ? *sortUp_ : *sortDown_;
    TBitmap& up = reverseSortArrows_ ? *sortDown_ : *sortUp_;
    for (TBitmap* b : {&down, &up}) {
        b->SetSize(s, s);
        b->Canvas().Brush = TBrush{clBtnFace};
        b->Canvas().FillRect({0, 0, s, s});
    }
    // Pointing down: shadow on the right edge, light on the top and left edges.
    TCanvas& dc = down.Canvas();
    Line(dc, clBtnShadow, {{m, s - 2}, {s - 1, 0}});
    dc.SetPixel(s - 1, 0, clBtnShadow);
    Line(dc, clBtnHighlight, {{s - 2, 0}, {0, 0}, {m - 1, s - 2}});
    dc.SetPixel(m - 1, s - 2, clBtnHighlight);
    // Pointing up: light on the left edge, shadow on the right and bottom edges.
    TCanvas& uc = up.Canvas();
    Line(uc, clBtnHighlight, {{0, s - 1}, {m - 1, 0}});
    Line(uc, clBtnShadow, {{m, 0}, {s - 1, s - 1}, {-1, s - 1}});
    uc.SetPixel(m, 0, clBtnFace);
}

// ---- Header ------------------------------------------------------------------------------

void TCustomEnhListView::DrawHeaderItem(TCanvas& canvas, int column, const TRect& rect,
                                        bool pressed) {
    PaintHeaderItem(canvas, column, rect, pressed);
}

void TCustomEnhListView::PaintHeaderItem(TCanvas& canvas, int index, TRect rect, bool selected) {
    canvas.Font = Font();
    canvas.Brush = TBrush{clBtnFace};
    bool defaultDrawing = !onDrawHeader_;
    if (onDrawHeader_) DoDrawHeader(canvas, index, rect, selected, defaultDrawing);
    if (defaultDrawing) DefaultDrawHeader(canvas, index, rect, selected);
}

void TCustomEnhListView::DoDrawHeader(TCanvas& canvas, int index, TRect& rect, bool selected,
                                      bool& defaultDrawing) {
    onDrawHeader_(this, canvas, index, rect, selected, defaultDrawing);
}

bool TCustomEnhListView::HeaderArrowShown(int index) {
    return showSortArrows_ && index == currentSortColumn_ &&
           autoColumnSort_ != TAutoColumnSort::acsNoSort;
}

bool TCustomEnhListView::HeaderImage(int, int&, bool&) {
    return false;
}

void TCustomEnhListView::DefaultDrawHeader(TCanvas& canvas, int index, TRect rect, bool selected) {
    const TRect item = rect;
    if (!selected) {
        rect = rect.Inflate(-2, -2);
        canvas.FillRect(rect);
    } else {
        canvas.FillRect(rect);
        rect = rect.Inflate(-2, -2);
    }
    const TListColumn* column = Columns()[index];
    if (!column) return;
    if (selected) {
        rect.Top += 1;
        rect.Left += 1;
    }
    const TAlignment alignment = column->Alignment();
    TRect text = rect;
    if (alignment == TAlignment::taLeftJustify) text.Left += TextMargin;
    if (alignment == TAlignment::taRightJustify) text.Right -= TextMargin;
    int image = -1;
    bool imageRight = false;
    const bool hasImage = HeaderImage(index, image, imageRight);
    const int imageWidth = hasImage ? SmallImages()->Width() : 0;
    if (hasImage) {
        if (imageRight)
            text.Right -= imageWidth + TextMargin;
        else
            text.Left += imageWidth + TextMargin;
    }
    const TBitmap* arrow = nullptr;
    if (HeaderArrowShown(index)) {
        arrow = currentSortAscending_ ? sortUp_.get() : sortDown_.get();
        if (arrow) text.Right = std::max(text.Right - (arrow->Width() + 8), text.Left);
    }
    const unsigned flags = AlignFlags(alignment) | kCaptionFlags;
    // The caption is placed by its measured width; its height stays the header's.
    TRect measured = text;
    canvas.DrawText(column->Caption(), measured, flags | DT_CALCRECT);
    const int w = measured.Width();
    if (alignment == TAlignment::taRightJustify) {
        text.Left = text.Right - w;
    } else if (alignment == TAlignment::taCenter) {
        text.Left += (text.Width() - w) / 2;
        text.Right = text.Left + w;
    } else {
        text.Right = text.Left + w;
    }
    text.Left = std::max(text.Left, item.Left);
    text.Right = std::min(text.Right, item.Right);
    if (selected) text = text.Offset(1, 1);
    canvas.BkMode = TBkMode::bkTransparent;
    canvas.DrawText(column->Caption(), text, flags);
    if (hasImage) {
        TImageList* images = SmallImages();
        const int top = text.Top + (text.Height() - images->Height()) / 2;
        if (!imageRight) {
            const int x = text.Left - imageWidth - TextMargin;
            if (arrow || x >= item.Left) images->Draw(canvas, x, top, image, Enabled());
        } else {
            const int x = text.Right + TextMargin;
            if (arrow || x + imageWidth <= item.Right)
                images->Draw(canvas, x, top, image, Enabled());
            if (arrow) text.Right = std::min(text.Right + imageWidth, item.Right);
        }
    }
    if (arrow && !arrow->Empty()) {
        const int x = text.Right + 8;
        const int top = text.Top + (text.Height() - arrow->Height()) / 2;
        if (x + arrow->Width() <= item.Right) canvas.Draw(x, top, *arrow);
    }
}

// ---- Owner-drawn rows --------------------------------------------------------------------

void TCustomEnhListView::MeasureItem(int& height) {
    unsigned h = unsigned(std::max(height, 0));
    DoMeasureItem(h);
    height = int(std::min<unsigned>(h, 0x7FFF));
}

void TCustomEnhListView::DoMeasureItem(unsigned& height) {
    OnMeasureItem(this, height);
}

void TCustomEnhListView::DrawItem(TCanvas& canvas, int index, const TRect& rect, unsigned state) {
    canvas.Font = Font();
    PaintItem(canvas, index, rect, false, state);
}

void TCustomEnhListView::DoDrawItem(TCanvas& canvas, int index, TRect rect, unsigned state,
                                    bool& defaultDrawing, bool& fullRowSelect) {
    OnDrawItem(this, canvas, index, rect, state, defaultDrawing, fullRowSelect);
}

void TCustomEnhListView::DoDrawSubItem(TCanvas& canvas, int index, int subItem, TRect rect,
                                       unsigned state, bool& defaultDrawing) {
    OnDrawSubItem(this, canvas, index, subItem, rect, state, defaultDrawing);
}

void TCustomEnhListView::DoAfterDefaultDrawItem(TCanvas& canvas, int index, TRect rect,
                                                unsigned state) {
    OnAfterDefaultDrawItem(this, canvas, index, rect, state);
}

void TCustomEnhListView::PaintItem(TCanvas& canvas, int index, TRect rect, bool fullRowSelect,
                                   unsigned state) {
    bool defaultDrawing = !OnDrawItem;
    DoDrawItem(canvas, index, rect, state, defaultDrawing, fullRowSelect);
    if (!defaultDrawing) return;
    canvas.FillRect(rect);
    if (index < 0) return;
    const int stateWidth = StateImages() ? StateImages()->Width() : 0;
    const int smallWidth = SmallImages() ? SmallImages()->Width() : 0;
    // The band that shows the selection and the focus.
    const auto band = [&] {
        TRect b = rect;
        b.Left += TextMargin - 2;
        if (fullRowSelect) {
            b.Left += stateWidth + smallWidth;
        } else {
            canvas.Font = Font();
            b.Right = b.Left + canvas.TextWidth(GetSubItemText(index, -1)) + 2 * TextMargin;
            b = b.Offset(stateWidth + smallWidth, 0);
            b.Right = std::min(b.Right, rect.Left + ColumnWidthAt(0));
        }
        return b;
    };
    if ((state & ODS_SELECTED) && (!HideSelection() || Focused())) {
        canvas.Brush = TBrush{Focused() ? clHighlight : clBtnFace};
        canvas.FillRect(band());
    }
    DefaultDrawItem(canvas, index, rect, fullRowSelect, state);
    if ((state & ODS_FOCUS) && Focused()) canvas.DrawFocusRect(band());
    DoAfterDefaultDrawItem(canvas, index, rect, state);
}

void TCustomEnhListView::DefaultDrawItem(TCanvas& canvas, int index, TRect rect, bool fullRowSelect,
                                         unsigned state) {
    const TListItem* item = Items()[index];
    const bool owned = OwnerData() && index >= 0 && index < ItemCount();
    if ((!item && !owned) || Columns().Count() == 0) return;
    if (state & ODS_SELECTED) {
        if (Focused()) {
            canvas.Brush = TBrush{clHighlight};
            canvas.Font.SetColor(clHighlightText);
        } else if (!HideSelection()) {
            canvas.Brush = TBrush{clBtnFace};
            canvas.Font.SetColor(clBtnText);
        }
    }
    TRect cell = rect;
    cell.Right = rect.Left + ColumnWidthAt(0) - 2;
    const bool leftAligned =
        Columns()[ColumnAtPosition(0)]->Alignment() == TAlignment::taLeftJustify;
    // Rows of owner data carry no pictures here.
    if (item && StateImages()) {
        StateImages()->Draw(canvas, cell.Left + ImageMargin, cell.Top, item->StateIndex(),
                            ILD_TRANSPARENT, Enabled());
        cell.Left += StateImages()->Width();
    }
    if (item && SmallImages()) {
        TImageList* images = SmallImages();
        const TColor blend = images->BlendColor;
        images->BlendColor = clHighlight;
        unsigned style = Focused() && (state & ODS_SELECTED) ? ILD_SELECTED : ILD_TRANSPARENT;
        if (item->OverlayIndex() >= 0 && item->OverlayIndex() <= 3)
            style |= INDEXTOOVERLAYMASK(item->OverlayIndex() + 1);
        images->Draw(canvas, cell.Left + ImageMargin, cell.Top, item->ImageIndex(), style,
                     Enabled());
        images->BlendColor = blend;
        if (leftAligned) cell.Left += images->Width() + TextMargin;
    } else if (leftAligned) {
        cell.Left += TextMargin;
    }
    DefaultDrawSubItem(canvas, index, -1, state, cell);
    for (int i = 1; i < Columns().Count(); ++i) {
        if (!fullRowSelect) {
            canvas.Brush = TBrush{clWindow};
            canvas.Font.SetColor(clWindowText);
        }
        const int right = cell.Right;
        cell.Left = right + TextMargin;
        cell.Right = right + ColumnWidthAt(i);
        if (owned || item->SubItemCount() >= i)
            DefaultDrawSubItem(canvas, index, i - 1, state, cell);
    }
}

void TCustomEnhListView::DefaultDrawSubItem(TCanvas& canvas, int index, int subItem, unsigned state,
                                            TRect rect) {
    canvas.Save();
    bool defaultDrawing = !OnDrawSubItem;
    if (OnDrawSubItem) DoDrawSubItem(canvas, index, subItem, rect, state, defaultDrawing);
    // Owner-data cells have no text here: their owner draws it.
    if (defaultDrawing && !OwnerData()) {
        if (subItem >= 0) {
            rect.Left += TextMargin;
            rect.Right -= TextMargin;
        }
        const TListColumn* column = Columns()[ColumnAtPosition(subItem + 1)];
        const unsigned align = column ? AlignFlags(column->Alignment()) : DT_LEFT;
        // Text cells are filled with the brush, as the classic canvas drew text.
        canvas.BkMode =
            canvas.Brush.Style == TBrushStyle::bsClear ? TBkMode::bkTransparent : TBkMode::bkOpaque;
        canvas.BkColor = canvas.Brush.Color;
        canvas.DrawText(GetSubItemText(index, subItem), rect, align | kCaptionFlags);
    }
    canvas.Restore();
}

} // namespace ondrex
