// ondrex cat: a file highlighted for a terminal (or as an HTML page) through the
// highlighters' export interface.

#include "app/CliCommands.h"
#include "app/CliPipeline.h"
#include "app/CliTokens.h"
#include "editor/LineBreaks.h"
#include "highlighters/TqvAnsiExport.h"
#include "highlighters/TqvHtmlExport.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
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

// Lines with their export tokens, found on one thread and written on another; the first
// thread also writes the lines from `ownLines` on, into `written`.
struct TExportChunk {
    std::vector<std::string_view> lines;
    std::vector<TqvExportToken> tokens;
    std::vector<std::size_t> ends; // where each line's tokens end
    std::size_t ownLines = 0;
    std::string written;

    // Calls f(line, tokens) for the lines [from, to).
    template <class F> void ForLines(std::size_t from, std::size_t to, F f) const {
        const std::span<const TqvExportToken> all(tokens);
        for (std::size_t i = from, begin = from ? ends[from - 1] : 0; i < to; begin = ends[i++])
            f(lines[i], all.subspan(begin, ends[i] - begin));
    }
};

// Seconds of processor time the calling thread has used: what a stage costs, whatever else
// the machine runs.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The share of a chunk's lines the token thread writes, so that both threads take about as
// long: with T its time for the tokens and F the time writing all the lines takes, it writes
// the share s with T + s F = (1 - s) F. Learnt from each chunk; a small share always stays,
// to keep measuring F. (With the PHP highlighter finding the tokens takes about as long as
// writing the lines, and the share stays small; each thread finds the bytes to replace in
// the lines it writes, which keeps that work off the token thread.)
class TWritingShare {
public:
    std::size_t LinesOf(std::size_t lines) const { return std::size_t(share_ * double(lines)); }
    void Learn(double tokenSeconds, double writeSeconds, std::size_t written, std::size_t lines) {
        if (!written || writeSeconds <= 0) return;
        const double all = writeSeconds * double(lines) / double(written);
        const double balanced = (all - tokenSeconds) / (2 * all);
        share_ = std::clamp((share_ + balanced) / 2, kLeast, kMost);
    }

private:
    static constexpr double kLeast = 1.0 / 16, kMost = 3.0 / 4;
    double share_ = 1.0 / 4;
};

// Every line of the text through the exporter: the tokens are found on a second thread while
// the exporter writes on this one, and the second thread writes a share of the lines through a
// sibling of the exporter; afterChunk() follows every piece of the text. Each line's break is
// overwritten with a NUL, so that the highlighter reads the line where it stands.
template <class AfterChunk>
void ExportLines(std::string& bytes, TqvCustomHighLighter& highlighter, TqvStyledExport& exporter,
                 AfterChunk afterChunk) {
    // Pieces of a few milliseconds' work: threads that hand each other work more often are
    // kept on one processor by the scheduler.
    constexpr std::size_t kBytesPerChunk = std::size_t(2) << 20;
    TLineSplitter splitter(bytes);
    std::string siblingOut;
    const auto sibling = exporter.MakeSibling(siblingOut);
    TWritingShare share;
    RunPipelined<TExportChunk>(
        [&](TExportChunk& chunk) {
            const double start = ThreadSeconds();
            chunk.lines.clear();
            chunk.tokens.clear();
            chunk.ends.clear();
            std::string_view line;
            for (std::size_t size = 0; size < kBytesPerChunk && splitter.Next(line);
                 size += line.size() + 1) {
                bytes[std::size_t(line.data() - bytes.data()) + line.size()] = '\0';
                highlighter.ExportTokens(line.data(), chunk.tokens);
                chunk.lines.push_back(line);
                chunk.ends.push_back(chunk.tokens.size());
            }
            const std::size_t lines = chunk.lines.size();
            chunk.ownLines = lines - share.LinesOf(lines);
            // The looks of the lines written later on the other thread are met first, so that
            // they are numbered in the order of the text.
            chunk.ForLines(0, chunk.ownLines, [&](std::string_view text, auto tokens) {
                sibling->MeetLooks(text, tokens);
            });
            const double found = ThreadSeconds();
            chunk.ForLines(chunk.ownLines, lines, [&](std::string_view text, auto tokens) {
                sibling->WriteLine(text, tokens);
            });
            share.Learn(found - start, ThreadSeconds() - found, lines - chunk.ownLines, lines);
            chunk.written.swap(siblingOut);
            siblingOut.clear();
            return lines != 0;
        },
        [&](const TExportChunk& chunk) {
            chunk.ForLines(0, chunk.ownLines, [&](std::string_view text, auto tokens) {
                exporter.WriteLine(text, tokens);
            });
            exporter.AppendWritten(chunk.written);
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
