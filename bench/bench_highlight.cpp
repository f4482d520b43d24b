// Tokenizes every line of a file the way the editor does when it loads one: for each line,
// StartLine then ScanToLineEnd, keeping the range state for the next line. As in the editor,
// the lines are views into the loaded file's bytes (split first, not timed), and each is
// copied into one reused buffer to get its terminating NUL. Then the way `cat` does: each
// line's export tokens in one call (ExportTokens), into one reused list. Each is timed over
// several rounds and the best reported.
// Time is the process's CPU time, so that other work on a shared machine does not count.
//
//   bench_highlight LANG FILE [ROUNDS]    (LANG: vbscript, javascript, perl, php)

#include "highlighters/THighlighterList.h"
#include "platform/LineBreaks.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

static double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
    using namespace ondrex;
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_highlight LANG FILE [ROUNDS]\n");
        return 2;
    }
    const THighlighterClass* language = THighlighterList::Instance().FindByLanguage(argv[1]);
    if (!language) {
        std::fprintf(stderr, "bench_highlight: unknown language '%s'\n", argv[1]);
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    std::string bytes;
    try {
        bytes = ReadFileBytes(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_highlight: %s\n", e.what());
        return 1;
    }
    std::vector<std::string_view> lines;
    TLineSplitter splitter(bytes);
    for (std::string_view line; splitter.Next(line);)
        lines.emplace_back(line);

    auto highlighter = language->Create();
    double best = 1e100;
    unsigned long long checksum = 0;
    std::string buffer;
    for (int round = 0; round < rounds; ++round) {
        const double start = CpuSeconds();
        highlighter->ResetRangeState();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            buffer.assign(lines[i]);
            highlighter->StartLine(buffer.c_str(), static_cast<int>(i));
            highlighter->ScanToLineEnd();
            checksum += highlighter->RangeState();
        }
        best = std::min(best, CpuSeconds() - start);
    }
    double bestExport = 1e100;
    std::vector<TExportToken> tokens;
    for (int round = 0; round < rounds; ++round) {
        const double start = CpuSeconds();
        highlighter->ResetRangeState();
        for (const std::string_view line : lines) {
            buffer.assign(line);
            tokens.clear();
            highlighter->ExportTokens(buffer.c_str(), tokens);
            checksum += tokens.size();
        }
        bestExport = std::min(bestExport, CpuSeconds() - start);
    }
    const double mb = bytes.size() / 1e6;
    std::printf("%-10s %8.1f MB %9zu lines  best of %d: %7.3f s cpu  %7.1f MB/s;"
                "  export tokens %7.3f s  %7.1f MB/s  (checksum %llu)\n",
                argv[1], mb, lines.size(), rounds, best, mb / best, bestExport, mb / bestExport,
                checksum);
    return 0;
}
