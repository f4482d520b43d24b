// The flat check box and the flat hint drawn through the real canvas into a picture.

#include "controls/TFlatCheckBox.h"
#include "controls/TFlatHint.h"
#include "controls/TFlatHintWindow.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/testing/TestControlHost.h"

#include <gtest/gtest.h>

using namespace ondrex;

namespace {

TBitmap Render(TCustomControl& control, TTestControlHost& host) {
    TBitmap picture(control.Width(), control.Height());
    host.SendPaint(picture.Canvas(), control.ClientRect());
    return picture;
}

// True when some pixel of `area` differs from `background`.
bool HasInk(const TBitmap& picture, const TRect& area, TColor background) {
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (picture.Pixel(x, y) != background) return true;
    return false;
}

} // namespace

TEST(FlatControlsPixels, CheckBoxSquareTickAndWrappedCaption) {
    TFlatCheckBox box;
    TTestControlHost host(box);
    box.SetBounds(0, 0, 70, 34);
    box.SetCaption("Include function calls");
    box.SetChecked(true);
    const TBitmap picture = Render(box, host);
    const TColor face = box.Color();
    EXPECT_EQ(picture.Pixel(0, 0), face);
    EXPECT_EQ(picture.Pixel(1, 3), box.ColorBorder()); // the square's corners
    EXPECT_EQ(picture.Pixel(11, 13), box.ColorBorder());
    EXPECT_EQ(picture.Pixel(12, 14), face);
    EXPECT_EQ(picture.Pixel(2, 4), face);    // inside, off the tick
    EXPECT_EQ(picture.Pixel(3, 7), clBlack); // the tick's first stroke
    EXPECT_EQ(picture.Pixel(6, 10), clBlack);
    EXPECT_EQ(picture.Pixel(9, 5), clBlack); // the long stroke's top
    EXPECT_EQ(picture.Pixel(10, 4), face);
    // Too wide for one line at 70 pixels: the caption takes a second line.
    EXPECT_TRUE(HasInk(picture, Rect(16, 1, 69, 14), face));
    EXPECT_TRUE(HasInk(picture, Rect(16, 16, 69, 33), face));
    EXPECT_FALSE(HasInk(picture, Rect(13, 0, 16, 34), face)); // nothing between box and text
}

TEST(FlatControlsPixels, HintFrameStripArrowAndText) {
    TFlatHint flat;
    TFlatHintWindow window;
    TTestControlHost host(window);
    window.ActivateHintAt({}, "Find function / Sub", {100, 100}, {0, 0, 1024, 768});
    const TBitmap picture = Render(window, host);
    const int w = window.Width(), h = window.Height();
    for (TPoint p : {TPoint{0, 0}, TPoint{w - 1, 0}, TPoint{0, h - 1}, TPoint{w - 1, h - 1}})
        EXPECT_EQ(picture.Pixel(p.X, p.Y), clBlack) << p.X << "," << p.Y;
    EXPECT_EQ(picture.Pixel(12, h - 3), 0x53D2FFu);  // the strip, below the arrow
    EXPECT_EQ(picture.Pixel(3, 3), clBlack);         // the arrow's head
    EXPECT_EQ(picture.Pixel(w - 3, h - 3), clWhite); // the text area
    EXPECT_TRUE(HasInk(picture, Rect(18, 2, w - 4, h - 2), clWhite));
}
