#include "platform/SystemColors.h"

#include <gtest/gtest.h>

using namespace ondrex;

TEST(SystemColors, ClassicDefaults) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), clWhite);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), clBlack);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
}

TEST(SystemColors, ResolvedWhenDrawn) {
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(10, 36, 106));
    EXPECT_EQ(ColorToRGB(clSystemColor | COLOR_BTNHIGHLIGHT), clWhite);
    EXPECT_EQ(ColorToRGB(clYellow), clYellow);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(clNone));
    EXPECT_FALSE(IsSystemColor(clBlue));
}

TEST(SystemColors, IndexOutsideTableFallsBackToBlack) {
    EXPECT_EQ(GetSysColor(-1), clBlack);
    EXPECT_EQ(GetSysColor(COLOR_ENDCOLORS + 1), clBlack);
    EXPECT_EQ(GetSysColor(1 << 30), clBlack);
    EXPECT_EQ(ColorToRGB(clSystemColor | 0x00FFFFFF), clBlack);
    EXPECT_EQ(ColorToRGB(clSystemColor | 0x100), clBlack); // not index 0 by its low byte
}
