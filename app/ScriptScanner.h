#pragma once
// The script scanner as headless logic: the main window's Button1Click calls it
// and copies the result into its controls; the command line prints it.
//
// It reads lines exactly as the line list splits them (CR, LF, CR LF; ARCHITECTURE.md, "Decided
// behaviour") and stops at a Ctrl+Z (code 26) at the start of a line. Per line it runs the plain,
// case-insensitive substring tests, always in the same order.

#include "platform/Event.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TqvEditList;

// The three check boxes: dimcheck, Checkbox2, Checkbox3.
struct TScanOptions {
    bool dim = false;  // "Include Dim statements"
    bool ifs = false;  // "Include If Statements"
    bool calls = true; // "Include function calls"
};

// State image indices of ListView2.
enum TScanImage : int { siDim = 0, siSub = 1, siFunctionOrCall = 2, siIfElse = 3 };

// One listed hit: row i of ListView2, item i of ListBox2 and item i of Listbox1 in one place,
// so the three can never drift apart.
struct TScanRow {
    std::string_view caption; // "Function", "Sub", "Dim", "If ", "ElseIf ", "Else ", "Call "
    int image = 0;            // state image index
    std::string name;         // the name text (first sub-item)
    int line = 0;             // 1-based line number (ListBox2)
    std::string text;         // the normalised line (Listbox1)
};

// A (caption, value) row of the information list ListView1.
struct TInfoRow {
    std::string caption;
    std::string value;
    bool operator==(const TInfoRow&) const = default;
};

struct TScanCounters {
    std::int32_t functionCount = 0; // FunctionCount
    std::int32_t subCount = 0;      // SubCount
    std::int32_t statementCount =
        0; // StatementCount: DIM, IF, ELSEIF, ELSE, CALL hits, listed or not
};

// "Functions found", "Subs found", "Dim statements found" with the counters as decimal text.
std::vector<TInfoRow> CounterRows(const TScanCounters& counters);

// The per-line message pump. Unset, it costs one test per line.
using TMessagePump = TEvent<>;

// What the main window keeps between scans.
struct TScanResults {
    std::vector<TScanRow> rows;  // ListView2 + ListBox2 + Listbox1
    TScanCounters counters;      // FunctionCount, SubCount, StatementCount
    std::vector<TInfoRow> info;  // ListView1
    bool anyFound = false;       // AnyFound of the last scan
    bool resultsEnabled = false; // ListView2 enabled (only ever switched on)
    int linesRead = 0;           // lines read by the last scan (up to a Ctrl+Z)
    // Raised by every scan when it starts; a scan whose pump let another scan start stops
    // (the newer one owns the lists).
    std::uint64_t generation = 0;
};

struct TFileScan {
    bool validUtf8 = false;  // the whole file is valid UTF-8 (when asked for)
    std::uint64_t bytes = 0; // bytes read
};

class TScriptScanner {
public:
    TScanOptions options;
    TMessagePump processMessages;
    // Counters only (`ondrex scan --count`): no rows are built; counters, AnyFound and the
    // information rows are as in a full scan.
    bool countOnly = false;

    // Scans one block (a whole file's bytes) into `results`: the rows and counters are reset
    // first, then filled, then ListView1 gets the three counter rows and ListView2 is
    // enabled when something was listed (steps 2, 6-9).
    void ScanBlock(std::string_view block, TScanResults& results) const;
    // The window's scan: ScanBlock's rows, counters and rows of ListView1, found by the
    // headless path over slices of whole lines (a few dozen KiB each) with `between` called
    // after every slice but the last, so the caller pumps its events by time rather than per
    // line. A scan started from `between` takes over the lists and this one stops at once.
    void ScanBlockInSlices(std::string_view block, TScanResults& results,
                           const TMessagePump& between) const;

    // The whole Button1Click: empty path → nothing; clear the two hidden lists;
    // clear `lines` and load the file into them; scan the same bytes. A file that cannot be
    // read throws EFileError after the hidden lists (and `lines`) were cleared, leaving the
    // rows of ListView2, ListView1 and the counters as they were (Failure handling).
    void Scan(const std::string& path, TqvEditList& lines, TScanResults& results) const;

    // Processes one line (without terminator) as the scan defines it,
    // appending its listed hits and counting. `lineNumber` is 1-based.
    void ProcessLine(std::string_view line, int lineNumber, TScanResults& results) const;

    // Text routines of the scan.
    static std::string TrimLeadingSpaces(std::string_view s);
    static std::string RemoveTabs(std::string_view s);

    // True when the line contains, ignoring ASCII case, one of the search strings; a line
    // without one can give no hit (a cheap pre-test; ProcessLine decides).
    static bool MayHit(std::string_view line);

    // The scan of a text that comes in runs of whole lines (the command line's streamed
    // input): StartScan; ScanWholeLines for each run, in order, until it answers false (a
    // Ctrl+Z at the start of a line ended the text); FinishScan. Rows may be taken out of
    // `results` between runs.
    void StartScan(TScanResults& results) const;
    bool ScanWholeLines(std::string_view lines, TScanResults& results) const;
    void FinishScan(TScanResults& results) const;

    // Headless (no pump, no editor): scans the file as it is read, a chunk of whole lines at a
    // time, so a large file costs a small buffer. Throws EFileError as Scan does. With
    // checkUtf8 it also tells whether the whole file is valid UTF-8 (for decoding output).
    TFileScan ScanFile(const std::string& path, TScanResults& results, bool checkUtf8) const;

private:
    // ProcessLine for a line a pre-test (MayHit, or the block scan's search) already let
    // through; `readable` bytes from line.data() may be read (at
    // least the line's).
    void ProcessCandidateLine(std::string_view line, std::size_t readable, int lineNumber,
                              TScanResults& results) const;
    // Scans whole lines of a block (numbered from lineBase + 1); returns the lines read and
    // sets `stopped` at a Ctrl+Z that starts a line.
    int scanWithoutPump(std::string_view block, int lineBase, TScanResults& results,
                        bool& stopped) const;
};

} // namespace ondrex
