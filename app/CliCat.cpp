// ondrex cat: a file highlighted for a terminal (or as an HTML page) through the
// highlighters' export interface.

#include "app/CliCommands.h"
#include "app/CliPipeline.h"
#include "app/CliTokens.h"
#include "editor/LineBreaks.h"
#include "highlighters/TqvAnsiExport.h"
#include "highlighters/TqvHtmlExport.h"

#include <cstdlib>
#include <iostream>
#include <span>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ondrex::cli {

namespace {

bool UseColor(const std::string& when, std::ostream& out) {
    if (when == "always") return true;
    if (when == "never") return false;
    if (when != "auto") throw EUsage("cat: --color must be auto, always or never");
    const char* noColor = std::getenv("NO_COLOR");
    if (noColor && *noColor) return false;
    return &out == &std::cout && isatty(STDOUT_FILENO);
}

// Lines with their export tokens and the offsets of their bytes the medium replaces, found on
// one thread and written on another.
struct TExportChunk {
    std::vector<std::string_view> lines;
    std::vector<TqvExportToken> tokens;
    std::vector<std::size_t> replaced;
    // Where each line's entries end in `tokens` and in `replaced`.
    std::vector<std::pair<std::size_t, std::size_t>> ends;
};

// Every line of the text through the exporter: the tokens, and the bytes to replace, are found
// on a second thread while the exporter writes on this one; afterChunk() follows every piece of the
// text. Each line's break is overwritten with a NUL, so that the highlighter reads the line
// where it stands.
template <class AfterChunk>
void ExportLines(std::string& bytes, TqvCustomHighLighter& highlighter, TqvStyledExport& exporter,
                 AfterChunk afterChunk) {
    // Pieces of a few milliseconds' work: threads that hand each other work more often are
    // kept on one processor by the scheduler.
    constexpr std::size_t kBytesPerChunk = std::size_t(2) << 20;
    TLineSplitter splitter(bytes);
    RunPipelined<TExportChunk>(
        [&](TExportChunk& chunk) {
            chunk.lines.clear();
            chunk.tokens.clear();
            chunk.replaced.clear();
            chunk.ends.clear();
            std::string_view line;
            for (std::size_t size = 0; size < kBytesPerChunk && splitter.Next(line);
                 size += line.size() + 1) {
                bytes[std::size_t(line.data() - bytes.data()) + line.size()] = '\0';
                highlighter.ExportTokens(line.data(), chunk.tokens);
                exporter.FindReplaced(line, chunk.replaced);
                chunk.lines.push_back(line);
                chunk.ends.emplace_back(chunk.tokens.size(), chunk.replaced.size());
            }
            return !chunk.lines.empty();
        },
        [&](const TExportChunk& chunk) {
            const std::span<const TqvExportToken> tokens(chunk.tokens);
            const std::span<const std::size_t> replaced(chunk.replaced);
            std::pair<std::size_t, std::size_t> begin{0, 0};
            for (std::size_t i = 0; i < chunk.lines.size(); ++i) {
                const auto end = chunk.ends[i];
                exporter.WriteLine(chunk.lines[i],
                                   tokens.subspan(begin.first, end.first - begin.first),
                                   replaced.subspan(begin.second, end.second - begin.second));
                begin = end;
            }
            afterChunk();
        });
}

} // namespace

int runCat(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&] {
        TArgParser parser;
        AddLanguageOption(parser);
        parser.Option("--color", true, "always");
        parser.Flag("--html");
        parser.Parse(args);
        if (parser.Positionals().size() != 1)
            throw EUsage(parser.Positionals().empty() ? "cat: missing FILE"
                                                      : "cat: too many arguments");
        const std::string& file = parser.Positionals()[0];
        const bool color = UseColor(parser.Value("--color", "auto"), out);
        auto highlighter = HighlighterFor(parser, file);
        std::string bytes = ReadInput(file);
        const TCodePage codePage = DetectCodePage(bytes);

        if (parser.Has("--html")) {
            TqvHtmlExport html(codePage);
            html.Reserve(3 * bytes.size()); // markup and escapes: untouched room costs nothing
            ExportLines(bytes, *highlighter, html, [] {});
            Write(out, html.PageHead(ToUtf8(DetectCodePage(file), file)));
            Write(out, html.PageBody());
            Write(out, TqvHtmlExport::PageTail());
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
            TLineSplitter splitter(bytes);
            std::string line;
            for (std::string_view view; splitter.Next(view);) {
                line.assign(view);
                AppendUtf8(codePage, line, text);
                text += '\n';
                flush(false);
            }
            flush(true);
            return kExitOk;
        }
        TqvAnsiExport ansi(text, codePage);
        ExportLines(bytes, *highlighter, ansi, [&] { flush(false); });
        flush(true);
        return kExitOk;
    });
}

} // namespace ondrex::cli
