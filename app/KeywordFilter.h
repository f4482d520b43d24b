#pragma once
// The scanner's first pass: finds, many bytes at a time, every place where one of a few short
// keys ends, and counts the line breaks on the way. All keys are looked for at once, and only
// where a key really ends does the scanner look at the line.
//
// A key is one to four bytes; letters match in either case, other bytes exactly. Each byte is
// split into its low and high halves; for each of the last four places of a key, a table per
// half gives, one bit per key, the keys that accept a byte with that half there. A key ends at
// p when its bit survives the AND of the eight lookups for b[p - 3] .. b[p]. With one bit per
// key, and the two cases of a letter differing in the high half only, the test is exact.
//
// The lookups are done 32 bytes at a time (AVX2) where the processor has it, else 16 at a time
// (SSSE3), else byte by byte from the same tables. All three give the same answers.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace ondrex {

// A byte the filter stops at, so that the scanner can see whether it starts a line.
constexpr char kFilterCtrlZ = 26;

constexpr std::size_t kMaxFilterKeys = 8;
constexpr std::size_t kMaxFilterKeyBytes = 4;

struct TFilterKeys {
    // low[j][x]: the keys that accept, j bytes before their end, a byte whose low half is x;
    // high[j][x] the same for the high half. Places before a key's start accept every byte.
    std::uint8_t low[kMaxFilterKeyBytes][16] = {};
    std::uint8_t high[kMaxFilterKeyBytes][16] = {};

    // Keys hold no line break (bytes before a block read as LF).
    constexpr explicit TFilterKeys(std::span<const std::string_view> keys) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const std::uint8_t bit = std::uint8_t(1u << k);
            const std::string_view key = keys[k];
            for (std::size_t j = 0; j < kMaxFilterKeyBytes; ++j) {
                if (j >= key.size()) {
                    for (std::size_t x = 0; x < 16; ++x) {
                        low[j][x] |= bit;
                        high[j][x] |= bit;
                    }
                    continue;
                }
                const unsigned c = static_cast<unsigned char>(key[key.size() - 1 - j]);
                low[j][c & 15] |= bit;
                high[j][c >> 4] |= bit;
                if ((c | 0x20u) >= 'a' && (c | 0x20u) <= 'z') high[j][(c ^ 0x20u) >> 4] |= bit;
            }
        }
    }

    // The keys (one bit each) that end at p; bytes before b read as LF.
    constexpr unsigned EndingAt(const char* b, std::size_t p) const {
        unsigned keys = 0xFF;
        for (std::size_t j = 0; j < kMaxFilterKeyBytes; ++j) {
            const unsigned c = j <= p ? static_cast<unsigned char>(b[p - j]) : '\n';
            keys &= low[j][c & 15] & high[j][c >> 4];
        }
        return keys;
    }
};

enum class TVectorPath { Scalar, Ssse3, Avx2 };

// Whether this processor (and build) can take the path; Scalar always can.
bool HasVectorPath(TVectorPath path);
// The widest path this processor can take, chosen once.
TVectorPath BestVectorPath();

struct TFilterHit {
    std::size_t pos = 0;       // the first stop at or after `from`, or n when there is none
    std::size_t breaks = 0;    // line breaks (LF, and CR not followed by LF) in [from, pos)
    std::size_t lineStart = 0; // when breaks > 0: where the line holding pos starts
};

// The first position p in [from, n) where a key ends or b[p] is a Ctrl+Z. Reads no byte
// outside [b, b + n). The path must be one HasVectorPath allows.
TFilterHit NextFilterHit(const char* b, std::size_t n, std::size_t from, const TFilterKeys& keys,
                         TVectorPath path = BestVectorPath());

// The first CR or LF in [from, n), or n; reads no byte outside [b, b + n).
std::size_t NextLineBreak(const char* b, std::size_t n, std::size_t from,
                          TVectorPath path = BestVectorPath());

} // namespace ondrex
