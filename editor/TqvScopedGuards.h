#pragma once
// The editor's paired calls as scoped guards: the paint lock and the text drawer's canvas
// here, the line list's update and loading brackets beside the list (TqvEditList.h).

#include "editor/TqvCustomEdit.h"
#include "editor/TqvEditList.h"
#include "editor/TuzTextDrawer.h"
#include "platform/ScopedGuard.h"

namespace ondrex {

// Caret, scroll-bar and status updates wait until the outermost lock ends.
using TqvPaintLock =
    TScopedPair<TqvCustomEdit, &TqvCustomEdit::LockPaint, &TqvCustomEdit::UnlockPaint>;

// The drawer draws on the canvas given until the scope ends.
using TuzDrawerBinding =
    TScopedPair<TuzTextDrawer, &TuzTextDrawer::BindContext, &TuzTextDrawer::UnbindContext>;

} // namespace ondrex
