#pragma once
// The vector loop of the keyword filter (KeywordFilter.h), written once for any vector width.
// It is included by one source file per instruction set, each with its own vector type, so
// that every copy is compiled for its own set; it therefore includes nothing that could be
// shared between them.
//
// V provides: type `v`, `kWidth` (bytes), load, set1, eq, or_, and_, andnot (~a & b) and
// mask (one bit per byte, low bit first).

#include <cstddef>
#include <cstdint>

namespace ondrex {
namespace {

// From i, a vector at a time while the vector and the byte after it lie in the block (the
// caller guarantees i >= 2 for the two bytes looked back). Returns where it stopped: at the
// first stop, with `found` set, or where the vectors end; `breaks` counts the line breaks
// before that place and `lineStart` is moved past the last of them.
template <class V>
inline std::size_t filterVectors(const char* b, std::size_t n, std::size_t i, std::size_t& breaks,
                                 std::size_t& lineStart, bool& found) {
    using v = typename V::v;
    const v bit5 = V::set1(0x20);
    found = false;
    for (; i + V::kWidth < n; i += V::kWidth) {
        const v at = V::load(b + i);
        const v one = V::or_(V::load(b + i - 1), bit5);
        const v two = V::or_(V::load(b + i - 2), bit5);
        const v next = V::load(b + i + 1);
        const v letter = V::or_(V::or_(V::or_(V::eq(one, V::set1('n')), V::eq(one, V::set1('b'))),
                                       V::or_(V::eq(one, V::set1('m')), V::eq(one, V::set1('f')))),
                                V::eq(one, V::set1('l')));
        const v blankEnd = V::and_(V::eq(at, V::set1(' ')), letter);
        const v elseEnd =
            V::and_(V::and_(V::eq(V::or_(at, bit5), V::set1('e')), V::eq(one, V::set1('s'))),
                    V::eq(two, V::set1('l')));
        const v stop = V::or_(V::or_(blankEnd, elseEnd), V::eq(at, V::set1(26)));
        const v lf = V::eq(at, V::set1('\n'));
        const v crAlone = V::andnot(V::eq(next, V::set1('\n')), V::eq(at, V::set1('\r')));
        const std::uint64_t breakBits = V::mask(V::or_(lf, crAlone));
        const std::uint64_t stopBits = V::mask(stop);
        if (stopBits) {
            const unsigned k = unsigned(__builtin_ctzll(stopBits));
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

} // namespace
} // namespace ondrex
