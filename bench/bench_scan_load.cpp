// Loads one file into the line list (TqvEditList::LoadFromFile, as the scan does for the
// editor) and reports the time, the line count, the store's bytes and the process's peak
// resident memory. Run by bench/bench_scan.py beside grep and `ondrex scan`.
//
//   bench_scan_load FILE [--get]    (--get also reads every line back once)

#include "editor/TqvEditList.h"
#include "platform/TextFile.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_scan_load FILE [--get]\n");
        return 2;
    }
    const bool get = argc > 2 && std::strcmp(argv[2], "--get") == 0;
    auto t0 = std::chrono::steady_clock::now();
    ondrex::TqvEditList lines;
    try {
        lines.LoadFromFile(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_scan_load: %s\n", e.what());
        return 1;
    }
    std::size_t bytes = 0;
    if (get)
        for (int i = 0; i < lines.Count(); ++i)
            bytes += lines.Get(i).size();
    auto t1 = std::chrono::steady_clock::now();
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("lines=%d load_ms=%.1f store_bytes=%zu peak_rss_kb=%ld%s\n", lines.Count(),
                std::chrono::duration<double, std::milli>(t1 - t0).count(), lines.MemoryUsage(),
                ru.ru_maxrss, get ? (" line_bytes=" + std::to_string(bytes)).c_str() : "");
    return 0;
}
