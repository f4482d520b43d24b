// The HTML list box painted with real fonts into a picture, as it shows on screen. With
// ONDREX_SCREENSHOT_DIR set, the picture is also saved there as htmllistbox.png.

#include "controls/THTMListbox.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "platform/SystemColors.h"
#include "platform/testing/TestControlHost.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ondrex;

namespace {

// Pixels of `r` within `tolerance` of `color` in each component (text is antialiased).
int CountIn(const TBitmap& b, const TRect& r, TColor color, int tolerance = 0) {
    const auto near = [tolerance](int a, int c) {
        return a >= c - tolerance && a <= c + tolerance;
    };
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor p = b.Pixel(x, y);
            n += near(GetRValue(p), GetRValue(color)) && near(GetGValue(p), GetGValue(color)) &&
                 near(GetBValue(p), GetBValue(color));
        }
    return n;
}

// A 16 x 16 green square with a purple border.
TBitmap Picture() {
    TBitmap picture(16, 16);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clPurple;
    c.FillRect({0, 0, 16, 16});
    c.Brush.Color = clLime;
    c.FillRect({2, 2, 14, 14});
    return picture;
}

} // namespace

TEST(HtmlListboxOnScreen, DrawsLinksColoursAndPictures) {
    TImageList images(16, 16);
    images.Add(Picture());
    THTMListbox list;
    list.Font.SetName("Tahoma");
    list.Font.SetSize(9);
    list.SetBounds(0, 0, 320, 150);
    TTestControlHost host(list);
    list.SetImages(&images);
    list.SetMultiline(true);
    list.Items().Add("<img src=\"idx:0\"> <b>Function</b> Main <a "
                     "href=\"https://example.org\">example.org</a>");
    list.Items().Add("<font color=\"clred\">red</font> <font color=\"#0060C0\" "
                     "bgcolor=\"clyellow\">on yellow</font> <i>italic</i> <u>underlined</u>");
    list.Items().Add("<a href=\"mailto:me@example.org\">mail me</a> or <a href=\"next\">go "
                     "on</a> (selected)");
    list.Items().Add("<P center>centred<BR><font face=\"Courier New\" size=\"12\">Sub "
                     "Large</font><hr>");
    list.SetItemIndex(2);

    TBitmap shot(list.Width(), list.Height());
    host.SendPaint(shot.Canvas(), list.ClientRect());
    if (const char* dir = std::getenv("ONDREX_SCREENSHOT_DIR"))
        shot.SaveToFile(std::string(dir) + "/htmllistbox.png");

    const TRect first = list.ItemRect(0);
    const TRect second = list.ItemRect(1);
    const TRect third = list.ItemRect(2);
    EXPECT_GT(CountIn(shot, first, clBlue), 10) << "the link in the link colour";
    EXPECT_EQ(CountIn(shot, first, clLime), 12 * 12) << "the picture from the image list";
    EXPECT_GT(CountIn(shot, second, clRed, 60), 10);
    EXPECT_GT(CountIn(shot, second, clYellow), 50) << "the background behind the text";
    EXPECT_GT(CountIn(shot, third, ColorToRGB(clHighlight)), third.Width() * third.Height() / 2);
    EXPECT_EQ(CountIn(shot, third, clBlue), 0) << "links of a selected item are not blue";
    EXPECT_GT(list.ItemHeightOf(3), 2 * list.ItemHeightOf(1) - 8) << "two lines";
    const TRect fourth = list.ItemRect(3);
    EXPECT_GT(CountIn(shot, {0, fourth.Bottom - 3, fourth.Right, fourth.Bottom - 2}, clBlack),
              fourth.Width() / 3)
        << "the rule below the last line";
}
