#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "platform/SystemColors.h"

#include <gtest/gtest.h>

using namespace ondrex;

namespace {

// A strip of `count` 4 x 4 images: image i is filled with colours[i] except its top-left
// pixel, which is fuchsia (the mask colour).
TBitmap Strip(std::initializer_list<TColor> colours) {
    TBitmap strip(4 * int(colours.size()), 4);
    int i = 0;
    for (TColor c : colours) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                strip.SetPixel(4 * i + x, y, c);
        strip.SetPixel(4 * i, 0, clFuchsia);
        ++i;
    }
    return strip;
}

TBitmap Target(TColor background = clWhite) {
    TBitmap b(10, 10);
    b.Canvas().Brush.Color = background;
    b.Canvas().FillRect({0, 0, 10, 10});
    return b;
}

} // namespace

TEST(ImageList, AddCutsTheStripAndAppliesTheMask) {
    TImageList list(4, 4);
    int changes = 0;
    list.OnChange =
        TNotifyEvent::fromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &changes);
    TBitmap strip = Strip({clRed, clGreen, clBlue});
    strip.SetSize(14, 4); // 3.5 images: the partial one is dropped
    strip = Strip({clRed, clGreen, clBlue});
    TBitmap mask(12, 4);
    mask.Canvas().Brush.Color = clBlack;
    mask.Canvas().FillRect({0, 0, 12, 4});
    mask.SetPixel(5, 1, clWhite); // image 1, pixel (1, 1) transparent
    EXPECT_EQ(list.Add(strip, &mask), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Image(1).Pixel(1, 1), clNone);
    EXPECT_EQ(list.Image(1).Pixel(2, 1), clGreen);
    EXPECT_EQ(list.Image(0).Pixel(0, 0), clFuchsia); // the mask decides, not the colour

    EXPECT_EQ(list.AddMasked(Strip({clYellow}), clFuchsia), 3);
    EXPECT_EQ(list.Image(3).Pixel(0, 0), clNone);
    EXPECT_EQ(list.Image(3).Pixel(1, 0), clYellow);

    EXPECT_EQ(list.Add(TBitmap(3, 4)), -1); // narrower than one image
    list.Delete(0);
    list.Delete(7);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Image(3).Empty());
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(changes, 4);
}

TEST(ImageList, DrawStyles) {
    TImageList list(4, 4);
    list.AddMasked(Strip({clRed}), clFuchsia);

    TBitmap t = Target(clSilver);
    list.Draw(t.Canvas(), 2, 2, 0, ILD_TRANSPARENT, true);
    EXPECT_EQ(t.Pixel(2, 2), clSilver);
    EXPECT_EQ(t.Pixel(3, 2), clRed);

    list.BkColor = clBlue;
    t = Target(clSilver);
    list.Draw(t.Canvas(), 2, 2, 0);
    EXPECT_EQ(t.Pixel(2, 2), clBlue);

    t = Target(clSilver);
    list.Draw(t.Canvas(), 0, 0, 0, ILD_MASK, true);
    EXPECT_EQ(t.Pixel(0, 0), clWhite);
    EXPECT_EQ(t.Pixel(1, 1), clBlack);

    list.BkColor = clNone;
    list.BlendColor = clBlue;
    t = Target();
    list.Draw(t.Canvas(), 0, 0, 0, ILD_SELECTED, true);
    EXPECT_EQ(t.Pixel(1, 1), RGB(128, 0, 127));
    EXPECT_EQ(t.Pixel(0, 0), clWhite);

    t = Target();
    list.Draw(t.Canvas(), 0, 0, 5, ILD_NORMAL, true); // bad index: nothing
    list.Draw(t.Canvas(), 0, 0, -1, ILD_NORMAL, true);
    EXPECT_EQ(t.Pixel(1, 1), clWhite);
}

TEST(ImageList, DisabledImagesAreEmbossedGrey) {
    TImageList list(4, 4);
    list.AddMasked(Strip({clNavy}), clFuchsia);
    TBitmap t = Target(clBtnFace);
    list.Draw(t.Canvas(), 2, 2, 0, false);
    EXPECT_EQ(t.Pixel(3, 3), ColorToRGB(clBtnShadow));
    EXPECT_EQ(t.Pixel(6, 6), ColorToRGB(clBtnHighlight)); // the shadow's edge, one pixel on
    EXPECT_EQ(t.Pixel(2, 2), ColorToRGB(clBtnFace));      // masked out
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_NE(t.Pixel(x, y), clNavy);
}

TEST(ImageList, OverlayDrawnOnTop) {
    TImageList list(4, 4);
    list.AddMasked(Strip({clRed}), clFuchsia);
    TBitmap dot(4, 4);
    dot.Canvas().Brush.Color = clFuchsia;
    dot.Canvas().FillRect({0, 0, 4, 4});
    dot.SetPixel(3, 3, clLime);
    list.AddMasked(dot, clFuchsia);
    EXPECT_TRUE(list.SetOverlayImage(1, 1));
    EXPECT_FALSE(list.SetOverlayImage(1, 5));
    EXPECT_FALSE(list.SetOverlayImage(9, 1));
    TBitmap t = Target();
    list.Draw(t.Canvas(), 0, 0, 0, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1), true);
    EXPECT_EQ(t.Pixel(3, 3), clLime);
    EXPECT_EQ(t.Pixel(2, 2), clRed);
}
