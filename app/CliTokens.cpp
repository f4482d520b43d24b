// ondrex tokens: every line's tokens as the editor reads them, one JSON object a line.

#include "app/CliTokens.h"

#include "app/CliCommands.h"
#include "app/CliInput.h"
#include "app/CliTokensJson.h"
#include "highlighters/THighlighterList.h"
#include "platform/LineBreaks.h"

#include <ostream>
#include <span>
#include <vector>

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
    return Guarded(err, [&](std::string& input) {
        TArgParser parser;
        AddLanguageOption(parser);
        parser.Option("--format");
        parser.Parse(args);
        if (parser.Value("--format", "json") != "json")
            throw EUsage("tokens: the only format is json");
        if (parser.Positionals().size() != 1)
            throw EUsage(parser.Positionals().empty() ? "tokens: missing FILE"
                                                      : "tokens: too many arguments");
        const std::string& file = input = parser.Positionals()[0];
        auto highlighter = HighlighterFor(parser, file);
        TStreamedInput source(file);
        TTokensJson json(*highlighter, source.CodePage(),
                         [&out](std::string_view text) { Write(out, text); });
        std::vector<std::string_view> lines;
        highlighter->ResetRangeState();
        TqvRangeState range = highlighter->RangeState();
        int index = 0;
        for (std::span<char> run; !(run = source.Next()).empty();) {
            lines.clear();
            ForEachLine(std::string_view(run.data(), run.size()),
                        [&](std::string_view line) { lines.push_back(line); });
            for (const std::string_view line : lines) {
                // The highlighter reads up to a NUL: it goes where the line break was.
                run.data()[std::size_t(line.data() - run.data()) + line.size()] = '\0';
                highlighter->SetRangeState(range);
                highlighter->StartLine(line.data(), index);
                json.AppendLine(++index, range);
                range = highlighter->RangeState();
            }
        }
        json.Flush();
        return kExitOk;
    });
}

} // namespace ondrex::cli
