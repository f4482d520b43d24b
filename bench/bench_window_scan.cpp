// The window's scan of one large file, as `ondrex FILE` runs it: load into the editor, scan,
// fill the lists, first paint. Prints the seconds to the first paint after the scan, the
// longest gap between two event-loop passes (from the start, so the reading before the first
// pass counts), when the editor first painted text, the peak memory over
// what the window used before, and the CPU the idle window used over two seconds (after three
// seconds for what the scan left pending).
//
//   bench_window_scan FILE [--load-only]   (bench/bench_window.sh runs it beside `ondrex scan`;
//   --load-only ends after the load's figures, for a profile of the load alone)

#include "app/window/Tfrm_Ondrex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace {

long peakKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The first paint of the editor with text in it, from the start of the load.
struct TFirstTextPaint : QObject {
    ondrex::window::Tfrm_Ondrex* window = nullptr;
    const QElapsedTimer* clock = nullptr;
    qint64 at = -1;
    bool eventFilter(QObject*, QEvent* event) override {
        if (at < 0 && event->type() == QEvent::Paint && window->memo1().LineCount() > 1)
            at = clock->nsecsElapsed();
        return false;
    }
};

// The main window, timing the pump passes its scan asks for.
class TTimedWindow : public ondrex::window::Tfrm_Ondrex {
public:
    using Tfrm_Ondrex::Tfrm_Ondrex;
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longestGap = 0;
    qint64 loadGap = -1; // from the start to the first pass: reading and loading the file
    int passes = 0;
    void ProcessMessages() override {
        const qint64 now = clock.nsecsElapsed();
        if (loadGap < 0) loadGap = now - last;
        longestGap = std::max(longestGap, now - last); // the load blocks the loop as much
        Tfrm_Ondrex::ProcessMessages();
        last = clock.nsecsElapsed();
        ++passes;
    }
};

} // namespace

int main(int argc, char** argv) {
    const bool loadOnly = argc == 3 && std::string_view(argv[2]) == "--load-only";
    if (argc != 2 && !loadOnly) {
        std::fprintf(stderr, "usage: bench_window_scan FILE [--load-only]\n");
        return 2;
    }
    QApplication app(argc, argv);
    TTimedWindow window;
    window.show();
    while (!window.Started())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const long baseKb = peakKb();

    TFirstTextPaint firstText;
    firstText.window = &window;
    firstText.clock = &window.clock;
    window.MemoWidget()->installEventFilter(&firstText);

    window.Explorer().FileName = argv[1];
    const double cpuStart = cpuSeconds();
    window.clock.start();
    window.last = 0; // the gap before the first pass counts: reading and loading the file
    window.Explorer().Parse();
    const qint64 scanned = window.clock.nsecsElapsed();
    window.longestGap = std::max(window.longestGap, scanned - window.last);
    window.MemoWidget()->repaint();
    window.ListView2().Widget()->repaint();
    const double total = double(window.clock.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpuStart;
    window.MemoWidget()->removeEventFilter(&firstText);
    const long usedKb = peakKb() - baseKb;

    // Idle as the program is: waiting in the event loop (first for what the scan left pending).
    auto idleFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    if (loadOnly) {
        std::printf("window CPU to first paint   %.3f s\n", cpu);
        std::fflush(stdout);
        std::_Exit(0); // no teardown in the profile
    }
    idleFor(3000);
    const double cpu0 = cpuSeconds();
    idleFor(2000);
    const double idleCpu = cpuSeconds() - cpu0;

    std::printf("rows %zu\n", window.Explorer().Results().rows.size());
    std::printf("window scan to first paint  %.3f s\n", total);
    std::printf("window CPU to first paint   %.3f s\n", cpu);
    std::printf("longest event-loop gap      %.1f ms, counting the load (%d passes; target < 50)\n",
                double(window.longestGap) / 1e6, window.passes);
    std::printf("before the first pass       %.1f ms (reading the first pieces)\n",
                double(window.loadGap) / 1e6);
    std::printf("first screen of text painted %.1f ms after the start (target < 150)\n",
                double(firstText.at) / 1e6);
    std::printf("peak memory over the window %.1f MB (the whole process %.1f MB)\n",
                double(usedKb) / 1024, double(peakKb()) / 1024);
    std::printf("idle CPU over 2 s           %.3f s\n", idleCpu);
    return 0;
}
