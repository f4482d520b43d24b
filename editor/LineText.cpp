#include "editor/LineText.h"

#include "platform/CodePage.h"

namespace ondrex {

std::string_view TrimTrailing(std::string_view line) {
    std::size_t n = line.size();
    while (n > 0 && IsBlankByte(line[n - 1]))
        --n;
    return line.substr(0, n);
}

int LeadingBlanks(std::string_view line) {
    int n = 0;
    while (std::size_t(n) < line.size() && line[std::size_t(n)] != 0 &&
           IsBlankByte(line[std::size_t(n)]))
        ++n;
    return n;
}

std::vector<std::string_view> SplitAtBreaks(std::string_view text) {
    std::vector<std::string_view> pieces;
    pieces.reserve(CountLineBreaks(text) + 1);
    ForEachLine(text, [&](std::string_view line) { pieces.push_back(line); });
    if (text.empty() || EndsInLineBreak(text)) pieces.push_back(text.substr(text.size()));
    return pieces;
}

std::size_t CharStartAt(std::string_view line, std::size_t index) {
    return index >= line.size() ? index : CharStart(ActiveCodePage(), line, index);
}

std::size_t CharEndAt(std::string_view line, std::size_t index) {
    return index >= line.size() ? index : NextCharBoundary(ActiveCodePage(), line, index);
}

std::size_t CharLengthAt(std::string_view line, std::size_t index) {
    return index >= line.size() ? 1 : CharLength(ActiveCodePage(), line, index);
}

} // namespace ondrex
