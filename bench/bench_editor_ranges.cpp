// The editor's range states on a large file: attaching a highlighter computes the start
// state of every line; the peer in the same run is the bare highlighter scanning the same
// lines held in a plain vector (what the editor's bookkeeping adds shows as the ratio).
// Then two edits on the loaded text: a one-line change that keeps the carried state and
// a comment opened at the top, with the number of lines each rescans. Times are the
// process's CPU time, best of several rounds.
//
//   python3 bench/gen_big_script.py php /tmp/big.php
//   bench_editor_ranges /tmp/big.php [ROUNDS]

#include "editor/TqvCustomEdit.h"
#include "highlighters/jxPHPSyn.h"
#include "platform/LineBreaks.h"
#include "platform/TextFile.h"
#include "platform/testing/RecordingCanvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

class CountingPHP : public ondrex::TjxPHPSyn {
public:
    void StartLine(const char* line, int lineIndex) override {
        ++linesStarted;
        TjxPHPSyn::StartLine(line, lineIndex);
    }
    long long linesStarted = 0;
};

template <class F> double Best(int rounds, F&& run) {
    double best = 1e100;
    for (int round = 0; round < rounds; ++round) {
        const double start = CpuSeconds();
        run();
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
}

struct Edit {
    double seconds;
    long long lines;
};

// Replaces one line, reports the time and the lines rescanned, and puts the line back.
Edit Measure(ondrex::TqvCustomEdit& edit, CountingPHP& php, int index, const char* text) {
    const std::string before(edit.Lines().Get(index));
    php.linesStarted = 0;
    const double start = CpuSeconds();
    edit.Lines().Put(index, text);
    const Edit result{CpuSeconds() - start, php.linesStarted};
    edit.Lines().Put(index, before);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    using namespace ondrex;
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_editor_ranges FILE [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::string bytes;
    try {
        bytes = ReadFileBytes(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_editor_ranges: %s\n", e.what());
        return 1;
    }
    const double megabytes = double(bytes.size()) / 1e6;

    GetFontsInfoManager().SetScreenCanvas(std::make_unique<TRecordingCanvas>());
    CountingPHP php;
    TqvCustomEdit edit;
    edit.Lines().LoadFromBlock(std::string(bytes));
    const int lineCount = edit.LineCount();

    const double attach = Best(rounds, [&] {
        edit.SetHighLighter(nullptr);
        edit.SetHighLighter(&php);
    });

    std::vector<std::string> lines;
    TLineSplitter splitter(bytes);
    for (std::string_view line; splitter.Next(line);)
        lines.emplace_back(line);
    unsigned long long checksum = 0;
    const double bare = Best(rounds, [&] {
        php.ResetRangeState();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            php.StartLine(lines[i].c_str(), int(i));
            php.ScanToLineEnd();
            checksum += php.RangeState();
        }
    });

    // A code line in the middle whose successor also starts in code: replacing it by
    // other code keeps the state it carries on.
    int middle = lineCount / 2;
    while (middle + 2 < lineCount && (edit.Lines().GetObject(middle) != nullptr ||
                                      edit.Lines().GetObject(middle + 1) != nullptr))
        ++middle;
    const Edit kept = Measure(edit, php, middle, "$changed = 1;");
    edit.SetHighLighter(nullptr);

    // A comment that nothing closes, opened at the top of a million code lines.
    std::string code;
    for (int i = 0; i < 1'000'000; ++i)
        code += "$x = $y + 1; // step\n";
    edit.Lines().LoadFromBlock(std::move(code));
    edit.SetHighLighter(&php);
    const Edit opened = Measure(edit, php, 0, "/* opened, never closed");
    edit.SetHighLighter(nullptr);

    std::printf("file: %.1f MB, %d lines\n", megabytes, lineCount);
    std::printf("attach PHP highlighter (editor)   %8.3f s  %8.1f MB/s\n", attach,
                megabytes / attach);
    std::printf("bare PHP scan of the same lines   %8.3f s  %8.1f MB/s  (checksum %llu)\n", bare,
                megabytes / bare, checksum % 1000);
    std::printf("ratio (bare / editor)             %8.2f\n", bare / attach);
    std::printf("one-line change, state kept       %8.6f s  %lld line(s) rescanned\n", kept.seconds,
                kept.lines);
    std::printf("comment opened at the top of 1 M code lines  %8.3f s  %lld line(s) rescanned\n",
                opened.seconds, opened.lines);
    return 0;
}
