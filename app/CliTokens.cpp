// ondrex tokens: every line's tokens as the editor reads them, one JSON object a line.

#include "app/CliTokens.h"

#include "app/CliCommands.h"
#include "highlighters/THighlighterList.h"
#include "highlighters/TqvTableHighLighter.h"
#include "platform/LineBreaks.h"

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
        const std::string bytes = ReadInput(file);
        const TCodePage codePage = DetectCodePage(bytes);

        // Every language is a table highlighter, whose tokens can be read without a copy.
        const auto* table = dynamic_cast<const TqvTableHighLighter*>(highlighter.get());
        std::string text, line, token;
        TLineSplitter splitter(bytes);
        std::string_view view;
        highlighter->ResetRangeState();
        TqvRangeState range = highlighter->RangeState();
        for (int index = 0; splitter.Next(view); ++index) {
            line.assign(view);
            text += "{\"line\": ";
            AppendNumber(text, index + 1);
            text += ", \"range\": ";
            AppendNumber(text, range);
            text += ", \"tokens\": [";
            highlighter->SetRangeState(range);
            highlighter->StartLine(line.c_str(), index);
            for (bool first = true; !highlighter->AtLineEnd(); first = false) {
                text += first ? "[" : ", [";
                AppendNumber(text, highlighter->TokenKind());
                text += ", ";
                AppendNumber(text, highlighter->TokenStart());
                text += ", ";
                AppendJsonString(text,
                                 table ? table->TokenView() : (token = highlighter->TokenText()),
                                 codePage);
                text += ']';
                highlighter->NextToken();
            }
            text += "]}\n";
            range = highlighter->RangeState();
            if (text.size() > (1 << 20)) {
                Write(out, text);
                text.clear();
            }
        }
        Write(out, text);
        return kExitOk;
    });
}

} // namespace ondrex::cli
