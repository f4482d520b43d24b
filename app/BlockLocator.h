#pragma once
// The code block locator, information list and find as headless logic. The main
// window's ListBox1DblClick applies a TBlockLocation to its controls (information list,
// copy/print buttons, caret, top line, focus) and keeps BlockStartLine/BlockEndLine.

#include "app/ScriptScanner.h"
#include "platform/Color.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TqvEditList;

struct TBlockLocation {
    int start = 1;              // BlockStartLine: the hit's 1-based line
    int end = 1;                // BlockEndLine
    bool single = true;         // a single statement: copy and print disabled
    std::vector<TInfoRow> info; // the rows of ListView1, in order
    std::string text;           // the Listbox1 entry (the normalised line of the hit)
    // The caret goes to (column 1, start) and start becomes the top line, in both cases.
    bool copyPrintEnabled() const { return !single; }
};

class TBlockLocator {
public:
    // Locates the block of result row `row` in the editor's `lines`. Returns nothing when the
    // index names no row (the window then does nothing).
    static std::optional<TBlockLocation> Locate(const TScanResults& results, std::size_t row,
                                                const TqvEditList& lines);

    // The single-statement test of step 5: "DIM", "IF" or "CALL" anywhere in the upper-cased
    // text.
    static bool IsSingleStatement(std::string_view text);

    // The 0-based index of the last line examined by step 6.1 for a header at the 1-based
    // line `start`, plus 1: the block's 1-based end line. A header on the file's last line
    // (or beyond it) ends where it starts.
    static int FindEndLine(const TqvEditList& lines, int start);
    // FindEndLine for many headers at once, in one pass over the lines (so that headers
    // without an end cost no pass of their own): the ends in the order of `starts`.
    static std::vector<int> FindEndLines(const TqvEditList& lines, const std::vector<int>& starts);
    // The end-line test of step 6.1: "END FUNCTION", "END SUB" or "}" anywhere in the line,
    // ignoring ASCII case.
    static bool EndsBlock(std::string_view line);

    // The index of the first row of the given 1-based line, if any (the command line's
    // `ondrex block FILE LINE`).
    static std::optional<std::size_t> RowAtLine(const TScanResults& results, int line);

    // Find (SpeedButton7Click): the first Listbox1 entry that holds the upper-cased `what`
    // after its first character; nothing for an empty text or no match.
    static std::optional<std::size_t> Find(const TScanResults& results, std::string_view what);
    // "Function / Sub found at line : N", N being the entry's file line number.
    static std::string FoundMessage(const TScanResults& results, std::size_t row);

    // memo1SpecialLineColors: the caret's line, and only that, is yellow on blue.
    static void SpecialLineColors(int line, int caretLine, bool& special, TColor& fg, TColor& bg);
};

} // namespace ondrex
