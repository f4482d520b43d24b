#include "editor/TqvInternalImage.h"

#include "platform/Bitmap.h"
#include "platform/testing/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace ondrex {
namespace {

TEST(BookmarkPictures, StripHoldsTenPicturesOfElevenByFourteen) {
    TqvInternalImage images;
    EXPECT_EQ(images.Strip().Width(), 110);
    EXPECT_EQ(images.Width(), 11);
    EXPECT_EQ(images.Height(), 14);
    // Each picture differs from the next by its digit only.
    int differing = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 11; ++x)
            differing += images.Strip().Pixel(x, y) != images.Strip().Pixel(11 + x, y);
    EXPECT_GT(differing, 0);
    EXPECT_LT(differing, 15);
    // The corners are see-through so the gutter shows around the ribbon.
    EXPECT_EQ(images.Strip().Pixel(0, 0), clNone);
}

TEST(BookmarkPictures, InstancesShareOneStripWhileAnyLives) {
    auto first = std::make_unique<TqvInternalImage>();
    TqvInternalImage second;
    EXPECT_EQ(&first->Strip(), &second.Strip());
    first.reset();
    EXPECT_EQ(second.Strip().Width(), 110);
}

TEST(BookmarkPictures, LowLinesGetTheMiddleBand) {
    TqvInternalImage images;
    TRect source;
    TPoint dest;
    ASSERT_TRUE(images.Placement(3, 2, 40, 10, source, dest));
    EXPECT_EQ(source, Rect(33, 2, 44, 12)); // rows 2 to 11
    EXPECT_EQ(dest, (TPoint{2, 40}));
    ASSERT_TRUE(images.Placement(0, 2, 40, 13, source, dest));
    EXPECT_EQ(source, Rect(0, 0, 11, 13)); // (14 - 13) / 2 rounds to 0
}

TEST(BookmarkPictures, TallLinesGetTheWholePictureCentred) {
    TqvInternalImage images;
    TRect source;
    TPoint dest;
    ASSERT_TRUE(images.Placement(9, 2, 40, 20, source, dest));
    EXPECT_EQ(source, Rect(99, 0, 110, 14));
    EXPECT_EQ(dest, (TPoint{2, 43}));
    ASSERT_TRUE(images.Placement(9, 2, 40, 14, source, dest));
    EXPECT_EQ(dest, (TPoint{2, 40}));
}

TEST(BookmarkPictures, BadIndexOrEmptyLineDrawsNothing) {
    TqvInternalImage images;
    TRecordingCanvas canvas;
    images.Draw(canvas, -1, 0, 0, 16);
    images.Draw(canvas, 10, 0, 0, 16);
    images.Draw(canvas, 1, 0, 0, 0);
    EXPECT_TRUE(canvas.Calls.empty());
    images.Draw(canvas, 1, 5, 16, 16);
    ASSERT_EQ(canvas.CallsOf(TDrawKind::Bitmap).size(), 1u);
    EXPECT_EQ(canvas.Calls[0].Rect, Rect(5, 17, 16, 31));
}

} // namespace
} // namespace ondrex
