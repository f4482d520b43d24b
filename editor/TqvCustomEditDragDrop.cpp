// Dragging the selected text within the editor: moving it, or with Ctrl copying it, as one
// step of undo. Drop positions are compared as (line, column) pairs, so a drop anywhere on
// a line lands where it is shown.

#include "editor/TqvCustomEdit.h"

#include "editor/TqvScopedGuards.h"

namespace ondrex {

namespace {

bool Before(TPoint a, TPoint b) {
    return a.Y < b.Y || (a.Y == b.Y && a.X < b.X);
}

// The dragged text is inserted where it was shown, past the end of the line if need be.
class TScrollPastEol {
public:
    explicit TScrollPastEol(TqvCustomEdit& edit) : edit_(edit), saved_(edit.Options()) {
        edit_.SetOptions(saved_ | qveoScrollPastEol);
    }
    ~TScrollPastEol() { edit_.SetOptions(saved_); }
    TScrollPastEol(const TScrollPastEol&) = delete;
    TScrollPastEol& operator=(const TScrollPastEol&) = delete;

private:
    TqvCustomEdit& edit_;
    TqvEditorOptions saved_;
};

} // namespace

void TqvCustomEdit::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = source == this;
    if (accept && OnDragOver) OnDragOver(this, source, x, y, state, accept);
    SetDragCursor((KeyboardState() & ssCtrl) ? crMultiDrag : crDrag);
    // The caret shows where the text would go, and goes back when the pointer leaves.
    SetCaretPosition(
        PixelsToRowColumn(state == TDragState::dsDragLeave ? pressPixel_ : TPoint{x, y}));
}

void TqvCustomEdit::DragDrop(TObject* source, int x, int y) {
    if (ReadOnly()) return;
    TqvPaintLock paintLock(*this);
    TCustomControl::DragDrop(source, x, y);
    if (source != this || !HasSelection()) return;
    SetCaretPosition(PixelsToRowColumn({x, y}));
    TPoint drop = CaretPos();
    const bool inside = selectionMode_ == smLine
                            ? drop.Y >= dragBegin_.Y && drop.Y <= dragEnd_.Y
                            : !Before(drop, dragBegin_) && !Before(dragEnd_, drop);
    if (inside) return;
    const std::string text = SelectedText();
    const bool move = !(KeyboardState() & ssCtrl);
    const bool after = Before(dragEnd_, drop);
    // Deleting a selection before the drop leaves the text after the drop alone: the drop
    // keeps its distance from the end of its line and its count of lines below.
    const auto length = [&](int line) { return int(lines_.Get(line - 1).size()); };
    const int linesBelow = LineCount() - drop.Y;
    const int tail = length(drop.Y) - (drop.X - 1);
    // Recorded as any removal of a selection: with the blanks its trim takes, and a column
    // block line by line.
    if (move) RecordSelectionRemoval(urDropDelete);
    {
        TUndoLock undoLock(undoList_, redoList_);
        if (move) {
            SetSelectedText({});
            if (after) {
                drop.Y = LineCount() - linesBelow;
                drop.X = length(drop.Y) - tail + 1;
            }
        }
        TScrollPastEol pastEol(*this);
        SetCaretPosition(drop);
        SetSelectionStart(drop);
        drop = ReplaceSelectionAt(smNormal, text);
    }
    RecordChange(urDropInsert, drop, CaretPos(), SelectedText(), smNormal);
}

} // namespace ondrex
