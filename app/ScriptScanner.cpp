#include "app/ScriptScanner.h"

#include "editor/LineBreaks.h"
#include "editor/TqvEditList.h"
#include "platform/TextFile.h"

#include <memory>

namespace ondrex {

namespace {

// ASCII-only upper-casing (Part 1.1: only a-z map to A-Z; the length never changes).
struct TUpper {
    unsigned char t[256];
    constexpr TUpper() : t() {
        for (int c = 0; c < 256; ++c) t[c] = (c >= 'a' && c <= 'z') ? c - 32 : c;
    }
};
constexpr TUpper kUpper;

inline unsigned char up(char c) { return kUpper.t[static_cast<unsigned char>(c)]; }

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(up(c));
    return out;
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

// Part 1.1, step 5: always these seven, in this order.
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
    while (i < s.size() && s[i] == ' ') ++i;
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
            default: break;
            }
        } else if ((c | 0x20) == 'l') {
            if (k + 2 < n && equalsUpper(b + k - 1, "ELSE", 4)) return true;
        }
    }
    return false;
}

void TScriptScanner::ProcessLine(std::string_view raw, int lineNumber, TScanResults& r) const {
    if (!MayHit(raw)) return; // no search string: no hit, whatever the steps below do

    // 1-4: leading blanks off; lines with END FUNCTION / END SUB / an apostrophe are cleared.
    // `upper` is the upper-cased copy of `line`, renewed whenever `line` changes (the Part
    // makes one copy per test; the copies would all be equal).
    std::string line = TrimLeadingSpaces(raw);
    std::string upper = upperAscii(line);
    if (upper.find("END FUNCTION") != std::string::npos ||
        upper.find("END SUB") != std::string::npos || line.find('\'') != std::string::npos) {
        return; // the line is cleared: an empty line gives no hit
    }

    // 5: the seven tests, each on the current (possibly normalised) line.
    for (std::size_t t = 0; t < std::size(kTests); ++t) {
        const TTest& test = kTests[t];
        std::size_t p = upper.find(test.search);
        if (p == std::string::npos) continue;
        bool listed = true;
        switch (test.counter) {
        case TCounter::Function: ++r.counters.functionCount; break;
        case TCounter::Sub: ++r.counters.subCount; break;
        case TCounter::Statement: ++r.counters.statementCount; break;
        }
        switch (test.listed) {
        case TListedIf::Always: break;
        case TListedIf::Dim: listed = options.dim; break;
        case TListedIf::Ifs: listed = options.ifs; break;
        case TListedIf::Calls: listed = options.calls; break;
        }
        if (!listed) continue;

        std::string name = line;
        name.erase(p, test.deleted); // Delete(line, p, n): at most to the end
        TScanRow& row = r.rows.emplace_back();
        row.caption = test.caption;
        row.image = test.image;
        row.name = RemoveTabs(name);
        row.line = lineNumber;
        r.anyFound = true;
        line = t == kCallTest ? RemoveTabs(TrimLeadingSpaces(line))
                              : TrimLeadingSpaces(RemoveTabs(line));
        upper = upperAscii(line);
        row.text = line;
    }
}

void TScriptScanner::ScanBlock(std::string_view block, TScanResults& r) const {
    const std::uint64_t generation = ++r.generation;
    r.anyFound = false;
    r.counters = TScanCounters{};
    r.rows.clear();
    r.linesRead = 0;

    TLineSplitter lines(block);
    std::string_view line;
    int lineNumber = 0;
    for (;;) {
        // A Ctrl+Z at the reading position counts as the end of a text file.
        if (lines.AtEnd() || block[lines.Offset()] == kCtrlZ) break;
        if (processMessages) {
            processMessages();
            if (r.generation != generation) return; // a newer scan took over the lists
        }
        lines.Next(line);
        ++lineNumber;
        ProcessLine(line, lineNumber, r);
    }
    r.linesRead = lineNumber;
    r.info = CounterRows(r.counters);
    if (r.anyFound) r.resultsEnabled = true;
}

void TScriptScanner::Scan(const std::string& path, TqvEditList& lines, TScanResults& r) const {
    if (path.empty()) return;
    lines.Clear();
    auto block = std::make_shared<const std::string>(ReadFileBytes(path));
    lines.LoadFromBlock(block);
    ScanBlock(*block, r);
}

} // namespace ondrex
