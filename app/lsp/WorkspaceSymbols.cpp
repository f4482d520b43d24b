#include "app/lsp/WorkspaceSymbols.h"

#include "app/lsp/FileUri.h"

#include <algorithm>

namespace ondrex::lsp {

namespace {

constexpr int kFunction = 12; // SymbolKind

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? char(c | 0x20) : c;
}

bool startsAt(std::string_view name, std::size_t at, std::string_view query) {
    for (std::size_t i = 0; i < query.size(); ++i)
        if (folded(name[at + i]) != folded(query[i])) return false;
    return true;
}

int compareNoCase(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (folded(a[i]) != folded(b[i])) return folded(a[i]) < folded(b[i]) ? -1 : 1;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

std::optional<TSymbolRank> RankSymbol(std::string_view name, std::string_view query) {
    if (query.size() <= name.size()) {
        for (std::size_t at = 0; at + query.size() <= name.size(); ++at)
            if (startsAt(name, at, query)) {
                if (at > 0) return TSymbolRank{2, at};
                return TSymbolRank{query.size() == name.size() ? 0 : 1, 0};
            }
    }
    // The query's characters in order, each as early as it can be.
    std::size_t first = 0, at = 0;
    for (std::size_t q = 0; q < query.size(); ++q, ++at) {
        while (at < name.size() && folded(name[at]) != folded(query[q]))
            ++at;
        if (at == name.size()) return std::nullopt;
        if (q == 0) first = at;
    }
    return TSymbolRank{3, at - first};
}

std::vector<TSiteSymbol> SymbolsOfText(std::string_view text) {
    TScriptScanner scanner;
    scanner.options = TScanOptions{false, false, false};
    TScanResults results;
    scanner.ScanBlock(text, results);
    return CollectSymbols(text, results);
}

TWorkspaceSymbolSearch::TWorkspaceSymbolSearch(std::string query, std::size_t limit)
    : query_(std::move(query)), limit_(limit) {}

void TWorkspaceSymbolSearch::Add(const std::string& path, const std::vector<TSiteSymbol>& symbols,
                                 TCodePage codePage) {
    for (const TSiteSymbol& s : symbols) {
        std::string name;
        if (codePage == TCodePage::Utf8)
            name = s.name;
        else
            AppendUtf8(codePage, s.name, name);
        if (const std::optional<TSymbolRank> rank = RankSymbol(name, query_))
            found_.push_back({*rank, std::move(name), &path, &s, codePage});
    }
}

void TWorkspaceSymbolSearch::Write(TJsonWriter& out, const TFeatureContext& context) {
    const auto better = [](const TFound& a, const TFound& b) {
        if (a.rank != b.rank) return a.rank < b.rank;
        if (const int c = compareNoCase(a.name, b.name)) return c < 0;
        if (*a.path != *b.path) return *a.path < *b.path;
        return a.symbol->line < b.symbol->line;
    };
    const std::size_t count = std::min(limit_, found_.size());
    std::partial_sort(found_.begin(), found_.begin() + std::ptrdiff_t(count), found_.end(), better);
    out.BeginArray();
    for (std::size_t i = 0; i < count; ++i) {
        const TFound& f = found_[i];
        const TSiteSymbol& s = *f.symbol;
        // The header line may have been cut; the name is then measured as far as it goes.
        const std::string_view line = s.lineText;
        const std::size_t start = std::min(s.nameColumn, line.size());
        const std::size_t end = std::min(s.nameColumn + s.name.size(), line.size());
        out.BeginObject().Member("name", f.name).Member("kind", kFunction);
        out.Key("location").BeginObject().Member("uri", UriFromPath(*f.path)).Key("range");
        WriteRange(out, context, s.line - 1, line, start, s.line - 1, line, end, f.codePage);
        out.EndObject().EndObject();
    }
    out.EndArray();
}

} // namespace ondrex::lsp
