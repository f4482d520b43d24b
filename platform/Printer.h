#pragma once
// Printing plain text as one job on the default printer. Setting the environment variable
// ONDREX_PRINT_TO_PDF to a file path sends every job to that PDF file instead (for tests
// and for machines without a printer).

#include "platform/Font.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace ondrex {

// No printer, or the printing system refused the job.
class EPrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Prints `lines` in `font`, one text line per printed line from the top of the printable
// area, starting a new page whenever the next line does not fit; lines wider than the page
// are cut at its edge. `title` names the job. Throws EPrinterError.
void PrintLines(const std::string& title, const std::vector<std::string>& lines, const TFont& font);

// Tabs replaced by blanks up to the next multiple of `tabWidth` columns (bytes).
std::string ExpandTabs(const std::string& line, int tabWidth = 8);

} // namespace ondrex
