// ondrex tokens: every line's tokens as the editor reads them, one JSON object a line.

#include "app/CliTokens.h"

#include "app/CliCommands.h"
#include "app/CliTokensJson.h"
#include "highlighters/THighlighterList.h"
#include "platform/LineBreaks.h"
#include "platform/MappedFile.h"

#include <ostream>

namespace ondrex::cli {

void AddLanguageOption(TArgParser& parser) {
    parser.Option("--lang");
}

std::unique_ptr<TqvCustomHighLighter> HighlighterFor(const TArgParser& parser,
                                                     const std::string& file) {
    const THighlighterList& list = THighlighterList::Instance();
    if (parser.Has("--lang")) {
        const std::string language = parser.Value("--lang");
        if (const THighlighterClass* chosen = list.FindByLanguage(language))
            return chosen->Create();
        throw EUsage("unknown language '" + language + "' (known: " + list.LanguageIds(", ") + ")");
    }
    if (const THighlighterClass* chosen = list.FindForFile(file)) return chosen->Create();
    return list.FindByLanguage("vbscript")->Create();
}

int runTokens(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&] {
        TArgParser parser;
        AddLanguageOption(parser);
        parser.Option("--format");
        parser.Parse(args);
        if (parser.Value("--format", "json") != "json")
            throw EUsage("tokens: the only format is json");
        if (parser.Positionals().size() != 1)
            throw EUsage(parser.Positionals().empty() ? "tokens: missing FILE"
                                                      : "tokens: too many arguments");
        const std::string& file = parser.Positionals()[0];
        auto highlighter = HighlighterFor(parser, file);
        // A regular file is mapped: reading it would first zero as many fresh pages.
        const TMappedFile mapped(file);
        const std::string read = mapped.Mapped() ? std::string() : ReadInput(file);
        const std::string_view bytes = mapped.Mapped() ? mapped.Bytes() : read;
        const TCodePage codePage = DetectCodePage(bytes);

        TTokensJson json(*highlighter, codePage);
        std::string line;
        TLineSplitter splitter(bytes);
        std::string_view view;
        highlighter->ResetRangeState();
        TqvRangeState range = highlighter->RangeState();
        for (int index = 0; splitter.Next(view); ++index) {
            line.assign(view);
            highlighter->SetRangeState(range);
            highlighter->StartLine(line.c_str(), index);
            json.AppendLine(index + 1, range);
            range = highlighter->RangeState();
            if (json.Text().size() > (1 << 20)) {
                Write(out, json.Text());
                json.Clear();
            }
        }
        Write(out, json.Text());
        return kExitOk;
    });
}

} // namespace ondrex::cli
