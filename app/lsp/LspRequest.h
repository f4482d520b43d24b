#pragma once
// One incoming message as the handlers see it, and typed access to its params: a missing or
// mistyped member is an InvalidParams error naming it.

#include "app/lsp/LanguageServer.h"
#include "app/lsp/LspError.h"

#include <simdjson.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrex::lsp {

struct TLanguageServer::TRequest {
    explicit TRequest(simdjson::dom::element root) : root(root) {}

    simdjson::dom::element root;
    std::string method;
    std::string id; // JSON text of the id; empty for a notification
    simdjson::dom::element params;
    bool hasParams = false;
    bool isResponse = false; // an answer to a request of the server's

    // Checks the envelope (jsonrpc "2.0", method, id, params); throws InvalidRequest.
    void Parse();
};

// A member of an object; throws InvalidParams naming `path`.
simdjson::dom::element Member(simdjson::dom::element object, std::string_view key,
                              std::string_view path);
std::optional<simdjson::dom::element> OptionalMember(simdjson::dom::element object,
                                                     std::string_view key);
std::string_view StringMember(simdjson::dom::element object, std::string_view key,
                              std::string_view path);
std::int64_t IntegerMember(simdjson::dom::element object, std::string_view key,
                           std::string_view path);

} // namespace ondrex::lsp
