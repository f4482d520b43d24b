#include "editor/DisplayCells.h"

#include "editor/qvSupportProcs.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace ondrex {

namespace {

struct TRange {
    char32_t First;
    char32_t Last;
};

// East Asian Wide and Fullwidth blocks, in order.
constexpr TRange kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18AFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F202}, {0x1F210, 0x1F23B},
    {0x1F240, 0x1F248}, {0x1F250, 0x1F251}, {0x1F260, 0x1F265}, {0x1F300, 0x1F64F},
    {0x1F680, 0x1F6FF}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

constexpr char32_t kByteOrderMark = 0xFEFF;

} // namespace

int CharCellWidth(char32_t codePoint) {
    if (codePoint == kByteOrderMark) return 0;
    if (codePoint < kWide[0].First) return 1;
    const auto it = std::upper_bound(std::begin(kWide), std::end(kWide), codePoint,
                                     [](char32_t c, const TRange& r) { return c < r.First; });
    return it != std::begin(kWide) && codePoint <= std::prev(it)->Last ? 2 : 1;
}

void TDisplayCells::Layout(std::string_view line, int tabWidth, TCodePage codePage, int cellLimit,
                           TCellCheckpoint from) {
    // A layout far into a very long line takes tens of bytes per byte: it is not kept for
    // the short lines that follow.
    constexpr std::size_t kKept = 1 << 16;
    const std::size_t needed =
        std::min(line.size() - std::size_t(from.Byte), std::size_t(std::max(cellLimit, 0))) + 1;
    if (byteCell_.capacity() > kKept && byteCell_.capacity() > 4 * needed) *this = TDisplayCells();
    from_ = from;
    text_.clear();
    byteCell_.clear();
    byteText_.clear();
    cellText_.clear();
    cellByte_.clear();
    textCell_.clear();
    textWidth_.clear();
    truncated_ = false;
    int cell = from.Cell;
    std::size_t pos = std::size_t(from.Byte);
    while (pos < line.size()) {
        if (cell >= cellLimit) {
            truncated_ = true;
            break;
        }
        if (line[pos] == '\t') {
            const int blanks = TabCells(cell, tabWidth);
            byteCell_.push_back(cell);
            byteText_.push_back(int(text_.size()));
            for (int k = 0; k < blanks; ++k)
                AddChar(" ", int(pos), 1);
            cell += blanks;
            ++pos;
            continue;
        }
        const TDecodedChar ch = DecodeChar(codePage, line, pos);
        const int width = CharCellWidth(ch.codePoint);
        for (std::size_t b = 0; b < ch.length; ++b) {
            byteCell_.push_back(cell);
            byteText_.push_back(int(text_.size()));
        }
        if (width > 0) AddChar(line.substr(pos, ch.length), int(pos), width);
        cell += width;
        pos += ch.length;
    }
    byteCell_.push_back(cell);
    byteText_.push_back(int(text_.size()));
    cellText_.push_back(int(text_.size()));
    cellByte_.push_back(int(pos));
    textCell_.push_back(cell);
    textWidth_.push_back(0);
}

void TDisplayCells::AddChar(std::string_view bytes, int byte, int cells) {
    const int start = from_.Cell + int(cellText_.size());
    const int index = int(text_.size());
    for (int k = 0; k < cells; ++k) {
        cellText_.push_back(index);
        cellByte_.push_back(byte);
    }
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        textCell_.push_back(start);
        textWidth_.push_back(k == 0 ? cells : 0);
    }
    text_.append(bytes);
}

int TDisplayCells::CellOfByte(int byte) const {
    if (byte < 0) return byte;
    const int offset = byte - from_.Byte;
    if (offset < 0) return from_.Cell + offset;
    const int laidOut = int(byteCell_.size()) - 1;
    if (offset <= laidOut) return byteCell_[offset];
    return truncated_ ? Cells() : Cells() + (offset - laidOut);
}

int TDisplayCells::ByteAtCell(double cell) const {
    if (cell < 0) return RoundOff(1 + cell) - 1;
    if (cell < from_.Cell) return from_.Byte;
    const int cells = Cells();
    const int index = int(std::floor(cell));
    if (index >= cells) return truncated_ ? EndByte() : EndByte() + RoundOff(cell - cells);
    const auto byteAt = [&](int c) { return cellByte_[c - from_.Cell]; };
    const int byte = byteAt(index);
    const int start = byteCell_[byte - from_.Byte];
    int end = index + 1;
    while (end < cells && byteAt(end) == byte)
        ++end;
    return cell - start < (end - start) / 2.0 ? byte : byteAt(end);
}

int TDisplayCells::TextIndexOfCell(int cell) const {
    if (cell < from_.Cell) return 0;
    if (cell >= Cells()) return int(text_.size());
    return cellText_[cell - from_.Cell];
}

int TDisplayCells::TextEndOfCell(int cell) const {
    int index = TextIndexOfCell(cell);
    if (index < int(text_.size()) && textCell_[index] < cell) {
        ++index;
        while (index < int(text_.size()) && textWidth_[index] == 0)
            ++index;
    }
    return index;
}

int TDisplayCells::TextIndexOfByte(int byte) const {
    const int offset = byte - from_.Byte;
    if (offset < 0) return 0;
    if (offset < int(byteText_.size())) return byteText_[offset];
    return int(text_.size());
}

} // namespace ondrex
