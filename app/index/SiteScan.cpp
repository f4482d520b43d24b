#include "app/index/SiteScan.h"

#include "app/index/FileBytes.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace ondrex {

void ScanSiteFile(TSiteFile& file, const TSiteScanOptions& options) {
    if (file.entry.kind != TWalkEntry::TKind::File) return;
    try {
        const TFileBytes bytes(file.entry.path);
        const std::string_view block = bytes.View();
        TScriptScanner scanner;
        scanner.options = options.scan;
        scanner.countOnly = options.countOnly;
        scanner.ScanBlock(block, file.results);
        bytes.ThrowIfShortened(file.entry.path);
        if (!options.countOnly) {
            if (options.symbols) file.symbols = CollectSymbols(block, file.results);
            const auto notAscii = [](const TSiteSymbol& s) {
                return std::any_of(s.lineText.begin(), s.lineText.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
            };
            if (options.rows || std::any_of(file.symbols.begin(), file.symbols.end(), notAscii))
                file.validUtf8 = IsValidUtf8(block);
        }
        if (!options.rows) file.results.rows = {};
    } catch (const EFileError& e) {
        file.entry.kind = TWalkEntry::TKind::Error;
        const std::string what = e.what(); // "PATH: cause"
        file.entry.message = what.substr(std::min(what.size(), e.path().size() + 2));
    } catch (const std::bad_alloc&) {
        file.entry.kind = TWalkEntry::TKind::Error;
        file.entry.message = "out of memory";
    }
}

namespace {

// The files in flight, in walk order: slot i holds entry `emitted + i`.
struct TWindow {
    struct TSlot {
        TSiteFile file;
        bool done = false;
    };
    std::deque<TSlot> slots;
    std::size_t emitted = 0; // entries given to `collect`
    std::size_t claimed = 0; // entries taken by a worker or emitted: all before it
    std::mutex mutex;
    std::condition_variable work, finished;
    bool stopping = false;
};

void runWorker(TWindow& w, const TSiteScanOptions& options) {
    std::unique_lock lock(w.mutex);
    for (;;) {
        w.work.wait(lock, [&] {
            if (w.claimed < w.emitted) w.claimed = w.emitted; // emitted without a scan
            return w.stopping || w.claimed < w.emitted + w.slots.size();
        });
        if (w.stopping) return;
        TWindow::TSlot& slot = w.slots[w.claimed - w.emitted]; // deque: stable under push_back
        ++w.claimed;
        lock.unlock();
        ScanSiteFile(slot.file, options);
        lock.lock();
        slot.done = true;
        w.finished.notify_all();
    }
}

} // namespace

void ScanSite(TSiteWalk& walk, const TSiteScanOptions& options,
              const std::function<void(TSiteFile&)>& collect) {
    unsigned threads = options.threads ? options.threads : std::thread::hardware_concurrency();
    if (threads <= 1) {
        for (TSiteFile file; walk.Next(file.entry); file = TSiteFile()) {
            ScanSiteFile(file, options);
            collect(file);
        }
        return;
    }
    const std::size_t windowSize = 16 + 8 * std::size_t(threads);
    TWindow w;
    std::vector<std::thread> workers;
    struct TJoin {
        TWindow& w;
        std::vector<std::thread>& workers;
        ~TJoin() {
            {
                std::lock_guard lock(w.mutex);
                w.stopping = true;
            }
            w.work.notify_all();
            for (std::thread& t : workers)
                t.join();
        }
    } join{w, workers};
    for (unsigned i = 0; i < threads; ++i)
        workers.emplace_back(runWorker, std::ref(w), std::cref(options));

    bool walking = true;
    for (;;) {
        // Fill the window from the walk (outside the lock: the walk lists folders).
        while (walking) {
            {
                std::lock_guard lock(w.mutex);
                if (w.slots.size() >= windowSize) break;
            }
            TSiteFile file;
            walking = walk.Next(file.entry);
            if (!walking) break;
            const bool scan = file.entry.kind == TWalkEntry::TKind::File;
            {
                std::lock_guard lock(w.mutex);
                w.slots.push_back({std::move(file), !scan});
            }
            if (scan) w.work.notify_one();
        }
        std::unique_lock lock(w.mutex);
        if (w.slots.empty()) return;
        w.finished.wait(lock, [&] { return w.slots.front().done; });
        TSiteFile file = std::move(w.slots.front().file);
        w.slots.pop_front();
        ++w.emitted;
        lock.unlock();
        collect(file);
    }
}

} // namespace ondrex
