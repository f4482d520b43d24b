// ondrex cat: a file highlighted for a terminal (or as an HTML page) through the
// highlighters' export interface.

#include "app/CliCommands.h"
#include "app/CliInput.h"
#include "app/CliPipeline.h"
#include "app/CliTokens.h"
#include "highlighters/AnsiExport.h"
#include "highlighters/HtmlExport.h"
#include "platform/LineBreaks.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <span>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ondrex::cli {

namespace {

constexpr std::size_t kBodyInMemory = std::size_t(1) << 20;
constexpr std::size_t kSlice = std::size_t(1) << 20;

bool UseColor(const std::string& when, std::ostream& out) {
    if (when == "always") return true;
    if (when == "never") return false;
    if (when != "auto") throw EUsage("cat: --color must be auto, always or never");
    const char* noColor = std::getenv("NO_COLOR");
    if (noColor && *noColor) return false;
    return &out == &std::cout && isatty(STDOUT_FILENO);
}

// Lines with their export tokens, found on one thread and written on another; the first
// thread also writes the lines from `ownLines` on, into `written`. A chunk goes back and
// forth between the threads and carries what each one's part cost, for the next round.
struct TExportChunk {
    std::vector<std::string_view> lines;
    std::vector<TExportToken> tokens;
    std::vector<std::size_t> ends; // where each line's tokens end
    std::size_t ownLines = 0;
    std::string written;
    double tokenSeconds = 0; // finding the tokens
    double writeSeconds = 0; // writing the lines up to ownLines, on the other thread

    // Calls f(line, tokens) for the lines [from, to).
    template <class F> void ForLines(std::size_t from, std::size_t to, F f) const {
        const std::span<const TExportToken> all(tokens);
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
// long: with T its time for the tokens and F the time writing all the lines takes on the
// other thread, it writes the share s with T + s F = (1 - s) F. Learnt from each chunk that
// comes back. (With the PHP highlighter finding the tokens takes about as long as writing
// the lines, and the share stays near nothing.)
class TWritingShare {
public:
    std::size_t LinesOf(std::size_t lines) const { return std::size_t(share_ * double(lines)); }
    void Learn(const TExportChunk& chunk) {
        if (!chunk.ownLines || chunk.writeSeconds <= 0) return;
        const double all = chunk.writeSeconds * double(chunk.lines.size()) / double(chunk.ownLines);
        const double balanced = (all - chunk.tokenSeconds) / (2 * all);
        share_ = std::clamp((share_ + balanced) / 2, 0.0, kMost);
    }

private:
    static constexpr double kMost = 3.0 / 4;
    double share_ = 1.0 / 8;
};

// The text from `from` up to the end of the first line break at or after `from + size`.
std::string_view NextPiece(std::span<char> text, std::size_t from, std::size_t size) {
    const std::string_view all(text.data(), text.size());
    if (all.size() - from <= size) return all.substr(from);
    TLineSplitter rest(all.substr(from + size));
    std::string_view line;
    rest.Next(line);
    return all.substr(from, size + rest.Offset());
}

// Every line of a run of whole lines through the exporter (whose highlighter goes on from the
// run before): the tokens are found on a second thread while
// the exporter writes on this one, and the second thread writes a share of the lines through a
// sibling of the exporter; afterChunk() follows every piece of the text. Each line's break is
// overwritten with a NUL (the byte after the run too, for a last line without one), so that
// the highlighter reads the line where it stands.
template <class AfterChunk>
void ExportLines(std::span<char> bytes, TqvCustomHighLighter& highlighter, TStyledExport& exporter,
                 AfterChunk afterChunk) {
    // Small pieces: a piece's tokens take several times its bytes, and the few pieces in
    // turn keep reusing memory already touched instead of faulting in new pages.
    constexpr std::size_t kBytesPerChunk = std::size_t(1) << 18;
    std::size_t next = 0; // where the next piece starts
    std::string siblingOut;
    const auto sibling = exporter.MakeSibling(siblingOut);
    TWritingShare share;
    // Once every look is met, their numbers are settled and need no meeting in text order.
    bool everyLookMet = false;
    RunPipelined<TExportChunk>(
        [&](TExportChunk& chunk) {
            share.Learn(chunk);
            const double start = ThreadSeconds();
            chunk.lines.clear();
            chunk.tokens.clear();
            chunk.ends.clear();
            const std::string_view piece = NextPiece(bytes, next, kBytesPerChunk);
            next += piece.size();
            ForEachLine(piece, [&](std::string_view line) { chunk.lines.push_back(line); });
            for (const std::string_view line : chunk.lines) {
                bytes.data()[std::size_t(line.data() - bytes.data()) + line.size()] = '\0';
                highlighter.ExportTokens(line.data(), chunk.tokens);
                chunk.ends.push_back(chunk.tokens.size());
            }
            const std::size_t lines = chunk.lines.size();
            chunk.ownLines = lines - share.LinesOf(lines);
            // The looks of the lines written later on the other thread are met first, so that
            // they are numbered in the order of the text.
            everyLookMet = everyLookMet || exporter.MetEveryLookOf(highlighter);
            if (!everyLookMet)
                chunk.ForLines(0, chunk.ownLines, [&](std::string_view text, auto tokens) {
                    sibling->MeetLooks(text, tokens);
                });
            chunk.tokenSeconds = ThreadSeconds() - start;
            chunk.ForLines(chunk.ownLines, lines, [&](std::string_view text, auto tokens) {
                sibling->WriteLine(text, tokens);
            });
            chunk.written.swap(siblingOut);
            siblingOut.clear();
            return lines != 0;
        },
        [&](TExportChunk& chunk) {
            const double start = ThreadSeconds();
            chunk.ForLines(0, chunk.ownLines, [&](std::string_view text, auto tokens) {
                exporter.WriteLine(text, tokens);
            });
            exporter.AppendWritten(chunk.written);
            afterChunk();
            chunk.writeSeconds = ThreadSeconds() - start;
        });
}

// The page's head, then the body that waited for it.
void writeHead(std::ostream& out, const std::string& head, TSpool* waiting) {
    Write(out, head);
    if (waiting) waiting->CopyTo(out);
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
        TStreamedInput source(file);
        const TCodePage codePage = source.CodePage();
        auto eachRun = [&](auto f) {
            for (std::span<char> run; !(run = source.Next()).empty();)
                f(run);
        };

        if (parser.Has("--html")) {
            THtmlExport html(codePage);
            const std::string title = ToUtf8(DetectCodePage(file), file);
            // The head lists the looks met in the whole text; once the highlighter has none
            // left to give, the head is final and the page is written as it goes. Until then
            // the body waits, in a temporary file once it grows large.
            bool headWritten = false;
            std::unique_ptr<TSpool> waiting;
            auto writeOut = [&] {
                if (!headWritten && !html.MetEveryLookOf(*highlighter)) {
                    if (html.PageBody().size() < kBodyInMemory) return;
                    if (!waiting) waiting = std::make_unique<TSpool>();
                    waiting->Append(html.PageBody());
                    html.ClearBody();
                    return;
                }
                if (!headWritten) writeHead(out, html.PageHead(title), waiting.get());
                headWritten = true;
                Write(out, html.PageBody());
                html.ClearBody();
            };
            eachRun([&](std::span<char> run) { ExportLines(run, *highlighter, html, writeOut); });
            if (!headWritten) writeHead(out, html.PageHead(title), waiting.get());
            Write(out, html.PageBody());
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
            ExportLines(run, *highlighter, ansi, [&] { flush(false); });
        });
        flush(true);
        return kExitOk;
    });
}

} // namespace ondrex::cli
