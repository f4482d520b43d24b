#pragma once
// The editor's paired calls as scoped guards: the paint lock here, the line list's update and
// loading brackets beside the list (TqvEditList.h).

#include "editor/TqvCustomEdit.h"
#include "editor/TqvEditList.h"
#include "platform/ScopedGuard.h"

namespace ondrex {

// Caret, scroll-bar and status updates wait until the outermost lock ends.
using TqvPaintLock =
    TScopedPair<TqvCustomEdit, &TqvCustomEdit::LockPaint, &TqvCustomEdit::UnlockPaint>;

} // namespace ondrex
