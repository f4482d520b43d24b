#pragma once
// Reading the tags of list-box markup. A tag is the text from "<" through the next ">"; it
// is known by its first letters, whatever their case, and its attributes are found by name
// anywhere in it, their values in double quotes. Case never depends on the process locale.

#include <optional>
#include <string>
#include <string_view>

namespace ondrex {

enum class TMarkupTag {
    Unknown,
    Anchor,    // A ... href="target"
    Bold,      // <B>
    Break,     // <BR>
    Body,      // <BODY bgcolor="...">
    Font,      // FONT face= color= bgcolor= size=
    Rule,      // H..., such as HR
    Italic,    // <I>
    Indent,    // <IND x="n">
    Image,     // <IMG src="...">
    Paragraph, // P with right / left / center
    Underline, // U...
    EndAnchor,
    EndBold,
    EndFont,
    EndItalic,
    EndParagraph,
    EndUnderline,
};

// `tag` runs from "<" through ">".
TMarkupTag ClassifyTag(std::string_view tag);

// The text between the first double quote after the first occurrence of `name` and the next
// double quote; empty when the name is missing or the value is not quoted.
std::string TagAttribute(std::string_view tag, std::string_view name);

// ASCII case-insensitive search.
bool ContainsNoCase(std::string_view text, std::string_view what);
std::size_t FindNoCase(std::string_view text, std::string_view what);

// A whole decimal integer with an optional sign; nothing when the text is anything else or
// out of the int range.
std::optional<int> ParseMarkupInteger(std::string_view text);

} // namespace ondrex
