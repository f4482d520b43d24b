#pragma once
// Builds the JSON text of outgoing messages in one string. Commas are placed by the writer:
// callers say what comes (Key, a value, Begin/End), never the punctuation. Strings are
// UTF-8 (an invalid byte is written as U+FFFD); String with a code page decodes bytes first.

#include "platform/CodePage.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ondrex::lsp {

class TJsonWriter {
public:
    TJsonWriter& BeginObject() { return open('{'); }
    TJsonWriter& EndObject() { return close('}'); }
    TJsonWriter& BeginArray() { return open('['); }
    TJsonWriter& EndArray() { return close(']'); }
    TJsonWriter& Key(std::string_view name);

    TJsonWriter& String(std::string_view utf8);
    TJsonWriter& String(std::string_view bytes, TCodePage codePage);
    TJsonWriter& Number(std::int64_t value);
    TJsonWriter& Bool(bool value);
    TJsonWriter& Null();
    // A value that is already JSON text (an id as it came in).
    TJsonWriter& Raw(std::string_view json);

    // Key and value in one call.
    template <class T> TJsonWriter& Member(std::string_view name, const T& value) {
        Key(name);
        return put(value);
    }

    const std::string& Text() const { return out_; }
    std::string Take() { return std::move(out_); }

private:
    TJsonWriter& open(char c);
    TJsonWriter& close(char c);
    void separate();
    TJsonWriter& put(std::string_view s) { return String(s); }
    TJsonWriter& put(const char* s) { return String(s); }
    TJsonWriter& put(const std::string& s) { return String(s); }
    TJsonWriter& put(bool b) { return Bool(b); }
    TJsonWriter& put(int n) { return Number(n); }
    TJsonWriter& put(std::int64_t n) { return Number(n); }

    std::string out_;
    bool needComma_ = false;
};

} // namespace ondrex::lsp
