// ondrex cat: a file highlighted for a terminal (or as an HTML page) through the
// highlighters' export interface.

#include "app/CliCommands.h"
#include "app/CliInput.h"
#include "app/CliTokens.h"
#include "highlighters/AnsiExport.h"
#include "highlighters/HtmlExport.h"
#include "platform/LineBreaks.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <span>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace ondrex::cli {

namespace {

constexpr std::size_t kSlice = std::size_t(1) << 20;
// Runs that stay in the second-level cache between their read, the line split and the
// highlighting (4 MiB runs cost cat about 4 % more CPU, its plain text about 12 %).
constexpr std::size_t kRunSize = std::size_t(256) << 10;

bool UseColor(const std::string& when, std::ostream& out) {
    if (when == "always") return true;
    if (when == "never") return false;
    if (when != "auto") throw EUsage("cat: --color must be auto, always or never");
    const char* noColor = std::getenv("NO_COLOR");
    if (noColor && *noColor) return false;
    return &out == &std::cout && isatty(STDOUT_FILENO);
}

// Every line of a run of whole lines through the exporter (whose highlighter goes on from the
// run before), each line's tokens found and written in turn while they are still in the
// cache; afterPiece() follows every 256 KiB of text and the run's end. Each line's break is
// overwritten with a NUL (the byte after the run too, for a last line without one), so that
// the highlighter reads the line where it stands.
template <class AfterPiece>
void ExportLines(std::span<char> bytes, std::vector<std::string_view>& lines,
                 TqvCustomHighLighter& highlighter, TStyledExport& exporter,
                 AfterPiece afterPiece) {
    constexpr std::size_t kPiece = std::size_t(1) << 18;
    lines.clear();
    ForEachLine(std::string_view(bytes.data(), bytes.size()),
                [&](std::string_view line) { lines.push_back(line); });
    std::vector<TExportToken> tokens;
    std::size_t sincePiece = 0;
    for (const std::string_view line : lines) {
        bytes.data()[std::size_t(line.data() - bytes.data()) + line.size()] = '\0';
        tokens.clear();
        highlighter.ExportTokens(line.data(), tokens);
        // The rest of the run, and the byte after it, may be read past the line.
        exporter.WriteLine(line, tokens,
                           bytes.size() + 1 - std::size_t(line.data() - bytes.data()));
        if ((sincePiece += line.size()) >= kPiece) {
            afterPiece();
            sincePiece = 0;
        }
    }
    afterPiece();
}

} // namespace

int runCat(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&](std::string& input) {
        TArgParser parser;
        AddLanguageOption(parser);
        parser.Option("--color", true, "always");
        parser.Flag("--html");
        parser.Parse(args);
        if (parser.Positionals().size() != 1)
            throw EUsage(parser.Positionals().empty() ? "cat: missing FILE"
                                                      : "cat: too many arguments");
        const std::string& file = input = parser.Positionals()[0];
        const bool color = UseColor(parser.Value("--color", "auto"), out);
        auto highlighter = HighlighterFor(parser, file);
        const bool page = parser.Has("--html");
        // The page's head depends on the highlighter alone (not on the text's code page): it
        // goes out as soon as the file is open, before the whole file is read for the code
        // page.
        TStreamedInput source(file, kRunSize, [&] {
            if (page)
                Write(out, THtmlExport(TCodePage::Utf8, *highlighter)
                               .PageHead(ToUtf8(DetectCodePage(file), file)));
        });
        const TCodePage codePage = source.CodePage();
        auto eachRun = [&](auto f) {
            for (std::span<char> run; !(run = source.Next()).empty();)
                f(run);
        };
        std::vector<std::string_view> lines;

        if (page) {
            THtmlExport html(codePage, *highlighter);
            auto writeOut = [&] {
                Write(out, html.PageBody());
                html.ClearBody();
            };
            eachRun([&](std::span<char> run) {
                ExportLines(run, lines, *highlighter, html, writeOut);
            });
            Write(out, THtmlExport::PageTail());
            return kExitOk;
        }

        std::string text;
        auto flush = [&](bool always) {
            if (always || text.size() > (1 << 20)) {
                Write(out, text);
                text.clear();
            }
        };
        if (!color) {
            eachRun([&](std::span<char> run) {
                ForEachLine(std::string_view(run.data(), run.size()), [&](std::string_view line) {
                    // A long line goes out in slices cut between characters.
                    for (std::size_t at = 0, end; at < line.size(); at = end) {
                        end = std::min(line.size(), at + kSlice);
                        if (const std::size_t start = CharStart(codePage, line, end); start > at)
                            end = start;
                        AppendUtf8(codePage, line.substr(at, end - at), text);
                        flush(false);
                    }
                    text += '\n';
                    flush(false);
                });
            });
            flush(true);
            return kExitOk;
        }
        TAnsiExport ansi(text, codePage);
        eachRun([&](std::span<char> run) {
            ExportLines(run, lines, *highlighter, ansi, [&] {
                ansi.Flush();
                flush(false);
            });
        });
        flush(true);
        return kExitOk;
    });
}

} // namespace ondrex::cli
