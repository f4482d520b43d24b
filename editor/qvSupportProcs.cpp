#include "editor/qvSupportProcs.h"

#include "platform/Canvas.h"
#include "platform/DrawTextFlags.h"

#include <cmath>

namespace ondrex {

namespace {

// Both expansions share the one-pass shape: measure, allocate, fill.
template <class NextStop> std::string ExpandWith(std::string_view line, NextStop nextStop) {
    int charsBefore = 0;
    if (!GetHasTabs(line, charsBefore)) return std::string(line);
    std::size_t length = 0;
    for (char c : line)
        length = c == '\t' ? nextStop(length) : length + 1;
    std::string result(length, ' ');
    std::size_t column = 0;
    for (char c : line) {
        if (c == '\t') {
            column = nextStop(column);
        } else {
            result[column++] = c;
        }
    }
    return result;
}

bool IsPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

} // namespace

std::string ConvertTabs1(std::string_view line, int) {
    std::string result(line);
    for (char& c : result)
        if (c == '\t') c = ' ';
    return result;
}

std::string ConvertTabs2n(std::string_view line, int tabWidth) {
    if (!IsPowerOfTwo(tabWidth)) return ConvertTabs(line, tabWidth);
    const std::size_t mask = std::size_t(tabWidth) - 1;
    return ExpandWith(line, [mask](std::size_t column) { return (column | mask) + 1; });
}

std::string ConvertTabs(std::string_view line, int tabWidth) {
    if (tabWidth <= 1) return ConvertTabs1(line, tabWidth);
    const std::size_t width = std::size_t(tabWidth);
    return ExpandWith(line,
                      [width](std::size_t column) { return column + width - column % width; });
}

TConvertTabsProc GetBestConvertTabsProc(int tabWidth) {
    if (tabWidth <= 1) return ConvertTabs1;
    if (IsPowerOfTwo(tabWidth)) return ConvertTabs2n;
    return ConvertTabs;
}

bool GetHasTabs(std::string_view line, int& charsBefore) {
    std::size_t tab = line.find('\t');
    charsBefore = int(tab == std::string_view::npos ? line.size() : tab);
    return tab != std::string_view::npos;
}

TqvCharSet CharSetOf(std::string_view chars) {
    TqvCharSet set;
    for (char c : chars)
        set.set(static_cast<unsigned char>(c));
    return set;
}

int StrScanForCharInSet(std::string_view line, int start, const TqvCharSet& chars) {
    if (start < 1 || std::size_t(start) > line.size()) return 0;
    for (std::size_t i = std::size_t(start) - 1; i < line.size(); ++i)
        if (chars.test(static_cast<unsigned char>(line[i]))) return int(i) + 1;
    return 0;
}

int StrRScanForCharInSet(std::string_view line, int start, const TqvCharSet& chars) {
    for (int i = MinInt(start, int(line.size())); i >= 1; --i)
        if (chars.test(static_cast<unsigned char>(line[std::size_t(i) - 1]))) return i;
    return 0;
}

std::size_t StrLineEnd(std::string_view text) {
    std::size_t end = text.find_first_of(std::string_view("\0\n\r", 3));
    return end == std::string_view::npos ? text.size() : end;
}

int RoundOff(double value) {
    return int(std::lround(value));
}

void InternalFillRect(TCanvas& canvas, const TRect& rect) {
    canvas.ExtTextOut(rect.Left, rect.Top, ETO_OPAQUE, &rect, {}, {});
}

TPoint MinPoint(TPoint a, TPoint b) {
    if (b.Y < a.Y || (b.Y == a.Y && b.X < a.X)) return b;
    return a;
}

TPoint MaxPoint(TPoint a, TPoint b) {
    if (b.Y > a.Y || (b.Y == a.Y && b.X > a.X)) return b;
    return a;
}

} // namespace ondrex
