#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace ondrex;

TEST(Bitmap, PixelsWithoutQt) {
    TBitmap b(3, 2);
    EXPECT_EQ(b.Pixel(2, 1), clWhite);
    b.SetPixel(1, 1, clMaroon);
    EXPECT_EQ(b.Pixel(1, 1), clMaroon);
    EXPECT_EQ(b.ScanLine(1)[1], 0xFF800000u);
    b.SetPixel(3, 0, clRed); // outside: ignored
    b.SetPixel(-1, 0, clRed);
    EXPECT_EQ(b.Pixel(3, 0), clNone);
    EXPECT_EQ(b.Pixel(0, -1), clNone);
    b.SetSize(-4, 5);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Pixel(0, 0), clNone);
    EXPECT_THROW(b.SetSize(1 << 20, 1 << 20), EInvalidGraphic);
}

TEST(Bitmap, CanvasDrawsIntoThePixelsAndCopiesAreIndependent) {
    TBitmap b(8, 8);
    b.Canvas().Brush.Color = clGreen;
    b.Canvas().FillRect({0, 0, 4, 4});
    EXPECT_EQ(b.Pixel(3, 3), clGreen);
    TBitmap copy(b);
    copy.Canvas().Brush.Color = clRed;
    copy.Canvas().FillRect({0, 0, 8, 8});
    EXPECT_EQ(b.Pixel(3, 3), clGreen);
    b.SetSize(2, 2); // a fresh canvas on the new pixels
    b.Canvas().Brush.Color = clBlue;
    b.Canvas().FillRect({0, 0, 8, 8});
    EXPECT_EQ(b.Pixel(1, 1), clBlue);
}

TEST(Bitmap, SaveAndLoadRoundTrip) {
    const auto path = std::filesystem::temp_directory_path() / "ondrex_bitmap_test.png";
    TBitmap b(5, 3);
    b.SetPixel(4, 2, clPurple);
    b.SaveToFile(path.string());
    TBitmap loaded;
    loaded.LoadFromFile(path.string());
    EXPECT_EQ(loaded.Width(), 5);
    EXPECT_EQ(loaded.Height(), 3);
    EXPECT_EQ(loaded.Pixel(4, 2), clPurple);
    std::filesystem::remove(path);
}

TEST(Bitmap, UnreadablePicturesNameFileAndProblem) {
    const auto path = std::filesystem::temp_directory_path() / "ondrex_not_a_picture.bmp";
    std::ofstream(path) << "BM this is no bitmap";
    TBitmap b(2, 2);
    try {
        b.LoadFromFile(path.string());
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(b.Width(), 2); // unchanged
    std::filesystem::remove(path);
    EXPECT_THROW(b.LoadFromFile("/nonexistent/ondrex.bmp"), EInvalidGraphic);
    EXPECT_THROW(b.LoadFromData("xx", 2), EInvalidGraphic);
    EXPECT_THROW(TBitmap().SaveToFile("/nonexistent/x.png"), EInvalidGraphic);
}
