#include "platform/Printer.h"

#include "platform/Dialogs.h"

#include <algorithm>
#include <memory>

namespace ondrex {

bool PrintLinesOn(TPrintJob& job, const std::string& title, const std::vector<std::string>& lines) {
    const std::size_t perPage = std::max<std::size_t>(job.LinesPerPage(), 1);
    const std::size_t pages = (lines.size() + perPage - 1) / perPage;
    std::unique_ptr<TProgress> progress;
    if (pages > kFewPages)
        progress = Dialogs().BeginProgress(
            "Printing \"" + title + "\", " + std::to_string(pages) + " pages", lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && i % perPage == 0) job.NewPage();
        job.DrawLine(i % perPage, lines[i]);
        if (progress && !progress->Advance(i + 1)) return false;
    }
    job.Finish();
    return true;
}

std::string ExpandTabs(const std::string& line, int tabWidth) {
    if (tabWidth <= 0 || line.find('\t') == std::string::npos) return line;
    std::string out;
    for (char c : line) {
        if (c != '\t') {
            out += c;
            continue;
        }
        out.append(tabWidth - out.size() % tabWidth, ' ');
    }
    return out;
}

} // namespace ondrex
