#include "app/KeywordFilter.h"

#include "app/KeywordFilterKernel.h"

#include "platform/LineBreaks.h"

namespace ondrex {

#if defined(__x86_64__)
// KeywordFilterAvx2.cpp and KeywordFilterSsse3.cpp.
std::size_t FilterVectorsAvx2(const char* b, std::size_t n, std::size_t i, const TKeyTables& keys,
                              std::size_t& breaks, std::size_t& lineStart, bool& found);
std::size_t FilterVectorsSsse3(const char* b, std::size_t n, std::size_t i, const TKeyTables& keys,
                               std::size_t& breaks, std::size_t& lineStart, bool& found);
std::size_t BreakVectorsAvx2(const char* b, std::size_t n, std::size_t i);
std::size_t BreakVectorsSsse3(const char* b, std::size_t n, std::size_t i);
#endif

namespace {

// One byte of the scalar path: true when p is a stop, else counts a break at p.
inline bool stopsAt(const char* b, std::size_t n, std::size_t p, const TFilterKeys& keys,
                    TFilterHit& h) {
    const char at = b[p];
    if (at == kFilterCtrlZ || keys.EndingAt(b, p)) return true;
    if (at == '\n' || (at == '\r' && !(p + 1 < n && b[p + 1] == '\n'))) {
        ++h.breaks;
        h.lineStart = p + 1;
    }
    return false;
}

TVectorPath detectBestPath() {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) return TVectorPath::Avx2;
    if (__builtin_cpu_supports("ssse3")) return TVectorPath::Ssse3;
#endif
    return TVectorPath::Scalar;
}

} // namespace

bool HasVectorPath(TVectorPath path) {
    switch (path) {
    case TVectorPath::Scalar:
        return true;
    case TVectorPath::Ssse3:
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

TFilterHit NextFilterHit(const char* b, std::size_t n, std::size_t from, const TFilterKeys& keys,
                         [[maybe_unused]] TVectorPath path) {
    TFilterHit h{from, 0, from};
    // The vectors look three bytes back: the first three bytes go one at a time.
    for (; h.pos < n && h.pos < kMaxFilterKeyBytes - 1; ++h.pos)
        if (stopsAt(b, n, h.pos, keys, h)) return h;
#if defined(__x86_64__)
    bool found = false;
    const TKeyTables tables{keys.low, keys.high};
    if (path == TVectorPath::Avx2) {
        h.pos = FilterVectorsAvx2(b, n, h.pos, tables, h.breaks, h.lineStart, found);
        if (found) return h;
    }
    if (path != TVectorPath::Scalar) { // also the tail the wider vectors left
        h.pos = FilterVectorsSsse3(b, n, h.pos, tables, h.breaks, h.lineStart, found);
        if (found) return h;
    }
#endif
    for (; h.pos < n; ++h.pos)
        if (stopsAt(b, n, h.pos, keys, h)) return h;
    return h;
}

std::size_t NextLineBreak(const char* b, std::size_t n, std::size_t from,
                          [[maybe_unused]] TVectorPath path) {
    std::size_t i = from;
#if defined(__x86_64__)
    if (path == TVectorPath::Avx2) i = BreakVectorsAvx2(b, n, i);
    if (path != TVectorPath::Scalar) i = BreakVectorsSsse3(b, n, i);
    if (i < n && (b[i] == '\n' || b[i] == '\r')) return i;
#endif
    return std::size_t(FindLineBreak(b + i, b + n) - b);
}

} // namespace ondrex
