#pragma once
// Keeps, in each line's data slot, the attached highlighter's range state at the start of
// that line, so that painting can start the highlighter at any line. The editor forwards
// the line list's notifications here; every answer is the span of lines whose stored
// state was recomputed, which the editor then repaints.
//
// States may be kept lazily: after ForgetFrom only the lines above the given one hold known
// states, and LoadState computes the rest down to the line asked for. A file of millions of
// lines then costs only the states of what was painted, and a load shows its first screen
// without waiting for the last line's state. Lines never asked for are never painted, so the
// answers of the change notifications stop where the known states end.

#include <climits>
#include <string>

namespace ondrex {

class TqvEditList;
class TqvCustomHighLighter;

class TRangeStates {
public:
    explicit TRangeStates(TqvEditList& lines) : lines_(lines) {}

    TqvCustomHighLighter* HighLighter() const { return highLighter_; }
    // Stores the highlighter only; the caller recomputes with RescanAll or ForgetFrom.
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
    // The lines from the index on are new or changed: their states are computed when asked for.
    void ForgetFrom(int index);
    // How many lines from the top hold known states (INT_MAX after RescanAll: all of them).
    int KnownLines() const { return known_; }
    // Computes up to `count` more unknown states; false once every line's state is known.
    bool ComputeAhead(int count);
    // Sets the highlighter to the start state of the line, computed first when not known.
    void LoadState(int index);
    // The highlighter is already set to the start state of the line. Scans forward until a
    // recomputed start state equals the stored one (or the known states end); answers the
    // last line scanned.
    int RescanFrom(int index);

private:
    void ScanLine(int index);
    void StoreState(int index);
    bool StoredStateEquals(int index) const;
    void LoadStored(int index);
    void StoreInitialState();
    bool RestartAtTop(int index);
    void ComputeThrough(int index);

    TqvEditList& lines_;
    TqvCustomHighLighter* highLighter_ = nullptr;
    std::string lineBuffer_;
    int known_ = INT_MAX;
};

} // namespace ondrex
