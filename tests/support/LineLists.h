#pragma once
// The line rule written out plainly, as a slow reference for the line list and its loads:
// CR, LF and CR LF end a line; no empty line after a final break (and none for no bytes).

#include "editor/TqvEditList.h"

#include <string>
#include <vector>

namespace ondrex::test {

inline std::vector<std::string> PlainLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// What the list holds, line by line.
inline std::vector<std::string> ShownLines(const TqvEditList& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.Get(i));
    return lines;
}

} // namespace ondrex::test
