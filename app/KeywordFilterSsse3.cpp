// The keyword filter 16 bytes at a time. This file alone is compiled for SSSE3 (see
// CMakeLists.txt); it is only called after a run-time check that the processor has it.

#if defined(__x86_64__)
#if !defined(__SSSE3__)
#error "this file must be compiled with -mssse3"
#endif

#include "app/KeywordFilterKernel.h"

#include <tmmintrin.h>

namespace ondrex {

namespace {

struct TSsse3 {
    using v = __m128i;
    static constexpr std::size_t kWidth = 16;
    static v load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const v*>(p)); }
    static v table(const std::uint8_t (&t)[16]) {
        return _mm_loadu_si128(reinterpret_cast<const v*>(t));
    }
    static v set1(char c) { return _mm_set1_epi8(c); }
    static v eq(v a, v b) { return _mm_cmpeq_epi8(a, b); }
    static v or_(v a, v b) { return _mm_or_si128(a, b); }
    static v and_(v a, v b) { return _mm_and_si128(a, b); }
    static v andnot(v a, v b) { return _mm_andnot_si128(a, b); }
    static v lookup(v table, v index) { return _mm_shuffle_epi8(table, index); }
    static v highHalves(v a) { return _mm_srli_epi16(a, 4); }
    static std::uint64_t mask(v a) { return std::uint32_t(_mm_movemask_epi8(a)); }
};

} // namespace

std::size_t FilterVectorsSsse3(const char* b, std::size_t n, std::size_t i, const TKeyTables& keys,
                               std::size_t& breaks, std::size_t& lineStart, bool& found) {
    return filterVectors<TSsse3>(b, n, i, keys, breaks, lineStart, found);
}

std::size_t BreakVectorsSsse3(const char* b, std::size_t n, std::size_t i) {
    return breakVectors<TSsse3>(b, n, i);
}

} // namespace ondrex
#endif
