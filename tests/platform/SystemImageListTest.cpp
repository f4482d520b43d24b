#include "platform/SystemImageList.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ondrex;

TEST(SystemImageList, IconsByWhatAPathIsOrByItsType) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(SystemIconIndex(folder), 1);
    EXPECT_EQ(SystemIconIndex(ONDREX_SOURCE_DIR), 1);

    const int text = SystemIconIndex("/nonexistent/readme.txt");
    EXPECT_EQ(SystemIconIndex("other.txt"), text);
    EXPECT_NE(text, 1);
    EXPECT_EQ(SystemIconIndex("no-such-file-without-type"), 0);

    const TImageList& small = SystemImageList(true);
    const TImageList& large = SystemImageList(false);
    EXPECT_EQ(small.Width(), 16);
    EXPECT_EQ(large.Height(), 32);
    EXPECT_EQ(small.Count(), large.Count());
    EXPECT_LT(text, small.Count());

    int opaque = 0; // a real picture, not an empty square
    const TBitmap folderIcon = large.Image(1);
    for (int y = 0; y < folderIcon.Height(); ++y)
        for (int x = 0; x < folderIcon.Width(); ++x)
            opaque += folderIcon.Pixel(x, y) != clNone;
    EXPECT_GT(opaque, 100);
}
