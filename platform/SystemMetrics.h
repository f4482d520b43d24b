#pragma once
// Desktop-wide measures and settings the controls consult, read from the running desktop.

#include "platform/Geometry.h"

namespace ondrex {

enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXDRAG = 68, // pointer travel that turns a press into a drag
    SM_CYDRAG = 69,
};

// The value of one of the measures above; 0 for an unknown index.
int GetSystemMetrics(int index);

// Lines one wheel notch scrolls; -1 would mean "a page" (the desktop never reports it here,
// callers still handle it).
int WheelScrollLines();

// The caret's blink half-period in milliseconds; 0 means no blinking.
int CaretBlinkTime();

// The mouse pointer in screen pixels.
TPoint GetCursorPos();

// The whole area, in desktop pixels, of the screen that shows `p` (the nearest screen
// when none does). Screens side by side each have their own.
TRect ScreenRectAt(TPoint p);

} // namespace ondrex
