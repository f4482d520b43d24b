// Deleting: backspace (with smart backspace over indentation), delete, the word and line
// deletes. Each records the removed text so that undo puts it back where it was.

#include "editor/LineText.h"
#include "editor/TqvCustomEdit.h"
#include "editor/TqvScopedGuards.h"
#include "platform/ScopedGuard.h"

#include <algorithm>

namespace ondrex {

namespace {

constexpr std::string_view kCrLf = "\r\n";

} // namespace

// Removes the caret line's bytes [from, to); a removal that ends the line trims it. Returns
// where the removal begins as recorded: before the blanks the trim took as well, so that undo
// brings them back.
std::size_t TqvCustomEdit::RemoveFromLine(std::size_t from, std::size_t to) {
    std::string changed(lines_.Get(caretY_));
    const bool endsLine = to >= changed.size();
    changed.erase(from, to - from);
    const std::size_t kept = endsLine ? TrimTrailing(changed).size() : changed.size();
    lines_.Put(caretY_, std::string_view(changed).substr(0, kept));
    return std::min(from, kept);
}

// Removes the selection as the given reason records it; false when there was none.
bool TqvCustomEdit::DeleteSelectionAs(TChangeReason reason) {
    if (!HasSelection()) return false;
    RecordSelectionRemoval(reason);
    ReplaceSelection(smNormal, {});
    return true;
}

// Removes the stream between two positions (in smNormal for the moment) as the given reason.
void TqvCustomEdit::DeleteRange(TPoint from, TPoint to, TChangeReason reason) {
    const TScopedValue<TSelectionMode> normal(selectionMode_, smNormal);
    SetSelectionStart(from);
    SetSelectionEnd(to);
    RecordSelectionRemoval(reason);
    ReplaceSelection(smNormal, {});
}

void TqvCustomEdit::DeleteLastChar() {
    TqvPaintLock paint(*this);
    if (DeleteSelectionAs(urDeleteBackward)) return;
    const std::string line(lines_.Get(caretY_));
    const TPoint caret = CaretPos();
    const int length = int(line.size());
    if (caret.X > length + 1) {
        SetCaretPosition({caret.X - 1, caret.Y});
        RecordChange(urDeleteBackward, CaretPos(), caret, {}, smNormal);
        return;
    }
    if (caret.X == 1) {
        if (caret.Y == 1) return;
        const std::string_view above = lines_.Get(caretY_ - 1);
        const TPoint join{int(above.size()) + 1, caret.Y - 1};
        std::string joined(above);
        joined.append(line);
        {
            TqvLinesUpdate update(lines_);
            lines_.Delete(caretY_);
            lines_.Put(join.Y - 1, joined);
        }
        MoveMarks(caret.Y, -1);
        SetCaretPosition(join);
        RecordChange(urDeleteBackward, join, caret, std::string(kCrLf), smNormal);
        return;
    }
    const int indent = LeadingBlanks(line);
    if ((options_ & qveoAutoIndent) && IsBlankByte(line[std::size_t(caret.X - 2)]) &&
        caret.X - 1 == indent) {
        // Back to the indentation of the nearest line above that is indented less.
        int goal = 0;
        for (int y = caretY_ - 1; y >= 0; --y) {
            const int above = LeadingBlanks(lines_.Get(y));
            if (above < indent) {
                goal = above;
                break;
            }
        }
        const int count = indent - goal;
        lines_.Put(caretY_, std::string_view(line).substr(std::size_t(count)));
        SetCaretPosition({caret.X - count, caret.Y});
        RecordChange(urDeleteBackward, {1, caret.Y}, {count + 1, caret.Y},
                     line.substr(0, std::size_t(count)), smNormal);
        return;
    }
    const std::size_t from = CharStartAt(line, std::size_t(caret.X - 2));
    const std::size_t to = std::min(std::size_t(caret.X - 1), line.size());
    const std::size_t start = RemoveFromLine(from, to);
    SetCaretPosition({int(from) + 1, caret.Y});
    RecordChange(urDeleteBackward, {int(start) + 1, caret.Y}, caret, line.substr(start, to - start),
                 smNormal);
}

void TqvCustomEdit::DeleteChar() {
    TqvPaintLock paint(*this);
    if (DeleteSelectionAs(urDeleteForward)) return;
    const std::string line(lines_.Get(caretY_));
    const TPoint caret = CaretPos();
    const auto x = std::size_t(caretX_);
    if (x >= line.size()) {
        if (caretY_ + 1 >= LineCount()) return;
        if (x == line.size()) {
            DeleteRange(caret, {1, caret.Y + 1}, urDeleteForward);
            return;
        }
        const std::string next(lines_.Get(caretY_ + 1));
        const TPoint lineEnd{int(line.size()) + 1, caret.Y};
        std::string joined = line;
        joined.resize(x, ' ');
        joined.append(next);
        // An empty next line leaves only the padding at the end, which goes again.
        if (next.empty()) joined.resize(line.size());
        {
            TqvLinesUpdate update(lines_);
            lines_.Put(caretY_, joined);
            lines_.Delete(caretY_ + 1);
        }
        MoveMarks(caret.Y + 1, -1);
        SetCaretPosition(caret);
        // Joining at a caret beyond the line's end also pads the line; the padding and the
        // removed break are taken back together.
        RecordChange(urReplaceSelection, lineEnd, {1, caret.Y + 1}, std::string(kCrLf), smNormal);
        RecordChange(urInsert, lineEnd, caret, {}, smNormal);
        return;
    }
    const std::size_t from = CharStartAt(line, x);
    const std::size_t to = from + CharLengthAt(line, from);
    const std::size_t start = RemoveFromLine(from, to);
    SetCaretPosition({int(from) + 1, caret.Y});
    RecordChange(urDeleteForward, {int(start) + 1, caret.Y}, {int(to) + 1, caret.Y},
                 line.substr(start, to - start), smNormal);
}

void TqvCustomEdit::DeleteWordCommand(bool forward) {
    const TPoint caret = CaretPos();
    const TPoint target = forward ? NextWordPos() : PrevWordPos();
    if (target == caret) return;
    TqvPaintLock paint(*this);
    if (forward) {
        DeleteRange(caret, target, urDeleteForward);
        SetCaretPosition(caret);
    } else {
        DeleteRange(target, caret, urDeleteForward);
        SetCaretPosition(target);
    }
}

void TqvCustomEdit::DeleteToLineEdge(bool toStart) {
    TqvPaintLock paint(*this);
    const TPoint caret = CaretPos();
    if (toStart) {
        DeleteRange({1, caret.Y}, caret, urDeleteBackward);
        SetCaretPosition({1, caret.Y});
    } else {
        DeleteRange(caret, {int(lines_.Get(caretY_).size()) + 1, caret.Y}, urDeleteForward);
        SetCaretPosition(caret);
    }
}

void TqvCustomEdit::DeleteLine() {
    if (LineCount() == 1 && lines_.Get(0).empty()) return;
    TqvPaintLock paint(*this);
    SetSelectionStart(CaretPos());
    const int y = caretY_;
    const std::string line(lines_.Get(y));
    {
        TqvLinesUpdate update(lines_);
        if (LineCount() == 1) {
            RecordChange(urDeleteForward, {1, 1}, {int(line.size()) + 1, 1}, line, smNormal);
            lines_.Put(0, "");
        } else if (y + 1 < LineCount()) {
            RecordChange(urDeleteForward, {1, y + 1}, {1, y + 2}, line + std::string(kCrLf),
                         smNormal);
            lines_.Delete(y);
        } else {
            // The last line goes with the break before it, so that undo puts it back last.
            const TPoint from{int(lines_.Get(y - 1).size()) + 1, y};
            RecordChange(urDeleteForward, from, {int(line.size()) + 1, y + 1},
                         std::string(kCrLf) + line, smNormal);
            lines_.Delete(y);
        }
    }
    MoveMarks(y + 1, -1);
    SetCaretPosition({1, y + 1});
}

} // namespace ondrex
