// The editor in a real (offscreen) Qt window with the screen fonts: the pixels of a grab
// show the application's caret line yellow on blue across the whole width, and selected
// text on it blue on yellow.

#include "EditorTestSupport.h"
#include "highlighters/zkVBSSyn.h"
#include "platform/Bitmap.h"
#include "platform/qt/QtControlHost.h"

#include <gtest/gtest.h>

namespace ondrex {
namespace {

// Yellow and blue, or a glyph edge blended between them.
bool YellowOrBlue(TColor c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return r == g && r + b >= 250 && r + b <= 260;
}

TEST(EditorOnScreen, CaretLineYellowOnBlueAndSelectedTextBlueOnYellow) {
    TzkVbsSyn vbs;
    TqvCustomEdit edit;
    test::YellowOnBlueLine marker{2};
    marker.Attach(edit);
    edit.SetBounds(0, 0, 400, 120);
    edit.SetScrollBars(ssNone);
    TQtControlHost host(edit);
    edit.SetHighLighter(&vbs);
    edit.SetText("Dim a\nDim total = count + 1 ' sum\nx = 2");
    edit.SetSelectionStart({5, 2});
    edit.SetSelectionEnd({10, 2}); // "total"

    const TBitmap shot = host.Grab();
    ASSERT_EQ(shot.Width(), 400);
    const int top = edit.LineHeight(), bottom = 2 * edit.LineHeight();
    const int selLeft = edit.RowColumnToPixels({5, 2}).X;
    const int selRight = edit.RowColumnToPixels({10, 2}).X;
    int yellow = 0, blueInside = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = edit.GutterWidth() + 2; x < shot.Width(); ++x) {
            const TColor c = shot.Pixel(x, y);
            ASSERT_TRUE(YellowOrBlue(c)) << "x " << x << " y " << y << " colour " << c;
            if (x >= selLeft && x < selRight) {
                yellow += c == clYellow;
                blueInside += GetBValue(c) > GetRValue(c); // glyph pixels, smoothed
            }
        }
    EXPECT_GT(yellow, blueInside) << "the selection's background is yellow";
    EXPECT_GT(blueInside, 20) << "and its letters blue";
    EXPECT_EQ(shot.Pixel(shot.Width() - 2, top + 2), clBlue) << "blue up to the right edge";
    EXPECT_NE(shot.Pixel(shot.Width() - 2, bottom + 2), clBlue) << "other lines are not";
    edit.SetHighLighter(nullptr);
}

} // namespace
} // namespace ondrex
