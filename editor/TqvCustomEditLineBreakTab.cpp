// Line break and insert line with auto-indent, the tab with smart tabs, and block indent and
// unindent.

#include "editor/LineText.h"
#include "editor/TqvCustomEdit.h"
#include "editor/TqvScopedGuards.h"
#include "editor/qvSupportProcs.h"

#include <algorithm>

namespace ondrex {

namespace {

// The column block of `width` spaces on `lines` lines.
std::string SpaceColumn(int width, int lines) {
    std::string block;
    for (int i = 0; i < lines; ++i) {
        if (i > 0) block.append("\r\n");
        block.append(std::size_t(std::max(width, 0)), ' ');
    }
    return block;
}

} // namespace

// ---- Line break ------------------------------------------------------------------------

void TqvCustomEdit::LineBreak(bool moveCaret, int forcedIndent) {
    TqvPaintLock paint(*this);
    if (HasSelection()) {
        RecordSelectionRemoval(urDeleteBackward);
        ReplaceSelection(smNormal, {});
    }
    const bool autoIndent = (options_ & qveoAutoIndent) != 0;
    int indent = 0;
    if (forcedIndent >= 0)
        indent = forcedIndent;
    else if (autoIndent)
        for (int y = caretY_; y >= 0; --y)
            if (!lines_.Get(y).empty()) {
                indent = LeadingBlanks(lines_.Get(y));
                break;
            }
    const TPoint at = CaretPos();
    const std::string line(lines_.Get(caretY_));
    const std::size_t cut = CharEndAt(line, std::size_t(caretX_));
    TqvLinesUpdate update(lines_);
    if (line.empty()) {
        RecordChange(urLineBreak, at, at, {}, selectionMode_);
        lines_.Insert(caretY_, "");
        if (moveCaret) SetCaretPosition({indent + 1, at.Y + 1});
    } else if (cut >= line.size()) {
        RecordChange(urLineBreak, at, at, {}, selectionMode_);
        const bool fill = forcedIndent >= 0
                              ? forcedIndent > 0
                              : autoIndent && !(options_ & qveoScrollPastEol) && moveCaret;
        lines_.Insert(caretY_ + 1, fill ? std::string(std::size_t(indent), ' ') : std::string());
        if (moveCaret) SetCaretPosition({indent + 1, at.Y + 1});
    } else if (cut == 0 || (forcedIndent < 0 && autoIndent && int(cut) <= LeadingBlanks(line))) {
        // With auto-indent, within the leading blanks the whole line moves down, its blanks
        // with it. A redo moves it from column 1, whatever the option is by then.
        RecordChange(urLineBreak, at, at, line, selectionMode_);
        lines_.Insert(caretY_, "");
        if (moveCaret) SetCaretPosition({at.X, at.Y + 1});
    } else {
        const int ownIndent =
            forcedIndent >= 0 ? forcedIndent : (autoIndent ? LeadingBlanks(line) : 0);
        const std::string_view right = std::string_view(line).substr(cut);
        const std::string_view left = TrimTrailing(std::string_view(line).substr(0, cut));
        // The record starts where the trimmed left part ends and holds the blanks the trim
        // took; its end is the break itself, where a redo breaks again.
        RecordChange(urLineBreak, {int(left.size()) + 1, at.Y}, at,
                     std::string(std::string_view(line).substr(left.size())), selectionMode_);
        lines_.Put(caretY_, left);
        lines_.Insert(caretY_ + 1, std::string(std::size_t(ownIndent), ' ') + std::string(right));
        if (moveCaret) SetCaretPosition({ownIndent + 1, at.Y + 1});
    }
    MoveMarks(CaretLine(), 1);
}

// ---- Tab -------------------------------------------------------------------------------

void TqvCustomEdit::InsertTab() {
    const int column = CaretColumn();
    int width = 0;
    if (options_ & qveoSmartTabs) {
        for (int y = caretY_ - 1; y >= 0 && width == 0; --y) {
            const std::string_view above = lines_.Get(y);
            if (int(above.size()) < column) continue;
            std::size_t i = std::size_t(column - 1);
            while (i < above.size() && !IsBlankByte(above[i]))
                ++i;
            while (i < above.size() && above[i] == ' ')
                ++i;
            width = int(i) - (column - 1);
            break;
        }
    }
    // A tab width of 0 still moves on by one column.
    if (width == 0) width = tabWidth_ > 0 ? tabWidth_ - (column - 1) % tabWidth_ : 1;
    TqvPaintLock paint(*this);
    if (HasSelection()) RecordSelectionRemoval(urDeleteBackward);
    const TPoint begin = ReplaceSelectionAt(smNormal, std::string(std::size_t(width), ' '));
    // Spaces that end the line go again, and nothing the line had before them.
    const std::string_view line = lines_.Get(caretY_);
    if (caretX_ >= int(line.size())) {
        const std::size_t kept =
            std::max(TrimTrailing(line).size(), std::size_t(std::max(begin.X - 1, 0)));
        if (kept < line.size()) lines_.Put(caretY_, std::string(line.substr(0, kept)));
    }
    EnsureCaretVisible();
    if (int(lines_.Get(caretY_).size()) >= begin.X)
        RecordChange(urInsert, begin, CaretPos(), {}, smNormal);
    EnsureCaretVisible();
}

// ---- Block indent ----------------------------------------------------------------------

// A tab width of 0 indents by nothing, and records nothing: an empty block would read as a
// record without one, whose undo takes TabWidth columns away.
void TqvCustomEdit::BlockIndent() {
    if (!HasSelection() || tabWidth_ < 1) return;
    const TPoint b = BlockBegin(), e = BlockEnd();
    const int lastY = e.X == 1 ? e.Y - 1 : e.Y;
    if (lastY < b.Y) return;
    const TSelectionMode mode = selectionMode_;
    const TPoint caret = CaretPos();
    TqvPaintLock paint(*this);
    {
        TUndoLock lock(undoList_, redoList_);
        SetSelectionMode(smColumn);
        SetCaretPosition({1, b.Y});
        SetSelectionStart({1, b.Y});
        ReplaceSelection(smColumn, SpaceColumn(tabWidth_, lastY - b.Y + 1));
    }
    SetSelectionMode(mode);
    SetSelectionStart({b.X + tabWidth_, b.Y});
    SetSelectionEnd({e.X == 1 ? 1 : e.X + tabWidth_, e.Y});
    // The block goes with the record: taking it back needs its width, whatever TabWidth is
    // by then.
    RecordChange(urIndent, b, e, SpaceColumn(tabWidth_, lastY - b.Y + 1), smColumn);
    SetCaretPosition(caret);
}

void TqvCustomEdit::BlockUnindent() {
    if (!HasSelection()) return;
    const TPoint b = BlockBegin(), e = BlockEnd();
    const int lastY = e.X == 1 ? e.Y - 1 : e.Y;
    std::vector<int> removed;
    bool any = false;
    for (int y = b.Y; y <= std::max(lastY, b.Y); ++y) {
        const std::string_view line = lines_.Get(y - 1);
        int n = 0;
        while (n < tabWidth_ && std::size_t(n) < line.size() && line[std::size_t(n)] == ' ')
            ++n;
        removed.push_back(n);
        any = any || n > 0;
    }
    if (!any) return;
    const TPoint caret = CaretPos();
    TqvPaintLock paint(*this);
    std::string pieces;
    {
        TqvLinesUpdate update(lines_);
        for (std::size_t k = 0; k < removed.size(); ++k) {
            if (k > 0) pieces.append("\r\n");
            pieces.append(std::size_t(removed[k]), ' ');
            const int y = b.Y - 1 + int(k);
            if (removed[k] > 0)
                lines_.Put(y, std::string(lines_.Get(y).substr(std::size_t(removed[k]))));
        }
    }
    RecordChange(urUnindent, b, e, std::move(pieces), smColumn);
    SetSelectionStart({b.X - removed.front(), b.Y});
    SetSelectionEnd({e.X - removed.back(), e.Y});
    SetCaretPosition(caret);
}

} // namespace ondrex
