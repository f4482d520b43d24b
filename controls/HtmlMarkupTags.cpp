#include "controls/HtmlMarkupTags.h"

#include "platform/CodePage.h"

#include <charconv>

namespace ondrex {

namespace {

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

TMarkupTag ClassifyClosing(char letter) {
    switch (AsciiUpper(letter)) {
    case 'A':
        return TMarkupTag::EndAnchor;
    case 'B':
        return TMarkupTag::EndBold;
    case 'F':
        return TMarkupTag::EndFont;
    case 'I':
        return TMarkupTag::EndItalic;
    case 'P':
        return TMarkupTag::EndParagraph;
    case 'U':
        return TMarkupTag::EndUnderline;
    default:
        return TMarkupTag::Unknown;
    }
}

} // namespace

std::size_t FindNoCase(std::string_view text, std::string_view what) {
    if (what.empty()) return 0;
    for (std::size_t i = 0; i + what.size() <= text.size(); ++i)
        if (StartsNoCase(text.substr(i), what)) return i;
    return std::string_view::npos;
}

bool ContainsNoCase(std::string_view text, std::string_view what) {
    return FindNoCase(text, what) != std::string_view::npos;
}

TMarkupTag ClassifyTag(std::string_view tag) {
    if (tag.size() < 2 || tag[0] != '<') return TMarkupTag::Unknown;
    if (tag[1] == '/') return tag.size() > 2 ? ClassifyClosing(tag[2]) : TMarkupTag::Unknown;
    // Longer names first where one name starts another.
    if (StartsNoCase(tag, "<BR>")) return TMarkupTag::Break;
    if (StartsNoCase(tag, "<BODY")) return TMarkupTag::Body;
    if (StartsNoCase(tag, "<B>")) return TMarkupTag::Bold;
    if (StartsNoCase(tag, "<IND")) return TMarkupTag::Indent;
    if (StartsNoCase(tag, "<IMG")) return TMarkupTag::Image;
    if (StartsNoCase(tag, "<I>")) return TMarkupTag::Italic;
    switch (AsciiUpper(tag[1])) {
    case 'A':
        return TMarkupTag::Anchor;
    case 'F':
        return TMarkupTag::Font;
    case 'H':
        return TMarkupTag::Rule;
    case 'P':
        return TMarkupTag::Paragraph;
    case 'U':
        return TMarkupTag::Underline;
    default:
        return TMarkupTag::Unknown;
    }
}

std::string TagAttribute(std::string_view tag, std::string_view name) {
    const std::size_t at = FindNoCase(tag, name);
    if (at == std::string_view::npos) return {};
    const std::size_t open = tag.find('"', at + name.size());
    if (open == std::string_view::npos) return {};
    const std::size_t close = tag.find('"', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(tag.substr(open + 1, close - open - 1));
}

std::optional<int> ParseMarkupInteger(std::string_view text) {
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text[0] == '-') return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace ondrex
