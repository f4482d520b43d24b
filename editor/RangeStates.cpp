#include "editor/RangeStates.h"

#include "editor/TqvEditList.h"
#include "highlighters/qvHighlighter.h"

#include <algorithm>

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

void TRangeStates::LoadStored(int index) {
    highLighter_->SetRangeState(reinterpret_cast<TqvRangeState>(lines_.GetObject(index)));
}

void TRangeStates::StoreInitialState() {
    highLighter_->ResetRangeState();
    StoreState(0);
    known_ = std::max(known_, 1);
}

void TRangeStates::ForgetFrom(int index) {
    known_ = std::min(known_, std::max(index, 0));
}

void TRangeStates::ComputeThrough(int index) {
    if (index < known_) return;
    if (known_ == 0) StoreInitialState();
    if (index < known_) return;
    LoadStored(known_ - 1);
    for (int k = known_; k <= index; ++k) {
        ScanLine(k - 1);
        StoreState(k);
    }
    known_ = index + 1;
}

bool TRangeStates::ComputeAhead(int count) {
    const int lines = lines_.Count();
    if (!highLighter_ || known_ >= lines) return false;
    ComputeThrough(std::min(lines - 1, known_ + std::max(count, 1) - 1));
    return known_ < lines;
}

void TRangeStates::LoadState(int index) {
    ComputeThrough(index);
    LoadStored(index);
}

void TRangeStates::LineAdded() {
    if (!highLighter_) return;
    const int n = lines_.Count();
    if (n < 2) {
        StoreInitialState();
        return;
    }
    if (n - 2 >= known_) return; // the line above is not known either
    LoadStored(n - 2);
    ScanLine(n - 2);
    StoreState(n - 1);
    if (known_ == n - 1) known_ = n;
}

bool TRangeStates::RestartAtTop(int index) {
    if (index > 0) return false;
    StoreInitialState();
    if (lines_.Count() >= 2) RescanFrom(0);
    return true;
}

void TRangeStates::LineInserted(int index) {
    if (!highLighter_ || lines_.Count() == 0 || index > known_) return;
    if (known_ != INT_MAX) ++known_; // the known lines below moved down with their states
    if (RestartAtTop(index)) return;
    // The slot of an inserted line starts empty, and an empty slot may look like a real
    // state; compute the line's start state before comparing anything with it.
    LoadStored(index - 1);
    ScanLine(index - 1);
    StoreState(index);
    RescanFrom(index);
}

void TRangeStates::LineDeleted(int index) {
    if (!highLighter_ || lines_.Count() == 0 || index >= known_) return;
    if (known_ != INT_MAX) --known_;
    if (RestartAtTop(index)) return;
    LoadStored(index - 1);
    RescanFrom(index - 1);
}

int TRangeStates::LineChanged(int index) {
    if (!highLighter_ || index >= known_) return index;
    LoadStored(index);
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
    known_ = INT_MAX;
}

int TRangeStates::RescanFrom(int index) {
    const int limit = std::min(lines_.Count(), known_);
    if (index >= limit - 1) return index;
    ScanLine(index);
    int k = index + 1;
    for (; k < limit; ++k) {
        if (StoredStateEquals(k)) break;
        StoreState(k);
        ScanLine(k);
    }
    return k - 1;
}

} // namespace ondrex
