// The view: caret, coordinates, scrolling, invalidation, the paint lock and the window
// messages that move the view.

#include "editor/TqvCustomEdit.h"

#include "editor/TqvScopedGuards.h"
#include "platform/Application.h"
#include "platform/HintWindow.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace ondrex {

namespace {
constexpr int kWheelDelta = 120;
constexpr int kScrollRange = 32767;
} // namespace

// ---- Coordinates -----------------------------------------------------------------------

void TqvCustomEdit::UpdateTextOffset() {
    textOffset_ = gutterWidth_ + 2 - (long long)leftColumn_ * charWidth_;
}

void TqvCustomEdit::ComputeVisibleArea() {
    visibleColumns_ = std::max(0, ClientWidth() - gutterWidth_ - 2) / charWidth_;
    visibleLines_ = std::max(0, ClientHeight()) / lineHeight_;
}

TPoint TqvCustomEdit::RowColumnToPixels(TPoint pos) const {
    return {PixelX((long long)CellOfColumn(pos.Y, pos.X) * charWidth_ + textOffset_),
            (pos.Y - TopLine()) * lineHeight_};
}

// The nearest character boundary of the line under the pixel, so a column never lands
// inside a character, a tab or a wide character.
TPoint TqvCustomEdit::PixelsToRowColumn(TPoint pixel) const {
    const int line = TopLine() + pixel.Y / lineHeight_;
    return {ColumnAtCell(line, double(pixel.X - textOffset_) / charWidth_), line};
}

// ---- Caret -----------------------------------------------------------------------------

// Past the end of the line the caret stops at MaxColumn; a longer line's text stays
// reachable up to its end.
int TqvCustomEdit::ColumnLimit(int line) const {
    const int length = line < 0 || line >= lines_.Count() ? 0 : int(lines_.Get(line).size());
    return (options_ & qveoScrollPastEol) ? std::max(maxColumn_, length) : length;
}

void TqvCustomEdit::SetCaretPosition(TPoint value) {
    const int lastLine = std::min(value.Y, LineCount());
    int line = lastLine >= 1 ? lastLine - 1 : -1;
    const int limit = std::max(ColumnLimit(line), 0);
    line = std::max(line, 0);
    const int column = value.X < 1 ? 0 : std::min(value.X - 1, limit);
    if (column == caretX_ && line == caretY_) return;
    {
        TqvPaintLock lock(*this);
        if (column != caretX_) {
            caretX_ = column;
            StatusChanged(scCaretColumn);
        }
        if (line != caretY_) {
            caretY_ = line;
            StatusChanged(scCaretLine);
        }
        EnsureCaretVisible();
        caretUpdatePending_ = true;
        scrollBarUpdatePending_ = true;
    }
    DoOnSelectionChange();
}

// The caret may stand one column past the last whole visible column without scrolling.
void TqvCustomEdit::EnsureCaretVisible() {
    TqvPaintLock lock(*this);
    const int column = CellOfColumn(CaretLine(), CaretColumn()) + 1;
    if (column < LeftColumn())
        SetLeftColumn(column);
    else if (column > LeftColumn() + visibleColumns_)
        SetLeftColumn(column - visibleColumns_ + 1);
    const int line = CaretLine();
    if (line < TopLine())
        SetTopLine(line);
    else if (line > TopLine() + visibleLines_ - 1)
        SetTopLine(line - visibleLines_ + 1);
}

void TqvCustomEdit::HideCaretIfShown() {
    if (!caretShown_) return;
    HideCaret();
    caretShown_ = false;
}

void TqvCustomEdit::UpdateCaret() {
    if (paintLock_ > 0 || !Focused()) {
        caretUpdatePending_ = true;
        return;
    }
    caretUpdatePending_ = false;
    const int x = PixelX((long long)CellOfColumn(CaretLine(), CaretColumn()) * charWidth_ +
                         textOffset_ + caretOffset_.X);
    const int y = (CaretLine() - TopLine()) * lineHeight_ + 1 + caretOffset_.Y;
    if (x < gutterWidth_ || x >= ClientWidth() || y < 0 || y >= ClientHeight()) {
        HideCaretIfShown();
        TCustomControl::SetCaretPos(x, y);
    } else {
        TCustomControl::SetCaretPos(x, y);
        if (!caretShown_ && !(options_ & qveoNoCaret)) {
            ShowCaret();
            caretShown_ = true;
        }
    }
    SetImeCompositionPos({x, y});
}

void TqvCustomEdit::InitializeCaret() {
    if (!Focused()) return;
    const int full = lineHeight_ - 2;
    int width = charWidth_, height = full;
    caretOffset_ = {0, 0};
    switch (insertMode_ ? insertCaret_ : overwriteCaret_) {
    case ctVerticalLine:
        width = 2;
        caretOffset_ = {-1, 0};
        break;
    case ctHorizontalLine:
        height = 2;
        caretOffset_ = {0, full};
        break;
    case ctHalfBlock:
        height = full / 2;
        caretOffset_ = {0, full / 2};
        break;
    case ctBlock:
        break;
    }
    CreateCaret(width, height);
    caretShown_ = false;
    UpdateCaret();
}

// ---- View position ---------------------------------------------------------------------

void TqvCustomEdit::SetTopLine(int value) {
    value = std::max(1, std::min(value, LineCount())) - 1;
    if (value == topLine_) return;
    const int delta = topLine_ - value;
    topLine_ = value;
    UpdateScrollBars();
    if (std::abs(delta) < visibleLines_)
        ScrollWindow(0, delta * lineHeight_);
    else
        Invalidate();
    // The caret moves with the text; not waiting for a paint keeps it right on a host
    // whose paint does not place it.
    UpdateCaret();
    StatusChanged(scTopLine);
}

void TqvCustomEdit::SetLeftColumn(int value) {
    value = std::max(std::min(value, ScrollColumns() - visibleColumns_ + 1), 1) - 1;
    if (value == leftColumn_) return;
    leftColumn_ = value;
    UpdateTextOffset();
    UpdateScrollBars();
    InvalidateLines(-1, -1);
    UpdateCaret();
    StatusChanged(scLeftColumn);
}

// ---- Paint lock and status -------------------------------------------------------------

void TqvCustomEdit::UnlockPaint() {
    if (paintLock_ > 0) --paintLock_;
    if (paintLock_ > 0 || !HandleAllocated()) return;
    if (scrollBarUpdatePending_) UpdateScrollBars();
    if (caretUpdatePending_) UpdateCaret();
    if (pendingStatus_) StatusChanged(0);
}

void TqvCustomEdit::StatusChanged(TqvStatusChanges changes) {
    pendingStatus_ |= changes;
    if (paintLock_ > 0 || !OnStatusChange || !pendingStatus_) return;
    const TqvStatusChanges report = pendingStatus_;
    pendingStatus_ = 0;
    OnStatusChange(this, report);
}

// ---- Scroll bars -----------------------------------------------------------------------

void TqvCustomEdit::UpdateScrollBars() {
    if (!HandleAllocated() || paintLock_ > 0) {
        scrollBarUpdatePending_ = true;
        return;
    }
    scrollBarUpdatePending_ = false;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        SetScrollInfo(TScrollBarKind::sbHorizontal,
                      {1, ScrollColumns(), visibleColumns_, LeftColumn()}, true);
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
        const std::int64_t n = std::int64_t(LineCount()) + visibleLines_ - 1;
        TScrollInfo info;
        if (n > kScrollRange)
            info = {0, kScrollRange, int(kScrollRange * visibleLines_ / n),
                    int(kScrollRange * std::int64_t(TopLine()) / n)};
        else
            info = {1, int(std::max<std::int64_t>(1, n)), visibleLines_, TopLine()};
        SetScrollInfo(TScrollBarKind::sbVertical, info, true);
    }
}

// The bar is scaled exactly when its range would pass 32767, so the thumb is read back
// under the same rule it was set with.
int TqvCustomEdit::ScrollThumbToTopLine(int pos) const {
    const std::int64_t n = std::int64_t(LineCount()) + visibleLines_ - 1;
    if (n <= kScrollRange) return pos;
    return int(pos * n / kScrollRange);
}

void TqvCustomEdit::Scroll(TScrollBarKind bar, int code, int pos) {
    if (bar == TScrollBarKind::sbHorizontal) {
        switch (code) {
        case SB_LINELEFT:
            SetLeftColumn(LeftColumn() - 1);
            break;
        case SB_LINERIGHT:
            SetLeftColumn(LeftColumn() + 1);
            break;
        case SB_PAGELEFT:
            SetLeftColumn(LeftColumn() - visibleColumns_);
            break;
        case SB_PAGERIGHT:
            SetLeftColumn(LeftColumn() + visibleColumns_);
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            SetLeftColumn(pos);
            break;
        case SB_LEFT:
            SetLeftColumn(1);
            break;
        case SB_RIGHT:
            SetLeftColumn(ScrollColumns());
            break;
        default:
            break;
        }
        return;
    }
    switch (code) {
    case SB_LINEUP:
        SetTopLine(TopLine() - 1);
        break;
    case SB_LINEDOWN:
        SetTopLine(TopLine() + 1);
        break;
    case SB_PAGEUP:
        SetTopLine(TopLine() - visibleLines_);
        break;
    case SB_PAGEDOWN:
        SetTopLine(TopLine() + visibleLines_);
        break;
    case SB_TOP:
        SetTopLine(1);
        break;
    case SB_BOTTOM:
        SetTopLine(LineCount());
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetTopLine(ScrollThumbToTopLine(pos));
        if (code == SB_THUMBTRACK && (options_ & qveoShowScrollHint)) ShowScrollHint();
        break;
    case SB_ENDSCROLL:
        HideScrollHint();
        break;
    default:
        break;
    }
    Update();
}

void TqvCustomEdit::ShowScrollHint() {
    if (!scrollHint_) {
        scrollHint_ = Application().HintWindowClass ? Application().HintWindowClass()
                                                    : std::make_unique<THintWindow>();
        scrollHint_->Color = Application().HintColor;
    }
    const std::string text = "TopLine: " + std::to_string(TopLine());
    TRect rect = scrollHint_->CalcHintRect(200, text);
    const TPoint at = ClientToScreen({ClientWidth() - rect.Width() - 4, 10});
    scrollHint_->ActivateHint(rect.Offset(at.X, at.Y), text);
}

void TqvCustomEdit::HideScrollHint() {
    if (scrollHint_) scrollHint_->ReleaseHandle();
}

bool TqvCustomEdit::MouseWheel(TShiftState shift, int delta, int, int) {
    int linesPerNotch;
    if (shift & ssCtrl) {
        linesPerNotch = (options_ & qveoHalfPageScroll) ? visibleLines_ / 2 : visibleLines_;
    } else {
        linesPerNotch = WheelScrollLines();
        if (linesPerNotch < 0 || linesPerNotch > visibleLines_) linesPerNotch = visibleLines_;
    }
    const std::int64_t sum = std::int64_t(wheelRemainder_) + delta;
    wheelRemainder_ = int(sum % kWheelDelta);
    const std::int64_t target = TopLine() - (sum / kWheelDelta) * linesPerNotch;
    SetTopLine(int(std::clamp<std::int64_t>(target, 0, LineCount())));
    Update();
    return true;
}

// ---- Size, focus and files -------------------------------------------------------------

void TqvCustomEdit::Resize() {
    ComputeVisibleArea();
    UpdateScrollBars();
    SetLeftColumn(LeftColumn());
    DragAcceptFiles((options_ & qveoDropFiles) != 0);
    TCustomControl::Resize();
}

void TqvCustomEdit::SizeOrFontChanged(bool full) {
    if (!HandleAllocated()) return;
    ComputeVisibleArea();
    if (!full) {
        UpdateScrollBars();
        return;
    }
    if (gutter_.ShowLineNumbers())
        GutterChanged(&gutter_);
    else
        UpdateScrollBars();
    InitializeCaret();
    caretUpdatePending_ = false;
    Invalidate();
}

void TqvCustomEdit::FocusIn() {
    InitializeCaret();
    if (hideSelection_ && selStart_ != selEnd_) Invalidate();
    TCustomControl::FocusIn();
}

void TqvCustomEdit::FocusOut() {
    HideCaretIfShown();
    DestroyCaret();
    if (hideSelection_ && selStart_ != selEnd_) Invalidate();
    TCustomControl::FocusOut();
}

void TqvCustomEdit::DropFiles(int x, int y, const std::vector<std::string>& files) {
    if (OnDropFiles) OnDropFiles(this, x, y, files);
}

// ---- Invalidation ----------------------------------------------------------------------

void TqvCustomEdit::InvalidateArea(const TRect& rect) {
    if (rect.IsEmpty()) return;
    if (linesChanging_)
        invalidRect_ = invalidRect_.Union(rect);
    else
        InvalidateRect(rect, false);
}

void TqvCustomEdit::InvalidateRows(int first, int last, int left, int right) {
    if (!Visible() || !HandleAllocated()) return;
    if (first == -1 && last == -1) {
        InvalidateArea({left, 0, right, ClientHeight()});
        return;
    }
    if (first > last) std::swap(first, last);
    first = std::max(first, TopLine());
    last = std::min(last, TopLine() + visibleLines_);
    if (last < first) return;
    InvalidateArea(
        {left, (first - TopLine()) * lineHeight_, right, (last - TopLine() + 1) * lineHeight_});
}

void TqvCustomEdit::InvalidateLines(int first, int last) {
    InvalidateRows(first, last, gutterWidth_, ClientWidth());
}

void TqvCustomEdit::InvalidateGutterLines(int first, int last) {
    InvalidateRows(first, last, 0, gutterWidth_);
}

void TqvCustomEdit::InvalidateLine(int line) {
    if (line < TopLine() || line > TopLine() + visibleLines_ || line > LineCount()) return;
    InvalidateRows(line, line, 0, ClientWidth());
}

} // namespace ondrex
