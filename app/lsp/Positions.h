#pragma once
// Columns as the protocol counts them. A position's `character` counts UTF-16 code units
// (the protocol's default) or UTF-8 bytes (when the client offers it) of the line's text;
// lines here are bytes in a code page (open documents: UTF-8; files read from disk: UTF-8,
// or Windows-1252 when not valid UTF-8, as everywhere in Ondrex).

#include "platform/CodePage.h"

#include <cstddef>
#include <string_view>

namespace ondrex::lsp {

enum class TPositionEncoding { Utf16, Utf8 };

// The `character` of byte columns of one line, asked for in increasing order (a column
// inside a character counts as that character's start).
class TColumnCounter {
public:
    TColumnCounter(std::string_view line, TCodePage codePage, TPositionEncoding encoding);
    int At(std::size_t byte);

private:
    std::string_view line_;
    TCodePage codePage_;
    TPositionEncoding encoding_;
    bool unitsAreBytes_;
    std::size_t byte_ = 0;
    int units_ = 0;
};

inline int CharacterOf(std::string_view line, std::size_t byte, TCodePage codePage,
                       TPositionEncoding encoding) {
    return TColumnCounter(line, codePage, encoding).At(byte);
}
// The byte column of a `character`: past the line's end it is the line's end, inside a
// character it is that character's start.
std::size_t ByteOf(std::string_view line, long long character, TCodePage codePage,
                   TPositionEncoding encoding);

} // namespace ondrex::lsp
