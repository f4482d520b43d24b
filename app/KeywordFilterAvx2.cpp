// The keyword filter 32 bytes at a time. This file alone is compiled for AVX2 (see
// CMakeLists.txt); it is only called after a run-time check that the processor has it.

#if defined(__x86_64__)
#if !defined(__AVX2__)
#error "this file must be compiled with -mavx2"
#endif

#include "app/KeywordFilterKernel.h"

#include <immintrin.h>

namespace ondrex {

namespace {

struct TAvx2 {
    using v = __m256i;
    static constexpr std::size_t kWidth = 32;
    static v load(const char* p) { return _mm256_loadu_si256(reinterpret_cast<const v*>(p)); }
    static v table(const std::uint8_t (&t)[16]) {
        return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t)));
    }
    static v set1(char c) { return _mm256_set1_epi8(c); }
    static v eq(v a, v b) { return _mm256_cmpeq_epi8(a, b); }
    static v or_(v a, v b) { return _mm256_or_si256(a, b); }
    static v and_(v a, v b) { return _mm256_and_si256(a, b); }
    static v andnot(v a, v b) { return _mm256_andnot_si256(a, b); }
    static v lookup(v table, v index) { return _mm256_shuffle_epi8(table, index); }
    static v highHalves(v a) { return _mm256_srli_epi16(a, 4); }
    static std::uint64_t mask(v a) { return std::uint32_t(_mm256_movemask_epi8(a)); }
};

} // namespace

std::size_t FilterVectorsAvx2(const char* b, std::size_t n, std::size_t i, const TKeyTables& keys,
                              std::size_t& breaks, std::size_t& lineStart, bool& found) {
    return filterVectors<TAvx2>(b, n, i, keys, breaks, lineStart, found);
}

std::size_t BreakVectorsAvx2(const char* b, std::size_t n, std::size_t i) {
    return breakVectors<TAvx2>(b, n, i);
}

} // namespace ondrex
#endif
