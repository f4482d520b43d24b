// libFuzzer target: the language server on any bytes from its client. After a fixed start
// (initialize, a document opened), the input is cut into reads at places the input chooses,
// framed, dispatched and answered. Whatever comes, the server must not fail, and every
// message it writes must be one valid JSON object.

#include "app/lsp/LanguageServer.h"

#include <simdjson.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string framed(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ondrex::lsp;
    if (size == 0) return 0;
    simdjson::dom::parser check;
    TLanguageServer server(
        [&](const std::string& body) {
            simdjson::dom::element message;
            if (check.parse(body).get(message) || !message.is_object()) std::abort();
        },
        [](const std::string&) {});
    server.Receive(
        framed("{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"initialize\",\"params\":"
               "{\"capabilities\":{\"general\":{\"positionEncodings\":[\"utf-16\"]}}}}") +
        framed("{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didOpen\",\"params\":"
               "{\"textDocument\":{\"uri\":\"file:///f.asp\",\"languageId\":\"vbscript\","
               "\"version\":1,\"text\":\"Function F()\\n  Call G\\nEnd Function\\n\"}}}"));
    server.ProcessQueued();

    // The first byte chooses the read size: 1 to 256 bytes.
    const std::size_t step = std::size_t(data[0]) + 1;
    const char* bytes = reinterpret_cast<const char*>(data) + 1;
    for (std::size_t at = 0; at < size - 1; at += step) {
        server.Receive(std::string_view(bytes + at, std::min(step, size - 1 - at)));
        server.ProcessQueued();
    }
    server.ReceiveEnd();
    server.ProcessQueued();
    return 0;
}
