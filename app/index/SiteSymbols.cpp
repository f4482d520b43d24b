#include "app/index/SiteSymbols.h"

#include "app/BlockLocator.h"
#include "platform/CodePage.h"
#include "platform/LineBreaks.h"

#include <algorithm>

namespace ondrex {

namespace {

bool isNameByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c >= 0x80;
}

// The name after the first `keyword` (upper case, ending in a blank) that starts a word;
// found: its offset and length.
bool findName(std::string_view line, std::string_view keyword, std::size_t& at,
              std::size_t& length) {
    for (std::size_t i = 0; i + keyword.size() <= line.size(); ++i) {
        if ((line[i] | 0x20) != (keyword[0] | 0x20) ||
            !SameText(line.substr(i, keyword.size()), keyword) ||
            (i > 0 && isNameByte(static_cast<unsigned char>(line[i - 1]))))
            continue;
        std::size_t p = i + keyword.size();
        while (p < line.size() && (line[p] == ' ' || line[p] == '\t'))
            ++p;
        std::size_t e = p;
        for (;;) {
            if (e < line.size() && isNameByte(static_cast<unsigned char>(line[e])))
                ++e;
            else if (e > p && e + 2 < line.size() && line[e] == ':' && line[e + 1] == ':' &&
                     isNameByte(static_cast<unsigned char>(line[e + 2])))
                e += 2;
            else
                break;
        }
        if (e == p) continue;
        at = p;
        length = e - p;
        return true;
    }
    return false;
}

} // namespace

std::vector<TSiteSymbol> CollectSymbols(std::string_view block, const TScanResults& results) {
    std::vector<TSiteSymbol> symbols;
    // Rows come in line order; each Function/Sub row is a header waiting for its line.
    std::vector<const TScanRow*> headers;
    for (const TScanRow& row : results.rows)
        if (row.image == siFunctionOrCall ? row.caption == "Function" : row.image == siSub)
            headers.push_back(&row);
    if (headers.empty()) return symbols;

    std::size_t nextHeader = 0;
    std::size_t pending = 0; // symbols[pending..] wait for their block's end line
    int lineNumber = 0;
    const char* base = block.data();
    TLineSplitter lines(block);
    // Line by line up to the last header's end, not to the file's end.
    for (std::string_view line;
         (nextHeader < headers.size() || pending < symbols.size()) && lines.Next(line);) {
        ++lineNumber;
        if (pending < symbols.size() && TBlockLocator::EndsBlock(line)) {
            for (; pending < symbols.size(); ++pending)
                symbols[pending].endLine = lineNumber;
        }
        for (; nextHeader < headers.size() && headers[nextHeader]->line == lineNumber;
             ++nextHeader) {
            const bool isSub = headers[nextHeader]->image == siSub;
            std::size_t at = 0, length = 0;
            if (!findName(line, isSub ? "SUB " : "FUNCTION ", at, length)) continue;
            TSiteSymbol s;
            s.name.assign(line.substr(at, length));
            s.isSub = isSub;
            s.line = lineNumber;
            s.nameColumn = at;
            s.lineOffset = std::uint64_t(line.data() - base);
            std::size_t keep = line.size();
            if (keep > kMaxSymbolLine) {
                keep = kMaxSymbolLine; // never inside a UTF-8 sequence
                while (keep > 0 && (static_cast<unsigned char>(line[keep]) & 0xC0) == 0x80)
                    --keep;
                s.lineCut = true;
            }
            s.lineText.assign(line.substr(0, keep));
            symbols.push_back(std::move(s));
        }
    }
    // No end marker after a header: its block runs to the last line.
    for (; pending < symbols.size(); ++pending)
        symbols[pending].endLine = lineNumber;
    return symbols;
}

} // namespace ondrex
