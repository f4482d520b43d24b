// The editor on one very long line against the same bytes in ordinary lines, painting
// through the Qt canvas offscreen into a 200 x 60 view. The text is a source file repeated to
// SIZE MB: LINES keeps its line breaks, ONE turns every break into a blank. On each:
//  - End on the longest line (LINES: a line in the middle) and its repaint, first at once
//    after the load (before any event is handled) and again;
//  - a caret step left or right at the far end of the line, with its repaint;
//  - a character typed at the far end, with its repaint;
//  - a repaint with the view scrolled halfway along the line;
//  - Home, with its repaint;
//  - in a second view of the same text: the work the editor does between events after the
//    load (its wall time, and the longest pass of the event loop meanwhile), then the first
//    End.
// Times are wall milliseconds (mean and worst of many) and the thread's CPU milliseconds (mean;
// what other processes on a busy machine cannot add); the ratio is ONE over LINES on CPU.
// Peak memory is the process's resident high-water mark after each part.
//
//   QT_QPA_PLATFORM=offscreen bench_long_line [FILE] [SIZE_MB]   (FILE: samples/orders.php)

#include "editor/TqvCustomEdit.h"
#include "highlighters/jxPHPSyn.h"
#include "platform/Application.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/TextFile.h"
#include "platform/Timer.h"
#include "platform/qt/QtApplication.h"
#include "platform/testing/TestControlHost.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <time.h>

namespace {

using namespace ondrex;
using Clock = std::chrono::steady_clock;

constexpr int kColumns = 200;
constexpr int kRows = 60;

long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct TTimes {
    double Mean = 0;
    double Worst = 0;
    double Cpu = 0;
};

template <class F> TTimes Time(int runs, F&& run) {
    TTimes t;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const double cpu = ThreadCpuMs();
        run();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        t.Cpu += (ThreadCpuMs() - cpu) / runs;
        t.Mean += ms / runs;
        t.Worst = std::max(t.Worst, ms);
    }
    return t;
}

struct TView {
    TjxPHPSyn php;
    TqvCustomEdit edit;
    TTestControlHost host{edit};
    TBitmap picture;

    explicit TView(const std::string& text) {
        edit.SetHighLighter(&php);
        edit.SetText(text);
        edit.SetBounds(0, 0, edit.GutterWidth() + 2 + kColumns * edit.CharWidth(),
                       kRows * edit.LineHeight());
        picture.SetSize(edit.ClientWidth(), edit.ClientHeight());
        Paint();
    }
    ~TView() { edit.SetHighLighter(nullptr); }
    void Paint() {
        host.SendPaint(picture.Canvas(), edit.ClientRect());
        host.ClearRecords();
    }
    void Run(TqvEditorCommand command) {
        edit.ExecuteCommand(command, {}, nullptr);
        Paint();
    }
};

struct TResult {
    const char* Name;
    TTimes Times;
};

void ShowLine(TView& view, int line) {
    view.edit.SetTopLine(std::max(1, line - kRows / 2));
    view.edit.SetCaretPos({1, line});
    view.Paint();
}

// Handles events until the editor has nothing left to work out between them; the mean is
// the whole wait, the worst the longest pass of the loop.
TTimes WorkBetweenEvents(TView& view) {
    TTimes t;
    const auto start = Clock::now();
    const double cpu = ThreadCpuMs();
    const auto pending = [&] {
        const TTimer* timer = view.edit.CheckpointsTimer();
        return (timer && timer->Enabled()) || !view.edit.AllLineStatesKnown();
    };
    while (pending()) {
        const auto pass = Clock::now();
        Application().ProcessMessagesNow();
        t.Worst = std::max(t.Worst,
                           std::chrono::duration<double, std::milli>(Clock::now() - pass).count());
    }
    t.Mean = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    t.Cpu = ThreadCpuMs() - cpu;
    return t;
}

std::vector<TResult> Measure(const std::string& text, int line, const char* label) {
    std::vector<TResult> results;
    {
        TView view(text);
        ShowLine(view, line);
        results.push_back({"End at once after the load", Time(1, [&] { view.Run(ecLineEnd); })});
        results.push_back({"Home and End again", Time(10, [&] {
                               view.Run(ecLineStart);
                               view.Run(ecLineEnd);
                           })});
        results.push_back({"a step left or right at the end", Time(200, [&, i = 0]() mutable {
                               view.Run(++i % 2 ? ecLeft : ecRight);
                           })});
        results.push_back({"a character typed at the end", Time(5, [&] {
                               view.edit.ExecuteCommand(ecChar, "x", nullptr);
                               view.Paint();
                           })});
        const int far = view.edit.LeftColumn() / 2;
        results.push_back({"repaint halfway along", Time(100, [&] {
                               view.edit.SetLeftColumn(far);
                               view.Paint();
                           })});
        std::printf("%-6s peak %ld MB after its moves\n", label, PeakMegabytes());
    }
    TView second(text);
    ShowLine(second, line);
    results.push_back({"work between events (worst: a pass)", WorkBetweenEvents(second)});
    results.push_back({"End after that work", Time(1, [&] { second.Run(ecLineEnd); })});
    return results;
}

} // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "samples/orders.php";
    const std::size_t size = std::size_t(argc > 2 ? std::atoi(argv[2]) : 100) << 20;
    qt::ensureApplication();
    std::string source;
    try {
        source = ReadFileBytes(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_long_line: %s\n", e.what());
        return 1;
    }
    if (source.empty()) return 1;
    std::string lines;
    while (lines.size() < size)
        lines += source + "\n";
    std::string one = lines;
    std::replace(one.begin(), one.end(), '\n', ' ');
    std::replace(one.begin(), one.end(), '\r', ' ');
    const int middle = int(std::count(lines.begin(), lines.end(), '\n') / 2);
    std::printf("%s repeated to %zu MB; view %d x %d cells; start peak %ld MB\n", path.c_str(),
                lines.size() >> 20, kColumns, kRows, PeakMegabytes());
    const std::vector<TResult> ordinary = Measure(lines, middle, "LINES");
    lines = std::string();
    const std::vector<TResult> longLine = Measure(one, 1, "ONE");
    std::printf("%-34s %30s %30s %7s\n", "ms (mean / worst / cpu)", "LINES", "ONE", "ratio");
    for (std::size_t i = 0; i < ordinary.size(); ++i) {
        const TTimes& a = ordinary[i].Times;
        const TTimes& b = longLine[i].Times;
        std::printf("%-34s %9.3f / %8.3f / %8.3f %9.3f / %8.3f / %8.3f %7.1f\n", ordinary[i].Name,
                    a.Mean, a.Worst, a.Cpu, b.Mean, b.Worst, b.Cpu, b.Cpu / a.Cpu);
    }
    return 0;
}
