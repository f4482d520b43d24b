#pragma once
// Where the characters of a stored line stand on screen. Stored lines are bytes and every
// position the editor keeps counts bytes; the screen is a grid of cells. A tab reaches the
// next multiple of the tab width (counted in cells from 0; one cell for widths up to 1), a
// character of the code page takes one cell or two when East Asian wide, and a byte-order
// mark takes none and is not shown. Everything that draws at a position or finds the
// position under a pixel goes through this layout, so the caret, the selection and the
// mouse agree with the drawn characters.
//
// Cells are 0-based. Past the end of the line every byte column is one blank cell. A layout
// may start at a character boundary far along the line (a checkpoint whose cell is known):
// positions stay those of the whole line, and what lies before the start is not looked at.

#include "platform/CodePage.h"

#include <climits>
#include <string_view>
#include <vector>

namespace ondrex {

// Cells a character takes: 0 for the byte-order mark, 2 for East Asian wide and full-width
// characters, 1 for everything else (invalid bytes and controls included).
int CharCellWidth(char32_t codePoint);

// Cells of a tab that starts at `cell`.
inline int TabCells(int cell, int tabWidth) {
    return tabWidth <= 1 ? 1 : tabWidth - cell % tabWidth;
}

// A character boundary of a line and the cell it starts at.
struct TCellCheckpoint {
    int Byte = 0;
    int Cell = 0;
};

class TDisplayCells {
public:
    // Lays the line out until the first character that starts at or beyond cellLimit; the
    // rest is not looked at (a long line costs only what is shown).
    void Layout(std::string_view line, int tabWidth, TCodePage codePage, int cellLimit = INT_MAX,
                TCellCheckpoint from = {});

    // The text as drawn: tabs expanded to blanks, a byte-order mark left out.
    std::string_view Text() const { return text_; }
    // The cell just past the laid-out part, and the byte.
    int Cells() const { return from_.Cell + int(cellText_.size()) - 1; }
    int EndByte() const { return from_.Byte + int(byteCell_.size()) - 1; }
    // Whether layout stopped at cellLimit before the end of the line.
    bool Truncated() const { return truncated_; }

    // The cell where the character holding byte index `byte` starts. Past the end of a
    // complete line one cell per byte; past the laid-out part of a truncated one, Cells();
    // before the layout's start, some cell before it.
    int CellOfByte(int byte) const;
    // The byte index of the character boundary nearest to a fractional cell position (a
    // click in the left half of a character lands before it, in the right half after it).
    // Past the end of a complete line, one byte per cell; before cell 0, byte 0 less the
    // cells; before the layout's start, the byte it starts at.
    int ByteAtCell(double cell) const;
    // Index into Text() of the character covering `cell` (Text().size() past the end).
    int TextIndexOfCell(int cell) const;
    // Index into Text() just past the characters that start before `cell` (a character
    // that `cell` cuts in two counts whole).
    int TextEndOfCell(int cell) const;
    // Index into Text() where the character holding byte index `byte` starts.
    int TextIndexOfByte(int byte) const;
    // The cell where the character holding Text()[index] starts.
    int CellOfTextIndex(int index) const { return textCell_[index]; }
    // Cells of the character that starts at Text()[index]; 0 for its following bytes.
    int CellWidthAt(int index) const { return textWidth_[index]; }

private:
    void AddChar(std::string_view bytes, int byte, int cells);

    TCellCheckpoint from_;
    std::string text_;
    // Indexed from from_.Byte, from_.Cell and the start of text_; cells and bytes held are
    // those of the whole line.
    std::vector<int> byteCell_; // per stored byte, and one for the end
    std::vector<int> byteText_;
    std::vector<int> cellText_; // per cell, and one for the end
    std::vector<int> cellByte_;
    std::vector<int> textCell_; // per display byte, and one for the end
    std::vector<int> textWidth_;
    bool truncated_ = false;
};

} // namespace ondrex
