#pragma once
// Scripts saved as UTF-16 with a byte-order mark (what some editors call "Unicode"): read as
// UTF-8 text, converted as they are loaded. Without a mark nothing is guessed.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ondrex {

enum class TUtf16Order { LittleEndian, BigEndian };

// The byte order named by a UTF-16 mark at the start of the bytes, if there is one.
std::optional<TUtf16Order> Utf16Mark(std::string_view head);

// Converts UTF-16 in pieces of any size: a byte or a surrogate half at the end of a piece
// waits for the next. Unpaired surrogates and an odd last byte become U+FFFD.
class TUtf16Decoder {
public:
    explicit TUtf16Decoder(TUtf16Order order) : order_(order) {}

    void Append(std::string_view bytes, std::string& utf8);
    // The end of the input: what still waits becomes U+FFFD.
    void Finish(std::string& utf8);

private:
    void appendUnit(char16_t unit, std::string& utf8);

    TUtf16Order order_;
    int oddByte_ = -1;      // the first byte of a unit whose second has not come yet
    char16_t highHalf_ = 0; // a high surrogate waiting for its low half
};

// The whole text after its mark, as UTF-8.
std::string Utf16ToUtf8(std::string_view bytes, TUtf16Order order);

} // namespace ondrex
