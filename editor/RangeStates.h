#pragma once
// Keeps, in each line's data slot, the attached highlighter's range state at the start of
// that line, so that painting can start the highlighter at any line. The editor forwards
// the line list's notifications here; every answer is the span of lines whose stored
// state was recomputed, which the editor then repaints.

#include <string>

namespace ondrex {

class TqvEditList;
class TqvCustomHighLighter;

class TRangeStates {
public:
    explicit TRangeStates(TqvEditList& lines) : lines_(lines) {}

    TqvCustomHighLighter* HighLighter() const { return highLighter_; }
    // Stores the highlighter only; the caller recomputes with RescanAll.
    void SetHighLighter(TqvCustomHighLighter* highLighter) { highLighter_ = highLighter; }

    // One line was appended at the end: its start state follows from the line before it.
    void LineAdded();
    // A line was inserted at, or deleted from, the index.
    void LineInserted(int index);
    void LineDeleted(int index);
    // The text of the line changed; answers the last line (0-based) whose end state was
    // recomputed, which is the index itself when the state it carries on is unchanged.
    int LineChanged(int index);
    // Recomputes every line's start state from line 0.
    void RescanAll();
    // Sets the highlighter to the stored start state of the line.
    void LoadState(int index);
    // The highlighter is already set to the start state of the line. Scans forward until a
    // recomputed start state equals the stored one; answers the last line scanned.
    int RescanFrom(int index);

private:
    void ScanLine(int index);
    void StoreState(int index);
    bool StoredStateEquals(int index) const;
    void StoreInitialState();
    bool RestartAtTop(int index);

    TqvEditList& lines_;
    TqvCustomHighLighter* highLighter_ = nullptr;
    std::string lineBuffer_;
};

} // namespace ondrex
