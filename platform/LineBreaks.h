#pragma once
// How a block of text falls into lines: a line ends at CR, at LF, or at CR LF taken as one
// break; a block that ends in a break yields no extra empty line; every other byte (NUL and
// Ctrl+Z included) belongs to its line. The line list (TqvEditList), the editor's commands,
// the scanner and the print buffer all split with this, so the scanner's line numbers always
// name the editor's lines.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ondrex {

// Calls f(line) for every line of the block, in order: the same lines as TLineSplitter, found
// sixteen bytes at a time where the processor allows.
template <class F> void ForEachLine(std::string_view block, F&& f) {
    const char* b = block.data();
    const std::size_t n = block.size();
    std::size_t start = 0; // start of the current line
    std::size_t i = 0;
    auto brk = [&](std::size_t pos) {
        f(std::string_view(b + start, pos - start));
        start = (b[pos] == '\r' && pos + 1 < n && b[pos + 1] == '\n') ? pos + 2 : pos + 1;
    };
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        unsigned m =
            unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
        while (m) {
            std::size_t pos = i + std::size_t(std::countr_zero(m));
            m &= m - 1;
            if (pos >= start) brk(pos); // else: the LF of a CR LF already taken
        }
    }
#endif
    for (; i < n; ++i)
        if (i >= start && (b[i] == '\n' || b[i] == '\r')) brk(i);
    if (start < n) f(std::string_view(b + start, n - start));
}

// The first CR or LF in [p, end), or end. Eight bytes at a time.
inline const char* FindLineBreak(const char* p, const char* end) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    while (end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        std::uint64_t a = w ^ (ones * '\n');
        std::uint64_t b = w ^ (ones * '\r');
        if (const std::uint64_t found = ((a - ones) & ~a & highs) | ((b - ones) & ~b & highs)) {
            // The lowest bit set marks the first break exactly (bits above it may be false).
            if constexpr (std::endian::native == std::endian::little)
                return p + std::countr_zero(found) / 8;
            break;
        }
        p += 8;
    }
    while (p < end && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

// Where a run of whole lines from `from` ends that holds about `to - from` bytes: after the
// last line break in b[from, to), else after the first one from `to` on (a long line), else
// at n. A CR LF pair is never split.
inline std::size_t WholeLinesEnd(const char* b, std::size_t n, std::size_t from, std::size_t to) {
    if (to >= n) return n;
    for (std::size_t k = to; k > from; --k) {
        const char c = b[k - 1];
        if (c == '\n') return k;
        if (c == '\r') return (k < n && b[k] == '\n') ? k + 1 : k;
    }
    const std::size_t next = std::size_t(FindLineBreak(b + to, b + n) - b);
    if (next >= n) return n;
    return (b[next] == '\r' && next + 1 < n && b[next + 1] == '\n') ? next + 2 : next + 1;
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

// The number of line breaks in the block: LF, and CR not followed by LF.
inline std::size_t CountLineBreaks(std::string_view block) {
    const char* b = block.data();
    const std::size_t n = block.size();
    std::size_t breaks = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; i + 17 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i + 1));
        __m128i brk = _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_andnot_si128(_mm_cmpeq_epi8(next, lf),
                                                                           _mm_cmpeq_epi8(v, cr)));
        unsigned m = unsigned(_mm_movemask_epi8(brk));
        while (m) { // breaks are sparse: clearing bit by bit beats a table here
            ++breaks;
            m &= m - 1;
        }
    }
#endif
    for (; i < n; ++i)
        breaks += b[i] == '\n' || (b[i] == '\r' && !(i + 1 < n && b[i + 1] == '\n'));
    return breaks;
}

inline bool EndsInLineBreak(std::string_view block) {
    return !block.empty() && (block.back() == '\n' || block.back() == '\r');
}

// The number of lines TLineSplitter yields for the block: its breaks, plus one when the
// block does not end in a break.
inline std::size_t CountLines(std::string_view block) {
    if (block.empty()) return 0;
    return CountLineBreaks(block) + (EndsInLineBreak(block) ? 0 : 1);
}

} // namespace ondrex
