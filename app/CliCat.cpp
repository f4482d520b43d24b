// ondrex cat: a file highlighted for a terminal (or as an HTML page) through the
// highlighters' export interface.

#include "app/CliCommands.h"
#include "app/CliTokens.h"
#include "editor/LineBreaks.h"
#include "highlighters/TqvAnsiExport.h"
#include "highlighters/TqvHtmlExport.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

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

template <class Body> void EachLine(const std::string& bytes, Body body) {
    TLineSplitter splitter(bytes);
    std::string_view view;
    std::string line;
    while (splitter.Next(view)) {
        line.assign(view);
        body(line);
    }
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
        const std::string bytes = ReadInput(file);
        const TCodePage codePage = DetectCodePage(bytes);

        if (parser.Has("--html")) {
            TqvHtmlExport html(codePage);
            html.Reserve(2 * bytes.size()); // markup and escapes: untouched room costs nothing
            EachLine(bytes, [&](const std::string& line) { html.ExportLine(*highlighter, line); });
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
            EachLine(bytes, [&](const std::string& line) {
                AppendUtf8(codePage, line, text);
                text += '\n';
                flush(false);
            });
            flush(true);
            return kExitOk;
        }
        TqvAnsiExport ansi(text, codePage);
        EachLine(bytes, [&](const std::string& line) {
            ansi.ExportLine(*highlighter, line);
            flush(false);
        });
        flush(true);
        return kExitOk;
    });
}

} // namespace ondrex::cli
