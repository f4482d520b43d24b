#include "editor/RowPainter.h"

#include "editor/TuzTextDrawer.h"
#include "editor/qvSupportProcs.h"
#include "platform/DrawTextFlags.h"

#include <algorithm>

namespace ondrex {

int TRowPainter::X(int cell) const {
    return PixelX((long long)cell * frame_.CharWidth + frame_.TextOffset);
}

void TRowPainter::BeginRow(const TDisplayCells& cells, int top, int bottom,
                           const TRowColors& colors, TRowSelection selection) {
    cells_ = &cells;
    row_ = {frame_.Left, top, frame_.Right, bottom};
    colors_ = colors;
    selStart_ = std::max(selection.Start, frame_.FirstCell);
    selEnd_ = std::min(selection.End, frame_.LastCell);
    const bool selected = selStart_ < selEnd_;
    fullySelected_ =
        selected && selection.Start <= frame_.FirstCell && selection.End >= frame_.LastCell;
    partlySelected_ = selected && !fullySelected_;
    pending_ = false;
}

bool TRowPainter::OnlyBlanks(int first, int last) const {
    const std::string_view text = cells_->Text();
    for (int i = first; i < last; ++i)
        if (text[i] != ' ') return false;
    return true;
}

void TRowPainter::Add(int first, int last, int endCell, TFontStyles style, TColor foreground,
                      TColor background) {
    if (background == clNone) background = frame_.EditorBackground;
    if (foreground == clNone) foreground = frame_.FontColor;
    if (pending_) {
        // Blanks show no foreground and no style, so they join the run before them.
        const bool blanks = OnlyBlanks(first, last);
        const bool sameLook =
            colors_.Special || fullySelected_ ||
            (background == run_.Background && (foreground == run_.Foreground || blanks));
        if ((style == run_.Style || blanks) && sameLook) {
            run_.Last = last;
            run_.EndCell = endCell;
            return;
        }
        Flush(false);
    }
    pending_ = true;
    run_ = {first, last, cells_->CellOfTextIndex(first), endCell, style, foreground, background};
}

void TRowPainter::UseColors(bool selected) {
    drawer_.SetForeColor(selected ? colors_.SelectedForeground : colors_.Foreground);
    drawer_.SetBackColor(selected ? colors_.SelectedBackground : colors_.Background);
}

// The part [from, to) of the pending run, from the row's current left edge to x(to). A wide
// character cut by the paint's left edge is drawn from its own start and clipped.
void TRowPainter::DrawPart(int from, int to, bool selected) {
    if (to < from) return;
    TRect rect{row_.Left, row_.Top, std::min(X(to), row_.Right), row_.Bottom};
    if (rect.IsEmpty()) return;
    const int first = std::max(run_.First, cells_->TextIndexOfCell(from));
    const int last = std::min(run_.Last, cells_->TextEndOfCell(to));
    UseColors(selected);
    const std::string_view text = cells_->Text();
    const int x = first < last ? X(cells_->CellOfTextIndex(first)) : X(from);
    advances_.clear();
    for (int i = first; i < last; ++i)
        advances_.push_back(cells_->CellWidthAt(i));
    drawer_.PutTextCells(x, row_.Top, ETO_OPAQUE | ETO_CLIPPED, rect,
                         text.substr(first, std::max(last - first, 0)), advances_);
    row_.Left = rect.Right;
}

void TRowPainter::FillTo(int x, bool selected) {
    const int right = std::min(x, row_.Right);
    if (row_.Left >= right) return;
    UseColors(selected);
    InternalFillRect(*drawer_.BoundCanvas(), {row_.Left, row_.Top, right, row_.Bottom});
    row_.Left = right;
}

void TRowPainter::Flush(bool fill) {
    if (pending_) {
        pending_ = false;
        const int c1 = std::max(frame_.FirstCell, run_.StartCell);
        const int c2 = std::min(frame_.LastCell, run_.EndCell);
        if (!colors_.Special) {
            colors_.Foreground = run_.Foreground;
            colors_.Background = run_.Background;
        }
        drawer_.SetStyle(run_.Style);
        if (partlySelected_ && c1 < selEnd_ && c2 >= selStart_) {
            if (c1 < selStart_) DrawPart(c1, selStart_, false);
            DrawPart(std::max(selStart_, c1), std::min(selEnd_, c2), true);
            if (c2 >= selEnd_) DrawPart(selEnd_, c2, false);
        } else {
            DrawPart(c1, c2, fullySelected_);
        }
    }
    if (!fill || row_.Left >= row_.Right) return;
    if (!colors_.Special) colors_.Background = frame_.EditorBackground;
    if (partlySelected_) {
        FillTo(X(selStart_), false);
        FillTo(X(selEnd_), true);
        FillTo(row_.Right, false);
    } else {
        FillTo(row_.Right, fullySelected_);
    }
}

} // namespace ondrex
