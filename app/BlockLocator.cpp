#include "app/BlockLocator.h"

#include "editor/TqvEditList.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace ondrex {

bool TBlockLocator::IsSingleStatement(std::string_view text) {
    std::string u = AsciiUpperCase(text);
    return u.find("DIM") != std::string::npos || u.find("IF") != std::string::npos ||
           u.find("CALL") != std::string::npos;
}

bool TBlockLocator::EndsBlock(std::string_view line) {
    if (line.find('}') != std::string_view::npos) return true;
    // Without a copy of the line: the site index asks this of nearly every line.
    for (std::size_t i = 0; i + 7 <= line.size(); ++i) {
        if ((line[i] | 0x20) != 'e' || !SameText(line.substr(i, 4), "END ")) continue;
        const std::string_view rest = line.substr(i + 4);
        if (SameText(rest.substr(0, 8), "FUNCTION") || SameText(rest.substr(0, 3), "SUB"))
            return true;
    }
    return false;
}

int TBlockLocator::FindEndLine(const TqvEditList& lines, int start) {
    return FindEndLines(lines, {start}).front();
}

std::vector<int> TBlockLocator::FindEndLines(const TqvEditList& lines,
                                             const std::vector<int>& starts) {
    const int n = lines.Count();
    std::vector<std::size_t> order(starts.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return starts[a] < starts[b]; });
    std::vector<int> ends(starts.size());
    int scanned = -1; // lines up to here are examined
    int marker = -1;  // the last line found ending a block
    for (std::size_t k : order) {
        const int start = starts[k];
        // A header on the last line (or beyond it): no line examined.
        if (start < 0 || start > n - 1) {
            ends[k] = start;
            continue;
        }
        if (marker < start) {
            marker = n - 1;
            for (int i = std::max(start, scanned + 1); i <= n - 1; ++i) {
                scanned = i;
                if (EndsBlock(lines.Get(i))) {
                    marker = i;
                    break;
                }
            }
        }
        ends[k] = marker + 1;
    }
    return ends;
}

std::optional<TBlockLocation> TBlockLocator::Locate(const TScanResults& results, std::size_t row,
                                                    const TqvEditList& lines) {
    if (row >= results.rows.size()) return std::nullopt;
    const TScanRow& hit = results.rows[row];
    TBlockLocation loc;
    loc.info = CounterRows(results.counters);
    loc.start = hit.line;
    loc.text = hit.text;
    if (IsSingleStatement(loc.text)) {
        loc.single = true;
        loc.end = loc.start;
        return loc;
    }
    loc.single = false;
    loc.end = FindEndLine(lines, loc.start);
    loc.info.push_back({"", ""});
    loc.info.push_back({"Function / Sub name", loc.text});
    loc.info.push_back({"Start at line", std::to_string(loc.start)});
    loc.info.push_back({"Ends at line", std::to_string(loc.end)});
    loc.info.push_back({"Lines in codeblock", std::to_string(loc.end - loc.start)});
    return loc;
}

std::optional<std::size_t> TBlockLocator::RowAtLine(const TScanResults& results, int line) {
    for (std::size_t i = 0; i < results.rows.size(); ++i)
        if (results.rows[i].line == line) return i;
    return std::nullopt;
}

std::optional<std::size_t> TBlockLocator::Find(const TScanResults& results, std::string_view what) {
    if (what.empty()) return std::nullopt;
    std::string needle = AsciiUpperCase(what);
    for (std::size_t i = 0; i < results.rows.size(); ++i) {
        std::size_t p = AsciiUpperCase(results.rows[i].text).find(needle);
        if (p != std::string::npos && p > 0) return i; // only the first occurrence counts
    }
    return std::nullopt;
}

std::string TBlockLocator::FoundMessage(const TScanResults& results, std::size_t row) {
    return "Function / Sub found at line : " + std::to_string(results.rows.at(row).line);
}

void TBlockLocator::SpecialLineColors(int line, int caretLine, bool& special, TColor& fg,
                                      TColor& bg) {
    if (line != caretLine) return;
    special = true;
    fg = clYellow;
    bg = clBlue;
}

} // namespace ondrex
