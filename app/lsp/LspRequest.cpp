#include "app/lsp/LspRequest.h"

namespace ondrex::lsp {

namespace {

[[noreturn]] void invalidParams(std::string_view path, std::string_view problem) {
    throw ELspError(ecInvalidParams, std::string(path) + " " + std::string(problem));
}

// What a message without params has in their place: an empty object (a default element holds
// no document and must not be read).
simdjson::dom::element noParams() {
    static simdjson::dom::parser parser;
    static const simdjson::dom::element empty = parser.parse(std::string_view("{}")).value();
    return empty;
}

} // namespace

void TLanguageServer::TRequest::Parse() {
    params = noParams();
    if (!root.is_object()) throw ELspError(ecInvalidRequest, "a message must be a JSON object");
    simdjson::dom::element value;
    if (!root["id"].get(value)) {
        if (!value.is_string() && !value.is_int64() && !value.is_uint64() && !value.is_null())
            throw ELspError(ecInvalidRequest, "the id must be a number or a string");
        id = simdjson::minify(value);
        if (value.is_null()) id.clear();
    }
    std::string_view version;
    if (root["jsonrpc"].get(version) || version != "2.0")
        throw ELspError(ecInvalidRequest, "the message lacks \"jsonrpc\": \"2.0\"");
    std::string_view name;
    if (root["method"].get(value)) {
        if (!id.empty() && (!root["result"].error() || !root["error"].error())) {
            isResponse = true;
            return;
        }
        throw ELspError(ecInvalidRequest, "the message has no method");
    }
    if (value.get(name)) throw ELspError(ecInvalidRequest, "the method must be a string");
    method.assign(name);
    // "params": null stands for none, as some clients send it.
    if (simdjson::dom::element given; !root["params"].get(given) && !given.is_null()) {
        params = given;
        if (!params.is_object() && !params.is_array())
            throw ELspError(ecInvalidRequest, "params must be an object or an array");
        hasParams = true;
    }
}

std::optional<simdjson::dom::element> OptionalMember(simdjson::dom::element object,
                                                     std::string_view key) {
    simdjson::dom::element value;
    if (!object.is_object() || object[key].get(value) || value.is_null()) return std::nullopt;
    return value;
}

simdjson::dom::element Member(simdjson::dom::element object, std::string_view key,
                              std::string_view path) {
    const std::optional<simdjson::dom::element> value = OptionalMember(object, key);
    if (!value) invalidParams(path, "is missing");
    return *value;
}

std::string_view StringMember(simdjson::dom::element object, std::string_view key,
                              std::string_view path) {
    std::string_view s;
    if (Member(object, key, path).get(s)) invalidParams(path, "must be a string");
    return s;
}

std::int64_t IntegerMember(simdjson::dom::element object, std::string_view key,
                           std::string_view path) {
    std::int64_t n = 0;
    if (Member(object, key, path).get(n)) invalidParams(path, "must be an integer");
    return n;
}

} // namespace ondrex::lsp
