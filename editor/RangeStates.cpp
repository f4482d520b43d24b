#include "editor/RangeStates.h"

#include "editor/TqvEditList.h"
#include "highlighters/qvHighlighter.h"

namespace ondrex {

void TRangeStates::ScanLine(int index) {
    // The scanner reads up to a NUL, and lines viewed in a loaded block are not terminated.
    lineBuffer_.assign(lines_.Get(index));
    highLighter_->StartLine(lineBuffer_.c_str(), index);
    highLighter_->ScanToLineEnd();
}

void TRangeStates::StoreState(int index) {
    lines_.PutObject(index, reinterpret_cast<void*>(highLighter_->RangeState()));
}

bool TRangeStates::StoredStateEquals(int index) const {
    return reinterpret_cast<TqvRangeState>(lines_.GetObject(index)) == highLighter_->RangeState();
}

void TRangeStates::LoadState(int index) {
    highLighter_->SetRangeState(reinterpret_cast<TqvRangeState>(lines_.GetObject(index)));
}

void TRangeStates::StoreInitialState() {
    highLighter_->ResetRangeState();
    StoreState(0);
}

void TRangeStates::LineAdded() {
    if (!highLighter_) return;
    const int n = lines_.Count();
    if (n < 2) {
        StoreInitialState();
        return;
    }
    LoadState(n - 2);
    ScanLine(n - 2);
    StoreState(n - 1);
}

bool TRangeStates::RestartAtTop(int index) {
    if (index > 0) return false;
    StoreInitialState();
    if (lines_.Count() >= 2) RescanFrom(0);
    return true;
}

void TRangeStates::LineInserted(int index) {
    if (!highLighter_ || lines_.Count() == 0 || RestartAtTop(index)) return;
    // The slot of an inserted line starts empty, and an empty slot may look like a real
    // state; compute the line's start state before comparing anything with it.
    LoadState(index - 1);
    ScanLine(index - 1);
    StoreState(index);
    RescanFrom(index);
}

void TRangeStates::LineDeleted(int index) {
    if (!highLighter_ || lines_.Count() == 0 || RestartAtTop(index)) return;
    LoadState(index - 1);
    RescanFrom(index - 1);
}

int TRangeStates::LineChanged(int index) {
    if (!highLighter_) return index;
    LoadState(index);
    return RescanFrom(index);
}

void TRangeStates::RescanAll() {
    if (!highLighter_ || lines_.Count() == 0) return;
    StoreInitialState();
    const int count = lines_.Count();
    for (int k = 1; k < count; ++k) {
        ScanLine(k - 1);
        StoreState(k);
    }
}

int TRangeStates::RescanFrom(int index) {
    const int count = lines_.Count();
    if (index >= count - 1) return index;
    ScanLine(index);
    int k = index + 1;
    for (; k < count; ++k) {
        if (StoredStateEquals(k)) break;
        StoreState(k);
        ScanLine(k);
    }
    return k - 1;
}

} // namespace ondrex
