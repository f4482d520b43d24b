// Painting the editor through the Qt canvas, offscreen, on a large highlighted PHP file:
//  1. a full repaint of a 200 x 60 view (mean and worst of many paints at several places);
//  2. paging down through the whole file, every frame a page-down and its full repaint (the
//     worst frame is what counts);
//  3. opening the file into the editor and painting its first screen, against the peer in
//     the same run: QPlainTextEdit given the same file (setPlainText and one grab of a
//     window of the same size). Both read the file from disk inside the measured time.
// Paints and frames are timed on the wall clock (what the user waits for) and on the
// thread's CPU clock (what a busy machine's other processes cannot add to); each is given
// as mean, 99th percentile and worst.
//
//   python3 bench/gen_big_script.py php /tmp/big.php
//   QT_QPA_PLATFORM=offscreen bench_editor_paint /tmp/big.php [repaint]
//
// With "repaint" only the first measure runs (for profiling).

#include "editor/TqvCustomEdit.h"
#include "highlighters/jxPHPSyn.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/TextFile.h"
#include "platform/qt/QtApplication.h"
#include "platform/testing/TestControlHost.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QPlainTextEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <time.h>

namespace {

using namespace ondrex;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

constexpr int kColumns = 200;
constexpr int kRows = 60;

// An editor sized to show kColumns x kRows, as the application configures it.
struct View {
    TjxPHPSyn php;
    TqvCustomEdit edit;
    TTestControlHost host{edit};
    TBitmap picture;

    View() {
        edit.Gutter().SetShowLineNumbers(true);
        edit.Gutter().SetAutoSize(true);
        edit.Gutter().SetLeadingZeros(true);
        edit.SetHighLighter(&php);
    }
    ~View() { edit.SetHighLighter(nullptr); }

    void Size() {
        edit.SetBounds(0, 0, edit.GutterWidth() + 2 + kColumns * edit.CharWidth(),
                       kRows * edit.LineHeight());
        picture.SetSize(edit.ClientWidth(), edit.ClientHeight());
    }
    void Paint() {
        TCanvas& canvas = picture.Canvas();
        host.SendPaint(canvas, edit.ClientRect());
        host.ClearRecords();
    }
};

class Stats {
public:
    // `where` names the place of the measure, reported for the slowest one.
    template <class F> void Time(int where, F&& run) {
        const auto start = Clock::now();
        const double cpu = ThreadCpuSeconds();
        run();
        cpu_.push_back(ThreadCpuSeconds() - cpu);
        wall_.push_back(Seconds(start));
        if (cpu_.back() > worstCpu_) {
            worstCpu_ = cpu_.back();
            worstAt_ = where;
        }
    }
    // Totals of everything timed.
    double Wall() const { return Sum(wall_); }
    double Cpu() const { return Sum(cpu_); }
    void Print(const char* what) {
        std::printf("%-32s wall %s  cpu %s  (%zu, most cpu at line %d)\n", what,
                    Summary(wall_).c_str(), Summary(cpu_).c_str(), wall_.size(), worstAt_);
    }

private:
    static double Sum(const std::vector<double>& v) {
        double total = 0;
        for (double s : v)
            total += s;
        return total;
    }
    static std::string Summary(std::vector<double>& v) {
        if (v.empty()) return "-";
        std::sort(v.begin(), v.end());
        const double total = Sum(v);
        char text[96];
        std::snprintf(text, sizeof text, "mean %6.3f p99 %6.3f worst %6.3f ms",
                      total / double(v.size()) * 1e3, v[v.size() * 99 / 100] * 1e3, v.back() * 1e3);
        return text;
    }
    std::vector<double> wall_;
    std::vector<double> cpu_;
    double worstCpu_ = -1;
    int worstAt_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_editor_paint FILE [repaint]\n");
        return 2;
    }
    const std::string path = argv[1];
    const bool repaintOnly = argc > 2 && std::string(argv[2]) == "repaint";
    qt::ensureApplication();

    // 1 and 2 on one loaded editor.
    View view;
    try {
        view.edit.Lines().LoadFromFile(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_editor_paint: %s\n", e.what());
        return 1;
    }
    view.Size();
    const int lineCount = view.edit.LineCount();

    Stats repaint;
    for (int place : {1, lineCount / 3, lineCount / 2, lineCount - kRows}) {
        view.edit.SetTopLine(place);
        view.Paint(); // warm
        for (int i = 0; i < (repaintOnly ? 1000 : 100); ++i)
            repaint.Time(place, [&] { view.Paint(); });
    }

    std::printf("file: %s, %d lines, view %d x %d cells (%d x %d pixels)\n", path.c_str(),
                lineCount, kColumns, kRows, view.edit.ClientWidth(), view.edit.ClientHeight());
    repaint.Print("full repaint of the view");
    if (repaintOnly) return 0;

    Stats paging;
    view.edit.SetTopLine(1);
    view.Paint();
    while (view.edit.TopLine() + view.edit.VisibleLines() <= lineCount)
        paging.Time(view.edit.TopLine(), [&] {
            view.edit.SetTopLine(view.edit.TopLine() + view.edit.VisibleLines());
            view.Paint();
        });

    // 3: a fresh editor and a fresh peer, each reading the file.
    Stats ours;
    ours.Time(1, [&] {
        View fresh;
        fresh.edit.Lines().LoadFromFile(path);
        fresh.Size();
        fresh.Paint();
    });
    Stats oursPlain;
    oursPlain.Time(1, [&] {
        TqvCustomEdit edit;
        TTestControlHost host{edit};
        edit.Lines().LoadFromFile(path);
        edit.SetBounds(0, 0, view.edit.Width(), view.edit.Height());
        TBitmap picture(edit.ClientWidth(), edit.ClientHeight());
        host.SendPaint(picture.Canvas(), edit.ClientRect());
    });
    Stats peer;
    peer.Time(1, [&] {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly))
            std::fprintf(stderr, "bench_editor_paint: %s: cannot be read\n", path.c_str());
        QPlainTextEdit plain;
        plain.setFont(QFont("Courier New", 10));
        plain.resize(view.edit.Width(), view.edit.Height());
        plain.setPlainText(QString::fromUtf8(file.readAll()));
        if (plain.grab().isNull()) std::fprintf(stderr, "bench_editor_paint: empty grab\n");
    });

    paging.Print("paging down, scroll + repaint");
    ours.Print("open + first screen, ours (PHP)");
    oursPlain.Print("open + first screen, ours (plain)");
    peer.Print("open + first screen, QPlainTextEdit");
    std::printf("ratio QPlainTextEdit / ours, highlighted: wall %.1f x, cpu %.1f x\n",
                peer.Wall() / ours.Wall(), peer.Cpu() / ours.Cpu());
    std::printf("ratio QPlainTextEdit / ours, plain:       wall %.1f x, cpu %.1f x\n",
                peer.Wall() / oursPlain.Wall(), peer.Cpu() / oursPlain.Cpu());
    return 0;
}
