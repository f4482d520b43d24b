#include "app/lsp/Positions.h"

namespace ondrex::lsp {

namespace {

// Code units of one character in the encoding.
int unitsOf(char32_t codePoint, TPositionEncoding encoding) {
    if (encoding == TPositionEncoding::Utf16) return codePoint >= 0x10000 ? 2 : 1;
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

// Whether bytes and code units coincide for the whole line.
bool unitsAreBytes(std::string_view line, TCodePage codePage, TPositionEncoding encoding) {
    if (codePage == TCodePage::Utf8 && encoding == TPositionEncoding::Utf8) return true;
    if (codePage == TCodePage::Windows1252 && encoding == TPositionEncoding::Utf16) return true;
    for (char c : line)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace

TColumnCounter::TColumnCounter(std::string_view line, TCodePage codePage,
                               TPositionEncoding encoding)
    : line_(line), codePage_(codePage), encoding_(encoding),
      unitsAreBytes_(unitsAreBytes(line, codePage, encoding)) {}

int TColumnCounter::At(std::size_t byte) {
    if (byte > line_.size()) byte = line_.size();
    if (unitsAreBytes_) return int(CharStart(codePage_, line_, byte));
    while (byte_ < byte) {
        const TDecodedChar c = DecodeChar(codePage_, line_, byte_);
        if (byte_ + c.length > byte) break;
        units_ += unitsOf(c.codePoint, encoding_);
        byte_ += c.length;
    }
    return units_;
}

std::size_t ByteOf(std::string_view line, long long character, TCodePage codePage,
                   TPositionEncoding encoding) {
    if (character <= 0) return 0;
    if (unitsAreBytes(line, codePage, encoding)) {
        if (std::size_t(character) >= line.size()) return line.size();
        return CharStart(codePage, line, std::size_t(character));
    }
    long long units = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        const TDecodedChar c = DecodeChar(codePage, line, i);
        units += unitsOf(c.codePoint, encoding);
        if (units > character) break;
        i += c.length;
    }
    return i;
}

} // namespace ondrex::lsp
