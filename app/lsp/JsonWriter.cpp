#include "app/lsp/JsonWriter.h"

#include "app/JsonText.h"

namespace ondrex::lsp {

void TJsonWriter::separate() {
    if (needComma_) out_ += ',';
    needComma_ = true;
}

TJsonWriter& TJsonWriter::open(char c) {
    separate();
    out_ += c;
    needComma_ = false;
    return *this;
}

TJsonWriter& TJsonWriter::close(char c) {
    out_ += c;
    needComma_ = true;
    return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view name) {
    separate();
    AppendJsonString(out_, name);
    out_ += ':';
    needComma_ = false;
    return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view utf8) {
    // Invalid bytes (a quoted piece of a bad message) become U+FFFD: the output stays JSON.
    return String(utf8, TCodePage::Utf8);
}

TJsonWriter& TJsonWriter::String(std::string_view bytes, TCodePage codePage) {
    separate();
    AppendJsonString(out_, bytes, codePage);
    return *this;
}

TJsonWriter& TJsonWriter::Number(std::int64_t value) {
    separate();
    AppendNumber(out_, value);
    return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value) {
    separate();
    out_ += value ? "true" : "false";
    return *this;
}

TJsonWriter& TJsonWriter::Null() {
    separate();
    out_ += "null";
    return *this;
}

TJsonWriter& TJsonWriter::Raw(std::string_view json) {
    separate();
    out_ += json;
    return *this;
}

} // namespace ondrex::lsp
