// ondrex block: the block locator for the first result row on a line.

#include "app/BlockLocator.h"
#include "app/CliCommands.h"
#include "editor/TqvEditList.h"

#include <ostream>

namespace ondrex::cli {

namespace {

int parseLine(const std::string& text) {
    if (text.empty() || text.size() > 10) throw EUsage("block: LINE must be a positive number");
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') throw EUsage("block: LINE must be a positive number");
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > 0x7FFFFFFF) throw EUsage("block: LINE must be a positive number");
    return int(v);
}

} // namespace

int runBlock(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&](std::string& input) {
        TArgParser parser;
        AddScanOptions(parser);
        parser.Parse(args);
        const TFormat format = ParseFormat(parser.Value("--format", "text"));
        const auto& pos = parser.Positionals();
        if (pos.size() < 2)
            throw EUsage(pos.empty() ? "block: missing FILE and LINE" : "block: missing LINE");
        if (pos.size() > 2) throw EUsage("block: too many arguments");
        const std::string& file = input = pos[0];
        const int line = parseLine(pos[1]);

        TScriptScanner scanner;
        scanner.options = ScanOptionsFrom(parser);
        TqvEditList lines;
        TScanResults results;
        scanner.Scan(file, lines, results);

        auto row = TBlockLocator::RowAtLine(results, line);
        if (!row) throw EBadInput(file + ": no result row at line " + std::to_string(line));
        const TBlockLocation loc = *TBlockLocator::Locate(results, *row, lines);

        // The file's code page, decided over the whole text as for `scan` (a line break never
        // falls inside a UTF-8 sequence, so the file is valid when every line is).
        TCodePage cp = TCodePage::Utf8;
        for (int i = 0; i < lines.Count() && cp == TCodePage::Utf8; ++i)
            if (!IsValidUtf8(lines.Get(i))) cp = TCodePage::Windows1252;

        std::string text;
        switch (format) {
        case TFormat::Json: {
            text += "{\"start\":" + std::to_string(loc.start) +
                    ",\"end\":" + std::to_string(loc.end) +
                    ",\"single\":" + (loc.single ? "true" : "false") + ",\"info\":[";
            for (std::size_t i = 0; i < loc.info.size(); ++i) {
                text += i ? "," : "";
                text += '[';
                AppendJsonString(text, loc.info[i].caption);
                text += ',';
                AppendJsonString(text, loc.info[i].value, cp);
                text += ']';
            }
            text += "]}\n";
            break;
        }
        case TFormat::Tsv:
            for (const TInfoRow& info : loc.info) {
                text += info.caption + '\t';
                AppendUtf8(cp, info.value, text);
                text += '\n';
            }
            break;
        case TFormat::Text:
            // The block's own lines, as copied by "Copy Block".
            for (int l = loc.start; l <= loc.end && l <= lines.Count(); ++l) {
                AppendUtf8(cp, lines.Get(l - 1), text);
                text += '\n';
            }
            break;
        }
        Write(out, text);
        return kExitOk;
    });
}

} // namespace ondrex::cli
