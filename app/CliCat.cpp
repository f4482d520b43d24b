// ondrex cat: a file highlighted for a terminal (or as an HTML page) through the
// highlighters' export interface.

#include "app/CliCommands.h"
#include "app/CliTokens.h"
#include "editor/LineBreaks.h"
#include "highlighters/TqvAnsiExport.h"
#include "highlighters/TqvHtmlExport.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace ondrex::cli {

namespace {

// Stands between the highlighter and the real sink so that cat loses no text: tokens a
// language keeps from export are written with their attribute, and the bytes after a NUL
// (where highlighting ends) are written unstyled before the line ends.
class TCatSink : public TqvExport {
public:
    explicit TCatSink(TqvExport& target) : target_(target) {}

    void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool whitespace,
                    bool second) override {
        passed_ = true;
        if (!attribute && text.empty()) return; // the line's end is written by WriteLine
        target_.WriteToken(text, attribute, whitespace, second);
    }

    void WriteLine(TqvCustomHighLighter& highlighter, const std::string& line) {
        Export(highlighter, [&] { highlighter.StartExportLine(line.c_str()); });
        while (!highlighter.AtLineEnd())
            Export(highlighter, [&] { highlighter.ExportNextToken(); });
        const std::size_t end = std::strlen(line.c_str());
        if (end < line.size())
            target_.WriteToken(std::string_view(line).substr(end), nullptr, false, false);
        target_.WriteToken({}, nullptr, false, false);
    }

private:
    template <class Step> void Export(TqvCustomHighLighter& highlighter, Step step) {
        passed_ = false;
        step();
        if (!passed_ && !highlighter.AtLineEnd())
            target_.WriteToken(highlighter.TokenText(), highlighter.TokenAttribute(), false, false);
    }

    TqvExport& target_;
    bool passed_ = false;
};

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
            TCatSink sink(html);
            highlighter->SetExportSink(&sink);
            EachLine(bytes, [&](const std::string& line) { sink.WriteLine(*highlighter, line); });
            Write(out, html.Page(ToUtf8(DetectCodePage(file), file)));
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
        TCatSink sink(ansi);
        highlighter->SetExportSink(&sink);
        EachLine(bytes, [&](const std::string& line) {
            sink.WriteLine(*highlighter, line);
            flush(false);
        });
        flush(true);
        return kExitOk;
    });
}

} // namespace ondrex::cli
