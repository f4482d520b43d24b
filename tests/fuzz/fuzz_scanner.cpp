// libFuzzer target: the scanner on any bytes. The headless scan (jumping between possible
// hits) must equal the line-by-line scan, both must name lines the line list holds, and
// loading the bytes into the line list must keep every byte.

#include "app/ScriptScanner.h"
#include "editor/TqvEditList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
struct NoPump {
    void Pump() {}
} noPump;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ondrex;
    if (size == 0) return 0;
    const TScanOptions options{bool(data[0] & 1), bool(data[0] & 2), bool(data[0] & 4)};
    const std::string block(reinterpret_cast<const char*>(data) + 1, size - 1);

    TScriptScanner fast, slow;
    fast.options = slow.options = options;
    slow.processMessages = TMessagePump::bind<&NoPump::Pump>(&noPump);
    TScanResults a, b;
    fast.ScanBlock(block, a);
    slow.ScanBlock(block, b);
    if (a.rows.size() != b.rows.size() || a.linesRead != b.linesRead || a.info != b.info)
        std::abort();
    for (std::size_t i = 0; i < a.rows.size(); ++i)
        if (a.rows[i].line != b.rows[i].line || a.rows[i].name != b.rows[i].name ||
            a.rows[i].text != b.rows[i].text || a.rows[i].caption != b.rows[i].caption)
            std::abort();

    TqvEditList lines;
    lines.LoadFromBlock(std::string(block));
    for (const TScanRow& row : a.rows)
        if (row.line < 1 || row.line > lines.Count()) std::abort();
    std::size_t bytes = 0;
    for (int i = 0; i < lines.Count(); ++i)
        bytes += lines.Get(i).size();
    std::size_t content = 0;
    for (char c : block)
        content += c != '\r' && c != '\n';
    if (bytes != content) std::abort();
    return 0;
}
