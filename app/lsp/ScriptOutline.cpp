#include "app/lsp/ScriptOutline.h"

#include "app/BlockLocator.h"
#include "editor/TqvEditList.h"
#include "platform/CodePage.h"

#include <string_view>

namespace ondrex::lsp {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isNameByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '_' ||
           c == '$' || c == ':' || u >= 0x80;
}

// The first place of an ASCII word in the line, any case.
std::size_t findNoCase(std::string_view line, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= line.size(); ++i)
        if (SameText(line.substr(i, word.size()), word)) return i;
    return std::string_view::npos;
}

// The identifier after the header's keyword ("function " / "sub "), past blanks and a "&".
void findIdentifier(std::string_view line, std::string_view keyword, TOutlineEntry& entry) {
    std::size_t at = findNoCase(line, keyword);
    if (at == std::string_view::npos) return;
    at += keyword.size();
    while (at < line.size() && (isBlank(line[at]) || line[at] == '&'))
        ++at;
    std::size_t end = at;
    while (end < line.size() && isNameByte(line[end]))
        ++end;
    if (end == at) return;
    entry.identifier.assign(line.substr(at, end - at));
    entry.nameStart = at;
    entry.nameEnd = end;
}

void trimmedSpan(std::string_view line, TOutlineEntry& entry) {
    std::size_t a = 0, b = line.size();
    while (a < b && isBlank(line[a]))
        ++a;
    while (b > a && isBlank(line[b - 1]))
        --b;
    entry.nameStart = a;
    entry.nameEnd = b;
}

} // namespace

std::vector<TOutlineEntry> BuildOutline(const TqvEditList& lines, const TScanOptions& options,
                                        const TPoll& poll) {
    TScriptScanner scanner;
    scanner.options = options;
    TScanResults results;
    // The scanner's own pass over the text (its Ctrl+Z and line rules included).
    const std::string text = lines.GetText();
    struct TPollPump {
        const TPoll& poll;
        void Pump() {
            if (poll) poll();
        }
    } pump{poll};
    scanner.ScanBlockInSlices(text, results, TMessagePump::bind<&TPollPump::Pump>(&pump));

    std::vector<TOutlineEntry> entries(results.rows.size());
    std::vector<int> starts;
    std::vector<std::size_t> blocks;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        TOutlineEntry& e = entries[i];
        e.row = std::move(results.rows[i]);
        e.end = e.row.line;
        const std::string_view line = lines.Get(e.row.line - 1);
        trimmedSpan(line, e);
        e.block = e.row.caption == "Function" || e.row.caption == "Sub";
        if (!e.block) continue;
        findIdentifier(line, e.row.caption == "Function" ? "function " : "sub ", e);
        if (TBlockLocator::IsSingleStatement(e.row.text)) continue;
        blocks.push_back(i);
        starts.push_back(e.row.line);
    }
    const std::vector<int> ends = TBlockLocator::FindEndLines(lines, starts);
    for (std::size_t k = 0; k < blocks.size(); ++k)
        entries[blocks[k]].end = ends[k];

    // Statements go to the innermost (latest-starting) block still open at their line;
    // rows come in line order.
    std::vector<int> open;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        TOutlineEntry& e = entries[i];
        std::erase_if(open, [&](int b) { return entries[std::size_t(b)].end < e.row.line; });
        if (e.block) {
            open.push_back(int(i));
            continue;
        }
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if (entries[std::size_t(*it)].row.line <= e.row.line) {
                e.parent = *it;
                break;
            }
    }
    return entries;
}

std::string DisplayName(const TOutlineEntry& entry) {
    if (!entry.identifier.empty()) return entry.identifier;
    std::string_view name = entry.row.name;
    while (!name.empty() && isBlank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && isBlank(name.back()))
        name.remove_suffix(1);
    if (!name.empty()) return std::string(name);
    name = entry.row.caption;
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    return std::string(name);
}

} // namespace ondrex::lsp
