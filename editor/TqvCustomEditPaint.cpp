// Painting: the gutter with line numbers, marks and its edge; the text area with highlighted
// token runs, the selection, the application's special line colours, the right margin and
// the area below the text. Also the mapping between byte columns and display cells that
// everything drawn or hit-tested goes through.

#include "editor/TqvCustomEdit.h"
#include "editor/TqvScopedGuards.h"

#include "editor/qvSupportProcs.h"
#include "highlighters/qvHighlighter.h"
#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace ondrex {

// About 8 ms of highlighting: a paint far along a long line whose tokens are not known yet
// scans no more, so that it never holds up the window.
constexpr std::size_t kTokenScanPerPaint = std::size_t(4) << 20;

// ---- Display cells ---------------------------------------------------------------------

// The widest character is four bytes: laying out four more than the column asks for
// always takes in the whole character holding it.
int TqvCustomEdit::CellOfColumn(int line, int column) const {
    const int byte = column - 1;
    if (line < 1 || line > LineCount() || byte <= 0) return byte;
    const std::string_view text = lines_.Get(line - 1);
    TCellCheckpoint from;
    if (TLineCheckpoints* checkpoints =
            checkpoints_.For(line - 1, text, tabWidth_, ActiveCodePage()))
        from = checkpoints->Cells(checkpoints->AtByte(byte));
    hitCells_.Layout(text.substr(0, std::min<std::size_t>(text.size(), std::size_t(byte) + 4)),
                     tabWidth_, ActiveCodePage(), INT_MAX, from);
    return hitCells_.CellOfByte(byte);
}

int TqvCustomEdit::ColumnAtCell(int line, double cell) const {
    const bool real = line >= 1 && line <= LineCount();
    const std::string_view text = real ? lines_.Get(line - 1) : std::string_view();
    const double limit = std::clamp(std::floor(cell) + 2, 0.0, double(INT_MAX));
    TCellCheckpoint from;
    if (TLineCheckpoints* checkpoints =
            real ? checkpoints_.For(line - 1, text, tabWidth_, ActiveCodePage()) : nullptr)
        from = checkpoints->Cells(checkpoints->AtCell(int(std::max(limit - 2, 0.0))));
    hitCells_.Layout(text, tabWidth_, ActiveCodePage(), int(limit), from);
    return hitCells_.ByteAtCell(cell) + 1;
}

// ---- Paint -----------------------------------------------------------------------------

struct TqvCustomEdit::TPaintSelection {
    bool Active = false;
    TPoint Begin;
    TPoint End;
    TSelectionMode Mode = smNormal;
};

void TqvCustomEdit::Paint(TCanvas& canvas, const TRect& clip) {
    const int textLeft = gutterWidth_ + 2;
    const int firstCell =
        leftColumn_ + (clip.Left > textLeft ? (clip.Left - textLeft) / charWidth_ : 0);
    const int lastCell =
        std::max(firstCell, leftColumn_ + (clip.Right - textLeft + charWidth_ - 1) / charWidth_);
    const int firstLine = TopLine() + std::max(clip.Top, 0) / lineHeight_;
    const int lastLine = std::min(TopLine() + (clip.Bottom - 1) / lineHeight_, LineCount());
    {
        // The caret follows however the paint ends. The host draws it over the finished
        // paint, so it is not hidden meanwhile.
        const TScopedPair<TqvCustomEdit, nullptr, &TqvCustomEdit::UpdateCaret> caretAfter(*this);
        if (clip.Left < gutterWidth_)
            PaintGutter(canvas, {clip.Left, clip.Top, gutterWidth_, clip.Bottom}, firstLine,
                        lastLine);
        if (gutterWidth_ < clip.Right)
            PaintTextLines(canvas,
                           {std::max(clip.Left, gutterWidth_), clip.Top, clip.Right, clip.Bottom},
                           firstLine, lastLine, firstCell, lastCell);
    }
    if (OnPaint) {
        canvas.Font = font_;
        canvas.Brush.Color = color_;
        OnPaint(this, canvas);
    }
}

bool TqvCustomEdit::DoOnSpecialLineColors(int line, TColor& foreground, TColor& background) {
    bool special = false;
    if (OnSpecialLineColors) OnSpecialLineColors(this, line, special, foreground, background);
    return special;
}

// ---- Gutter ----------------------------------------------------------------------------

void TqvCustomEdit::PaintGutter(TCanvas& canvas, const TRect& rect, int firstLine, int lastLine) {
    canvas.Brush.Color = gutter_.Color();
    if (gutter_.ShowLineNumbers()) {
        const TuzDrawerBinding binding(drawer_, &canvas);
        drawer_.SetBackColor(gutter_.Color());
        drawer_.SetForeColor(font_.Color());
        drawer_.SetStyle(gutter_.UseFontStyle() ? font_.Style() : 0);
        int y = (firstLine - TopLine()) * lineHeight_;
        for (int line = firstLine; line <= lastLine; ++line, y += lineHeight_) {
            const TRect row{rect.Left, y, rect.Right, y + lineHeight_};
            drawer_.PutTextSpaced(gutter_.LeftOffset(), y, ETO_OPAQUE | ETO_CLIPPED, row,
                                  gutter_.FormatLineNumber(line));
        }
        if (y < rect.Bottom)
            InternalFillRect(canvas, {rect.Left, std::max(y, rect.Top), rect.Right, rect.Bottom});
    } else {
        canvas.FillRect(rect);
    }
    if (rect.Right > gutterWidth_ - 2) {
        canvas.Pen = {clBtnHighlight, 1, TPenStyle::psSolid};
        canvas.MoveTo(gutterWidth_ - 2, rect.Top);
        canvas.LineTo(gutterWidth_ - 2, rect.Bottom);
        canvas.Pen.Color = clBtnShadow;
        canvas.MoveTo(gutterWidth_ - 1, rect.Top);
        canvas.LineTo(gutterWidth_ - 1, rect.Bottom);
    }
    if (bookMarkOptions_.GlyphsVisible() && marks_.Count() > 0 && firstLine <= lastLine)
        PaintMarks(canvas, firstLine, lastLine);
}

// Bookmarks come after the other marks of a line, so they stand right of them.
void TqvCustomEdit::PaintMarks(TCanvas& canvas, int firstLine, int lastLine) {
    std::vector<int> offsets(std::size_t(lastLine - firstLine + 1), 0);
    const auto onPaintedLine = [&](const TMark& mark) {
        return mark.Visible() && mark.Line() >= firstLine && mark.Line() <= lastLine;
    };
    bool bookmarks = false;
    for (int i = 0; i < marks_.Count(); ++i) {
        const TMark& mark = *marks_.Items(i);
        if (!onPaintedLine(mark)) continue;
        if (mark.IsBookmark())
            bookmarks = true;
        else
            DrawMark(canvas, mark, offsets[std::size_t(mark.Line() - firstLine)]);
    }
    if (!bookmarks) return;
    for (int i = 0; i < marks_.Count(); ++i) {
        const TMark& mark = *marks_.Items(i);
        if (onPaintedLine(mark) && mark.IsBookmark())
            DrawMark(canvas, mark, offsets[std::size_t(mark.Line() - firstLine)]);
    }
}

void TqvCustomEdit::DrawMark(TCanvas& canvas, const TMark& mark, int& offset) {
    const int index = mark.ImageIndex();
    const int x = bookMarkOptions_.LeftMargin() + offset;
    const int y = (mark.Line() - TopLine()) * lineHeight_;
    const TImageList* images = bookMarkOptions_.BookmarkImages();
    if (!images || mark.InternalImage()) {
        if (index < 0 || index >= TqvInternalImage::Count) return;
        if (!internalImage_) internalImage_ = std::make_unique<TqvInternalImage>();
        internalImage_->Draw(canvas, index, x, y, lineHeight_);
    } else {
        if (index < 0 || index >= images->Count()) return;
        images->Draw(canvas, x, y, index);
    }
    offset += bookMarkOptions_.Xoffset();
}

// ---- Text area -------------------------------------------------------------------------

// A white-space attribute without a background of its own leaves the control's colour:
// painting in "no colour" would leave the pixels as they were.
TColor TqvCustomEdit::EditorBackground() const {
    if (TqvCustomHighLighter* highLighter = HighLighter())
        if (const TqvHighLightAttributes* blank =
                highLighter->DefaultAttribute(SYN_ATTR_WHITESPACE))
            if (blank->Background() != clNone) return blank->Background();
    return color_;
}

void TqvCustomEdit::PaintTextLines(TCanvas& canvas, TRect rect, int firstLine, int lastLine,
                                   int firstCell, int lastCell) {
    const TColor background = EditorBackground();
    const int edgeX = PixelX((long long)rightEdge_ * charWidth_ + textOffset_);
    const bool edgeShown = rightEdge_ > 0 && edgeX >= rect.Left && edgeX < rect.Right;
    const auto drawEdge = [&](int top, int bottom) {
        canvas.Pen = {rightEdgeColor_, 1, TPenStyle::psSolid};
        canvas.MoveTo(edgeX, top);
        canvas.LineTo(edgeX, bottom);
    };
    const int textLeft = gutterWidth_ + 2;
    if (rect.Left < textLeft) {
        canvas.Brush.Color = background;
        canvas.FillRect({std::max(rect.Left, gutterWidth_), rect.Top, textLeft, rect.Bottom});
        rect.Left = textLeft;
    }
    if (firstLine <= lastLine && rect.Left < rect.Right) {
        const TPaintSelection selection = PaintSelection(firstLine, lastLine);
        const TPaintFrame frame{charWidth_, textOffset_, firstCell,  lastCell,
                                rect.Left,  rect.Right,  background, font_.Color()};
        rowPainter_.BeginPaint(frame);
        tokenScanBudget_ = kTokenScanPerPaint;
        drawer_.SetStyle(font_.Style());
        const TuzDrawerBinding binding(drawer_, &canvas);
        int y = (firstLine - TopLine()) * lineHeight_;
        for (int line = firstLine; line <= lastLine; ++line, y += lineHeight_) {
            PaintRow(line, y, selection, frame);
            if (edgeShown) drawEdge(y, y + lineHeight_);
        }
    }
    const int below = std::max((lastLine - TopLine() + 1) * lineHeight_, rect.Top);
    if (below < rect.Bottom && rect.Left < rect.Right) {
        canvas.Brush.Color = background;
        canvas.FillRect({rect.Left, below, rect.Right, rect.Bottom});
        if (edgeShown) drawEdge(below, rect.Bottom);
    }
}

TqvCustomEdit::TPaintSelection TqvCustomEdit::PaintSelection(int firstLine, int lastLine) const {
    TPaintSelection s;
    const TPoint start = SelectionStart(), end = SelectionEnd();
    if ((hideSelection_ && !Focused()) || start == end) return s;
    s.Begin = MinPoint(start, end);
    s.End = MaxPoint(start, end);
    s.Mode = SelectionMode();
    if (s.Mode == smColumn && s.Begin.X > s.End.X) std::swap(s.Begin.X, s.End.X);
    s.Active = s.End.Y >= firstLine && s.Begin.Y <= lastLine;
    return s;
}

// The cells of the stored bytes the selection holds on this line.
TRowSelection TqvCustomEdit::RowSelection(const TPaintSelection& s, int line,
                                          std::string_view text) const {
    if (!s.Active || line < s.Begin.Y || line > s.End.Y) return {};
    switch (s.Mode) {
    case smLine:
        return TRowSelection::All();
    case smColumn: {
        // An edge inside a character takes the whole character, as reading the block does.
        const auto edge = [&](int column) {
            std::size_t byte = std::size_t(std::max(column - 1, 0));
            if (byte < text.size()) byte = NextCharBoundary(ActiveCodePage(), text, byte);
            return paintCells_.CellOfByte(int(byte));
        };
        return {edge(s.Begin.X), edge(s.End.X)};
    }
    case smNormal:
        break;
    }
    return {line == s.Begin.Y ? paintCells_.CellOfByte(s.Begin.X - 1) : INT_MIN,
            line == s.End.Y ? paintCells_.CellOfByte(s.End.X - 1) : INT_MAX};
}

void TqvCustomEdit::PaintRow(int line, int top, const TPaintSelection& selection,
                             const TPaintFrame& frame) {
    const std::string_view text = lines_.Get(line - 1);
    TLineCheckpoints* checkpoints = checkpoints_.For(line - 1, text, tabWidth_, ActiveCodePage());
    const int checkpoint = checkpoints ? checkpoints->AtCell(frame.FirstCell) : 0;
    paintCells_.Layout(text, tabWidth_, ActiveCodePage(), frame.LastCell,
                       checkpoints ? checkpoints->Cells(checkpoint) : TCellCheckpoint{});
    TRowColors colors{font_.Color(), frame.EditorBackground, selectedColor_.Foreground(),
                      selectedColor_.Background(), false};
    colors.Special = DoOnSpecialLineColors(line, colors.Foreground, colors.Background);
    if (colors.Special) {
        colors.SelectedForeground = colors.Background;
        colors.SelectedBackground = colors.Foreground;
    }
    rowPainter_.BeginRow(paintCells_, top, top + lineHeight_, colors,
                         RowSelection(selection, line, text));
    TqvCustomHighLighter* highLighter = HighLighter();
    if (!highLighter || !PaintTokens(*highLighter, line, text, checkpoints, checkpoint, frame))
        rowPainter_.Add(0, int(paintCells_.Text().size()),
                        std::max(paintCells_.Cells(), frame.LastCell), font_.Style(),
                        colors.Foreground, colors.Background);
    rowPainter_.Flush(true);
    if (checkpoints && !checkpoints->Complete(highLighter, LineStartState(line - 1)))
        ComputeCheckpointsLater();
}

// On a long line the highlighter starts at the token of the checkpoint the layout starts
// at, and reads a copy reaching a little past the shown part: a token that the copy's end
// cuts short starts and looks as it does in the whole line. False when that token is not
// known and the paint has no time left to find it: the row is painted plain for now.
bool TqvCustomEdit::PaintTokens(TqvCustomHighLighter& highLighter, int line, std::string_view text,
                                TLineCheckpoints* checkpoints, int checkpoint,
                                const TPaintFrame& frame) {
    const auto add = [&](int start, int end, const TqvHighLightAttributes* attr) {
        const int endCell = paintCells_.CellOfByte(end);
        if (endCell <= frame.FirstCell || end <= start) return;
        rowPainter_.Add(paintCells_.TextIndexOfByte(start), paintCells_.TextIndexOfByte(end),
                        endCell, attr ? attr->Style() : font_.Style(),
                        attr ? attr->Foreground() : clNone, attr ? attr->Background() : clNone);
    };
    ranges_.LoadState(line - 1);
    int from = 0;
    std::size_t to = text.size();
    if (checkpoints) {
        const TTokenCheckpoint* token = checkpoints->Tokens(
            checkpoint, highLighter, highLighter.RangeState(), tokenScanBudget_);
        if (!token) {
            checkpoints->PaintedWithout(checkpoint);
            return false;
        }
        add(token->Start, token->End, token->Attribute);
        from = token->End;
        to = std::min(to, std::size_t(paintCells_.EndByte()) + TLineCheckpoints::kSpacing);
        highLighter.SetRangeState(token->RangeAfter);
    }
    if (std::size_t(from) >= to) return true;
    paintLine_.assign(text.substr(std::size_t(from), to - std::size_t(from)));
    highLighter.StartLine(paintLine_.c_str(), line - 1);
    int covered = from;
    while (!highLighter.AtLineEnd()) {
        const int start = from + highLighter.TokenStart();
        if (paintCells_.CellOfByte(start) >= frame.LastCell) return true;
        const TqvHighLightAttributes* attr = highLighter.TokenAttribute();
        highLighter.NextToken();
        covered = from + highLighter.TokenStart();
        add(start, covered, attr);
    }
    // The scanner stops at a NUL byte; what follows is still text and still shown.
    if (std::size_t(covered) < to) add(covered, int(text.size()), nullptr);
    return true;
}

} // namespace ondrex
