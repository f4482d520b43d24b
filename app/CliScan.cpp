// ondrex scan: the script scan of one file, printed.

#include "app/CliCommands.h"
#include "app/CliInput.h"
#include "app/CliScanOutput.h"
#include "app/CliSite.h"
#include "app/ScriptScanner.h"

#include <memory>
#include <ostream>
#include <span>

namespace ondrex::cli {

namespace {

void appendCounters(std::string& out, const TScanCounters& c, TFormat format) {
    if (format == TFormat::Json) return AppendCountersJson(out, c);
    for (const TInfoRow& row : CounterRows(c))
        out += row.caption + '\t' + row.value + '\n';
}

std::string padRight(std::string_view s, std::size_t width) {
    std::string out(s);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

} // namespace

void AppendCountersJson(std::string& out, const TScanCounters& c) {
    out += "{\"functions\":" + std::to_string(c.functionCount) +
           ",\"subs\":" + std::to_string(c.subCount) +
           ",\"statements\":" + std::to_string(c.statementCount) + "}";
}

void AppendJsonRow(std::string& text, const TScanRow& row, TCodePage cp) {
    text += "{\"type\":";
    AppendJsonString(text, row.caption);
    text += ",\"image\":";
    AppendNumber(text, row.image);
    text += ",\"name\":";
    AppendJsonString(text, row.name, cp);
    text += ",\"line\":";
    AppendNumber(text, row.line);
    text += ",\"text\":";
    AppendJsonString(text, row.text, cp);
    text += '}';
}

void AppendScanJson(std::string& text, std::string_view file, TCodePage fileCodePage,
                    const TScanResults& results, TCodePage cp, bool oneLine) {
    text.reserve(text.size() + 64 + results.rows.size() * 96);
    text += "{\"file\":";
    AppendJsonString(text, file, fileCodePage);
    text += ",\"rows\":[";
    for (std::size_t i = 0; i < results.rows.size(); ++i) {
        if (i) text += ',';
        if (!oneLine) text += '\n';
        AppendJsonRow(text, results.rows[i], cp);
    }
    text += results.rows.empty() || oneLine ? "],\"counters\":" : "\n],\"counters\":";
    AppendCountersJson(text, results.counters);
    text += '}';
}

void AppendTextRow(std::string& text, const TScanRow& row, TCodePage cp) {
    std::string line = std::to_string(row.line);
    text += padRight(row.caption, 9);
    text += std::string(line.size() < 8 ? 8 - line.size() : 0, ' ') + line + "  ";
    AppendUtf8(cp, row.name, text);
    text += '\n';
}

void AppendTsvRow(std::string& text, const TScanRow& row, TCodePage cp) {
    text += row.caption;
    text += '\t' + std::to_string(row.image) + '\t' + std::to_string(row.line) + '\t';
    AppendUtf8(cp, row.name, text);
    text += '\t';
    AppendUtf8(cp, row.text, text);
    text += '\n';
}

int runScan(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    if (AsksRecursive(args)) return runScanTree(args, out, err);
    return Guarded(err, [&](std::string& input) {
        TArgParser parser;
        AddScanOptions(parser);
        parser.Flag("--count");
        parser.Parse(args);
        const TFormat format = ParseFormat(parser.Value("--format", "text"));
        if (parser.Positionals().size() != 1)
            throw EUsage(parser.Positionals().empty() ? "scan: missing FILE"
                                                      : "scan: too many arguments");
        const std::string& file = input = parser.Positionals()[0];

        TScriptScanner scanner;
        scanner.options = ScanOptionsFrom(parser);
        const bool count = parser.Has("--count");
        scanner.countOnly = count;
        TScanResults results;
        std::string text;
        if (count) {
            scanner.ScanFile(file, results, false);
            appendCounters(text, results.counters, format);
            if (format == TFormat::Json) text += '\n';
            Write(out, text);
            return kExitOk;
        }

        // The rows are written as the runs of lines are scanned, and then forgotten.
        // Small runs: a run of lines that are all hits makes rows several times its size.
        // A regular file is read through a map; anything else is read.
        constexpr std::size_t kRun = std::size_t(256) << 10;
        TMappedInput mapped(file, kRun);
        std::unique_ptr<TStreamedInput> streamed;
        if (!mapped.Mapped()) streamed = std::make_unique<TStreamedInput>(file, kRun);
        const TCodePage cp = streamed ? streamed->CodePage() : mapped.CodePage();
        const auto nextRun = [&]() -> std::string_view {
            if (!streamed) return mapped.Next();
            const std::span<char> run = streamed->Next();
            return {run.data(), run.size()};
        };
        if (format == TFormat::Json) {
            text += "{\"file\":";
            AppendJsonString(text, file, DetectCodePage(file));
            text += ",\"rows\":[";
        } else if (format == TFormat::Text) {
            text += "Type         Line  Name\n";
        }
        std::size_t written = 0; // rows
        scanner.StartScan(results);
        for (bool more = true; more;) {
            const std::string_view run = nextRun();
            if (run.empty()) break;
            more = scanner.ScanWholeLines(run, results);
            for (const TScanRow& row : results.rows) {
                switch (format) {
                case TFormat::Json:
                    text += written ? ",\n" : "\n";
                    AppendJsonRow(text, row, cp);
                    break;
                case TFormat::Tsv:
                    AppendTsvRow(text, row, cp);
                    break;
                case TFormat::Text:
                    AppendTextRow(text, row, cp);
                    break;
                }
                ++written;
            }
            results.rows.clear();
            Write(out, text);
            text.clear();
        }
        scanner.FinishScan(results);

        switch (format) {
        case TFormat::Json:
            text += written == 0 ? "],\"counters\":" : "\n],\"counters\":";
            appendCounters(text, results.counters, format);
            text += "}\n";
            break;
        case TFormat::Tsv:
            break;
        case TFormat::Text:
            text += '\n';
            appendCounters(text, results.counters, format);
            break;
        }
        Write(out, text);
        return kExitOk;
    });
}

} // namespace ondrex::cli
