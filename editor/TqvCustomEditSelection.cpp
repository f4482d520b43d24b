// The selection: its two ends and three modes, reading it, and ReplaceSelection, the
// primitive every edit goes through (delete the selection, insert text at the caret, move
// the marks with the lines).

#include "editor/LineText.h"
#include "editor/TqvCustomEdit.h"
#include "editor/TqvScopedGuards.h"
#include "editor/qvSupportProcs.h"
#include "highlighters/qvHighlighter.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <vector>

namespace ondrex {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The bytes [left, right) of a column block on one line, both edges moved off the inside of
// a character, padded with spaces to the block's width when the line is shorter.
void AppendColumnPiece(std::string& out, std::string_view line, std::size_t left,
                       std::size_t right) {
    const std::size_t l = CharEndAt(line, left);
    const std::size_t r = std::max(l, CharEndAt(line, right));
    if (l < line.size()) out.append(line.substr(l, std::min(r, line.size()) - l));
    const std::size_t have = l < line.size() ? std::min(r, line.size()) - l : 0;
    const std::size_t width = r - l;
    if (have < width) out.append(width - have, ' ');
}

} // namespace

// ---- Ends and modes --------------------------------------------------------------------

TPoint TqvCustomEdit::BlockBegin() const {
    return MinPoint(selStart_, selEnd_);
}

TPoint TqvCustomEdit::BlockEnd() const {
    return MaxPoint(selEnd_, selStart_);
}

bool TqvCustomEdit::HasSelection() const {
    return selStart_.X != selEnd_.X || (selStart_.Y != selEnd_.Y && selectionMode_ != smColumn);
}

// Clamped to the text (in smNormal to the line's end + 1, in the other modes to MaxColumn or
// a longer line's end + 1) and moved onto a character's first byte.
TPoint TqvCustomEdit::ClampSelectionPos(TPoint value) const {
    value.Y = std::clamp(value.Y, 1, std::max(LineCount(), 1));
    if (value.Y > LineCount()) {
        value.X = std::clamp(value.X, 1, maxColumn_);
        return value;
    }
    const std::string_view line = lines_.Get(value.Y - 1);
    value.X = std::clamp(value.X, 1, std::max(maxColumn_, int(line.size()) + 1));
    if (selectionMode_ == smNormal) value.X = std::min<int>(value.X, int(line.size()) + 1);
    value.X = int(CharStartAt(line, std::size_t(value.X - 1))) + 1;
    return value;
}

void TqvCustomEdit::SetSelectionStart(TPoint value) {
    value = ClampSelectionPos(value);
    const bool had = HasSelection();
    const bool moved = value != selStart_ || value != selEnd_;
    const int first = std::min({selStart_.Y, selEnd_.Y, value.Y});
    const int last = std::max({selStart_.Y, selEnd_.Y, value.Y});
    selStart_ = selEnd_ = value;
    if (had) InvalidateLines(first, last);
    if (had || moved) StatusChanged(scSelection);
}

void TqvCustomEdit::SetSelectionEnd(TPoint value) {
    if (options_ & qveoNoSelection) return;
    value = ClampSelectionPos(value);
    if (value == selEnd_) return;
    if (selectionMode_ == smColumn && value.X != selEnd_.X)
        InvalidateLines(std::min({selStart_.Y, selEnd_.Y, value.Y}),
                        std::max({selStart_.Y, selEnd_.Y, value.Y}));
    else if (selectionMode_ != smColumn || value.X != selStart_.X)
        InvalidateLines(selEnd_.Y, value.Y);
    selEnd_ = value;
    StatusChanged(scSelection);
}

bool TqvCustomEdit::IsPointInSelection(TPoint pos) const {
    if (!HasSelection()) return false;
    const TPoint b = BlockBegin(), e = BlockEnd();
    if (pos.Y < b.Y || pos.Y > e.Y) return false;
    switch (selectionMode_) {
    case smLine:
        return true;
    case smColumn:
        return pos.X >= std::min(b.X, e.X) && pos.X < std::max(b.X, e.X);
    case smNormal:
        break;
    }
    if (pos.Y == b.Y && pos.X < b.X) return false;
    return pos.Y < e.Y || pos.X < e.X;
}

void TqvCustomEdit::SelectAll() {
    SetSelectionStart({1, 1});
    if (LineCount() > 0) {
        const TPoint end{int(lines_.Get(LineCount() - 1).size()) + 1, LineCount()};
        SetSelectionEnd(end);
        SetCaretPosition(end);
    }
    StatusChanged(scSelection);
}

// ---- Reading ---------------------------------------------------------------------------

std::string TqvCustomEdit::SelectedText() const {
    std::string out;
    AppendSelectedText(out);
    return out;
}

// One byte more is reserved: the clipboard's block ends with a NUL after the text.
void TqvCustomEdit::AppendSelectedText(std::string& out) const {
    if (!HasSelection()) return;
    const TPoint b = BlockBegin(), e = BlockEnd();
    const int count = LineCount();
    if (b.Y > count) return;
    const int lastY = std::min(e.Y, count);
    switch (selectionMode_) {
    case smNormal: {
        const std::string_view first = lines_.Get(b.Y - 1);
        const std::size_t from = std::min(CharEndAt(first, std::size_t(b.X - 1)), first.size());
        if (b.Y == lastY) {
            const std::size_t to = std::min(CharEndAt(first, std::size_t(e.X - 1)), first.size());
            if (to > from) out.append(first.substr(from, to - from));
            return;
        }
        std::size_t total = first.size() - from + 2;
        for (int y = b.Y + 1; y <= lastY; ++y)
            total += lines_.Get(y - 1).size() + 2;
        out.reserve(out.size() + total + 1);
        out.append(first.substr(from)).append(kCrLf);
        for (int y = b.Y + 1; y < lastY; ++y)
            out.append(lines_.Get(y - 1)).append(kCrLf);
        const std::string_view last = lines_.Get(lastY - 1);
        out.append(last.substr(0, std::min(CharEndAt(last, std::size_t(e.X - 1)), last.size())));
        return;
    }
    case smColumn: {
        const auto left = std::size_t(std::min(b.X, e.X) - 1);
        const auto right = std::size_t(std::max(b.X, e.X) - 1);
        for (int y = b.Y; y <= lastY; ++y) {
            if (y > b.Y) out.append(kCrLf);
            AppendColumnPiece(out, lines_.Get(y - 1), left, right);
        }
        return;
    }
    case smLine: {
        std::size_t total = 0;
        for (int y = b.Y; y <= lastY; ++y)
            total += lines_.Get(y - 1).size() + 2;
        out.reserve(out.size() + total + 1);
        for (int y = b.Y; y <= lastY; ++y) {
            out.append(lines_.Get(y - 1));
            if (y < count) out.append(kCrLf);
        }
        return;
    }
    }
}

// ---- Replacing -------------------------------------------------------------------------

void TqvCustomEdit::ReplaceSelection(TSelectionMode mode, std::string_view text) {
    ReplaceSelectionAt(mode, text);
}

TPoint TqvCustomEdit::ReplaceSelectionAt(TSelectionMode mode, std::string_view text,
                                         std::vector<TLineSpan>* columnSpans) {
    TqvPaintLock paint(*this);
    TPoint at;
    {
        TqvLinesUpdate update(lines_);
        if (HasSelection()) DeleteSelection();
        SnapCaretToCharacter();
        at = CaretPos();
        const bool pads = mode == smNormal && !text.empty() && text.front() != '\r' &&
                          text.front() != '\n' && caretY_ < lines_.Count();
        if (pads) at.X = std::min(at.X, int(lines_.Get(caretY_).size()) + 1);
        if (!text.empty()) InsertText(mode, text, columnSpans);
        if (lines_.Count() == 0) lines_.Add("");
    }
    if (caretY_ < 0) SetCaretPosition({CaretColumn(), 1});
    return at;
}

TPoint TqvCustomEdit::TrimmedBegin() {
    if (selectionMode_ != smNormal || !HasSelection()) return BlockBegin();
    // Ends beyond their lines' ends (left there by a mode change) select nothing more.
    for (TPoint* end : {&selStart_, &selEnd_})
        if (end->Y <= LineCount())
            end->X = std::min(end->X, int(lines_.Get(end->Y - 1).size()) + 1);
    const TPoint b = BlockBegin(), e = BlockEnd();
    if (!(options_ & qveoScrollPastEol) || replaying_ || e.Y > LineCount() || !HasSelection())
        return b;
    const std::string_view last = lines_.Get(e.Y - 1);
    if (CharEndAt(last, std::size_t(e.X - 1)) < last.size()) return b;
    const std::string_view first = lines_.Get(b.Y - 1);
    const std::size_t left = std::min(CharEndAt(first, std::size_t(b.X - 1)), first.size());
    return {int(TrimTrailing(first.substr(0, left)).size()) + 1, b.Y};
}

void TqvCustomEdit::RecordSelectionRemoval(TChangeReason reason) {
    if (selectionMode_ == smColumn) {
        std::vector<TLineSpan> spans = ColumnSelectionSpans();
        std::string removed = SpannedText(BlockBegin().Y, spans);
        RecordChange(reason, selStart_, selEnd_, std::move(removed), smColumn, std::move(spans));
        return;
    }
    const TPoint from = TrimmedBegin();
    const TPoint b = BlockBegin();
    const int unselected = b.X - from.X;
    std::string text;
    if (unselected > 0)
        text = lines_.Get(b.Y - 1).substr(std::size_t(from.X - 1), std::size_t(unselected));
    AppendSelectedText(text);
    RecordChange(reason, selStart_, selEnd_, std::move(text), selectionMode_, {}, unselected);
}

// Text goes in between characters: a caret inside one moves to its end.
void TqvCustomEdit::SnapCaretToCharacter() {
    if (caretY_ >= lines_.Count()) return;
    const std::string_view line = lines_.Get(caretY_);
    const std::size_t end = CharEndAt(line, std::size_t(caretX_));
    if (end != std::size_t(caretX_)) SetCaretPosition({int(end) + 1, CaretLine()});
}

void TqvCustomEdit::MoveMarks(int fromLine, int delta) {
    for (int i = 0; i < marks_.Count(); ++i) {
        TMark* mark = marks_.Items(i);
        if (mark->Line() >= fromLine) mark->SetLine(std::max(1, mark->Line() + delta));
    }
}

void TqvCustomEdit::MoveMarksInside(int first, int last, int to) {
    for (int i = 0; i < marks_.Count(); ++i) {
        TMark* mark = marks_.Items(i);
        if (mark->Line() > first && mark->Line() < last) mark->SetLine(to);
    }
}

void TqvCustomEdit::DeleteSelection() {
    const TPoint b = BlockBegin(), e = BlockEnd();
    const int count = LineCount();
    switch (selectionMode_) {
    case smNormal: {
        const std::string_view first = lines_.Get(b.Y - 1);
        std::string joined(
            first.substr(0, std::min(CharEndAt(first, std::size_t(b.X - 1)), first.size())));
        const int lastY = std::min(e.Y, count);
        const std::string_view last = lines_.Get(lastY - 1);
        const std::size_t from = CharEndAt(last, std::size_t(e.X - 1));
        // Only a removal that ends the line trims it, so the blanks trimmed are the ones
        // just before the removed text, which its record holds (TrimmedBegin).
        if (from < last.size())
            joined.append(last.substr(from));
        else if ((options_ & qveoScrollPastEol) && !replaying_)
            joined.resize(TrimTrailing(joined).size());
        for (int y = lastY; y > b.Y; --y)
            lines_.Delete(y - 1);
        lines_.Put(b.Y - 1, joined);
        MoveMarksInside(b.Y, e.Y, b.Y);
        MoveMarks(e.Y, b.Y - e.Y);
        SetCaretPosition(b);
        break;
    }
    case smColumn:
        RemoveSpans(b.Y, ColumnSelectionSpans());
        SetCaretPosition({std::min(b.X, e.X), selEnd_.Y});
        break;
    case smLine: {
        if (e.Y >= count) {
            lines_.Put(count - 1, "");
            for (int y = count - 1; y >= b.Y; --y)
                lines_.Delete(y - 1);
        } else {
            for (int y = e.Y; y >= b.Y; --y)
                lines_.Delete(y - 1);
        }
        MoveMarksInside(b.Y, e.Y, b.Y);
        MoveMarks(e.Y, b.Y - e.Y - 1);
        SetCaretPosition({1, b.Y});
        break;
    }
    }
    selStart_ = selEnd_ = CaretPos();
}

std::vector<TLineSpan> TqvCustomEdit::ColumnSelectionSpans() const {
    const TPoint b = BlockBegin(), e = BlockEnd();
    const auto left = std::size_t(std::min(b.X, e.X) - 1);
    const auto right = std::size_t(std::max(b.X, e.X) - 1);
    std::vector<TLineSpan> spans;
    for (int y = b.Y; y <= std::min(e.Y, LineCount()); ++y) {
        const std::string_view line = lines_.Get(y - 1);
        const std::size_t l = std::min(CharEndAt(line, left), line.size());
        const std::size_t r = std::min(std::max(l, CharEndAt(line, right)), line.size());
        const std::size_t at =
            r == line.size() && l < r ? TrimTrailing(line.substr(0, l)).size() : l;
        spans.push_back({int(at), int(r - at)});
    }
    return spans;
}

void TqvCustomEdit::InsertText(TSelectionMode mode, std::string_view text,
                               std::vector<TLineSpan>* columnSpans) {
    const std::vector<std::string_view> pieces = SplitAtBreaks(text);
    switch (mode) {
    case smNormal:
        InsertStream(pieces);
        break;
    case smColumn: {
        std::vector<TLineSpan> spans = InsertColumn(pieces);
        if (columnSpans) *columnSpans = std::move(spans);
        break;
    }
    case smLine:
        InsertLines(pieces);
        break;
    }
    SetCaretPosition(CaretPos());
}

// The text goes in as given, trailing blanks and all.
void TqvCustomEdit::InsertStream(const std::vector<std::string_view>& pieces) {
    const int y = caretY_;
    const std::string_view line = lines_.Get(y);
    const std::size_t at = CharEndAt(line, std::size_t(caretX_));
    std::string first(line.substr(0, std::min(at, line.size())));
    std::string right(line.substr(std::min(at, line.size())));
    // Padding places text at the caret; a line that ends right there needs none.
    if (first.size() < at && !pieces.front().empty()) first.append(at - first.size(), ' ');
    if (pieces.size() == 1) {
        first.append(pieces.front()).append(right);
        lines_.Put(y, first);
        SetCaretPosition({int(at + pieces.front().size()) + 1, y + 1});
        return;
    }
    first.append(pieces.front());
    lines_.Put(y, first);
    const int n = int(pieces.size()) - 1;
    for (int k = 1; k < n; ++k)
        lines_.Insert(y + k, pieces[std::size_t(k)]);
    std::string last(pieces.back());
    last.append(right);
    lines_.Insert(y + n, last);
    MoveMarks(y + 1, n);
    SetCaretPosition({int(pieces.back().size()) + 1, y + n + 1});
}

// The bytes a line had stay as they were and the pieces go in as given (padded to the column;
// an empty piece adds nothing): what went in is one run of bytes on each line, which taking
// the block back (undo) removes to give back exactly the lines it was pasted into.
std::vector<TLineSpan> TqvCustomEdit::InsertColumn(const std::vector<std::string_view>& pieces) {
    const auto column = std::size_t(caretX_);
    int y = caretY_;
    std::size_t end = column;
    std::vector<TLineSpan> spans;
    for (const std::string_view piece : pieces) {
        if (y < lines_.Count()) {
            const std::string_view line = lines_.Get(y);
            const std::size_t at = line.size() < column ? column : CharEndAt(line, column);
            const std::size_t split = std::min(at, line.size());
            std::string added(piece.empty() ? 0 : at - split, ' ');
            added.append(piece);
            std::string changed(line.substr(0, split));
            changed.append(added).append(line.substr(split));
            lines_.Put(y, changed);
            spans.push_back({int(split), int(added.size())});
            end = at + piece.size();
        } else {
            std::string added(piece.empty() ? 0 : column, ' ');
            added.append(piece);
            lines_.Add(added);
            spans.push_back({0, int(lines_.Get(y).size())});
            end = column + piece.size();
        }
        ++y;
    }
    SetCaretPosition({int(end) + 1, y});
    return spans;
}

void TqvCustomEdit::InsertLines(const std::vector<std::string_view>& pieces) {
    const int startY = caretY_;
    int y = startY;
    for (std::size_t k = 0; k + 1 < pieces.size(); ++k)
        lines_.Insert(y++, pieces[k]);
    const std::string_view final = pieces.back();
    if (y < lines_.Count()) {
        std::string changed(final);
        changed.append(lines_.Get(y));
        lines_.Put(y, changed);
    } else {
        lines_.Add(final);
    }
    if (y > startY) MoveMarks(startY + 1, y - startY);
    // Right after the text put in front of the line, as after a stream, so that the end
    // of what went in is known.
    SetCaretPosition({int(final.size()) + 1, y + 1});
}

// ---- Words -----------------------------------------------------------------------------

void TqvCustomEdit::SelectWordAt(TPoint pos) {
    pos.Y = std::clamp(pos.Y, 1, std::max(LineCount(), 1));
    const std::string_view line = lines_.Get(pos.Y - 1);
    pos.X = std::clamp(pos.X, 1, std::max(maxColumn_, int(line.size()) + 1));
    const auto at = std::size_t(pos.X - 1);
    if (at >= line.size()) {
        SetCaretPosition({int(line.size()) + 1, pos.Y});
        SetSelectionStart(CaretPos());
        return;
    }
    const TCodePage codePage = ActiveCodePage();
    std::size_t begin = 0, end = line.size();
    TqvCustomHighLighter* highLighter = HighLighter();
    if (!highLighter || IsLeadByteAt(codePage, line, at)) {
        // Runs of one character class; a tab is no word.
        const auto classAt = [&](std::size_t i) {
            const TDecodedChar c = DecodeChar(codePage, line, i);
            return c.codePoint == '\t' ? ccTab : CharClassOf(c.codePoint);
        };
        const std::size_t start = CharStartAt(line, at);
        const TCharClass cls = classAt(start);
        if (cls == ccTab) return;
        end = start + CharLengthAt(line, start);
        while (end < line.size() && classAt(end) == cls)
            end += CharLengthAt(line, end);
        begin = start;
        while (begin > 0) {
            const std::size_t prev = CharStartAt(line, begin - 1);
            if (classAt(prev) != cls) break;
            begin = prev;
        }
    } else {
        const TSynCharSet word = highLighter->WordChars();
        const auto isWord = [&](std::size_t i) { return word.test(std::uint8_t(line[i])); };
        end = at;
        while (end < line.size() && isWord(end))
            ++end;
        begin = at;
        while (begin > 0 && isWord(begin - 1))
            --begin;
        // Word characters that stop inside a character would cut it.
        begin = CharStartAt(line, begin);
        end = CharEndAt(line, end);
    }
    SetSelectionStart({int(begin) + 1, pos.Y});
    SetSelectionEnd({int(end) + 1, pos.Y});
    SetCaretPosition({int(end) + 1, pos.Y});
    InvalidateLine(pos.Y);
    StatusChanged(scSelection);
}

} // namespace ondrex
