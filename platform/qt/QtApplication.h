#pragma once
// Internal to platform/: the one place that makes sure a Qt application object exists, so
// that fonts, images and widgets work in a headless test as well as in the program.

namespace ondrex::qt {

// Creates a QApplication on first use when none exists yet. Without a display it selects
// the offscreen platform; fonts are pinned to 96 dpi so pixel sizes match logical sizes.
void ensureApplication();

} // namespace ondrex::qt
