#pragma once
// Printing plain text as one job on the default printer. Setting the environment variable
// ONDREX_PRINT_TO_PDF to a file path sends every job to that PDF file instead (for tests
// and for machines without a printer).

#include "platform/Font.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace ondrex {

// No printer, or the printing system refused the job.
class EPrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A job with more pages than this shows its progress with a Cancel.
constexpr std::size_t kFewPages = 3;

// One job's pages as the toolkit draws them. Destroyed without Finish (cancelled, or an
// error), the job is dropped: nothing of it is printed and no PDF of it is left.
class TPrintJob {
public:
    virtual ~TPrintJob() = default;
    // Text lines that fit on one page (at least 1).
    virtual std::size_t LinesPerPage() const = 0;
    // Characters that can show on one line at most: a line is cut to these before it is
    // drawn, so a line of megabytes costs no more than one that reaches the page's edge.
    virtual std::size_t CharsPerLine() const = 0;
    // These throw EPrinterError.
    virtual void NewPage() = 0;
    virtual void DrawLine(std::size_t row, const std::string& line) = 0;
    virtual void Finish() = 0;
};

// Lays `lines` out on `job`, one text line per printed line from the top of the page (tabs
// expanded, cut to CharsPerLine), and finishes it. A job of more than kFewPages pages shows
// Dialogs().BeginProgress; Cancel there returns false with the job left unfinished (the caller
// drops it).
bool PrintLinesOn(TPrintJob& job, const std::string& title, const std::vector<std::string>& lines);

// Prints `lines` in `font` through PrintLinesOn, on the toolkit's printer; lines wider than
// the page are cut at its edge. `title` names the job. False when the user cancelled it.
// Throws EPrinterError.
bool PrintLines(const std::string& title, const std::vector<std::string>& lines, const TFont& font);

// Tabs replaced by blanks up to the next multiple of `tabWidth` columns (bytes).
std::string ExpandTabs(const std::string& line, int tabWidth = 8);

} // namespace ondrex
