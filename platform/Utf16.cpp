#include "platform/Utf16.h"

#include "platform/CodePage.h"

namespace ondrex {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighHalf(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowHalf(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

std::optional<TUtf16Order> Utf16Mark(std::string_view head) {
    if (head.size() < 2) return std::nullopt;
    const auto first = static_cast<unsigned char>(head[0]);
    const auto second = static_cast<unsigned char>(head[1]);
    if (first == 0xFF && second == 0xFE) return TUtf16Order::LittleEndian;
    if (first == 0xFE && second == 0xFF) return TUtf16Order::BigEndian;
    return std::nullopt;
}

void TUtf16Decoder::appendUnit(char16_t unit, std::string& utf8) {
    if (highHalf_) {
        const char32_t high = highHalf_;
        highHalf_ = 0;
        if (isLowHalf(unit)) {
            AppendCodePoint(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00), utf8);
            return;
        }
        AppendCodePoint(kReplacement, utf8);
    }
    if (isHighHalf(unit))
        highHalf_ = unit;
    else
        AppendCodePoint(isLowHalf(unit) ? kReplacement : unit, utf8);
}

void TUtf16Decoder::Append(std::string_view bytes, std::string& utf8) {
    std::size_t i = 0;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const auto unitOf = [&](unsigned a, unsigned b) {
        return char16_t(order_ == TUtf16Order::LittleEndian ? a | b << 8 : a << 8 | b);
    };
    if (oddByte_ >= 0 && !bytes.empty()) {
        appendUnit(unitOf(unsigned(oddByte_), byte(0)), utf8);
        oddByte_ = -1;
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2)
        appendUnit(unitOf(byte(i), byte(i + 1)), utf8);
    if (i < bytes.size()) oddByte_ = byte(i);
}

void TUtf16Decoder::Finish(std::string& utf8) {
    if (highHalf_) AppendCodePoint(kReplacement, utf8);
    if (oddByte_ >= 0) AppendCodePoint(kReplacement, utf8);
    highHalf_ = 0;
    oddByte_ = -1;
}

std::string Utf16ToUtf8(std::string_view bytes, TUtf16Order order) {
    std::string utf8;
    utf8.reserve(bytes.size() / 2 + 16); // mostly ASCII
    TUtf16Decoder decoder(order);
    decoder.Append(bytes.substr(2), utf8);
    decoder.Finish(utf8);
    return utf8;
}

} // namespace ondrex
