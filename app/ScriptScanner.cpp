#include "app/ScriptScanner.h"

#include "app/KeywordFilter.h"

#include "editor/TqvEditList.h"
#include "platform/CodePage.h"
#include "platform/LineBreaks.h"
#include "platform/MappedFile.h"
#include "platform/TextFile.h"
#include "platform/Utf16.h"

#include <algorithm>
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
            t[c] = static_cast<unsigned char>(AsciiUpper(char(c)));
    }
};
constexpr TUpper kUpper;

inline unsigned char up(char c) {
    return kUpper.t[static_cast<unsigned char>(c)];
}

enum class TCounter { Function, Sub, Statement };
enum class TListedIf { Always, Dim, Ifs, Calls };
// The order in which a hit's line loses its tabs and its leading blanks.
enum class TNormalise { TabsFirst, BlanksFirst };

// The one table of the strings a line is tested for, always these seven in this order: a
// line can hit several of them. The probes, the pre-test and the headless scan's chunk
// masks are all derived from it.
struct TTest {
    std::string_view search; // upper case; matched ignoring ASCII case
    std::size_t deleted;     // bytes cut out of the line at the hit to give the name
    std::string_view caption;
    int image;
    TCounter counter;
    TListedIf listed;
    TNormalise normalise;
};
constexpr TTest kTests[] = {
    {"FUNCTION ", 8, "Function", siFunctionOrCall, TCounter::Function, TListedIf::Always,
     TNormalise::TabsFirst},
    {"SUB ", 4, "Sub", siSub, TCounter::Sub, TListedIf::Always, TNormalise::TabsFirst},
    {"DIM ", 4, "Dim", siDim, TCounter::Statement, TListedIf::Dim, TNormalise::TabsFirst},
    {"IF ", 3, "If ", siIfElse, TCounter::Statement, TListedIf::Ifs, TNormalise::TabsFirst},
    {"ELSEIF", 7, "ElseIf ", siIfElse, TCounter::Statement, TListedIf::Ifs, TNormalise::TabsFirst},
    {"ELSE", 5, "Else ", siIfElse, TCounter::Statement, TListedIf::Ifs, TNormalise::TabsFirst},
    {"CALL ", 5, "Call ", siFunctionOrCall, TCounter::Statement, TListedIf::Calls,
     TNormalise::BlanksFirst},
};
constexpr std::size_t kTestCount = std::size(kTests);

// Lines holding one of these are cleared before the tests run.
constexpr std::string_view kClearing[] = {"END FUNCTION", "END SUB"};
constexpr std::size_t kClearingCount = std::size(kClearing);

// Probe k is a clearing string, then test k - kClearingCount.
constexpr std::size_t kProbeCount = kClearingCount + kTestCount;
constexpr std::string_view probeText(std::size_t k) {
    return k < kClearingCount ? kClearing[k] : kTests[k - kClearingCount].search;
}
static_assert(kProbeCount <= 32, "probe sets are 32-bit masks");

constexpr bool isUpperLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

// For each byte, the probes that start with it in either case: one pass over the line
// looks only at the probes its bytes can start.
struct TFirstBytes {
    std::uint32_t probes[256];
    constexpr TFirstBytes() : probes() {
        for (std::size_t k = 0; k < kProbeCount; ++k) {
            const char c = probeText(k)[0];
            probes[static_cast<unsigned char>(c)] |= 1u << k;
            if (isUpperLetter(c)) probes[static_cast<unsigned char>(c + 32)] |= 1u << k;
        }
    }
};
constexpr TFirstBytes kFirstBytes;

// Whether a probe may start with these two bytes (letters in either case): every probe does
// (checked below), few other pairs do.
constexpr bool mayStartProbe(char first, char second) {
    const unsigned a = static_cast<unsigned char>(first) | 0x20u;
    const unsigned b = static_cast<unsigned char>(second) | 0x20u;
    return (a == 'e' && (b == 'n' || b == 'l')) || ((a == 'f' || a == 's') && b == 'u') ||
           (a == 'd' && b == 'i') || (a == 'i' && b == 'f') || (a == 'c' && b == 'a');
}

constexpr bool probesPassTheStartTest() {
    for (std::size_t k = 0; k < kProbeCount; ++k)
        if (probeText(k).size() < 2 || !mayStartProbe(probeText(k)[0], probeText(k)[1]))
            return false;
    return true;
}
static_assert(probesPassTheStartTest(), "the pair test would miss a probe");

// Records the probes that start at i, unless an earlier place holds them already.
inline void probesAt(std::string_view u, std::size_t i, std::size_t (&pos)[kProbeCount]) {
    for (std::uint32_t m = kFirstBytes.probes[static_cast<unsigned char>(u[i])]; m; m &= m - 1) {
        const unsigned probe = unsigned(std::countr_zero(m));
        const std::string_view s = probeText(probe);
        if (pos[probe] != std::string_view::npos || i + s.size() > u.size()) continue;
        std::size_t k = 1;
        while (k < s.size() && up(u[i + k]) == static_cast<unsigned char>(s[k]))
            ++k;
        if (k == s.size()) pos[probe] = i;
    }
}

// What one pass over a line finds besides the probes.
struct TLineMarks {
    bool apostrophe = false; // the line is cleared; the probes' positions are incomplete
    bool tab = false;
};

// First positions, in the line read upper-cased, of every probe (npos where absent), and
// the marks. `readable` bytes from u.data() may be read (at least the line): the line's bytes
// are tested sixteen at a time while they lie in them, and only pairs that may start a probe
// are looked at.
TLineMarks firstPositions(std::string_view u, std::size_t readable,
                          std::size_t (&pos)[kProbeCount]) {
    for (auto& p : pos)
        p = std::string_view::npos;
    TLineMarks marks;
    const auto at = [&](std::size_t i) {
        if (u[i] == '\'') return marks.apostrophe = true;
        if (u[i] == '\t') marks.tab = true;
        probesAt(u, i, pos);
        return false;
    };
    const std::size_t n = u.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    const auto load = [](const char* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    };
    const auto eq = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    for (; i < n && i + 17 <= readable; i += 16) {
        const __m128i raw = load(u.data() + i);
        const __m128i a = raw | _mm_set1_epi8(0x20),
                      b = load(u.data() + i + 1) | _mm_set1_epi8(0x20);
        const __m128i starts =
            (eq(a, 'e') & (eq(b, 'n') | eq(b, 'l'))) | ((eq(a, 'f') | eq(a, 's')) & eq(b, 'u')) |
            (eq(a, 'd') & eq(b, 'i')) | (eq(a, 'i') & eq(b, 'f')) | (eq(a, 'c') & eq(b, 'a'));
        unsigned m = unsigned(_mm_movemask_epi8(starts | eq(raw, '\'') | eq(raw, '\t')));
        if (n - i < 16) m &= (1u << (n - i)) - 1;
        for (; m; m &= m - 1)
            if (at(i + unsigned(std::countr_zero(m)))) return marks;
    }
#endif
    for (; i < n; ++i)
        if ((u[i] == '\'' || u[i] == '\t' || mayStartProbe(u[i], i + 1 < n ? u[i + 1] : '\0')) &&
            at(i))
            return marks;
    return marks;
}

// The pre-test looks for short keys: the last (up to) four bytes of each search string that
// holds no other one (a line holding "ELSEIF" holds "ELSE"). A line holding a search string
// holds its key; few lines without one do.
constexpr bool holdsAnotherSearch(std::size_t t) {
    for (std::size_t o = 0; o < kTestCount; ++o)
        if (o != t && kTests[t].search.find(kTests[o].search) != std::string_view::npos)
            return true;
    return false;
}

struct TKeyList {
    std::string_view key[kTestCount];
    std::size_t count = 0;
    constexpr TKeyList() : key() {
        for (std::size_t t = 0; t < kTestCount; ++t) {
            if (holdsAnotherSearch(t)) continue;
            const std::string_view s = kTests[t].search;
            key[count++] = s.substr(s.size() - std::min(s.size(), kMaxFilterKeyBytes));
        }
    }
};
constexpr TKeyList kKeyList;
static_assert(kKeyList.count <= kMaxFilterKeys, "one bit per key");
constexpr TFilterKeys kKeys(std::span(kKeyList.key, kKeyList.count));

constexpr char kCtrlZ = kFilterCtrlZ;

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
    for (std::size_t p = 0; p < line.size(); ++p)
        if (kKeys.EndingAt(line.data(), p)) return true;
    return false;
}

void TScriptScanner::ProcessLine(std::string_view raw, int lineNumber, TScanResults& r) const {
    if (!MayHit(raw)) return; // no search string: no hit, whatever the steps below do
    ProcessCandidateLine(raw, raw.size(), lineNumber, r);
}

void TScriptScanner::ProcessCandidateLine(std::string_view raw, std::size_t readable,
                                          int lineNumber, TScanResults& r) const {
    // 1-4: leading blanks off; lines with END FUNCTION / END SUB / an apostrophe are cleared
    // (an empty line gives no hit). The tests look at the line through `cur`, upper-casing as
    // they compare (one upper-cased copy per test would equal it); the line is copied only
    // when a listed hit normalises it and that changes it (a tab or a leading blank).
    std::size_t lead = 0;
    while (lead < raw.size() && raw[lead] == ' ')
        ++lead;
    std::string_view cur = raw.substr(lead);
    std::size_t pos[kProbeCount];
    const TLineMarks marks = firstPositions(cur, readable - lead, pos);
    if (marks.apostrophe) return;
    bool changes = marks.tab;
    for (std::size_t k = 0; k < kClearingCount; ++k)
        if (pos[k] != std::string_view::npos) return;

    // 5: the seven tests, each on the current (possibly normalised) line.
    thread_local std::string line; // the normalised line, its storage reused
    for (std::size_t t = 0; t < kTestCount; ++t) {
        const TTest& test = kTests[t];
        const std::size_t p = pos[kClearingCount + t];
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
            row->name = changes ? RemoveTabs(name) : std::move(name);
            row->line = lineNumber;
        }
        if (changes) {
            std::string normalised = test.normalise == TNormalise::BlanksFirst
                                         ? RemoveTabs(TrimLeadingSpaces(cur))
                                         : TrimLeadingSpaces(RemoveTabs(cur));
            line.swap(normalised);
            cur = line;
            // Taking tabs out can make new hits; only a line that lost its tabs after its
            // blanks can start with a blank now.
            changes = firstPositions(cur, cur.size(), pos).tab || (!cur.empty() && cur[0] == ' ');
        }
        if (row) row->text = cur;
    }
}

namespace {

// Every scan starts from empty results under a new generation, which it returns.
std::uint64_t startScan(TScanResults& r) {
    r.anyFound = false;
    r.counters = TScanCounters{};
    r.rows.clear();
    r.linesRead = 0;
    return ++r.generation;
}

// ListView1 gets the counters; ListView2 is enabled when something was listed.
void finishScan(TScanResults& r) {
    r.info = CounterRows(r.counters);
    if (r.anyFound) r.resultsEnabled = true;
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
    finishScan(r);
}

// Headless: the same lines, numbers and hits, without visiting every line. The block is
// searched for places where a key ends; only the lines holding one are processed, and line
// numbers come from counting the breaks in between.
int TScriptScanner::scanWithoutPump(std::string_view block, int lineBase, TScanResults& r,
                                    bool& stopped) const {
    const char* b = block.data();
    const std::size_t n = block.size();
    stopped = n && b[0] == kCtrlZ;
    if (n == 0 || stopped) return 0;
    const TVectorPath path = BestVectorPath();
    std::size_t i = 0;
    std::size_t start = 0; // where the line holding i starts
    int breaksBefore = 0;  // line breaks at positions below i
    for (;;) {
        const TFilterHit hit = NextFilterHit(b, n, i, kKeys, path);
        breaksBefore += int(hit.breaks);
        if (hit.breaks) start = hit.lineStart;
        const std::size_t pos = hit.pos;
        if (pos >= n) break;
        if (b[pos] == kCtrlZ) { // no key holds one
            if (pos == start) { // the lines before the Ctrl+Z
                stopped = true;
                return breaksBefore;
            }
            i = pos + 1;
            continue;
        }
        const std::size_t end = NextLineBreak(b, n, pos, path);
        const int lineNumber = breaksBefore + 1;
        ProcessCandidateLine(std::string_view(b + start, end - start), n - start,
                             lineBase + lineNumber, r);
        if (end >= n) return lineNumber;
        i = start = end + ((b[end] == '\r' && end + 1 < n && b[end + 1] == '\n') ? 2 : 1);
        breaksBefore = lineNumber;
    }
    const bool endsInBreak = b[n - 1] == '\n' || b[n - 1] == '\r';
    return breaksBefore + (endsInBreak ? 0 : 1);
}

void TScriptScanner::ScanBlockInSlices(std::string_view block, TScanResults& r,
                                       const TMessagePump& between) const {
    constexpr std::size_t kSlice = 64 * 1024;
    const std::uint64_t generation = startScan(r);
    bool stopped = false;
    for (std::size_t at = 0; at < block.size() && !stopped;) {
        const std::size_t end = WholeLinesEnd(block.data(), block.size(), at, at + kSlice);
        r.linesRead += scanWithoutPump(block.substr(at, end - at), r.linesRead, r, stopped);
        at = end;
        if (at < block.size() && !stopped) {
            between();
            if (r.generation != generation) return; // a newer scan owns the lists
        }
    }
    finishScan(r);
}

void TScriptScanner::StartScan(TScanResults& r) const {
    startScan(r);
}

bool TScriptScanner::ScanWholeLines(std::string_view lines, TScanResults& r) const {
    bool stopped = false;
    r.linesRead += scanWithoutPump(lines, r.linesRead, r, stopped);
    return !stopped;
}

void TScriptScanner::FinishScan(TScanResults& r) const {
    finishScan(r);
}

TFileScan TScriptScanner::ScanFile(const std::string& path, TScanResults& r, bool checkUtf8) const {
    TFileReader file(path); // throws EFileError before anything changes
    startScan(r);

    TFileScan info;
    info.validUtf8 = true;
    // Nothing copied, and each slice's pages let go once it is scanned; a UTF-16 file is read
    // through the reader, which converts it.
    if (const TMappedFile mapped(path); mapped.Mapped() && !Utf16Mark(mapped.Bytes())) {
        constexpr std::size_t kSlice = std::size_t(4) << 20;
        const std::string_view block = mapped.Bytes();
        bool stopped = false;
        for (std::size_t at = 0; at < block.size();) {
            const std::size_t end = WholeLinesEnd(block.data(), block.size(), at, at + kSlice);
            const std::string_view slice = block.substr(at, end - at);
            if (!stopped) r.linesRead += scanWithoutPump(slice, r.linesRead, r, stopped);
            if (checkUtf8 && info.validUtf8) info.validUtf8 = IsValidUtf8(slice);
            mapped.Drop(at, end);
            at = end;
            if (stopped && !(checkUtf8 && info.validUtf8)) break;
        }
        mapped.ThrowIfShortened(path);
        info.bytes = block.size();
        finishScan(r);
        return info;
    }
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
    finishScan(r);
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
