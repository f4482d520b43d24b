// ondrex tokens: every line's tokens as the editor reads them, one JSON object a line.

#include "app/CliTokens.h"

#include "app/CliCommands.h"
#include "app/CliInput.h"
#include "editor/LineBreaks.h"
#include "highlighters/THighlighterList.h"
#include "highlighters/TqvTableHighLighter.h"

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
        const TCodePage codePage = source.CodePage();

        // Every language is a table highlighter, whose tokens can be read without a copy.
        const auto* table = dynamic_cast<const TqvTableHighLighter*>(highlighter.get());
        std::string text, token;
        // Written out every MiB, within a line too: a line of megabytes makes output of more.
        auto flushWhenFull = [&] {
            if (text.size() < (std::size_t(1) << 20)) return;
            Write(out, text);
            text.clear();
        };
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
                text += "{\"line\": ";
                AppendNumber(text, index + 1);
                text += ", \"range\": ";
                AppendNumber(text, range);
                text += ", \"tokens\": [";
                highlighter->SetRangeState(range);
                highlighter->StartLine(line.data(), index);
                for (bool first = true; !highlighter->AtLineEnd(); first = false) {
                    text += first ? "[" : ", [";
                    AppendNumber(text, highlighter->TokenKind());
                    text += ", ";
                    AppendNumber(text, highlighter->TokenStart());
                    text += ", ";
                    AppendJsonString(
                        text, table ? table->TokenView() : (token = highlighter->TokenText()),
                        codePage);
                    text += ']';
                    flushWhenFull();
                    highlighter->NextToken();
                }
                text += "]}\n";
                range = highlighter->RangeState();
                ++index;
                flushWhenFull();
            }
        }
        Write(out, text);
        return kExitOk;
    });
}

} // namespace ondrex::cli
