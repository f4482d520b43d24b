#include "editor/qvSupportProcs.h"

#include <gtest/gtest.h>

#include <random>

namespace ondrex {
namespace {

// Column by column, the plain definition of a tab stop.
std::string ExpandByHand(std::string_view line, int tabWidth) {
    std::string out;
    for (char c : line) {
        if (c != '\t') {
            out += c;
        } else if (tabWidth <= 1) {
            out += ' ';
        } else {
            do
                out += ' ';
            while (out.size() % std::size_t(tabWidth) != 0);
        }
    }
    return out;
}

std::string Expand(std::string_view line, int tabWidth) {
    return GetBestConvertTabsProc(tabWidth)(line, tabWidth);
}

TEST(TabExpansion, TabsReachTheNextStop) {
    EXPECT_EQ(Expand("a\tb", 4), "a   b");
    EXPECT_EQ(Expand("ab\tc", 3), "ab c");
    EXPECT_EQ(Expand("abc\td", 3), "abc   d");
    EXPECT_EQ(Expand("\t\tx", 8), std::string(16, ' ') + "x");
    EXPECT_EQ(Expand("x\t", 2), "x ");
    EXPECT_EQ(Expand("no tabs", 4), "no tabs");
    EXPECT_EQ(Expand("", 4), "");
}

TEST(TabExpansion, NarrowWidthsGiveOneBlankPerTab) {
    for (int width : {1, 0, -3}) {
        EXPECT_EQ(Expand("a\t\tb\t", width), "a  b ") << width;
        EXPECT_EQ(ConvertTabs("a\tb", width), "a b") << width;
        EXPECT_EQ(ConvertTabs2n("a\tb", width), "a b") << width;
    }
}

TEST(TabExpansion, ChoiceFollowsTheWidth) {
    EXPECT_EQ(GetBestConvertTabsProc(1), &ConvertTabs1);
    EXPECT_EQ(GetBestConvertTabsProc(2), &ConvertTabs2n);
    EXPECT_EQ(GetBestConvertTabsProc(256), &ConvertTabs2n);
    EXPECT_EQ(GetBestConvertTabsProc(65536), &ConvertTabs2n);
    EXPECT_EQ(GetBestConvertTabsProc(3), &ConvertTabs);
    EXPECT_EQ(GetBestConvertTabsProc(100), &ConvertTabs);
}

TEST(TabExpansion, AllFormsAgreeWithTheDefinition) {
    std::mt19937 random(7);
    const std::string alphabet = "ab \t\t\xC3\xA9";
    for (int round = 0; round < 300; ++round) {
        std::string line;
        for (int i = int(random() % 40); i > 0; --i)
            line += alphabet[random() % alphabet.size()];
        for (int width = 2; width <= 17; ++width) {
            std::string expected = ExpandByHand(line, width);
            EXPECT_EQ(ConvertTabs(line, width), expected);
            EXPECT_EQ(ConvertTabs2n(line, width), expected);
            EXPECT_EQ(Expand(line, width), expected);
        }
    }
}

TEST(TabExpansion, FirstTabPosition) {
    int before = -1;
    EXPECT_TRUE(GetHasTabs("abc\tde\t", before));
    EXPECT_EQ(before, 3);
    EXPECT_TRUE(GetHasTabs("\t", before));
    EXPECT_EQ(before, 0);
    EXPECT_FALSE(GetHasTabs("abcd", before));
    EXPECT_EQ(before, 4);
}

} // namespace
} // namespace ondrex
