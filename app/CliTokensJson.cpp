#include "app/CliTokensJson.h"

#include <new>

#include "app/CliSupport.h"
#include "highlighters/TqvTableHighLighter.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace ondrex::cli {

namespace {

// For each byte below 0x80, its JSON form inside a string: `len` bytes of `text`. Bytes from
// 0x80 up take the decoding route.
struct TEscapes {
    struct TForm {
        unsigned char len = 0;
        char text[6] = {};
    };
    TForm form[128];
    constexpr TEscapes() : form() {
        const char hex[] = "0123456789abcdef";
        for (int c = 0; c < 128; ++c) {
            TForm& f = form[c];
            const char* named = c == '"'    ? "\\\""
                                : c == '\\' ? "\\\\"
                                : c == '\n' ? "\\n"
                                : c == '\r' ? "\\r"
                                : c == '\t' ? "\\t"
                                : c == '\b' ? "\\b"
                                : c == '\f' ? "\\f"
                                            : nullptr;
            if (named) {
                f.len = 2;
                f.text[0] = named[0];
                f.text[1] = named[1];
            } else if (c < 0x20 || c == 0x7F) {
                const char u[6] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
                f.len = 6;
                for (int k = 0; k < 6; ++k)
                    f.text[k] = u[k];
            } else {
                f.len = 1;
                f.text[0] = char(c);
            }
        }
    }
};
constexpr TEscapes kEscapes;
constexpr std::size_t kMaxEscape = 6;

template <std::size_t N> char* put(char* p, const char (&text)[N]) {
    std::memcpy(p, text, N - 1);
    return p + N - 1;
}

// Kinds and most token starts have one or two digits.
template <class TInteger> char* putNumber(char* p, TInteger value) {
    if (value >= 0 && value < 10) {
        *p = char('0' + value);
        return p + 1;
    }
    if (value >= 0 && value < 100) {
        p[0] = char('0' + value / 10);
        p[1] = char('0' + value % 10);
        return p + 2;
    }
    return std::to_chars(p, p + 24, value).ptr;
}

// The escaped text when every byte is below 0x80; nullptr when one is not.
char* putAsciiChars(char* p, std::string_view s) {
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x80) return nullptr;
        const TEscapes::TForm& f = kEscapes.form[c];
        if (f.len == 1)
            *p++ = ch;
        else
            p = static_cast<char*>(std::memcpy(p, f.text, f.len)) + f.len;
    }
    return p;
}

// Where a slice of a token may end at or before `end`: not inside a UTF-8 character, so that
// the slices decode as the whole does (a byte that cannot continue one is a cut of its own).
std::size_t SliceEnd(std::string_view s, std::size_t end) {
    if (end >= s.size()) return s.size();
    for (std::size_t back = 0; back <= 3; ++back)
        if ((static_cast<unsigned char>(s[end - back]) & 0xC0) != 0x80) return end - back;
    return end;
}

} // namespace

TTokensJson::TTokensJson(TqvCustomHighLighter& highlighter, TCodePage codePage, TWrite write)
    : highlighter_(highlighter), table_(dynamic_cast<TqvTableHighLighter*>(&highlighter)),
      codePage_(codePage), write_(std::move(write)) {}

void TTokensJson::Flush() {
    if (write_ && used_ > 0) write_(Text());
    used_ = 0;
}

void TTokensJson::Grow(std::size_t n) {
    const std::size_t capacity = std::max(2 * capacity_, used_ + n + 65536);
    char* grown = static_cast<char*>(std::realloc(buffer_.get(), capacity));
    if (!grown) throw std::bad_alloc();
    (void)buffer_.release();
    buffer_.reset(grown);
    capacity_ = capacity;
}

std::string_view TTokensJson::TokenOf(TqvTableHighLighter& table) {
    return table.TokenView();
}

std::string_view TTokensJson::TokenOf(TqvCustomHighLighter& any) {
    return token_ = any.TokenText();
}

bool TTokensJson::AppendAscii(std::string_view token) {
    char* p = Room(2 + kMaxEscape * token.size());
    *p++ = '"';
    if (!(p = putAsciiChars(p, token))) return false;
    *p++ = '"';
    Commit(p);
    return true;
}

// Decoded from the file's code page first.
void TTokensJson::AppendDecoded(std::string_view token) {
    scratch_.clear();
    AppendJsonString(scratch_, token, codePage_);
    char* p = Room(scratch_.size());
    Commit(static_cast<char*>(std::memcpy(p, scratch_.data(), scratch_.size())) + scratch_.size());
}

// The string's slices are written without their own quotes, one after another.
void TTokensJson::AppendLongToken(std::string_view token) {
    Commit(put(Room(1), "\""));
    for (std::size_t from = 0; from < token.size();) {
        const std::size_t end = std::max(SliceEnd(token, from + kSlice), from + 1);
        const std::string_view slice = token.substr(from, end - from);
        char* p = putAsciiChars(Room(kMaxEscape * slice.size()), slice);
        if (p) {
            Commit(p);
        } else {
            scratch_.clear();
            AppendJsonString(scratch_, slice, codePage_);
            p = Room(scratch_.size());
            Commit(static_cast<char*>(std::memcpy(p, scratch_.data() + 1, scratch_.size() - 2)) +
                   scratch_.size() - 2);
        }
        from = end;
        WriteWhenFull();
    }
    Commit(put(Room(1), "\""));
}

template <class THighlighter> void TTokensJson::AppendTokens(THighlighter& h) {
    constexpr std::size_t kNumbers = 64; // two numbers and the punctuation around them
    for (bool first = true; !h.AtLineEnd(); first = false) {
        const std::string_view token = TokenOf(h);
        char* p = Room(kNumbers);
        p = first ? put(p, "[") : put(p, ", [");
        p = putNumber(p, h.TokenKind());
        p = put(p, ", ");
        p = putNumber(p, h.TokenStart());
        Commit(put(p, ", "));
        if (token.size() > kSlice)
            AppendLongToken(token);
        else if (!AppendAscii(token))
            AppendDecoded(token);
        Commit(put(Room(1), "]"));
        WriteWhenFull();
        h.NextToken();
    }
}

void TTokensJson::AppendLine(int lineNumber, TqvRangeState range) {
    char* p = Room(64);
    p = put(p, "{\"line\": ");
    p = putNumber(p, lineNumber);
    p = put(p, ", \"range\": ");
    p = putNumber(p, range);
    p = put(p, ", \"tokens\": [");
    Commit(p);
    if (table_)
        AppendTokens(*table_);
    else
        AppendTokens(highlighter_);
    p = Room(4);
    Commit(put(p, "]}\n"));
}

} // namespace ondrex::cli
