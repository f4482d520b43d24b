// Caret movement with and without selecting, word positions, scrolling without moving the
// caret, and the bracket match.

#include "editor/LineText.h"
#include "editor/TqvCustomEdit.h"
#include "highlighters/qvHighlighter.h"

#include <algorithm>
#include <cstdint>

namespace ondrex {

namespace {

// Every byte from 33 to 255: all but NUL, the control characters and the space.
TSynCharSet DefaultWordChars() {
    TSynCharSet set;
    for (int c = 33; c < 256; ++c)
        set.set(std::size_t(c));
    return set;
}

int ClampedSum(int value, int delta, int low, int high) {
    return int(std::clamp<std::int64_t>(std::int64_t(value) + delta, low, high));
}

} // namespace

// ---- Moves -----------------------------------------------------------------------------

void TqvCustomEdit::MoveCaret(TPoint from, TPoint to, bool selecting) {
    if (selecting) {
        if (!HasSelection()) SetSelectionStart(from);
        SetSelectionEnd(to);
    } else {
        SetSelectionStart(to);
    }
    SetCaretPosition(to);
}

void TqvCustomEdit::MoveCaretHorizontal(int delta, bool selecting) {
    const TPoint caret = CaretPos();
    const std::string_view line = lines_.Get(caretY_);
    const int length = int(line.size());
    const bool pastEol = (options_ & qveoScrollPastEol) != 0;
    TPoint to = caret;
    if (!pastEol && delta == -1 && caret.X == 1 && caret.Y > 1) {
        to = {int(lines_.Get(caretY_ - 1).size()) + 1, caret.Y - 1};
    } else if (!pastEol && delta == 1 && caret.X > length && caret.Y < LineCount()) {
        to = {1, caret.Y + 1};
    } else {
        to.X = ClampedSum(caret.X, delta, 1, INT32_MAX);
        if (!pastEol && delta > 0) to.X = std::min(to.X, length + 1);
        const auto index = std::size_t(to.X - 1);
        if (index < line.size())
            to.X = int(delta > 0 ? CharEndAt(line, index) : CharStartAt(line, index)) + 1;
    }
    columnShift_ = 0;
    MoveCaret(caret, to, selecting);
}

void TqvCustomEdit::MoveCaretVertical(int delta, bool selecting) {
    const TPoint caret = CaretPos();
    TPoint to{caret.X, ClampedSum(caret.Y, delta, 1, std::max(LineCount(), 1))};
    if (to.Y != caret.Y) {
        to.X += columnShift_;
        columnShift_ = 0;
        const std::string_view line = lines_.Get(to.Y - 1);
        const auto index = std::size_t(to.X - 1);
        const std::size_t start = CharStartAt(line, index);
        if (start != index && index < line.size()) {
            columnShift_ = int(index - start);
            to.X = int(start) + 1;
        }
    }
    MoveCaret(caret, to, selecting);
}

// ---- Word positions --------------------------------------------------------------------

TPoint TqvCustomEdit::NextWordPos() {
    const TSynCharSet word = HighLighter() ? HighLighter()->WordChars() : DefaultWordChars();
    const auto isWord = [&](char c) { return word.test(std::uint8_t(c)); };
    const TPoint caret = CaretPos();
    const std::string_view line = lines_.Get(caretY_);
    if (caret.X < int(line.size())) {
        std::size_t i = std::size_t(caret.X - 1);
        while (i < line.size() && isWord(line[i]))
            ++i;
        while (i < line.size() && !isWord(line[i]))
            ++i;
        return {int(CharEndAt(line, i)) + 1, caret.Y};
    }
    if (caret.Y >= LineCount()) return caret;
    const std::string_view next = lines_.Get(caretY_ + 1);
    std::size_t i = 0;
    while (i < next.size() && !isWord(next[i]))
        ++i;
    return {i < next.size() ? int(CharEndAt(next, i)) + 1 : 1, caret.Y + 1};
}

TPoint TqvCustomEdit::PrevWordPos() {
    const TSynCharSet word = HighLighter() ? HighLighter()->WordChars() : DefaultWordChars();
    const auto isWord = [&](char c) { return word.test(std::uint8_t(c)); };
    const TPoint caret = CaretPos();
    const std::string_view line = lines_.Get(caretY_);
    const int column = std::min(caret.X, int(line.size()) + 1);
    const auto previousLineEnd = [&]() -> TPoint {
        if (caret.Y <= 1) return {1, caret.Y};
        return {int(lines_.Get(caretY_ - 1).size()) + 1, caret.Y - 1};
    };
    if (column <= 1) return previousLineEnd();
    int i = column - 2;
    while (i >= 0 && !isWord(line[std::size_t(i)]))
        --i;
    if (i < 0) return previousLineEnd();
    while (i >= 0 && isWord(line[std::size_t(i)]))
        --i;
    return {int(CharStartAt(line, std::size_t(i + 1))) + 1, caret.Y};
}

// ---- Scrolling -------------------------------------------------------------------------

// A tab or a wide character may cover the cell: the boundary on the given side of it.
int TqvCustomEdit::ColumnNearCell(int line, int cell, int side) const {
    int column = ColumnAtCell(line, cell);
    const int at = CellOfColumn(line, column);
    if (at == cell || (at < cell) == (side < 0)) return column;
    const std::string_view text = lines_.Get(line - 1);
    if (side < 0) return int(CharStartAt(text, std::size_t(column - 2))) + 1;
    return column + int(CharLengthAt(text, std::size_t(column - 1)));
}

void TqvCustomEdit::ScrollCommand(TqvEditorCommand command) {
    switch (command) {
    case ecScrollUp:
        SetTopLine(TopLine() - 1);
        if (CaretLine() > TopLine() + visibleLines_ - 1)
            SetCaretLine(TopLine() + visibleLines_ - 1);
        break;
    case ecScrollDown:
        SetTopLine(TopLine() + 1);
        if (CaretLine() < TopLine()) SetCaretLine(TopLine());
        break;
    case ecScrollLeft: {
        SetLeftColumn(LeftColumn() - 1);
        const int last = LeftColumn() - 1 + visibleColumns_;
        if (CellOfColumn(CaretLine(), CaretColumn()) > last)
            SetCaretColumn(ColumnNearCell(CaretLine(), last, -1));
        break;
    }
    case ecScrollRight: {
        SetLeftColumn(LeftColumn() + 1);
        const int first = LeftColumn() - 1;
        if (CellOfColumn(CaretLine(), CaretColumn()) < first)
            SetCaretColumn(ColumnNearCell(CaretLine(), first, 1));
        break;
    }
    default:
        return;
    }
    Update();
}

// Movement commands and their selecting twins; false for any other command.
bool TqvCustomEdit::MovementCommand(TqvEditorCommand command, void* data) {
    const bool selecting = command >= ecSelection && command <= ecSelGotoXY;
    const TqvEditorCommand move = selecting ? TqvEditorCommand(command - ecSelection) : command;
    if (command == ecSelectAll) {
        SelectAll();
        return true;
    }
    if (move < ecLeft || move > ecGotoXY) return false;
    const TPoint caret = CaretPos();
    const int page = (options_ & qveoHalfPageScroll) ? visibleLines_ / 2 : visibleLines_;
    switch (move) {
    case ecLeft:
    case ecRight:
        MoveCaretHorizontal(move == ecLeft ? -1 : 1, selecting);
        return true;
    case ecPageLeft:
    case ecPageRight:
        MoveCaretHorizontal(move == ecPageLeft ? -visibleColumns_ : visibleColumns_, selecting);
        return true;
    case ecUp:
    case ecDown:
        MoveCaretVertical(move == ecUp ? -1 : 1, selecting);
        break;
    case ecPageUp:
    case ecPageDown:
        MoveCaretVertical(move == ecPageUp ? -page : page, selecting);
        break;
    case ecWordLeft:
        MoveCaret(caret, PrevWordPos(), selecting);
        return true;
    case ecWordRight:
        MoveCaret(caret, NextWordPos(), selecting);
        return true;
    case ecLineStart:
        MoveCaret(caret, {1, caret.Y}, selecting);
        return true;
    case ecLineEnd:
        MoveCaret(caret, {int(lines_.Get(caretY_).size()) + 1, caret.Y}, selecting);
        return true;
    case ecPageTop:
        MoveCaret(caret, {caret.X, TopLine()}, selecting);
        break;
    case ecPageBottom:
        MoveCaret(caret, {caret.X, TopLine() + visibleLines_ - 1}, selecting);
        break;
    case ecEditorTop:
        MoveCaret(caret, {1, 1}, selecting);
        break;
    case ecEditorBottom:
        MoveCaret(caret, {int(lines_.Get(LineCount() - 1).size()) + 1, LineCount()}, selecting);
        break;
    case ecGotoXY:
        if (!data) return true;
        MoveCaret(caret, *static_cast<const TPoint*>(data), selecting);
        break;
    default:
        return false;
    }
    Update();
    return true;
}

// ---- Brackets --------------------------------------------------------------------------

void TqvCustomEdit::FindMatchingBracket() {
    static constexpr std::string_view kBrackets = "()[]{}";
    const std::string_view line = lines_.Get(caretY_);
    const auto x = std::size_t(caretX_);
    if (x >= line.size()) return;
    const std::size_t which = kBrackets.find(line[x]);
    if (which == std::string_view::npos) return;
    const char bracket = kBrackets[which];
    const char partner = kBrackets[which ^ 1];
    const bool forward = which % 2 == 0;
    int depth = 1;
    int y = caretY_;
    auto i = std::int64_t(x);
    for (;;) {
        const std::string_view text = lines_.Get(y);
        for (i += forward ? 1 : -1; i >= 0 && i < std::int64_t(text.size());
             i += forward ? 1 : -1) {
            const char c = text[std::size_t(i)];
            if (c == bracket) {
                ++depth;
            } else if (c == partner && --depth == 0) {
                SetCaretPosition({int(i) + 1, y + 1});
                return;
            }
        }
        y += forward ? 1 : -1;
        if (y < 0 || y >= LineCount()) return;
        i = forward ? -1 : std::int64_t(lines_.Get(y).size());
    }
}

} // namespace ondrex
