#pragma once
// Paints one row of the editor's text area through the text drawer: tokens that would look
// the same are merged into one run and drawn in one call, the selected cells are split out
// in the selected colours, and the rest of the row is filled, so that every pixel of the row
// is painted once. Positions are cells of the row's display layout (TDisplayCells).

#include "editor/DisplayCells.h"
#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace ondrex {

class TuzTextDrawer;

// The colours of a row: the line's own and the selected ones. A special row (marked by the
// application) keeps its colours whatever the tokens say.
struct TRowColors {
    TColor Foreground = clBlack;
    TColor Background = clWhite;
    TColor SelectedForeground = clWhite;
    TColor SelectedBackground = clBlack;
    bool Special = false;
};

// Selected cells of a row, [Start, End); Start >= End is no selection. Either end may lie
// outside the painted cells (a selection running on past the row's right edge).
struct TRowSelection {
    int Start = 0;
    int End = 0;
    static TRowSelection All() { return {INT_MIN, INT_MAX}; }
};

// A pixel x that may lie far off screen, brought well inside an int: whatever is placed there
// stays off screen.
inline int PixelX(long long x) {
    return int(std::clamp<long long>(x, INT_MIN / 2, INT_MAX / 2));
}

// What one paint shares between its rows.
struct TPaintFrame {
    int CharWidth = 1;
    // Pixel x of cell 0: far left of the row when it is scrolled along a line of millions of
    // cells, hence 64-bit.
    long long TextOffset = 0;
    int FirstCell = 0; // the painted cells, [FirstCell, LastCell)
    int LastCell = 0;
    int Left = 0; // the painted pixels
    int Right = 0;
    TColor EditorBackground = clWhite;
    TColor FontColor = clBlack;
};

class TRowPainter {
public:
    explicit TRowPainter(TuzTextDrawer& drawer) : drawer_(drawer) {}

    void BeginPaint(const TPaintFrame& frame) { frame_ = frame; }
    void BeginRow(const TDisplayCells& cells, int top, int bottom, const TRowColors& colors,
                  TRowSelection selection);
    // A token: Text() indices [first, last) of the row's layout, reaching to cell endCell
    // (its own last cell, or further when it stands for the blank rest of the row). Colours
    // of clNone fall back to the editor background and the font colour.
    void Add(int first, int last, int endCell, TFontStyles style, TColor foreground,
             TColor background);
    // Draws the pending run; with `fill` the rest of the row as well.
    void Flush(bool fill);

private:
    struct TRun {
        int First = 0; // Text() indices
        int Last = 0;
        int StartCell = 0;
        int EndCell = 0;
        TFontStyles Style = 0;
        TColor Foreground = clNone;
        TColor Background = clNone;
    };
    int X(int cell) const;
    bool OnlyBlanks(int first, int last) const;
    void DrawPart(int from, int to, bool selected);
    void FillTo(int x, bool selected);
    void UseColors(bool selected);

    TuzTextDrawer& drawer_;
    TPaintFrame frame_;
    const TDisplayCells* cells_ = nullptr;
    TRect row_;
    TRowColors colors_;
    int selStart_ = 0; // clipped to the painted cells
    int selEnd_ = 0;
    bool partlySelected_ = false;
    bool fullySelected_ = false;
    bool pending_ = false;
    TRun run_;
    std::vector<int> advances_;
};

} // namespace ondrex
