// Chooses the language server's JSON library: parses the body of a textDocument/didOpen
// carrying a whole file (default: a generated ~50 MB script) with nlohmann::json and with
// simdjson, and takes the text out as the server must, into a std::string of its own. Reports
// the best of a few runs for each and the peak resident memory of the process.
//
//   bench_lsp_json [FILE] [RUNS]    (without FILE: 50 MB of VBScript-like lines)

#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <nlohmann/json.hpp>
#include <simdjson.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>

namespace {

std::string generated(std::size_t size) {
    // Quotes, backslashes and tabs, as real scripts have them, so that escapes are parsed too.
    const std::string line = "\tDim s : s = \"a \\\"quoted\\\" path C:\\\\temp\" ' comment é\r\n";
    std::string text;
    text.reserve(size + line.size());
    while (text.size() < size)
        text += line;
    return text;
}

std::string didOpen(const std::string& text) {
    nlohmann::json message = {{"jsonrpc", "2.0"},
                              {"method", "textDocument/didOpen"},
                              {"params",
                               {{"textDocument",
                                 {{"uri", "file:///tmp/big.asp"},
                                  {"languageId", "vbscript"},
                                  {"version", 1},
                                  {"text", text}}}}}};
    return message.dump();
}

template <class F> double bestMs(int runs, F&& f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        f();
        auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    std::string text;
    try {
        // A client sends UTF-8: a file in Windows-1252 arrives decoded.
        if (argc > 1) {
            const std::string bytes = ondrex::ReadFileBytes(argv[1]);
            text = ondrex::ToUtf8(ondrex::DetectCodePage(bytes), bytes);
        } else {
            text = generated(50'000'000);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_lsp_json: %s\n", e.what());
        return 1;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string body = didOpen(text);
    std::size_t checksum = 0;

    const double nlohmannMs = bestMs(runs, [&] {
        nlohmann::json message = nlohmann::json::parse(body);
        std::string taken =
            std::move(message["params"]["textDocument"]["text"].get_ref<std::string&>());
        checksum += taken.size();
    });

    simdjson::dom::parser parser;
    const double simdjsonMs = bestMs(runs, [&] {
        simdjson::dom::element message = parser.parse(body);
        std::string_view view = message["params"]["textDocument"]["text"].get_string();
        std::string taken(view);
        checksum += taken.size();
    });

    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    const double mb = double(body.size()) / 1e6;
    std::printf("body=%.1f MB\n", mb);
    std::printf("nlohmann::json  %8.1f ms  %7.0f MB/s\n", nlohmannMs, mb / nlohmannMs * 1000);
    std::printf("simdjson (dom)  %8.1f ms  %7.0f MB/s\n", simdjsonMs, mb / simdjsonMs * 1000);
    std::printf("ratio nlohmann/simdjson %.1f  peak_rss_kb=%ld checksum=%zu\n",
                nlohmannMs / simdjsonMs, ru.ru_maxrss, checksum);
    return 0;
}
