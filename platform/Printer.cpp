#include "platform/Printer.h"

#include "platform/Dialogs.h"

#include <algorithm>
#include <memory>

namespace ondrex {

namespace {

// The first `chars` characters of a line (a UTF-8 character counts once, any other byte as
// one), its tabs expanded.
std::string LineStart(const std::string& line, std::size_t chars) {
    const auto cut = [chars](const std::string& text) {
        std::size_t i = 0;
        for (std::size_t n = 0; i < text.size(); ++i)
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && n++ == chars) break;
        return text.substr(0, i);
    };
    return cut(ExpandTabs(line.size() > chars ? cut(line) : line));
}

} // namespace

bool PrintLinesOn(TPrintJob& job, const std::string& title, const std::vector<std::string>& lines) {
    const std::size_t perPage = std::max<std::size_t>(job.LinesPerPage(), 1);
    const std::size_t pages = (lines.size() + perPage - 1) / perPage;
    std::unique_ptr<TProgress> progress;
    if (pages > kFewPages)
        progress = Dialogs().BeginProgress(
            "Printing \"" + title + "\", " + std::to_string(pages) + " pages", lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && i % perPage == 0) job.NewPage();
        job.DrawLine(i % perPage, LineStart(lines[i], job.CharsPerLine()));
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
