// The mouse: placing the caret, extending the selection, word selection by double-click,
// drag-selection with automatic scrolling, the start of dragging the selection, gutter
// clicks and the pointer shape. Positions under the pointer come through the display
// cells, so a click lands on the character drawn under it.

#include "editor/TqvCustomEdit.h"

#include "editor/TqvScopedGuards.h"
#include "platform/SystemMetrics.h"

#include <cstdlib>

namespace ondrex {

namespace {
// Pixels beyond an edge that make an automatic scroll step a big one (a page or 8 columns),
// and that make the steps follow each other without a pause.
constexpr int kBigStep = 9;
constexpr int kNoPause = 41;
constexpr int kStepPause = 100; // milliseconds
constexpr int kShortPause = 10;

// A plain right click opens the context menu, when there is one, on the text as it is: the
// selection it is to copy or cut stays.
bool OpensPopupMenu(const TCustomControl& control, TMouseButton button, TShiftState shift) {
    return button == TMouseButton::mbRight && (shift & ~ssRight) == 0 && control.HasPopupMenu();
}
} // namespace

bool TqvCustomEdit::InTextArea(int x, int y) const {
    return x >= gutterWidth_ && x < ClientWidth() && y >= 0 && y < ClientHeight();
}

// Moving text needs a writable editor: a read-only one treats a press inside the selection
// as any other press, so the selection can be made anew from there.
bool TqvCustomEdit::CanDragSelection() const {
    return (options_ & qveoDragDropEditing) && !ReadOnly();
}

TCursor TqvCustomEdit::CursorAt(int x, int y) {
    if (x < gutterWidth_) return TCursor(gutter_.Cursor());
    if (CanDragSelection() && IsPointInSelection(PixelsToRowColumn({x, y}))) return crArrow;
    return TCustomControl::CursorAt(x, y);
}

void TqvCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OpensPopupMenu(*this, button, shift)) return;
    const bool left = button == TMouseButton::mbLeft;
    // The second press of a double-click: DblClick did the work.
    if (left && (shift & ssDouble)) return;
    const bool hadSelection = HasSelection();
    if (left && hadSelection) {
        dragBegin_ = BlockBegin();
        dragEnd_ = BlockEnd();
        pressPixel_ = {x, y};
    }
    TCustomControl::MouseDown(button, shift, x, y);
    SetCaretPosition(PixelsToRowColumn({x, y}));
    if (left) {
        SetCapture();
        dragPending_ = hadSelection && CanDragSelection() && IsPointInSelection(CaretPos()) &&
                       x >= gutterWidth_ + 2;
    }
    if (!dragPending_ && !doubleClicked_) {
        if (shift & ssShift)
            SetSelectionEnd(CaretPos());
        else
            SetSelectionStart(CaretPos());
    }
    if (x < gutterWidth_) pressedInGutter_ = true;
    SetFocus();
}

void TqvCustomEdit::DblClick(int x, int y) {
    if (x < gutterWidth_ + 2) {
        TCustomControl::DblClick(x, y);
        return;
    }
    SelectWordAt(CaretPos());
    TCustomControl::DblClick(x, y);
    doubleClicked_ = true;
    ReleaseCapture();
}

void TqvCustomEdit::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (MouseCapture() && dragPending_ && !ReadOnly()) {
        if (std::abs(x - pressPixel_.X) < SystemMetric(SM_CXDRAG) &&
            std::abs(y - pressPixel_.Y) < SystemMetric(SM_CYDRAG))
            return;
        dragPending_ = false;
        BeginDrag();
        return;
    }
    if (!(shift & ssLeft) || !MouseCapture()) return;
    if (InTextArea(x, y)) {
        StopAutoScroll();
        SetCaretPosition(PixelsToRowColumn({x, y}));
        SetSelectionEnd(CaretPos());
        return;
    }
    // Outside the text area the view scrolls towards the pointer, one step now and then
    // one per tick while the pointer stays out.
    if (autoScroll_ && autoScroll_->Enabled()) return;
    if (!autoScroll_) {
        autoScroll_ = std::make_unique<TTimer>();
        autoScroll_->SetEnabled(false);
        autoScroll_->SetOnTimer(TNotifyEvent::bind<&TqvCustomEdit::AutoScrollTick>(this));
    }
    AutoScrollTick(autoScroll_.get());
}

void TqvCustomEdit::StopAutoScroll() {
    if (autoScroll_) autoScroll_->SetEnabled(false);
}

// One step towards a pointer outside the text area, with the caret and the selection's end
// following to the edge the view moved.
void TqvCustomEdit::AutoScrollTick(TObject*) {
    const TPoint p = CursorPos();
    if (!MouseCapture() || InTextArea(p.X, p.Y)) {
        StopAutoScroll();
        return;
    }
    bool far = false;
    {
        TqvPaintLock lock(*this);
        const int pointerLine = TopLine() + p.Y / lineHeight_;
        const double pointerCell = double(p.X - textOffset_) / charWidth_;
        const auto follow = [&](int line, double cell) {
            SetCaretPosition({ColumnAtCell(line, cell), line});
            SetSelectionEnd(CaretPos());
        };
        if (p.X < gutterWidth_) {
            const int d = gutterWidth_ - p.X;
            SetLeftColumn(LeftColumn() - (d > kBigStep ? 8 : 1));
            follow(pointerLine, LeftColumn() - 1);
            far = far || d > kNoPause;
        } else if (p.X >= ClientWidth()) {
            const int d = p.X - ClientWidth();
            SetLeftColumn(LeftColumn() + (d > kBigStep ? 8 : 1));
            follow(pointerLine, LeftColumn() - 1 + visibleColumns_);
            far = far || d > kNoPause;
        }
        if (p.Y < 0) {
            SetTopLine(TopLine() - (p.Y < -kBigStep ? visibleLines_ : 1));
            follow(TopLine(), pointerCell);
            far = far || -p.Y > kNoPause;
        } else if (p.Y >= ClientHeight()) {
            const int d = p.Y - ClientHeight();
            SetTopLine(TopLine() + (d <= kBigStep ? 1 : visibleLines_));
            follow(TopLine() + visibleLines_ - 1, pointerCell);
            far = far || d > kNoPause;
        }
    }
    Update();
    autoScroll_->SetInterval(far ? kShortPause : kStepPause);
    autoScroll_->SetEnabled(true);
}

void TqvCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (OpensPopupMenu(*this, button, shift)) return;
    ReleaseCapture();
    StopAutoScroll();
    if (pressedInGutter_ && x < gutterWidth_) {
        DoOnGutterClick(x, y);
    } else if (dragPending_ && !doubleClicked_) {
        // A press inside the selection that did not become a drag: an ordinary click.
        SetCaretPosition(PixelsToRowColumn({x, y}));
        SetSelectionStart(CaretPos());
    }
    dragPending_ = false;
    doubleClicked_ = false;
    pressedInGutter_ = false;
}

void TqvCustomEdit::DoOnGutterClick(int x, int y) {
    if (!OnGutterClick) return;
    const int line = TopLine() + y / lineHeight_;
    if (line > LineCount()) return;
    TMarks marks{};
    marks_.GetMarksForLine(line, marks);
    TMark* clicked = nullptr;
    int offset = 0;
    for (TMark* mark : marks) {
        if (!mark) break;
        offset += bookMarkOptions_.Xoffset();
        if (offset > x) {
            clicked = mark;
            break;
        }
    }
    OnGutterClick(this, x, y, line, clicked);
}

} // namespace ondrex
