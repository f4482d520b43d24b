#include "app/JsonText.h"

namespace ondrex {

void AppendJsonString(std::string& out, std::string_view s) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    std::size_t run = 0; // start of the pending run of bytes that need no escape
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\' && c != 0x7F) continue;
        out.append(s.data() + run, i - run);
        run = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    out.append(s.data() + run, s.size() - run);
    out += '"';
}

void AppendJsonString(std::string& out, std::string_view bytes, TCodePage codePage) {
    // Pure ASCII (the common case) needs no decoding.
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        AppendJsonString(out, bytes);
        return;
    }
    std::string utf8;
    AppendUtf8(codePage, bytes, utf8);
    AppendJsonString(out, utf8);
}

} // namespace ondrex
