#include "app/ScriptScanner.h"

#include "editor/LineBreaks.h"
#include "editor/TqvEditList.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <string.h> // memrchr

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ondrex {

namespace {

// ASCII-only upper-casing (only a-z map to A-Z, so the length never changes).
struct TUpper {
    unsigned char t[256];
    constexpr TUpper() : t() {
        for (int c = 0; c < 256; ++c)
            t[c] = (c >= 'a' && c <= 'z') ? c - 32 : c;
    }
};
constexpr TUpper kUpper;

inline unsigned char up(char c) {
    return kUpper.t[static_cast<unsigned char>(c)];
}

// First positions, in the upper-cased line, of the strings the line is tested for: one pass
// over the line (upper-casing as it compares) instead of one search per string.
enum TProbe : int {
    pEndFunction,
    pEndSub,
    pFunction,
    pSub,
    pDim,
    pIf,
    pElseIf,
    pElse,
    pCall,
    pCount
};
constexpr std::string_view kProbes[pCount] = {
    "END FUNCTION", "END SUB", "FUNCTION ", "SUB ", "DIM ", "IF ", "ELSEIF", "ELSE", "CALL "};

void firstPositions(std::string_view u, std::size_t (&pos)[pCount]) { // u: the line, any case
    for (auto& p : pos)
        p = std::string_view::npos;
    const std::size_t n = u.size();
    auto at = [&](std::size_t i, TProbe probe) {
        const std::string_view s = kProbes[probe];
        if (pos[probe] != std::string_view::npos || i + s.size() > n) return;
        for (std::size_t k = 1; k < s.size(); ++k)
            if (up(u[i + k]) != static_cast<unsigned char>(s[k])) return;
        pos[probe] = i;
    };
    for (std::size_t i = 0; i < n; ++i) {
        switch (up(u[i])) {
        case 'E':
            at(i, pEndFunction);
            at(i, pEndSub);
            at(i, pElseIf);
            at(i, pElse);
            break;
        case 'F':
            at(i, pFunction);
            break;
        case 'S':
            at(i, pSub);
            break;
        case 'D':
            at(i, pDim);
            break;
        case 'I':
            at(i, pIf);
            break;
        case 'C':
            at(i, pCall);
            break;
        default:
            break;
        }
    }
}

// Whether the n bytes at p are, upper-cased, the upper-case pattern.
inline bool equalsUpper(const char* p, const char* pattern, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (up(p[i]) != static_cast<unsigned char>(pattern[i])) return false;
    return true;
}

enum class TCounter { Function, Sub, Statement };
enum class TListedIf { Always, Dim, Ifs, Calls };

struct TTest {
    std::string_view search;
    std::size_t deleted;
    std::string_view caption;
    int image;
    TCounter counter;
    TListedIf listed;
};

// Always these seven, in this order: a line can hit several of them.
constexpr TTest kTests[] = {
    {"FUNCTION ", 8, "Function", siFunctionOrCall, TCounter::Function, TListedIf::Always},
    {"SUB ", 4, "Sub", siSub, TCounter::Sub, TListedIf::Always},
    {"DIM ", 4, "Dim", siDim, TCounter::Statement, TListedIf::Dim},
    {"IF ", 3, "If ", siIfElse, TCounter::Statement, TListedIf::Ifs},
    {"ELSEIF", 7, "ElseIf ", siIfElse, TCounter::Statement, TListedIf::Ifs},
    {"ELSE", 5, "Else ", siIfElse, TCounter::Statement, TListedIf::Ifs},
    {"CALL ", 5, "Call ", siFunctionOrCall, TCounter::Statement, TListedIf::Calls},
};
constexpr std::size_t kCallTest = 6;

constexpr char kCtrlZ = 26;

} // namespace

std::vector<TInfoRow> CounterRows(const TScanCounters& c) {
    return {{"Functions found", std::to_string(c.functionCount)},
            {"Subs found", std::to_string(c.subCount)},
            {"Dim statements found", std::to_string(c.statementCount)}};
}

std::string TScriptScanner::TrimLeadingSpaces(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return std::string(s.substr(i));
}

std::string TScriptScanner::RemoveTabs(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '\t') out += c;
    return out;
}

bool TScriptScanner::MayHit(std::string_view line) {
    // Every search string but "ELSE" ends in a blank, so look at blanks and what precedes
    // them; "ELSE" is looked for at its (rarer) L. `c | 0x20` is the lower-case letter for
    // both cases of a letter and for no other byte.
    const char* b = line.data();
    const std::size_t n = line.size();
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned c = static_cast<unsigned char>(b[k]);
        if (c == ' ') {
            switch (static_cast<unsigned char>(b[k - 1]) | 0x20) {
            case 'n':
                if (k >= 8 && equalsUpper(b + k - 8, "FUNCTION", 8)) return true;
                break;
            case 'b':
                if (k >= 3 && equalsUpper(b + k - 3, "SUB", 3)) return true;
                break;
            case 'm':
                if (k >= 3 && equalsUpper(b + k - 3, "DIM", 3)) return true;
                break;
            case 'f':
                if (k >= 2 && equalsUpper(b + k - 2, "IF", 2)) return true;
                break;
            case 'l':
                if (k >= 4 && equalsUpper(b + k - 4, "CALL", 4)) return true;
                break;
            default:
                break;
            }
        } else if ((c | 0x20) == 'l') {
            if (k + 2 < n && equalsUpper(b + k - 1, "ELSE", 4)) return true;
        }
    }
    return false;
}

void TScriptScanner::ProcessLine(std::string_view raw, int lineNumber, TScanResults& r) const {
    if (!MayHit(raw)) return; // no search string: no hit, whatever the steps below do
    processLine(raw, lineNumber, r);
}

void TScriptScanner::processLine(std::string_view raw, int lineNumber, TScanResults& r) const {
    // 1-4: leading blanks off; lines with END FUNCTION / END SUB / an apostrophe are cleared
    // (an empty line gives no hit). The tests look at the line through `cur`, upper-casing as
    // they compare (the Part's one upper-cased copy per test would equal it); the line is
    // copied only when a listed hit normalises it.
    std::size_t lead = 0;
    while (lead < raw.size() && raw[lead] == ' ')
        ++lead;
    std::string_view cur = raw.substr(lead);
    if (cur.find('\'') != std::string_view::npos) return;
    std::size_t pos[pCount];
    firstPositions(cur, pos);
    if (pos[pEndFunction] != std::string::npos || pos[pEndSub] != std::string::npos) return;

    // 5: the seven tests, each on the current (possibly normalised) line.
    thread_local std::string line; // the normalised line, its storage reused
    for (std::size_t t = 0; t < std::size(kTests); ++t) {
        const TTest& test = kTests[t];
        std::size_t p = pos[pFunction + t];
        if (p == std::string::npos) continue;
        bool listed = true;
        switch (test.counter) {
        case TCounter::Function:
            ++r.counters.functionCount;
            break;
        case TCounter::Sub:
            ++r.counters.subCount;
            break;
        case TCounter::Statement:
            ++r.counters.statementCount;
            break;
        }
        switch (test.listed) {
        case TListedIf::Always:
            break;
        case TListedIf::Dim:
            listed = options.dim;
            break;
        case TListedIf::Ifs:
            listed = options.ifs;
            break;
        case TListedIf::Calls:
            listed = options.calls;
            break;
        }
        if (!listed) continue;

        r.anyFound = true;
        TScanRow* row = nullptr;
        if (!countOnly) {
            std::string name(cur);
            name.erase(p, test.deleted); // Delete(line, p, n): at most to the end
            row = &r.rows.emplace_back();
            row->caption = test.caption;
            row->image = test.image;
            row->name = RemoveTabs(name);
            row->line = lineNumber;
        }
        std::string normalised = t == kCallTest ? RemoveTabs(TrimLeadingSpaces(cur))
                                                : TrimLeadingSpaces(RemoveTabs(cur));
        line.swap(normalised);
        cur = line;
        firstPositions(cur, pos);
        if (row) row->text = line;
    }
}

namespace {

inline unsigned lower(char c) {
    return static_cast<unsigned char>(c) | 0x20u;
}

// Bit masks over the positions [i, i + width) of the block: `candidates` where a search
// string may end (a blank after N, B, M, F or L; an L between E and S), `breaks` where a line
// ends (LF, or CR not followed by LF), `ctrlZ` where a Ctrl+Z starts a line.
struct TChunk {
    unsigned candidates = 0;
    unsigned breaks = 0;
    unsigned ctrlZ = 0;
    std::size_t width = 0;
};

// Whether a search string may end at p: a blank after "ON", "UB", "IM", "IF" or "LL" (the
// ends of FUNCTION, SUB, DIM, IF and CALL), or the "LSE" of ELSE at its L. Letters in either
// case; `lower(c) == 'x'` holds for exactly the two cases of the letter x.
inline bool candidateAt(const char* b, std::size_t n, std::size_t p) {
    if (b[p] == ' ') {
        if (p < 2) return false;
        const unsigned a = lower(b[p - 2]), c = lower(b[p - 1]);
        return (a == 'o' && c == 'n') || (a == 'u' && c == 'b') || (a == 'i' && c == 'm') ||
               (a == 'i' && c == 'f') || (a == 'l' && c == 'l');
    }
    return lower(b[p]) == 'l' && p >= 1 && p + 2 < n && lower(b[p - 1]) == 'e' &&
           lower(b[p + 1]) == 's' && lower(b[p + 2]) == 'e';
}

TChunk chunkScalar(const char* b, std::size_t n, std::size_t i) {
    TChunk c;
    c.width = std::min<std::size_t>(16, n - i);
    for (std::size_t k = 0; k < c.width; ++k) {
        const std::size_t p = i + k;
        const char x = b[p];
        const char prev = p ? b[p - 1] : '\n';
        bool brk = x == '\n' || (x == '\r' && !(p + 1 < n && b[p + 1] == '\n'));
        bool z = x == 26 && (prev == '\n' || prev == '\r');
        c.candidates |= unsigned(candidateAt(b, n, p)) << k;
        c.breaks |= unsigned(brk) << k;
        c.ctrlZ |= unsigned(z) << k;
    }
    return c;
}

#if defined(__SSE2__)
// The same masks sixteen bytes at a time; needs 2 <= i and i + 18 <= n.
inline TChunk chunkSse2(const char* b, std::size_t i) {
    auto load = [](const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    auto eq = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    auto both = [&](__m128i x, char cx, __m128i y, char cy) {
        return _mm_and_si128(eq(x, cx), eq(y, cy));
    };
    const __m128i bit5 = _mm_set1_epi8(0x20);
    const __m128i cur = load(b + i);
    const __m128i prev = load(b + i - 1);
    const __m128i next = load(b + i + 1);
    const __m128i low = _mm_or_si128(cur, bit5);
    const __m128i p1 = _mm_or_si128(prev, bit5);
    const __m128i p2 = _mm_or_si128(load(b + i - 2), bit5);
    const __m128i n1 = _mm_or_si128(next, bit5);
    const __m128i n2 = _mm_or_si128(load(b + i + 2), bit5);
    __m128i ends =
        _mm_or_si128(_mm_or_si128(both(p2, 'o', p1, 'n'), both(p2, 'u', p1, 'b')),
                     _mm_or_si128(_mm_or_si128(both(p2, 'i', p1, 'm'), both(p2, 'i', p1, 'f')),
                                  both(p2, 'l', p1, 'l')));
    __m128i cand = _mm_and_si128(eq(cur, ' '), ends);
    __m128i els = _mm_and_si128(both(p1, 'e', low, 'l'), both(n1, 's', n2, 'e'));
    cand = _mm_or_si128(cand, els);
    __m128i lf = eq(cur, '\n');
    __m128i crAlone = _mm_andnot_si128(eq(next, '\n'), eq(cur, '\r'));
    __m128i prevBreak = _mm_or_si128(eq(prev, '\n'), eq(prev, '\r'));
    TChunk c;
    c.candidates = unsigned(_mm_movemask_epi8(cand));
    c.breaks = unsigned(_mm_movemask_epi8(_mm_or_si128(lf, crAlone)));
    c.ctrlZ = unsigned(_mm_movemask_epi8(_mm_and_si128(eq(cur, 26), prevBreak)));
    c.width = 16;
    return c;
}
#endif

// Set bits of a 32-bit mask (no popcount instruction is assumed).
inline int bits32(unsigned m) {
    static constexpr auto table = [] {
        std::array<unsigned char, 256> t{};
        for (int v = 0; v < 256; ++v)
            t[v] = static_cast<unsigned char>(std::popcount(unsigned(v)));
        return t;
    }();
    return table[m & 0xFF] + table[(m >> 8) & 0xFF] + table[(m >> 16) & 0xFF] + table[m >> 24];
}

} // namespace

namespace {

// Every scan starts from empty results under a new generation, which it returns.
std::uint64_t startScan(TScanResults& r) {
    r.anyFound = false;
    r.counters = TScanCounters{};
    r.rows.clear();
    r.linesRead = 0;
    return ++r.generation;
}

} // namespace

void TScriptScanner::ScanBlock(std::string_view block, TScanResults& r) const {
    const std::uint64_t generation = startScan(r);

    if (processMessages) {
        // Line by line, one pump pass per line read (step 7.1).
        TLineSplitter lines(block);
        std::string_view line;
        int lineNumber = 0;
        for (;;) {
            // A Ctrl+Z at the reading position counts as the end of a text file.
            if (lines.AtEnd() || block[lines.Offset()] == kCtrlZ) break;
            processMessages();
            if (r.generation != generation) return; // a newer scan took over the lists
            lines.Next(line);
            ++lineNumber;
            ProcessLine(line, lineNumber, r);
        }
        r.linesRead = lineNumber;
    } else {
        bool stopped = false;
        r.linesRead = scanWithoutPump(block, 0, r, stopped);
    }
    r.info = CounterRows(r.counters);
    if (r.anyFound) r.resultsEnabled = true;
}

// Headless: the same lines, numbers and hits, without visiting every line. The block is
// searched for places where a search string may end; only the lines holding one are
// processed, and line numbers come from counting the breaks in between.
namespace {

// The loop of the headless scan over one block, for a chunk function of 16 or 32 bytes.
// Always inlined, so that each caller compiles it for its own instruction set.
template <class TChunker, class TProcess>
[[gnu::always_inline]] inline int scanLoop(const char* b, std::size_t n, TChunker chunk,
                                           TProcess process, bool& stopped) {
    std::size_t i = 0;
    int breaksBefore = 0; // line breaks at positions below i
    while (i < n) {
        const TChunk c = chunk(i);
        const unsigned events = c.candidates | c.ctrlZ;
        if (!events) {
            breaksBefore += bits32(c.breaks);
            i += c.width;
            continue;
        }
        const unsigned k = unsigned(std::countr_zero(events));
        breaksBefore += bits32(c.breaks & ((1u << k) - 1));
        const std::size_t pos = i + k;
        if ((c.ctrlZ >> k) & 1u) { // the lines before the Ctrl+Z
            stopped = true;
            return breaksBefore;
        }
        std::size_t start = pos;
        while (start > 0 && b[start - 1] != '\n' && b[start - 1] != '\r')
            --start;
        const std::size_t end = std::size_t(FindLineBreak(b + pos, b + n) - b);
        const int lineNumber = breaksBefore + 1;
        process(std::string_view(b + start, end - start), lineNumber);
        if (end >= n) return lineNumber;
        i = end + ((b[end] == '\r' && end + 1 < n && b[end + 1] == '\n') ? 2 : 1);
        breaksBefore = lineNumber;
    }
    const bool endsInBreak = b[n - 1] == '\n' || b[n - 1] == '\r';
    return breaksBefore + (endsInBreak ? 0 : 1);
}

template <class TProcess>
int scanPortable(const char* b, std::size_t n, TProcess process, bool& stopped) {
    return scanLoop(
        b, n,
        [b, n](std::size_t i) {
#if defined(__SSE2__)
            return (i >= 2 && i + 18 <= n) ? chunkSse2(b, i) : chunkScalar(b, n, i);
#else
            return chunkScalar(b, n, i);
#endif
        },
        process, stopped);
}

} // namespace

// Headless: the same lines, numbers and hits, without visiting every line. The block is
// searched for places where a search string may end; only the lines holding one are
// processed, and line numbers come from counting the breaks in between.
int TScriptScanner::scanWithoutPump(std::string_view block, int lineBase, TScanResults& r,
                                    bool& stopped) const {
    const char* b = block.data();
    const std::size_t n = block.size();
    stopped = n && b[0] == kCtrlZ;
    if (n == 0 || stopped) return 0;
    auto process = [this, &r, lineBase](std::string_view line, int lineNumber) {
        processLine(line, lineBase + lineNumber, r);
    };
    return scanPortable(b, n, process, stopped);
}

namespace {

// The end of the last line break in b[from, to), or else of the first one after it, or n:
// a slice ends after whole lines, and a CR LF pair is never split.
std::size_t sliceEnd(const char* b, std::size_t n, std::size_t from, std::size_t to) {
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

} // namespace

void TScriptScanner::ScanBlockInSlices(std::string_view block, TScanResults& r,
                                       const TMessagePump& between) const {
    constexpr std::size_t kSlice = 64 * 1024;
    const std::uint64_t generation = startScan(r);
    bool stopped = false;
    for (std::size_t at = 0; at < block.size() && !stopped;) {
        const std::size_t end = sliceEnd(block.data(), block.size(), at, at + kSlice);
        r.linesRead += scanWithoutPump(block.substr(at, end - at), r.linesRead, r, stopped);
        at = end;
        if (at < block.size() && !stopped) {
            between();
            if (r.generation != generation) return; // a newer scan owns the lists
        }
    }
    r.info = CounterRows(r.counters);
    if (r.anyFound) r.resultsEnabled = true;
}

TFileScan TScriptScanner::ScanFile(const std::string& path, TScanResults& r, bool checkUtf8) const {
    TFileReader file(path); // throws EFileError before anything changes
    startScan(r);

    TFileScan info;
    info.validUtf8 = true;
    std::vector<char> buffer(std::size_t(1) << 20);
    std::size_t have = 0;
    bool eof = false, stopped = false;
    for (;;) {
        while (!eof && have < buffer.size()) {
            std::size_t got = file.Read(buffer.data() + have, buffer.size() - have);
            eof = got == 0;
            have += got;
        }
        // Whole lines only, cut after an LF (so no CR LF and no UTF-8 sequence is split);
        // a buffer without one grows until it holds a whole line or the file's end.
        std::size_t cut = have;
        if (!eof) {
            const char* p = static_cast<const char*>(memrchr(buffer.data(), '\n', have));
            if (!p) {
                buffer.resize(buffer.size() * 2);
                continue;
            }
            cut = std::size_t(p - buffer.data()) + 1;
        }
        const std::string_view chunk(buffer.data(), cut);
        info.bytes += cut;
        if (checkUtf8 && info.validUtf8) info.validUtf8 = IsValidUtf8(chunk);
        if (!stopped) {
            r.linesRead += scanWithoutPump(chunk, r.linesRead, r, stopped);
            if (stopped && !checkUtf8) break;
        }
        std::memmove(buffer.data(), buffer.data() + cut, have - cut);
        have -= cut;
        if (eof && have == 0) break;
    }
    r.info = CounterRows(r.counters);
    if (r.anyFound) r.resultsEnabled = true;
    return info;
}

void TScriptScanner::Scan(const std::string& path, TqvEditList& lines, TScanResults& r) const {
    if (path.empty()) return;
    lines.Clear();
    auto block = std::make_shared<const std::string>(ReadFileBytes(path));
    lines.LoadFromBlock(block);
    ScanBlock(*block, r);
}

} // namespace ondrex
