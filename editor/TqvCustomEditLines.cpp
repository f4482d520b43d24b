// Keeping the view in step with the line list: range states, repaints, the caret and the
// gutter after every change, and attaching a highlighter.

#include "editor/TqvCustomEdit.h"

#include "highlighters/qvHighlighter.h"

#include <chrono>
#include <climits>
#include <cstring>

namespace ondrex {

namespace {

constexpr std::size_t kCellCap = 1 << 30; // stays an int

std::size_t CountTabs(const char* p, const char* end, std::size_t enough) {
    std::size_t tabs = 0;
    for (; tabs < enough; ++p, ++tabs) {
        p = static_cast<const char*>(std::memchr(p, '\t', std::size_t(end - p)));
        if (!p) break;
    }
    return tabs;
}

int CellsOf(std::size_t bytes, std::size_t tabs, int tabWidth) {
    const std::size_t wider = tabWidth < 2 ? 0 : std::size_t(tabWidth - 1);
    return int(std::min(std::min(bytes, kCellCap) + tabs * wider, kCellCap));
}

// The cells a line can take at most: only a tab takes more cells than it has bytes.
int CellBound(std::string_view line, int tabWidth, int enough) {
    const std::size_t bytes = std::min(line.size(), kCellCap);
    if (tabWidth < 2 || bytes * std::size_t(tabWidth) <= std::size_t(enough)) return int(bytes);
    return CellsOf(bytes, CountTabs(line.data(), line.data() + line.size(), kCellCap), tabWidth);
}

} // namespace

// Grow-only between loads: a line that shrinks leaves the range as it was, which costs a
// little blank scrolling and saves measuring every line on every edit.
void TqvCustomEdit::WidenFor(int index) {
    widestCells_ = std::max(widestCells_, CellBound(lines_.Get(index), tabWidth_, ScrollColumns()));
}

// Only the bytes the line gained since the last piece are searched for tabs: a file of one
// long line would otherwise cost the square of its size.
void TqvCustomEdit::WidenForGrowing(int index) {
    const std::string_view line = lines_.Get(index);
    TGrowingLine& g = growing_;
    if (g.index != index || g.data != line.data() || g.bytes > line.size())
        g = {index, line.data(), 0, 0};
    g.tabs += CountTabs(line.data() + g.bytes, line.data() + line.size(), kCellCap);
    g.bytes = line.size();
    widestCells_ = std::max(widestCells_, CellsOf(g.bytes, g.tabs, tabWidth_));
}

void TqvCustomEdit::MeasureWidestLine() {
    widestCells_ = 0;
    for (int i = 0, count = lines_.Count(); i < count; ++i)
        WidenFor(i);
}

void TqvCustomEdit::ListAdded(TObject*) {
    ranges_.LineAdded();
    WidenFor(LineCount() - 1);
    InvalidateLine(LineCount());
}

void TqvCustomEdit::ListInserted(TObject*, int index) {
    checkpoints_.Clear();
    ranges_.LineInserted(index);
    WidenFor(index);
    InvalidateLines(index + 1, TopLine() + visibleLines_);
    InvalidateGutterLines(index + 1, TopLine() + visibleLines_);
}

void TqvCustomEdit::ListDeleted(TObject*, int index) {
    checkpoints_.Clear();
    ranges_.LineDeleted(index);
    InvalidateLines(index + 1, INT_MAX);
    InvalidateGutterLines(index + 1, INT_MAX);
}

// Repaints exactly the lines whose highlighting may have changed.
void TqvCustomEdit::ListLineChanged(TObject*, int index) {
    checkpoints_.Forget(index);
    WidenFor(index);
    InvalidateLines(index + 1, ranges_.LineChanged(index) + 1);
}

void TqvCustomEdit::ListBulkAdded(TObject*) {
    checkpoints_.Clear();
    ranges_.ForgetFrom(0);
    ComputeStatesLater();
    MeasureWidestLine();
}

// A piece of a load in passes: the lines from `first` on are new, or the last one grew.
void TqvCustomEdit::ListLoadPass(TObject*, int first) {
    checkpoints_.Forget(first);
    ranges_.ForgetFrom(first);
    ComputeStatesLater();
    const int count = lines_.Count();
    for (int i = first; i < count; ++i) {
        if (i == first || i == count - 1)
            WidenForGrowing(i);
        else
            WidenFor(i);
    }
    InvalidateLines(first + 1, INT_MAX);
    InvalidateGutterLines(first + 1, INT_MAX);
}

std::uintptr_t TqvCustomEdit::LineStartState(int index) {
    TqvCustomHighLighter* highLighter = HighLighter();
    if (!highLighter) return 0;
    ranges_.LoadState(index);
    return highLighter->RangeState();
}

// The tick runs as soon as the events waiting are handled, until it stops its timer.
void TqvCustomEdit::RunBetweenEvents(std::unique_ptr<TTimer>& timer, TNotifyEvent tick) {
    if (!timer) {
        timer = std::make_unique<TTimer>();
        timer->SetInterval(1);
        timer->SetOnTimer(tick);
    }
    timer->SetEnabled(true);
}

void TqvCustomEdit::ComputeStatesLater() {
    if (!HighLighter() || AllLineStatesKnown()) return;
    RunBetweenEvents(statesAhead_, TNotifyEvent::bind<&TqvCustomEdit::StatesAheadTick>(this));
}

// A few milliseconds of states at a time, and none while a load in passes still grows the
// text (its own pieces come first).
void TqvCustomEdit::StatesAheadTick(TObject*) {
    if (lines_.LoadingInPasses()) return;
    constexpr auto kBudget = std::chrono::milliseconds(8);
    const auto start = std::chrono::steady_clock::now();
    bool more = true;
    while (more && std::chrono::steady_clock::now() - start < kBudget)
        more = ranges_.ComputeAhead(4096);
    if (!more) statesAhead_->SetEnabled(false);
}

void TqvCustomEdit::ComputeCheckpointsLater() {
    RunBetweenEvents(checkpointsAhead_,
                     TNotifyEvent::bind<&TqvCustomEdit::CheckpointsAheadTick>(this));
}

// A checkpoint's token depends on all the text before it, so the first look far along a
// long line would scan the line up to there. The lines on screen are worked out here
// instead, a piece at a time, and a row painted plain meanwhile is painted again.
void TqvCustomEdit::CheckpointsAheadTick(TObject*) {
    if (lines_.LoadingInPasses()) return;
    constexpr auto kBudget = std::chrono::milliseconds(8);
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < kBudget)
        if (!CheckpointsAheadStep()) return checkpointsAhead_->SetEnabled(false);
}

// One piece of work on the caret's line, else on the first line on screen that needs it;
// false when none does.
bool TqvCustomEdit::CheckpointsAheadStep() {
    const int first = TopLine();
    const int last = std::min(first + visibleLines_, LineCount());
    for (int i = first - 1; i <= last; ++i) {
        const int line = i < first ? std::min(CaretLine(), LineCount()) : i;
        if (line < 1) continue;
        TLineCheckpoints* checkpoints =
            checkpoints_.For(line - 1, lines_.Get(line - 1), tabWidth_, ActiveCodePage());
        if (!checkpoints) continue;
        const TqvRangeState startRange = LineStartState(line - 1);
        if (checkpoints->Complete(HighLighter(), startRange)) continue;
        checkpoints->WorkAhead(HighLighter(), startRange);
        if (checkpoints->WaitingPaintReady()) InvalidateLine(line);
        return true;
    }
    return false;
}

void TqvCustomEdit::ListCleared(TObject*) {
    checkpoints_.Clear();
    ranges_.ForgetFrom(0);
    widestCells_ = 0;
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
    const TRect collected = invalidRect_;
    invalidRect_ = {};
    InvalidateArea(collected);
    // Reported and repainted like any collapse, so that no stale highlight stays on screen.
    SetSelectionStart(CaretPos());
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
    checkpoints_.Clear();
    MeasureFont();
    {
        TqvLinesUpdate update(lines_);
        ranges_.ForgetFrom(0);
    }
    ComputeStatesLater();
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
    checkpoints_.Clear();
    MeasureFont();
    SizeOrFontChanged(true);
}

} // namespace ondrex
