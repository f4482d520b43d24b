// Byte columns against screen cells: tabs, multi-byte and wide characters, the byte-order
// mark, the blank cells past the end of a line and a layout cut short.

#include "editor/DisplayCells.h"

#include <gtest/gtest.h>

#include <string>

namespace ondrex {
namespace {

constexpr TCodePage U = TCodePage::Utf8;

TEST(DisplayCells, TabsReachTheNextMultipleOfTheWidthInCells) {
    TDisplayCells cells;
    cells.Layout("a\tb\t\tc", 4, U);
    EXPECT_EQ(cells.Text(), "a   b       c");
    EXPECT_EQ(cells.CellOfByte(1), 1); // the tab
    EXPECT_EQ(cells.CellOfByte(2), 4); // b
    EXPECT_EQ(cells.CellOfByte(4), 8); // the second tab fills a whole stop
    EXPECT_EQ(cells.CellOfByte(5), 12);
    EXPECT_EQ(cells.Cells(), 13);

    cells.Layout("ab\tc", 3, U);
    EXPECT_EQ(cells.Text(), "ab c");
    for (int width : {0, 1}) {
        cells.Layout("\t\tx", width, U);
        EXPECT_EQ(cells.Text(), "  x") << "width " << width;
    }
}

TEST(DisplayCells, CharactersTakeOneCellOrTwoWhenWide) {
    TDisplayCells cells;
    // e-acute (2 bytes), euro (3 bytes), a CJK ideograph (3 bytes, wide), x
    const std::string line = "\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD"
                             "x";
    cells.Layout(line, 8, U);
    EXPECT_EQ(cells.Text(), line);
    EXPECT_EQ(cells.CellOfByte(0), 0);
    EXPECT_EQ(cells.CellOfByte(2), 1);
    EXPECT_EQ(cells.CellOfByte(5), 2);
    EXPECT_EQ(cells.CellOfByte(8), 4);
    EXPECT_EQ(cells.CellOfByte(6), 2) << "a byte inside a character is at its start";
    EXPECT_EQ(cells.Cells(), 5);
    EXPECT_EQ(cells.CellWidthAt(5), 2);
    EXPECT_EQ(cells.CellWidthAt(6), 0);
    EXPECT_EQ(cells.TextIndexOfCell(3), 5) << "the right half of the wide character";
    EXPECT_EQ(cells.TextEndOfCell(3), 8) << "a cut wide character counts whole";
    EXPECT_EQ(cells.TextEndOfCell(2), 5);

    // A tab after a wide character counts its two cells.
    cells.Layout("\xE4\xB8\xAD\tz", 4, U);
    EXPECT_EQ(cells.CellOfByte(4), 4);
}

TEST(DisplayCells, InvalidBytesAndWindows1252AreOneCellEach) {
    TDisplayCells cells;
    cells.Layout("a\xFF\xC3z", 8, U);
    EXPECT_EQ(cells.Cells(), 4);
    cells.Layout("\xE9t\xE9", 8, TCodePage::Windows1252);
    EXPECT_EQ(cells.Cells(), 3);
    EXPECT_EQ(cells.CellOfByte(2), 2);
}

TEST(DisplayCells, ByteOrderMarkTakesNoCellAndIsNotShown) {
    TDisplayCells cells;
    cells.Layout("\xEF\xBB\xBF"
                 "abc",
                 8, U);
    EXPECT_EQ(cells.Text(), "abc");
    EXPECT_EQ(cells.CellOfByte(3), 0);
    EXPECT_EQ(cells.TextIndexOfByte(3), 0);
    EXPECT_EQ(cells.ByteAtCell(0.2), 3) << "a click lands on the first shown character";
}

TEST(DisplayCells, PastTheEndEveryByteIsOneCell) {
    TDisplayCells cells;
    cells.Layout("a\tb", 4, U);
    EXPECT_EQ(cells.CellOfByte(3), 5);
    EXPECT_EQ(cells.CellOfByte(10), 12);
    EXPECT_EQ(cells.ByteAtCell(7.4), 5);
    EXPECT_EQ(cells.ByteAtCell(7.5), 6);
    EXPECT_EQ(cells.TextIndexOfByte(10), 5);
}

TEST(DisplayCells, ClicksLandOnTheNearerEdgeOfTheCharacterUnderThem) {
    TDisplayCells cells;
    cells.Layout("a\tb\xE4\xB8\xAD", 8, U); // a, tab to cell 8, b, wide at 9..10
    EXPECT_EQ(cells.ByteAtCell(0.4), 0);
    EXPECT_EQ(cells.ByteAtCell(0.5), 1);
    EXPECT_EQ(cells.ByteAtCell(4.4), 1) << "left half of the tab: before it";
    EXPECT_EQ(cells.ByteAtCell(4.5), 2) << "right half: after it";
    EXPECT_EQ(cells.ByteAtCell(9.9), 3);
    EXPECT_EQ(cells.ByteAtCell(10.0), 6);
    EXPECT_EQ(cells.ByteAtCell(11.4), 6);
    EXPECT_EQ(cells.ByteAtCell(-0.4), 0);
    EXPECT_EQ(cells.ByteAtCell(-1.5), -2) << "left of the text: halves away from zero";
}

TEST(DisplayCells, LayoutStopsAtTheCellLimit) {
    const std::string line(10000, 'x');
    TDisplayCells cells;
    cells.Layout(line, 8, U, 100);
    EXPECT_TRUE(cells.Truncated());
    EXPECT_EQ(cells.Cells(), 100);
    EXPECT_EQ(cells.Text().size(), 100u);
    EXPECT_EQ(cells.CellOfByte(50), 50);
    EXPECT_EQ(cells.CellOfByte(5000), 100) << "beyond the layout: at or past the limit";
    cells.Layout("ab", 8, U, 100);
    EXPECT_FALSE(cells.Truncated());
}

TEST(DisplayCells, WideAndZeroWidthCodePoints) {
    EXPECT_EQ(CharCellWidth(U'a'), 1);
    EXPECT_EQ(CharCellWidth(0xE9), 1);
    EXPECT_EQ(CharCellWidth(0x4E2D), 2);
    EXPECT_EQ(CharCellWidth(0x3042), 2); // hiragana
    EXPECT_EQ(CharCellWidth(0xAC00), 2); // hangul
    EXPECT_EQ(CharCellWidth(0xFF21), 2); // full-width A
    EXPECT_EQ(CharCellWidth(0xFF61), 1); // half-width katakana punctuation
    EXPECT_EQ(CharCellWidth(0x1F600), 2);
    EXPECT_EQ(CharCellWidth(0xFEFF), 0);
    EXPECT_EQ(CharCellWidth(0xFFFD), 1);
    // The last code point of a range is still wide; the one after it is not (or starts
    // another range).
    for (const char32_t last : {0xD7A3, 0x9FFF, 0xFF60})
        EXPECT_EQ(CharCellWidth(last), 2) << std::hex << unsigned(last);
    EXPECT_EQ(CharCellWidth(0xD7A4), 1);
}

} // namespace
} // namespace ondrex
