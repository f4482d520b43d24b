#pragma once
// Where a Function/Sub is defined: in the document, then in the files it includes
// (following includes of includes, each file once), then in the workspace. Files that are
// open are read as the client holds them; others from disk, decoded as UTF-8 when valid,
// else as Windows-1252.

#include "app/lsp/Features.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex::lsp {

// A text the definitions are looked for in.
struct TSourceText {
    std::string uri;
    std::optional<std::string> path;
    const TqvEditList* lines = nullptr;
    TCodePage codePage = TCodePage::Utf8;
    std::string languageId;             // for the hover's code fence
    std::shared_ptr<TqvEditList> owned; // a file read from disk
};

struct TDefinition {
    TSourceText source;
    int line = 0; // 0-based header line
    std::size_t nameStart = 0, nameEnd = 0;
};

// The open document of a path, if any.
using TOpenDocumentOf = std::function<const TTextDocument*(const std::string& path)>;
// Files of the workspace whose outline may hold the name (the site index), in rank order.
using TWorkspaceCandidates = std::function<std::vector<std::string>(std::string_view name)>;

// The identifier under a byte column of a line (letters, digits, _ and $), or empty.
std::string_view WordAt(std::string_view line, std::size_t column, std::size_t& start);

// The definitions of `name` in the first place that has any.
std::vector<TDefinition> FindDefinitions(const TFeatureContext& context,
                                         const TTextDocument& document, std::string_view name,
                                         const TOpenDocumentOf& openDocument,
                                         const TWorkspaceCandidates& workspace);

// Location[] of the definitions.
void WriteLocations(TJsonWriter& out, const TFeatureContext& context,
                    const std::vector<TDefinition>& definitions);
// Hover contents: the header line and the comment lines right above it, as Markdown.
std::string HoverText(const TDefinition& definition);

} // namespace ondrex::lsp
