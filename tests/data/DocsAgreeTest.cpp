// The README, the manual page and the desktop entry say what the program itself says: the
// command-line synopsis of --help, and the languages, extensions and MIME types of the
// language registry.
#include "app/CliCommands.h"
#include "highlighters/THighlighterList.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace ondrex {
namespace {

std::string readSource(const std::string& relative) {
    std::ifstream in(std::string(ONDREX_SOURCE_DIR) + "/" + relative, std::ios::binary);
    EXPECT_TRUE(in) << relative;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Runs of blanks as one space, none at either end.
std::string squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t';
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out += blank ? ' ' : c;
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::set<std::string> wordsOf(const std::string& text, char separator) {
    std::set<std::string> words;
    std::istringstream in(text);
    for (std::string word; std::getline(in, word, separator);)
        if (!word.empty()) words.insert(word);
    return words;
}

// One line of roff as it reads: the font macros' arguments, joined by a space (.B, .I) or
// run together (.BR, .RB, ...), with "\-" as "-" and without inline font changes.
std::string roffText(const std::string& line) {
    std::string macro, rest = line;
    if (!line.empty() && line[0] == '.') {
        const std::size_t space = line.find(' ');
        macro = line.substr(1, space == std::string::npos ? std::string::npos : space - 1);
        rest = space == std::string::npos ? "" : line.substr(space + 1);
    }
    std::vector<std::string> args;
    for (std::size_t i = 0; i < rest.size();) {
        if (rest[i] == ' ') {
            ++i;
        } else if (rest[i] == '"') {
            const std::size_t end = rest.find('"', i + 1);
            args.push_back(rest.substr(i + 1, end - i - 1));
            i = end == std::string::npos ? rest.size() : end + 1;
        } else {
            const std::size_t end = std::min(rest.find(' ', i), rest.size());
            args.push_back(rest.substr(i, end - i));
            i = end;
        }
    }
    const bool together = macro.size() == 2;
    std::string text;
    for (const std::string& arg : args)
        text += (text.empty() || together ? "" : " ") + arg;
    for (std::size_t at; (at = text.find("\\-")) != std::string::npos;)
        text.erase(at, 1);
    for (std::size_t at; (at = text.find("\\f")) != std::string::npos;)
        text.erase(at, 3); // an inline font change: \fI, \fB, \fR
    return text;
}

// The synopsis lines of --help: its usage forms but the generic "COMMAND" one, and the first
// line of each command's usage.
std::vector<std::string> helpSynopsis() {
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCommandLine({"--help"}, out, err), 0);
    std::vector<std::string> synopsis;
    bool inUsage = true, inCommands = false;
    for (const std::string& line : linesOf(out.str())) {
        inUsage = inUsage && !line.empty();
        inCommands = inCommands || line == "Commands:";
        if (inUsage && line.find("COMMAND") == std::string::npos)
            synopsis.push_back(squeezed(line.substr(line.find("ondrex"))));
        if (inCommands && line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ')
            synopsis.push_back("ondrex " + squeezed(line));
    }
    std::sort(synopsis.begin(), synopsis.end());
    return synopsis;
}

std::vector<std::string> readmeSynopsis() {
    const std::vector<std::string> lines = linesOf(readSource("README.md"));
    std::vector<std::string> synopsis;
    auto line = std::find(lines.begin(), lines.end(), "## Command line");
    line = std::find(line, lines.end(), "```");
    for (++line; line < lines.end() && *line != "```"; ++line)
        synopsis.push_back(squeezed(*line));
    std::sort(synopsis.begin(), synopsis.end());
    return synopsis;
}

std::vector<std::string> manSynopsis() {
    const std::vector<std::string> lines = linesOf(readSource("data/ondrex.1"));
    std::vector<std::string> synopsis(1);
    auto line = std::find(lines.begin(), lines.end(), ".SH SYNOPSIS");
    for (++line; line < lines.end() && line->rfind(".SH", 0) != 0; ++line) {
        if (*line == ".br") {
            synopsis.emplace_back();
            continue;
        }
        synopsis.back() += (synopsis.back().empty() ? "" : " ") + roffText(*line);
    }
    for (std::string& form : synopsis)
        form = squeezed(form);
    std::sort(synopsis.begin(), synopsis.end());
    return synopsis;
}

TEST(DocsAgree, SynopsisOfHelpReadmeAndManualPage) {
    const std::vector<std::string> help = helpSynopsis();
    ASSERT_GE(help.size(), 3u);
    EXPECT_EQ(readmeSynopsis(), help);
    EXPECT_EQ(manSynopsis(), help);
}

// "reads web script files (.asp .inc ...)" in the README and the manual page.
TEST(DocsAgree, ExtensionsOfReadmeAndManualPage) {
    std::set<std::string> registered;
    const THighlighterList& list = THighlighterList::Instance();
    for (int i = 0; i < list.Count(); ++i)
        for (const std::string& extension : list[i].Extensions)
            registered.insert(AnsiLowerCase(TCodePage::Utf8, extension));
    for (const char* doc : {"README.md", "data/ondrex.1"}) {
        std::string text = readSource(doc);
        for (char& c : text)
            if (c == '\n') c = ' ';
        const std::string lead = "reads web script files (";
        const std::size_t from = text.find(lead);
        ASSERT_NE(from, std::string::npos) << doc;
        const std::size_t begin = from + lead.size();
        EXPECT_EQ(wordsOf(text.substr(begin, text.find(')', begin) - begin), ' '), registered)
            << doc;
    }
}

TEST(DocsAgree, MimeTypesOfTheDesktopEntry) {
    std::set<std::string> registered;
    const THighlighterList& list = THighlighterList::Instance();
    for (int i = 0; i < list.Count(); ++i)
        registered.insert(list[i].MimeTypes.begin(), list[i].MimeTypes.end());
    std::set<std::string> listed;
    for (const std::string& line : linesOf(readSource("data/ondrex.desktop")))
        if (line.rfind("MimeType=", 0) == 0) listed = wordsOf(line.substr(9), ';');
    EXPECT_EQ(listed, registered);
}

} // namespace
} // namespace ondrex
