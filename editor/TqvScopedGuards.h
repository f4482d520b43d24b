#pragma once
// Scoped forms of the editor's paired calls: the paint lock and the line list's update
// bracket end also when an exception passes.

#include "editor/TqvCustomEdit.h"

namespace ondrex {

class TqvPaintLock {
public:
    explicit TqvPaintLock(TqvCustomEdit& edit) : edit_(edit) { edit_.LockPaint(); }
    ~TqvPaintLock() { edit_.UnlockPaint(); }
    TqvPaintLock(const TqvPaintLock&) = delete;
    TqvPaintLock& operator=(const TqvPaintLock&) = delete;

private:
    TqvCustomEdit& edit_;
};

class TqvLinesUpdate {
public:
    explicit TqvLinesUpdate(TqvEditList& lines) : lines_(lines) { lines_.BeginUpdate(); }
    ~TqvLinesUpdate() { lines_.EndUpdate(); }
    TqvLinesUpdate(const TqvLinesUpdate&) = delete;
    TqvLinesUpdate& operator=(const TqvLinesUpdate&) = delete;

private:
    TqvEditList& lines_;
};

} // namespace ondrex
