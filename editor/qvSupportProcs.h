#pragma once
// Plain routines the editor and the highlighters share: tab expansion, character-set scans,
// integer helpers, a background fill and caret-position ordering.

#include "platform/Geometry.h"

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

namespace ondrex {

class TCanvas;

// ---- Tab expansion ---------------------------------------------------------------------
// Each tab becomes blanks up to the next column that is a multiple of the tab width (1 to
// tabWidth blanks); columns count bytes.

using TConvertTabsProc = std::string (*)(std::string_view line, int tabWidth);

// The expansion fitting the width: one blank per tab for widths up to 1, bit masks for powers
// of two, the general form otherwise.
TConvertTabsProc GetBestConvertTabsProc(int tabWidth);

// ConvertTabs1 puts one blank per tab whatever the width. The other two expand to the width
// and fall back to the form that fits a width they cannot handle (below 2, or not a power of
// two for ConvertTabs2n), so no width divides by zero.
std::string ConvertTabs1(std::string_view line, int tabWidth);
std::string ConvertTabs2n(std::string_view line, int tabWidth);
std::string ConvertTabs(std::string_view line, int tabWidth);

// Whether the line holds a tab; charsBefore receives the count of characters before the
// first one (the whole length when there is none).
bool GetHasTabs(std::string_view line, int& charsBefore);

// ---- Character-set scans -----------------------------------------------------------------

// One flag per byte value.
using TqvCharSet = std::bitset<256>;
TqvCharSet CharSetOf(std::string_view chars);

// From the 1-based position start to the end: the position of the first character in the
// set; 0 when there is none or start lies outside the text.
int StrScanForCharInSet(std::string_view line, int start, const TqvCharSet& chars);
// From start down to 1 (a start beyond the text begins at its last character): the position
// of the first character in the set; 0 when there is none.
int StrRScanForCharInSet(std::string_view line, int start, const TqvCharSet& chars);

// The count of characters before the first zero, line feed or carriage return.
std::size_t StrLineEnd(std::string_view text);

// ---- Integers ----------------------------------------------------------------------------

constexpr int ClampInt(int value, int min, int max) {
    return value < min ? min : (value > max ? max : value);
}
constexpr int MinInt(int a, int b) {
    return a < b ? a : b;
}
constexpr int MaxInt(int a, int b) {
    return a > b ? a : b;
}
constexpr void SwapInt(int& a, int& b) {
    int t = a;
    a = b;
    b = t;
}

// Nearest integer, halves away from zero (2.5 -> 3, -2.5 -> -3).
int RoundOff(double value);

// ---- Drawing ---------------------------------------------------------------------------

// Paints the rectangle in the canvas's background colour (BkColor), not its brush.
void InternalFillRect(TCanvas& canvas, const TRect& rect);

// ---- Caret positions (X = column, Y = line) ---------------------------------------------

// Ordered by line, then column; on a tie the first argument.
TPoint MinPoint(TPoint a, TPoint b);
TPoint MaxPoint(TPoint a, TPoint b);

} // namespace ondrex
