// Recording changes and replaying them: Undo takes a record back and files its opposite on
// the redo list, Redo plays it forward again. Replacing a selection and a drag move are two
// records each, taken back and replayed as one step.

#include "editor/LineText.h"
#include "editor/TqvCustomEdit.h"
#include "editor/TqvScopedGuards.h"
#include "editor/qvSupportProcs.h"
#include "platform/ScopedGuard.h"

#include <algorithm>

namespace ondrex {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Pieces of a per-line record text (joined by CR LF).
std::vector<std::string_view> SplitCrLf(std::string_view text) {
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t at = text.find(kCrLf, start);
        pieces.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return pieces;
        start = at + 2;
    }
}

} // namespace

// ---- Recording -------------------------------------------------------------------------

void TqvCustomEdit::RecordChange(TChangeReason reason, TPoint start, TPoint end, std::string text,
                                 TSelectionMode mode, std::vector<TLineSpan> spans,
                                 int unselected) {
    if (undoList_.Locked()) return;
    if (!replaying_) redoList_.Clear();
    undoList_.AddChange(reason, start, end, std::move(text), mode, std::move(spans), unselected);
}

void TqvCustomEdit::UndoChangeAdded(TObject*) {
    SetModified(true);
    OnChange(this);
}

void TqvCustomEdit::SetModified(bool value) {
    if (value == modified_) return;
    modified_ = value;
    StatusChanged(scModified);
}

void TqvCustomEdit::ClearUndo() {
    undoList_.Clear();
    redoList_.Clear();
}

void TqvCustomEdit::LockUndo() {
    undoList_.Lock();
    redoList_.Lock();
}

void TqvCustomEdit::UnlockUndo() {
    undoList_.Unlock();
    redoList_.Unlock();
}

void TqvCustomEdit::SetMaxUndo(int value) {
    if (value < 0) return;
    undoList_.SetMaxUndo(value);
    redoList_.SetMaxUndo(value);
}

void TqvCustomEdit::InsertColumnBlock(TPoint from, TPoint to, std::string_view text) {
    SetCaretPosition(from);
    SetSelectionStart(from);
    SetSelectionEnd(to);
    SetSelectionMode(smColumn);
    ReplaceSelection(smColumn, text);
    StatusChanged(scSelection);
}

// ---- Column spans ----------------------------------------------------------------------

std::string TqvCustomEdit::SpannedText(int topLine, const std::vector<TLineSpan>& spans) const {
    std::string text;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        if (k > 0) text.append(kCrLf);
        const int y = topLine - 1 + int(k);
        if (y >= LineCount()) continue;
        const std::string_view line = lines_.Get(y);
        const std::size_t at = std::min(std::size_t(spans[k].At), line.size());
        text.append(line.substr(at, std::size_t(spans[k].Length)));
    }
    return text;
}

void TqvCustomEdit::RemoveSpans(int topLine, const std::vector<TLineSpan>& spans) {
    TqvLinesUpdate update(lines_);
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const int y = topLine - 1 + int(k);
        if (y >= LineCount() || spans[k].Length <= 0) continue;
        std::string line(lines_.Get(y));
        const std::size_t at = std::min(std::size_t(spans[k].At), line.size());
        line.erase(at, std::size_t(spans[k].Length));
        lines_.Put(y, line);
    }
}

void TqvCustomEdit::InsertSpans(int topLine, const std::vector<TLineSpan>& spans,
                                std::string_view text) {
    const std::vector<std::string_view> pieces = SplitCrLf(text);
    TqvLinesUpdate update(lines_);
    for (std::size_t k = 0; k < spans.size() && k < pieces.size(); ++k) {
        const int y = topLine - 1 + int(k);
        if (y >= LineCount() || pieces[k].empty()) continue;
        std::string line(lines_.Get(y));
        // A record older than an edit made while the lists were locked may point past the
        // line's end: padded, never out of range.
        if (line.size() < std::size_t(spans[k].At)) line.resize(std::size_t(spans[k].At), ' ');
        line.insert(std::size_t(spans[k].At), pieces[k]);
        lines_.Put(y, line);
    }
}

// A column record's bytes leave the text, recorded in `replay` with what they were.
void TqvCustomEdit::TakeOutSpans(const TUndoItem& item, TUndoList& replay) {
    const int top = std::min(item.Start.Y, item.End.Y);
    replay.AddChange(item.Reason, item.Start, item.End, SpannedText(top, item.Spans), item.Mode,
                     item.Spans);
    RemoveSpans(top, item.Spans);
}

// The width of a block indent: its record's first piece (TabWidth for a record without one).
int TqvCustomEdit::IndentWidth(const TUndoItem& item) const {
    return item.Text.empty() ? tabWidth_ : int(SplitCrLf(item.Text).front().size());
}

// ---- Undo ------------------------------------------------------------------------------

void TqvCustomEdit::Undo() {
    if (!CanUndo()) return;
    const TSelectionMode saved = selectionMode_;
    TqvPaintLock paint(*this);
    TUndoItem item;
    undoList_.GetChange(item);
    UndoItem(item);
    SetSelectionMode(saved);
}

void TqvCustomEdit::UndoItem(TUndoItem& item) {
    const TScopedValue<bool> replay(replaying_, true);
    SetSelectionMode(item.Mode);
    switch (item.Reason) {
    case urInsert:
    case urPaste:
    case urDropInsert: {
        if (!item.Spans.empty()) {
            TakeOutSpans(item, redoList_);
            SetCaretPosition(item.Start);
            SetSelectionStart(item.Start);
            UndoPairedItem(item.Reason);
            break;
        }
        // The caret first: when trimming took the inserted text's end away, the selection is
        // empty and the old text goes back in at the caret.
        SetCaretPosition(item.Start);
        SetSelectionStart(item.Start);
        SetSelectionEnd(item.End);
        std::string inserted = SelectedText();
        if (item.Text.empty()) {
            redoList_.AddChange(item.Reason, selStart_, selEnd_, std::move(inserted), item.Mode);
            ReplaceSelection(item.Mode, item.Text);
        } else {
            // Overwritten bytes come back: redoing is then replacing them again, the same
            // pair of records as typing over a selection.
            redoList_.AddChange(item.Reason, selStart_, selEnd_, std::move(inserted), smNormal);
            ReplaceSelection(item.Mode, {});
            const TPoint at = ReplaceSelectionAt(item.Mode, item.Text);
            redoList_.AddChange(urReplaceSelection, at, CaretPos(), {}, smNormal);
        }
        SetCaretPosition(item.Start);
        UndoPairedItem(item.Reason);
        break;
    }
    case urLineBreak: {
        SetCaretPosition(item.Start);
        const int y = item.Start.Y - 1;
        // The new line's indentation goes with the redo record, so that redoing repeats it.
        std::size_t indent = 0;
        if (item.End.Y < lines_.Count()) {
            // The record holds the blanks trimmed before the break, then what moved.
            const std::string_view moved = std::string_view(item.Text).substr(
                std::min(item.Text.size(), std::size_t(std::max(0, item.End.X - item.Start.X))));
            const std::string_view added = lines_.Get(item.End.Y);
            if (added.size() >= moved.size() && added.substr(added.size() - moved.size()) == moved)
                indent = added.size() - moved.size();
        }
        // A break that moved the whole line down left its line empty: redone from column 1,
        // it moves the whole line again.
        const bool wholeLine =
            item.Start == item.End && !item.Text.empty() && lines_.Get(y).empty();
        redoList_.AddChange(urLineBreak, item.Start, wholeLine ? TPoint{1, item.End.Y} : item.End,
                            std::string(indent, ' '), item.Mode);
        // The record holds all the break took from its line (the trimmed blanks, what moved).
        std::string line(lines_.Get(y));
        line.append(item.Text);
        {
            TqvLinesUpdate update(lines_);
            if (item.End.Y < lines_.Count()) lines_.Delete(item.End.Y);
            lines_.Put(y, line);
        }
        SetCaretPosition(item.Start);
        MoveMarks(item.Start.Y + 1, -1);
        break;
    }
    case urIndent: {
        const int lastY = item.End.X == 1 ? item.End.Y - 1 : item.End.Y;
        SetSelectionStart({1, item.Start.Y});
        SetSelectionEnd({IndentWidth(item) + 1, lastY});
        redoList_.AddChange(urIndent, item.Start, item.End, SelectedText(), item.Mode);
        ReplaceSelection(item.Mode, {});
        SetSelectionStart(item.Start);
        SetCaretPosition(item.End);
        SetSelectionEnd(CaretPos());
        break;
    }
    case urUnindent:
        redoList_.AddChange(urUnindent, item.Start, item.End, item.Text, item.Mode);
        InsertColumnBlock({1, item.Start.Y}, {1, item.Start.Y}, item.Text);
        SetCaretPosition(item.Start);
        SetSelectionStart(item.Start);
        SetSelectionEnd(item.End);
        break;
    case urDeleteForward:
    case urDeleteBackward:
    case urReplaceSelection:
    case urDropDelete: {
        TPoint p = MinPoint(item.Start, item.End);
        if (item.Mode == smColumn)
            p = {std::min(item.Start.X, item.End.X), std::min(item.Start.Y, item.End.Y)};
        // The removed text began on a line that is gone: it comes back after the last one.
        if (p.Y > LineCount()) lines_.Add("");
        p.X -= item.Unselected;
        SetCaretPosition(p);
        SetSelectionStart(p);
        if (item.Spans.empty())
            ReplaceSelection(item.Mode, item.Text);
        else
            InsertSpans(p.Y, item.Spans, item.Text);
        SetCaretPosition(item.End);
        SetSelectionStart(item.Start);
        SetSelectionEnd(item.End);
        redoList_.AddChange(item.Reason, item.Start, item.End, {}, item.Mode, item.Spans,
                            item.Unselected);
        EnsureCaretVisible();
        break;
    }
    case urNone:
        break;
    }
}

// Replacing a selection and a drag move are taken back as one step with the record before.
void TqvCustomEdit::UndoPairedItem(TChangeReason reason) {
    const TChangeReason next = undoList_.PeekReason();
    if (next == urReplaceSelection || (reason == urDropInsert && next == urDropDelete)) {
        TUndoItem pair;
        undoList_.GetChange(pair);
        UndoItem(pair);
    }
}

// ---- Redo ------------------------------------------------------------------------------

void TqvCustomEdit::Redo() {
    if (!CanRedo()) return;
    const TSelectionMode saved = selectionMode_;
    TqvPaintLock paint(*this);
    TUndoItem item;
    redoList_.GetChange(item);
    RedoItem(item);
    SetSelectionMode(saved);
}

void TqvCustomEdit::RedoItem(TUndoItem& item) {
    const TScopedValue<bool> replay(replaying_, true);
    SetSelectionMode(item.Mode);
    switch (item.Reason) {
    case urDeleteForward:
    case urDeleteBackward:
    case urReplaceSelection:
    case urDropDelete: {
        if (item.Reason == urDeleteForward) SetCaretPosition(item.Start);
        if (!item.Spans.empty()) {
            TakeOutSpans(item, undoList_);
            SetCaretPosition({std::min(item.Start.X, item.End.X), item.End.Y});
            SetSelectionStart(CaretPos());
        } else {
            SetSelectionStart(item.Start);
            SetSelectionEnd(item.End);
            // The blanks the first removal trimmed go again, as part of the selection.
            const TPoint begin = BlockBegin();
            std::string removed;
            if (item.Unselected > 0)
                removed = lines_.Get(begin.Y - 1)
                              .substr(std::size_t(begin.X - 1 - item.Unselected),
                                      std::size_t(item.Unselected));
            AppendSelectedText(removed);
            undoList_.AddChange(item.Reason, item.Start, item.End, std::move(removed), item.Mode,
                                {}, item.Unselected);
            (selStart_ == begin ? selStart_ : selEnd_) = {begin.X - item.Unselected, begin.Y};
            ReplaceSelection(item.Mode, item.Text);
            SetCaretPosition(begin);
        }
        if (item.Reason == urDeleteForward) SetCaretPosition(item.Start);
        const TChangeReason next = redoList_.PeekReason();
        if (item.Reason == urReplaceSelection ||
            (item.Reason == urDropDelete && next == urDropInsert)) {
            TUndoItem pair;
            if (redoList_.GetChange(pair) != urNone) RedoItem(pair);
        }
        break;
    }
    case urLineBreak:
        // Breaks where the undone break was, wherever the caret went since.
        SetCaretPosition(item.End);
        SetSelectionStart(item.End);
        LineBreak(true, int(item.Text.size()));
        break;
    case urIndent:
        InsertColumnBlock({1, item.Start.Y}, {1, item.Start.Y}, item.Text);
        undoList_.AddChange(urIndent, item.Start, item.End, item.Text, item.Mode);
        SetCaretPosition({1, item.End.Y + 1});
        SetSelectionStart({item.Start.X + IndentWidth(item), item.Start.Y});
        SetSelectionEnd({item.End.X == 1 ? 1 : item.End.X + IndentWidth(item), item.End.Y});
        break;
    case urUnindent: {
        undoList_.AddChange(urUnindent, item.Start, item.End, item.Text, smColumn);
        const std::vector<std::string_view> pieces = SplitCrLf(item.Text);
        {
            TqvLinesUpdate update(lines_);
            for (std::size_t k = 0; k < pieces.size(); ++k) {
                const int y = item.Start.Y - 1 + int(k);
                if (y >= lines_.Count() || pieces[k].empty()) continue;
                const std::string_view line = lines_.Get(y);
                lines_.Put(y, std::string(line.substr(std::min(pieces[k].size(), line.size()))));
            }
        }
        SetCaretPosition({item.Start.X - tabWidth_, item.Start.Y});
        SetSelectionStart(CaretPos());
        SetSelectionEnd({item.End.X - int(pieces.back().size()), item.End.Y});
        break;
    }
    case urInsert:
    case urPaste:
    case urDropInsert:
        SetCaretPosition(item.Start);
        SetSelectionStart(item.Start);
        if (!item.Spans.empty()) {
            InsertSpans(std::min(item.Start.Y, item.End.Y), item.Spans, item.Text);
            undoList_.AddChange(item.Reason, item.Start, item.End, {}, item.Mode, item.Spans);
            SetCaretPosition(item.End);
            SetSelectionStart(item.End);
            break;
        }
        ReplaceSelection(item.Mode, item.Text);
        undoList_.AddChange(item.Reason, item.Start, item.End, SelectedText(), item.Mode);
        break;
    case urNone:
        break;
    }
}

} // namespace ondrex
