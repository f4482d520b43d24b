#pragma once
// The vector loop of the keyword filter (KeywordFilter.h), written once for any vector width.
// It is included by one source file per instruction set, each with its own vector type, so
// that every copy is compiled for its own set; it therefore includes nothing that could be
// shared between them.
//
// V provides: type `v`, `kWidth` (bytes), load, table (16 bytes, repeated across the vector),
// set1, eq, or_, and_, andnot (~a & b), lookup (each byte of the table at the index below 16),
// highHalves (each byte shifted right by four, not yet masked) and mask (one bit per byte,
// low bit first).

#include <cstddef>
#include <cstdint>

namespace ondrex {

// The filter's tables (TFilterKeys' low and high), passed as they are.
struct TKeyTables {
    const std::uint8_t (*low)[16];
    const std::uint8_t (*high)[16];
};

namespace {

// The block is read once, from memory: asking for the bytes a few pages ahead keeps the
// loop from waiting for each new page (measured: about 6 % of the scan's time).
constexpr std::size_t kReadAhead = 4096;

// From i, a vector at a time while the vector and the byte after it lie in the block (the
// caller guarantees i >= 3 for the bytes looked back). Returns where it stopped: at the first
// stop, with `found` set, or where the vectors end; `breaks` counts the line breaks before
// that place and `lineStart` is moved past the last of them.
template <class V>
inline std::size_t filterVectors(const char* b, std::size_t n, std::size_t i,
                                 const TKeyTables& keys, std::size_t& breaks,
                                 std::size_t& lineStart, bool& found) {
    using v = typename V::v;
    const v halfMask = V::set1(0x0F);
    const v low0 = V::table(keys.low[0]), low1 = V::table(keys.low[1]),
            low2 = V::table(keys.low[2]), low3 = V::table(keys.low[3]);
    const v high0 = V::table(keys.high[0]), high1 = V::table(keys.high[1]),
            high2 = V::table(keys.high[2]), high3 = V::table(keys.high[3]);
    const auto accepted = [&](v bytes, v low, v high) {
        return V::and_(V::lookup(low, V::and_(bytes, halfMask)),
                       V::lookup(high, V::and_(V::highHalves(bytes), halfMask)));
    };
    const v zero = V::set1(0);
    found = false;
    for (; i + V::kWidth < n; i += V::kWidth) {
        __builtin_prefetch(b + i + kReadAhead);
        const v at = V::load(b + i);
        const v ends =
            V::and_(V::and_(accepted(at, low0, high0), accepted(V::load(b + i - 1), low1, high1)),
                    V::and_(accepted(V::load(b + i - 2), low2, high2),
                            accepted(V::load(b + i - 3), low3, high3)));
        const std::uint64_t stopBits =
            ~V::mask(V::eq(ends, zero)) | V::mask(V::eq(at, V::set1(26)));
        const v lf = V::eq(at, V::set1('\n'));
        const v crAlone =
            V::andnot(V::eq(V::load(b + i + 1), V::set1('\n')), V::eq(at, V::set1('\r')));
        const std::uint64_t breakBits = V::mask(V::or_(lf, crAlone));
        const std::uint64_t width = (std::uint64_t(1) << (V::kWidth - 1) << 1) - 1;
        if (stopBits & width) {
            const unsigned k = unsigned(__builtin_ctzll(stopBits & width));
            const std::uint64_t before = breakBits & ((std::uint64_t(1) << k) - 1);
            breaks += std::size_t(__builtin_popcountll(before));
            if (before) lineStart = i + 64 - std::size_t(__builtin_clzll(before));
            found = true;
            return i + k;
        }
        breaks += std::size_t(__builtin_popcountll(breakBits));
        if (breakBits) lineStart = i + 64 - std::size_t(__builtin_clzll(breakBits));
    }
    return i;
}

// From i, a vector at a time while the vector lies in the block: the first CR or LF, or where
// the vectors end.
template <class V> inline std::size_t breakVectors(const char* b, std::size_t n, std::size_t i) {
    using v = typename V::v;
    for (; i + V::kWidth <= n; i += V::kWidth) {
        const v at = V::load(b + i);
        if (const std::uint64_t bits =
                V::mask(V::or_(V::eq(at, V::set1('\n')), V::eq(at, V::set1('\r')))))
            return i + std::size_t(__builtin_ctzll(bits));
    }
    return i;
}

} // namespace
} // namespace ondrex
