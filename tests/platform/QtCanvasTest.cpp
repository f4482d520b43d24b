// The Qt canvas, drawing into a bitmap (a QImage underneath) and checked pixel by pixel.

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ondrex;

namespace {

// Pixels of `r` that are not `background`.
int InkIn(const TBitmap& b, const TRect& r, TColor background = clWhite) {
    int ink = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            ink += b.Pixel(x, y) != background;
    return ink;
}

int CountOf(const TBitmap& b, TColor color) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            n += b.Pixel(x, y) == color;
    return n;
}

} // namespace

TEST(QtCanvasShapes, FillAndFrameAreExact) {
    TBitmap b(20, 20);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clRed;
    c.FillRect({2, 3, 6, 8});
    EXPECT_EQ(CountOf(b, clRed), 4 * 5);
    EXPECT_EQ(b.Pixel(2, 3), clRed);
    EXPECT_EQ(b.Pixel(5, 7), clRed);
    EXPECT_EQ(b.Pixel(6, 7), clWhite);

    c.Brush.Color = clBtnShadow; // a system colour, resolved when drawn
    c.FrameRect({10, 10, 15, 14});
    EXPECT_EQ(CountOf(b, RGB(128, 128, 128)), 2 * 5 + 2 * 2);
    EXPECT_EQ(b.Pixel(12, 12), clWhite);

    c.Brush.Style = TBrushStyle::bsClear;
    c.FillRect({0, 0, 20, 20});
    c.Brush = {clNone};
    c.FillRect({0, 0, 20, 20});
    EXPECT_EQ(CountOf(b, clRed), 20);
}

TEST(QtCanvasShapes, LinesLeaveOutTheirEndPoint) {
    TBitmap b(20, 20);
    TCanvas& c = b.Canvas();
    c.MoveTo(1, 1);
    c.LineTo(6, 1);
    EXPECT_EQ(b.Pixel(1, 1), clBlack);
    EXPECT_EQ(b.Pixel(5, 1), clBlack);
    EXPECT_EQ(b.Pixel(6, 1), clWhite);
    EXPECT_EQ(c.PenPos, (TPoint{6, 1}));

    c.Pen.Color = clBlue;
    const TPoint stroke[] = {{2, 4}, {6, 8}}; // the check box's tick: a diagonal
    c.Polyline(stroke);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(b.Pixel(2 + i, 4 + i), clBlue) << i;
    EXPECT_EQ(b.Pixel(6, 8), clWhite);

    c.MoveTo(10, 15); // backwards: (10, 15) drawn, (7, 15) not
    c.LineTo(7, 15);
    EXPECT_EQ(b.Pixel(10, 15), clBlue);
    EXPECT_EQ(b.Pixel(8, 15), clBlue);
    EXPECT_EQ(b.Pixel(7, 15), clWhite);
    c.MoveTo(12, 12);
    c.LineTo(12, 12); // no length: nothing
    EXPECT_EQ(b.Pixel(12, 12), clWhite);
    c.MoveTo(15, 0);
    c.LineTo(15, 2000000000); // far off the surface: clipped, not walked pixel by pixel
    EXPECT_EQ(b.Pixel(15, 19), clBlue);
    c.MoveTo(std::numeric_limits<int>::max(), 16); // no overflow from end to end
    c.LineTo(std::numeric_limits<int>::min(), 16);
    EXPECT_EQ(b.Pixel(0, 16), clBlue);
    EXPECT_EQ(b.Pixel(19, 16), clBlue);
    c.Pen.Style = TPenStyle::psDot;
    c.MoveTo(0, 18);
    c.LineTo(6, 18);
    EXPECT_EQ(InkIn(b, {0, 18, 7, 19}), 3);

    c.Pen.Style = TPenStyle::psClear;
    c.MoveTo(7, 9);
    c.LineTo(19, 19);
    EXPECT_EQ(InkIn(b, {7, 9, 14, 15}), 0);
}

TEST(QtCanvasShapes, RectangleAndPixels) {
    TBitmap b(10, 10);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clYellow;
    c.Pen.Color = clNavy;
    c.Rectangle({1, 1, 6, 5});
    EXPECT_EQ(b.Pixel(1, 1), clNavy);
    EXPECT_EQ(b.Pixel(5, 4), clNavy);
    EXPECT_EQ(b.Pixel(3, 2), clYellow);
    EXPECT_EQ(b.Pixel(6, 5), clWhite);

    c.SetPixel(8, 8, clLime);
    EXPECT_EQ(c.GetPixel(8, 8), clLime);
    EXPECT_EQ(c.GetPixel(-1, 3), clNone);
    EXPECT_EQ(c.GetPixel(10, 0), clNone);
}

TEST(QtCanvasState, ClipAndSaveRestore) {
    TBitmap b(20, 20);
    TCanvas& c = b.Canvas();
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 20, 20}));
    c.Save();
    c.IntersectClipRect({5, 5, 10, 10});
    c.Brush.Color = clRed;
    c.FillRect({0, 0, 20, 20});
    EXPECT_EQ(CountOf(b, clRed), 25);
    c.Restore();
    EXPECT_EQ(c.Brush.Color, clWhite);
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 20, 20}));
    c.Restore(); // unbalanced: ignored
    c.Brush.Color = clBlue;
    c.FillRect({0, 0, 20, 20});
    EXPECT_EQ(CountOf(b, clBlue), 400);

    c.IntersectClipRect({30, 30, 40, 40}); // outside: nothing may be drawn any more
    c.Brush.Color = clRed;
    c.FillRect({0, 0, 20, 20});
    EXPECT_EQ(CountOf(b, clRed), 0);
}

TEST(QtCanvasText, OpaqueClippedOutputYellowOnBlue) {
    TBitmap b(120, 30);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Courier New", -13);
    c.Font.SetColor(clYellow);
    c.BkColor = clBlue;
    const TRect row{10, 5, 90, 20};
    const std::vector<int> advances(5, 8);
    c.ExtTextOut(10, 5, ETO_OPAQUE | ETO_CLIPPED, &row, "Dim x", advances);
    EXPECT_EQ(InkIn(b, row), row.Width() * row.Height()); // every pixel painted
    EXPECT_EQ(InkIn(b, {0, 0, 120, 5}), 0);
    EXPECT_EQ(InkIn(b, {90, 0, 120, 30}), 0);
    EXPECT_EQ(InkIn(b, {0, 20, 120, 30}), 0);
    int yellowish = 0; // glyph edges are smoothed towards the blue
    for (int y = row.Top; y < row.Bottom; ++y)
        for (int x = row.Left; x < row.Right; ++x)
            yellowish += GetRValue(b.Pixel(x, y)) >= 128 && GetBValue(b.Pixel(x, y)) < 128;
    EXPECT_GT(yellowish, 10);
    EXPECT_GT(CountOf(b, clBlue), 400);
}

TEST(QtCanvasText, AdvancesPlaceEveryGlyph) {
    TBitmap b(100, 20);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Courier New", -13);
    c.Font.SetColor(clBlack);
    c.BkMode = TBkMode::bkTransparent;
    const int advances[] = {30, 30, 30};
    c.ExtTextOut(0, 0, 0, nullptr, "MMM", advances);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(InkIn(b, {30 * i, 0, 30 * i + 9, 20}), 5) << i;
        EXPECT_EQ(InkIn(b, {30 * i + 10, 0, 30 * i + 29, 20}), 0) << i;
    }
}

TEST(QtCanvasText, MultiByteCharacterTakesItsBytesCells) {
    TBitmap b(60, 20);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Courier New", -13);
    c.BkMode = TBkMode::bkTransparent;
    const int advances[] = {8, 8, 8, 8}; // "é" is two bytes: two cells, glyph in the first
    c.ExtTextOut(0, 0, 0, nullptr, "\xC3\xA9xM", advances);
    EXPECT_GT(InkIn(b, {0, 0, 8, 20}), 3);
    EXPECT_EQ(InkIn(b, {8, 0, 16, 20}), 0);
    EXPECT_GT(InkIn(b, {16, 0, 24, 20}), 3);
    EXPECT_GT(InkIn(b, {24, 0, 32, 20}), 3);
}

TEST(QtCanvasText, TransparentAndOpaqueBackgroundModes) {
    TBitmap b(60, 20);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Courier New", -13);
    c.BkColor = clRed;
    c.BkMode = TBkMode::bkTransparent;
    c.TextOut(0, 0, "ab");
    EXPECT_EQ(CountOf(b, clRed), 0);
    c.BkMode = TBkMode::bkOpaque;
    c.TextOut(0, 0, "ab");
    EXPECT_GT(CountOf(b, clRed), 100);
    EXPECT_EQ(InkIn(b, {16, 0, 60, 20}), 0);
}

TEST(QtCanvasText, DrawTextWrapsOnPixels) {
    TBitmap b(200, 80);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Courier New", -13);
    c.BkMode = TBkMode::bkTransparent;
    TRect r{0, 0, 60, 80};
    const int height = c.DrawText("aaa bbb ccc", r, DT_WORDBREAK | DT_CALCRECT);
    const int line = c.GetTextMetrics().Height;
    EXPECT_EQ(height, 2 * line);
    EXPECT_EQ(r, (TRect{0, 0, 56, 2 * line}));
    TRect box{0, 0, 60, 80};
    c.DrawText("aaa bbb ccc", box, DT_WORDBREAK);
    EXPECT_GT(InkIn(b, {0, line, 24, 2 * line}), 5); // "ccc" on the second row
    EXPECT_EQ(InkIn(b, {0, 2 * line, 200, 80}), 0);  // no third row
    EXPECT_EQ(InkIn(b, {60, 0, 200, 80}), 0);
}

TEST(QtCanvasText, FocusRectTwiceRestores) {
    TBitmap b(20, 20);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clTeal;
    c.FillRect({0, 0, 20, 20});
    c.DrawFocusRect({2, 2, 12, 9});
    const int changed = 400 - CountOf(b, clTeal);
    EXPECT_GT(changed, 10);
    EXPECT_LT(changed, 2 * (10 + 7));
    EXPECT_EQ(InkIn(b, {3, 3, 11, 8}, clTeal), 0);
    c.DrawFocusRect({2, 2, 12, 9});
    EXPECT_EQ(CountOf(b, clTeal), 400);
}

TEST(QtCanvasPictures, BitmapsBlendByAlphaAndTransparentColour) {
    TBitmap picture(4, 4);
    picture.Canvas().Brush.Color = clRed;
    picture.Canvas().FillRect({0, 0, 4, 4});
    picture.ScanLine(0)[0] = 0; // fully transparent corner

    TBitmap b(10, 10);
    b.Canvas().DrawBitmap(2, 2, picture, {0, 0, 4, 4});
    EXPECT_EQ(b.Pixel(2, 2), clWhite);
    EXPECT_EQ(b.Pixel(3, 2), clRed);
    EXPECT_EQ(b.Pixel(5, 5), clRed);
    EXPECT_EQ(b.Pixel(6, 6), clWhite);

    TBitmap keyed(3, 1);
    keyed.SetPixel(0, 0, clFuchsia);
    keyed.SetPixel(1, 0, clGreen);
    keyed.SetPixel(2, 0, clFuchsia);
    keyed.Transparent = true;
    keyed.TransparentColor = clFuchsia;
    TBitmap target(3, 1);
    target.Canvas().Draw(0, 0, keyed);
    EXPECT_EQ(target.Pixel(0, 0), clWhite);
    EXPECT_EQ(target.Pixel(1, 0), clGreen);
    EXPECT_EQ(target.Pixel(2, 0), clWhite);
}

TEST(QtCanvasPictures, BrushBitmapTiles) {
    TBitmap tile(2, 1);
    tile.SetPixel(0, 0, clBlack);
    TBitmap b(6, 2);
    b.Canvas().Brush.Bitmap = &tile;
    b.Canvas().FillRect({0, 0, 6, 2});
    EXPECT_EQ(CountOf(b, clBlack), 6);
    EXPECT_EQ(b.Pixel(4, 1), clBlack);
    EXPECT_EQ(b.Pixel(5, 1), clWhite);
}

TEST(QtCanvasText, UnderlineFollowsTheGivenAdvances) {
    TBitmap b(60, 20);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Courier New", -13, fsUnderline);
    c.BkMode = TBkMode::bkTransparent;
    const int advances[] = {12, 12, 12};
    c.ExtTextOut(0, 0, 0, nullptr, "a_c", advances);
    int longest = 0; // the longest inked row below the baseline
    const int baseline = c.GetTextMetrics().Ascent;
    for (int y = baseline; y < 20; ++y)
        longest = std::max(longest, InkIn(b, {0, y, 60, y + 1}));
    EXPECT_GE(longest, 30);
    EXPECT_EQ(InkIn(b, {40, 0, 60, 20}), 0);
}

TEST(QtCanvasText, CharactersTheFaceLacksComeFromAFallbackAtTheirAdvance) {
    TBitmap b(80, 20);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Courier New", -13);
    c.BkMode = TBkMode::bkTransparent;
    // x, an Arabic letter and a CJK ideograph (wide: two cells), x
    const std::string text = "x\xD8\xB5\xE4\xB8\xAD"
                             "x";
    const int advances[] = {10, 10, 0, 20, 0, 0, 10};
    c.ExtTextOut(0, 0, 0, nullptr, text, advances);
    EXPECT_GT(InkIn(b, {10, 0, 20, 20}), 3) << "the Arabic letter";
    EXPECT_GT(InkIn(b, {20, 0, 40, 20}), 10) << "the ideograph";
    EXPECT_GT(InkIn(b, {40, 0, 50, 20}), 3) << "x after them";
    EXPECT_EQ(InkIn(b, {52, 0, 80, 20}), 0);
}

TEST(QtCanvasText, ClippedOutputKeepsTheCanvasClipAfterwards) {
    TBitmap b(60, 20);
    TCanvas& c = b.Canvas();
    c.Font = TFont("Courier New", -13);
    c.BkColor = clBlue;
    c.IntersectClipRect({0, 0, 40, 20});
    const TRect narrow{0, 0, 12, 20};
    const int advances[] = {8, 8, 8};
    c.ExtTextOut(0, 0, ETO_OPAQUE | ETO_CLIPPED, &narrow, "MMM", advances);
    EXPECT_EQ(InkIn(b, {12, 0, 60, 20}), 0) << "text cut at the rectangle";
    c.Brush.Color = clRed;
    c.FillRect({0, 0, 60, 20});
    EXPECT_EQ(CountOf(b, clRed), 40 * 20) << "the canvas clip holds again, and only it";
}
