#include "app/KeywordFilter.h"

#if defined(__SSE2__)
#include "app/KeywordFilterKernel.h"

#include <emmintrin.h>
#endif

namespace ondrex {

#if defined(__x86_64__)
// KeywordFilterAvx2.cpp.
std::size_t FilterVectorsAvx2(const char* b, std::size_t n, std::size_t i, std::size_t& breaks,
                              std::size_t& lineStart, bool& found);
#endif

namespace {

#if defined(__SSE2__)
struct TSse2 {
    using v = __m128i;
    static constexpr std::size_t kWidth = 16;
    static v load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const v*>(p)); }
    static v set1(char c) { return _mm_set1_epi8(c); }
    static v eq(v a, v b) { return _mm_cmpeq_epi8(a, b); }
    static v or_(v a, v b) { return _mm_or_si128(a, b); }
    static v and_(v a, v b) { return _mm_and_si128(a, b); }
    static v andnot(v a, v b) { return _mm_andnot_si128(a, b); }
    static std::uint64_t mask(v a) { return std::uint32_t(_mm_movemask_epi8(a)); }
};
#endif

// One byte of the scalar path: true when p is a stop, else counts a break at p.
inline bool stopsAt(const char* b, std::size_t n, std::size_t p, TFilterHit& h) {
    const char at = b[p];
    if (at == kFilterCtrlZ || MayEndKeyword(p >= 2 ? b[p - 2] : '\n', p >= 1 ? b[p - 1] : '\n', at))
        return true;
    if (at == '\n' || (at == '\r' && !(p + 1 < n && b[p + 1] == '\n'))) {
        ++h.breaks;
        h.lineStart = p + 1;
    }
    return false;
}

TVectorPath detectBestPath() {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) return TVectorPath::Avx2;
#endif
#if defined(__SSE2__)
    return TVectorPath::Sse2;
#else
    return TVectorPath::Scalar;
#endif
}

} // namespace

bool HasVectorPath(TVectorPath path) {
    switch (path) {
    case TVectorPath::Scalar:
        return true;
    case TVectorPath::Sse2:
        return BestVectorPath() != TVectorPath::Scalar;
    case TVectorPath::Avx2:
        return BestVectorPath() == TVectorPath::Avx2;
    }
    return false;
}

TVectorPath BestVectorPath() {
    static const TVectorPath best = detectBestPath();
    return best;
}

TFilterHit NextFilterHit(const char* b, std::size_t n, std::size_t from,
                         [[maybe_unused]] TVectorPath path) {
    TFilterHit h{from, 0, from};
    // The vectors look two bytes back: the first two bytes go one at a time.
    for (; h.pos < n && h.pos < 2; ++h.pos)
        if (stopsAt(b, n, h.pos, h)) return h;
    bool found = false;
#if defined(__x86_64__)
    if (path == TVectorPath::Avx2) {
        h.pos = FilterVectorsAvx2(b, n, h.pos, h.breaks, h.lineStart, found);
        if (found) return h;
    }
#endif
#if defined(__SSE2__)
    if (path != TVectorPath::Scalar) { // also the tail the wider vectors left
        h.pos = filterVectors<TSse2>(b, n, h.pos, h.breaks, h.lineStart, found);
        if (found) return h;
    }
#endif
    for (; h.pos < n; ++h.pos)
        if (stopsAt(b, n, h.pos, h)) return h;
    return h;
}

} // namespace ondrex
