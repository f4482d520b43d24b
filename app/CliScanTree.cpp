// ondrex scan -R: every script file under the paths, scanned on all cores, printed in path
// order as each file's turn comes (nothing waits for the whole tree).

#include "app/CliCommands.h"
#include "app/CliScanOutput.h"
#include "app/CliSite.h"

#include <cstdio>
#include <ostream>

namespace ondrex::cli {

namespace {

void addCounters(TScanCounters& total, const TScanCounters& c) {
    total.functionCount += c.functionCount;
    total.subCount += c.subCount;
    total.statementCount += c.statementCount;
}

void appendCountLine(std::string& text, std::string_view path, const TScanCounters& c,
                     TFormat format) {
    if (format == TFormat::Tsv) {
        text += path;
        for (std::int32_t n : {c.functionCount, c.subCount, c.statementCount}) {
            text += '\t';
            AppendNumber(text, n);
        }
        text += '\n';
        return;
    }
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%9d %9d %10d ", int(c.functionCount), int(c.subCount),
                  int(c.statementCount));
    text += numbers;
    text += path;
    text += '\n';
}

} // namespace

int runScanTree(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&] {
        TArgParser parser;
        AddScanOptions(parser);
        AddSiteOptions(parser);
        parser.Flag("--count");
        parser.Parse(args);
        const TFormat format = ParseFormat(parser.Value("--format", "text"));
        const bool count = parser.Has("--count");
        TSiteScanOptions options;
        options.scan = ScanOptionsFrom(parser);
        options.countOnly = count;
        options.threads = JobsFrom(parser);
        TSiteWalk walk(parser.Positionals(), SiteFilterFrom(parser));

        TScanCounters total;
        std::size_t files = 0;
        bool failed = false;
        std::string text;
        if (format == TFormat::Text && count) text += "Functions      Subs Statements Path\n";
        ScanSite(walk, options, [&](TSiteFile& file) {
            if (ReportEntry(err, file.entry)) failed = true;
            if (file.entry.kind != TWalkEntry::TKind::File) return;
            ++files;
            addCounters(total, file.results.counters);
            const std::string& path = file.entry.path;
            const TCodePage cp = file.validUtf8 ? TCodePage::Utf8 : TCodePage::Windows1252;
            if (format == TFormat::Json) {
                if (count) {
                    text += "{\"file\":";
                    AppendJsonString(text, path, DetectCodePage(path));
                    text += ",\"counters\":";
                    AppendCountersJson(text, file.results.counters);
                    text += '}';
                } else {
                    AppendScanJson(text, path, DetectCodePage(path), file.results, cp, true);
                }
                text += '\n';
            } else if (count) {
                appendCountLine(text, EscapedPath(path), file.results.counters, format);
            } else {
                const std::string shown = EscapedPath(path);
                for (const TScanRow& row : file.results.rows) {
                    text += shown;
                    text += format == TFormat::Tsv ? "\t" : "  ";
                    (format == TFormat::Tsv ? AppendTsvRow : AppendTextRow)(text, row, cp);
                }
            }
            Write(out, text);
            text.clear();
        });

        if (format == TFormat::Json) {
            if (count) {
                text += "{\"total\":";
                AppendCountersJson(text, total);
                text += ",\"files\":";
                AppendNumber(text, files);
                text += "}\n";
            }
        } else if (count) {
            appendCountLine(text, format == TFormat::Tsv ? "" : "total", total, format);
        } else if (format == TFormat::Text) {
            text += '\n';
            for (const TInfoRow& row : CounterRows(total))
                text += row.caption + '\t' + row.value + '\n';
        }
        Write(out, text);
        if (files == 0) err << "ondrex: no script files found\n";
        return failed ? kExitBadInput : kExitOk;
    });
}

} // namespace ondrex::cli
