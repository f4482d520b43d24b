#pragma once
// The scanner's first pass: finds, many bytes at a time, every place where one of its
// keywords may end, and counts the line breaks on the way. It looks for all keywords at once
// by a cheap test of the last two or three bytes; the scanner checks each place it reports.
//
// The work is done 32 bytes at a time (AVX2) where the processor has it, else 16 at a time
// (SSE2), else byte by byte. All three give the same answers.

#include <cstddef>

namespace ondrex {

// A byte the filter stops at, so that the scanner can see whether it starts a line.
constexpr char kFilterCtrlZ = 26;

// Whether a keyword may end at `at`, preceded by `oneBack` and `twoBack`: a letter n, b, m, f
// or l followed by a blank (the ends of "FUNCTION ", "SUB ", "DIM ", "IF ", "CALL "), or
// "LSE" (of "ELSE"), letters in either case.
constexpr bool MayEndKeyword(char twoBack, char oneBack, char at) {
    const unsigned one = static_cast<unsigned char>(oneBack) | 0x20u;
    if (at == ' ') return one == 'n' || one == 'b' || one == 'm' || one == 'f' || one == 'l';
    return (static_cast<unsigned char>(at) | 0x20u) == 'e' && one == 's' &&
           (static_cast<unsigned char>(twoBack) | 0x20u) == 'l';
}

enum class TVectorPath { Scalar, Sse2, Avx2 };

// Whether this processor (and build) can take the path; Scalar always can.
bool HasVectorPath(TVectorPath path);
// The widest path this processor can take, chosen once.
TVectorPath BestVectorPath();

struct TFilterHit {
    std::size_t pos = 0;       // the first stop at or after `from`, or n when there is none
    std::size_t breaks = 0;    // line breaks (LF, and CR not followed by LF) in [from, pos)
    std::size_t lineStart = 0; // when breaks > 0: where the line holding pos starts
};

// The first position p in [from, n) where MayEndKeyword(b[p - 2], b[p - 1], b[p]) holds
// (bytes before the block read as LF) or b[p] is a Ctrl+Z. Reads no byte outside [b, b + n).
// The path must be one HasVectorPath allows.
TFilterHit NextFilterHit(const char* b, std::size_t n, std::size_t from,
                         TVectorPath path = BestVectorPath());

} // namespace ondrex
