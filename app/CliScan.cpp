// ondrex scan: the script scan of one file, printed.

#include "app/CliCommands.h"
#include "app/ScriptScanner.h"

#include <cstdio>
#include <ostream>

namespace ondrex::cli {

namespace {

void appendCounters(std::string& out, const TScanCounters& c, TFormat format) {
    if (format == TFormat::Json) {
        out += "{\"functions\":" + std::to_string(c.functionCount) +
               ",\"subs\":" + std::to_string(c.subCount) +
               ",\"statements\":" + std::to_string(c.statementCount) + "}";
        return;
    }
    for (const TInfoRow& row : CounterRows(c))
        out += row.caption + '\t' + row.value + '\n';
}

std::string padRight(std::string_view s, std::size_t width) {
    std::string out(s);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

} // namespace

int runScan(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&] {
        TArgParser parser;
        AddScanOptions(parser);
        parser.Flag("--count");
        parser.Parse(args);
        const TFormat format = ParseFormat(parser.Value("--format", "text"));
        if (parser.Positionals().size() != 1)
            throw EUsage(parser.Positionals().empty() ? "scan: missing FILE"
                                                      : "scan: too many arguments");
        const std::string& file = parser.Positionals()[0];

        TScriptScanner scanner;
        scanner.options = ScanOptionsFrom(parser);
        const bool count = parser.Has("--count");
        scanner.countOnly = count;
        TScanResults results;
        const TFileScan scanned = scanner.ScanFile(file, results, !count);

        std::string text;
        if (count) {
            appendCounters(text, results.counters, format);
            if (format == TFormat::Json) text += '\n';
            Write(out, text);
            return kExitOk;
        }

        const TCodePage cp = scanned.validUtf8 ? TCodePage::Utf8 : TCodePage::Windows1252;
        switch (format) {
        case TFormat::Json: {
            text.reserve(64 + results.rows.size() * 96);
            text += "{\"file\":";
            AppendJsonString(text, file, DetectCodePage(file));
            text += ",\"rows\":[";
            char number[16];
            for (std::size_t i = 0; i < results.rows.size(); ++i) {
                const TScanRow& row = results.rows[i];
                text += i ? ",\n{\"type\":" : "\n{\"type\":";
                AppendJsonString(text, row.caption);
                std::snprintf(number, sizeof number, "%d", row.image);
                text += ",\"image\":";
                text += number;
                text += ",\"name\":";
                AppendJsonString(text, row.name, cp);
                std::snprintf(number, sizeof number, "%d", row.line);
                text += ",\"line\":";
                text += number;
                text += ",\"text\":";
                AppendJsonString(text, row.text, cp);
                text += '}';
            }
            text += results.rows.empty() ? "],\"counters\":" : "\n],\"counters\":";
            appendCounters(text, results.counters, format);
            text += "}\n";
            break;
        }
        case TFormat::Tsv:
            // type, state image, line, name, normalised text: tabs never occur in the last two.
            for (const TScanRow& row : results.rows) {
                text += row.caption;
                text += '\t' + std::to_string(row.image) + '\t' + std::to_string(row.line) + '\t';
                AppendUtf8(cp, row.name, text);
                text += '\t';
                AppendUtf8(cp, row.text, text);
                text += '\n';
            }
            break;
        case TFormat::Text:
            text += "Type         Line  Name\n";
            for (const TScanRow& row : results.rows) {
                std::string line = std::to_string(row.line);
                text += padRight(row.caption, 9);
                text += std::string(line.size() < 8 ? 8 - line.size() : 0, ' ') + line + "  ";
                AppendUtf8(cp, row.name, text);
                text += '\n';
            }
            text += '\n';
            appendCounters(text, results.counters, format);
            break;
        }
        Write(out, text);
        return kExitOk;
    });
}

} // namespace ondrex::cli
