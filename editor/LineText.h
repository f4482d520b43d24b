#pragma once
// Small rules about one line's bytes that the editing commands share: what a trailing blank
// is, how deep a line is indented, and where the characters of the active code page begin,
// so that no command leaves half a character.

#include "platform/LineBreaks.h"

#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

// Blanks are spaces and control characters (bytes 0..32).
inline bool IsBlankByte(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The line without its trailing blanks.
std::string_view TrimTrailing(std::string_view line);
// Count of leading characters with codes 1..32.
int LeadingBlanks(std::string_view line);

// The pieces between CR, LF and CR LF (the rule of platform/LineBreaks.h, which also counts
// them); a text ending in a break, or an empty one, ends in an empty piece.
std::vector<std::string_view> SplitAtBreaks(std::string_view text);

// 0-based byte index moved onto a character's first byte: backwards (CharStart) or
// forwards. Indexes at or beyond the end stay.
std::size_t CharStartAt(std::string_view line, std::size_t index);
std::size_t CharEndAt(std::string_view line, std::size_t index);
// The length of the character starting at the index (1 past the end).
std::size_t CharLengthAt(std::string_view line, std::size_t index);

} // namespace ondrex
