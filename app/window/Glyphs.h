#pragma once
// The window's pictures. Button glyphs come from the desktop's icon theme by their standard
// names; where the theme has none (or no theme is installed) our own drawings stand in, so
// the window looks complete anywhere.

#include <QIcon>
#include <QPixmap>

namespace ondrex::window {

enum class TGlyph { Open, Parse, Find, Print, Copy, Quit, Lock, Ok, Close };

// The theme's icon for the glyph, else our own.
QIcon Glyph(TGlyph glyph);
// Our own drawing only (what Glyph falls back to).
QIcon OwnGlyph(TGlyph glyph);
// The framed picture of the three dialogs, 81 x 113.
QPixmap DialogPicture();
// ListView2's state images, 16 x 16: 0 Dim, 1 Sub, 2 Function and Call, 3 If/ElseIf/Else.
QPixmap StateImage(int index);

} // namespace ondrex::window
