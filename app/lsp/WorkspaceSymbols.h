#pragma once
// workspace/symbol: the named Function/Sub blocks of the workspace that match a query, best
// first. The index gives the files on disk; an open document gives its own symbols from the
// text the client holds, in place of the index's for its file.

#include "app/index/SiteSymbols.h"
#include "app/lsp/Features.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex::lsp {

// Lower is better: the tier (0 the whole name, 1 a prefix, 2 a substring, 3 the query's
// characters in order), then the place (where the substring starts, or how far the
// characters spread).
struct TSymbolRank {
    int tier = 0;
    std::size_t place = 0;
    auto operator<=>(const TSymbolRank&) const = default;
};

// How `name` matches `query`, ASCII letters in any case; nothing when it does not. An empty
// query matches every name as a prefix.
std::optional<TSymbolRank> RankSymbol(std::string_view name, std::string_view query);

// The symbols of a text, by the same rule as the index's (the scanner's Function/Sub rows
// that have a name).
std::vector<TSiteSymbol> SymbolsOfText(std::string_view text);

class TWorkspaceSymbolSearch {
public:
    // At most `limit` symbols are answered.
    TWorkspaceSymbolSearch(std::string query, std::size_t limit);

    // Offers the symbols of one file, whose bytes are in `codePage`.
    void Add(const std::string& path, const std::vector<TSiteSymbol>& symbols, TCodePage codePage);

    // SymbolInformation[], best first; ties by name, then path, then line.
    void Write(TJsonWriter& out, const TFeatureContext& context);

private:
    struct TFound {
        TSymbolRank rank;
        std::string name; // UTF-8
        const std::string* path;
        const TSiteSymbol* symbol;
        TCodePage codePage;
    };
    std::string query_;
    std::size_t limit_;
    std::vector<TFound> found_;
};

} // namespace ondrex::lsp
