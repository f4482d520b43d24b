#pragma once
// JSON text written by hand where output is built in one string (the command line's
// --format json, the language server's messages): strings escaped and numbers in decimal.
// Reading JSON is the library's business (simdjson), never done here.

#include "platform/CodePage.h"

#include <charconv>
#include <string>
#include <string_view>

namespace ondrex {

// Appends "text" with quotes, escaping ", \ and the control characters. The text must be
// UTF-8 (decode it first).
void AppendJsonString(std::string& out, std::string_view utf8);
// Appends the bytes in the code page, decoded to UTF-8, as a JSON string.
void AppendJsonString(std::string& out, std::string_view bytes, TCodePage codePage);

// Appends an integer in decimal.
template <class TInteger> void AppendNumber(std::string& out, TInteger value) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

} // namespace ondrex
