#pragma once
// Where the characters of a stored line stand on screen. Stored lines are bytes and every
// position the editor keeps counts bytes; the screen is a grid of cells. A tab reaches the
// next multiple of the tab width (counted in cells from 0; one cell for widths up to 1), a
// character of the code page takes one cell or two when East Asian wide, and a byte-order
// mark takes none and is not shown. Everything that draws at a position or finds the
// position under a pixel goes through this layout, so the caret, the selection and the
// mouse agree with the drawn characters.
//
// Cells are 0-based. Past the end of the line every byte column is one blank cell.

#include "platform/CodePage.h"

#include <climits>
#include <string_view>
#include <vector>

namespace ondrex {

// Cells a character takes: 0 for the byte-order mark, 2 for East Asian wide and full-width
// characters, 1 for everything else (invalid bytes and controls included).
int CharCellWidth(char32_t codePoint);

class TDisplayCells {
public:
    // Lays the line out until the first character that starts at or beyond cellLimit; the
    // rest is not looked at (a long line costs only what is shown).
    void Layout(std::string_view line, int tabWidth, TCodePage codePage, int cellLimit = INT_MAX);

    // The text as drawn: tabs expanded to blanks, a byte-order mark left out.
    std::string_view Text() const { return text_; }
    // Cells of the laid-out part.
    int Cells() const { return int(cellText_.size()) - 1; }
    // Whether layout stopped at cellLimit before the end of the line.
    bool Truncated() const { return truncated_; }

    // The cell where the character holding byte index `byte` starts. Past the end of a
    // complete line one cell per byte; past the laid-out part of a truncated one, Cells().
    int CellOfByte(int byte) const;
    // The byte index of the character boundary nearest to a fractional cell position (a
    // click in the left half of a character lands before it, in the right half after it).
    // Past the end of a complete line, one byte per cell; before cell 0, byte 0 less the
    // cells.
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

    std::string text_;
    std::vector<int> byteCell_; // per stored byte, and one for the end
    std::vector<int> byteText_;
    std::vector<int> cellText_; // per cell, and one for the end
    std::vector<int> cellByte_;
    std::vector<int> textCell_; // per display byte, and one for the end
    std::vector<int> textWidth_;
    bool truncated_ = false;
};

} // namespace ondrex
