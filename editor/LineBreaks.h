#pragma once
// How a block of text falls into lines: a line ends at CR, at LF, or at CR LF taken as one
// break; a block that ends in a break yields no extra empty line; every other byte (NUL and
// Ctrl+Z included) belongs to its line. The line list (TqvEditList) and the scanner both
// split with this, so the scanner's line numbers always name the editor's lines.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace ondrex {

// The first CR or LF in [p, end), or end. Eight bytes at a time.
inline const char* FindLineBreak(const char* p, const char* end) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    while (end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        std::uint64_t a = w ^ (ones * '\n');
        std::uint64_t b = w ^ (ones * '\r');
        if (((a - ones) & ~a & highs) | ((b - ones) & ~b & highs)) break;
        p += 8;
    }
    while (p < end && *p != '\n' && *p != '\r') ++p;
    return p;
}

// Walks the lines of a block: while (splitter.Next(line)) ...
class TLineSplitter {
public:
    explicit TLineSplitter(std::string_view block)
        : p_(block.data()), begin_(block.data()), end_(block.data() + block.size()) {}

    // The next line without its terminator; false at the end of the block.
    bool Next(std::string_view& line) {
        if (p_ >= end_) return false;
        const char* e = FindLineBreak(p_, end_);
        line = std::string_view(p_, std::size_t(e - p_));
        if (e < end_) e += (*e == '\r' && e + 1 < end_ && e[1] == '\n') ? 2 : 1;
        p_ = e;
        return true;
    }

    // Byte offset of the next line's start within the block.
    std::size_t Offset() const { return std::size_t(p_ - begin_); }
    bool AtEnd() const { return p_ >= end_; }

private:
    const char* p_;
    const char* begin_;
    const char* end_;
};

// The number of lines TLineSplitter yields for the block.
inline std::size_t CountLines(std::string_view block) {
    std::size_t n = 0;
    TLineSplitter s(block);
    std::string_view line;
    while (s.Next(line)) ++n;
    return n;
}

} // namespace ondrex
