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
    if (value == HighLighter()) return;
    // Unhooks from the previous one, which is alive: its destruction would have dropped it.
    highlighterBindings_.Clear();
    if (value) {
        value->HookAttributeChange(TNotifyEvent::bind<&TqvCustomEdit::HighlighterAttrChanged>(this),
                                   highlighterBindings_);
        value->FreeNotification(TNotifyEvent::bind<&TqvCustomEdit::HighlighterFreed>(this),
                                highlighterBindings_);
    }
    ranges_.SetHighLighter(value);
    MeasureFont();
    {
        TqvLinesUpdate update(lines_);
        ranges_.RescanAll();
    }
    SizeOrFontChanged(true);
}

void TqvCustomEdit::HighlighterAttrChanged(TObject*) {
    MeasureFont();
    Invalidate();
}

// The highlighter is being destroyed: drop it without touching it. The stored range states
// stay until the next highlighter rescans them.
void TqvCustomEdit::HighlighterFreed(TObject*) {
    highlighterBindings_.Clear();
    ranges_.SetHighLighter(nullptr);
    MeasureFont();
    SizeOrFontChanged(true);
}

} // namespace ondrex
