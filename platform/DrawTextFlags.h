#pragma once
// Flags of TCanvas::DrawText, with the values the components store and combine (0x8824 is
// DT_LEFT/RIGHT/CENTER + DT_SINGLELINE + DT_VCENTER + DT_NOPREFIX + DT_END_ELLIPSIS).

namespace ondrex {

enum : unsigned {
    DT_TOP = 0x0000,
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,    // single line only
    DT_BOTTOM = 0x0008,     // single line only
    DT_WORDBREAK = 0x0010,  // wrap at blanks to the rectangle's width
    DT_SINGLELINE = 0x0020, // line breaks in the text are ignored
    DT_EXPANDTABS = 0x0040, // tabs to the next multiple of 8 average character widths
    DT_NOCLIP = 0x0100,
    DT_EXTERNALLEADING = 0x0200,
    DT_CALCRECT = 0x0400, // measure only: the rectangle becomes the text's extent
    DT_NOPREFIX = 0x0800, // "&" is an ordinary character
    DT_END_ELLIPSIS = 0x8000,
};

// Windows output options of TCanvas::ExtTextOut.
enum : unsigned {
    ETO_OPAQUE = 0x0002,  // fill the rectangle with the background colour first
    ETO_CLIPPED = 0x0004, // clip the text to the rectangle
};

} // namespace ondrex
