// Keeping the view in step with the line list: range states, repaints, the caret and the
// gutter after every change, and attaching a highlighter.

#include "editor/TqvCustomEdit.h"

#include "highlighters/qvHighlighter.h"

#include <climits>

namespace ondrex {

void TqvCustomEdit::ListAdded(TObject*) {
    ranges_.LineAdded();
    InvalidateLine(LineCount());
}

void TqvCustomEdit::ListInserted(TObject*, int index) {
    ranges_.LineInserted(index);
    InvalidateLines(index + 1, TopLine() + visibleLines_);
    InvalidateGutterLines(index + 1, TopLine() + visibleLines_);
}

void TqvCustomEdit::ListDeleted(TObject*, int index) {
    ranges_.LineDeleted(index);
    InvalidateLines(index + 1, INT_MAX);
    InvalidateGutterLines(index + 1, INT_MAX);
}

// Repaints exactly the lines whose highlighting may have changed.
void TqvCustomEdit::ListLineChanged(TObject*, int index) {
    InvalidateLines(index + 1, ranges_.LineChanged(index) + 1);
}

void TqvCustomEdit::ListBulkAdded(TObject*) {
    ranges_.RescanAll();
}

void TqvCustomEdit::ListCleared(TObject*) {
    invalidRect_ = {};
    Invalidate();
    selStart_ = selEnd_ = {1, 1};
    SetCaretPosition({1, 1});
    SetTopLine(1);
    SetLeftColumn(1);
}

void TqvCustomEdit::ListTextReplaced(TObject*) {
    if (lines_.Count() == 0) lines_.Add("");
    ClearUndo();
}

void TqvCustomEdit::LinesChanging(TObject*) {
    linesChanging_ = true;
}

void TqvCustomEdit::LinesChanged(TObject*) {
    linesChanging_ = false;
    if (!HandleAllocated()) return;
    UpdateScrollBars();
    selStart_ = selEnd_ = CaretPos();
    const TRect collected = invalidRect_;
    invalidRect_ = {};
    InvalidateArea(collected);
    if (GutterAutoSizes()) gutter_.AutoSizeDigitCount(LineCount());
}

void TqvCustomEdit::SetHighLighter(TqvCustomHighLighter* value) {
    TqvCustomHighLighter* previous = HighLighter();
    if (value == previous) return;
    const auto receiver = TNotifyEvent::bind<&TqvCustomEdit::HighlighterAttrChanged>(this);
    if (previous) previous->UnhookAttributeChange(receiver);
    if (value) value->HookAttributeChange(receiver);
    ranges_.SetHighLighter(value);
    MeasureFont();
    lines_.BeginUpdate();
    try {
        ranges_.RescanAll();
    } catch (...) {
        lines_.EndUpdate();
        throw;
    }
    lines_.EndUpdate();
    SizeOrFontChanged(true);
}

void TqvCustomEdit::HighlighterAttrChanged(TObject*) {
    MeasureFont();
    Invalidate();
}

} // namespace ondrex
