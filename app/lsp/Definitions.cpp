#include "app/lsp/Definitions.h"

#include "app/lsp/FileUri.h"
#include "app/lsp/IncludeDirectives.h"
#include "platform/TextFile.h"

#include <deque>
#include <set>

namespace ondrex::lsp {

namespace {

bool isWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '_' ||
           c == '$' || u >= 0x80;
}

bool sameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] >= 'A' && a[i] <= 'Z' ? a[i] | 0x20 : a[i]) !=
            (b[i] >= 'A' && b[i] <= 'Z' ? b[i] | 0x20 : b[i]))
            return false;
    return true;
}

TSourceText sourceOf(const TTextDocument& document) {
    TSourceText source;
    source.uri = document.Uri();
    source.path = document.Path();
    source.lines = &document.Lines();
    source.languageId = document.LanguageId();
    return source;
}

// An open document, else the file from disk; nothing when it cannot be read.
std::optional<TSourceText> sourceAt(const std::string& path, const TOpenDocumentOf& openDocument) {
    if (const TTextDocument* open = openDocument(path)) return sourceOf(*open);
    TSourceText source;
    try {
        std::string bytes = ReadFileBytes(path);
        source.codePage = DetectCodePage(bytes);
        source.owned = std::make_shared<TqvEditList>();
        source.owned->LoadFromBlock(std::move(bytes));
    } catch (const std::exception&) {
        return std::nullopt; // a missing include is the site's business, not an error here
    }
    source.uri = UriFromPath(path);
    source.path = path;
    source.lines = source.owned.get();
    source.languageId = LanguageFor("", path).Language;
    return source;
}

void definitionsIn(const TSourceText& source, std::string_view name, const TFeatureContext& context,
                   std::vector<TDefinition>& out) {
    for (const TOutlineEntry& e :
         BuildOutline(*source.lines, TScanOptions{false, false, false}, context.poll))
        if (e.block && sameNameNoCase(e.identifier, name))
            out.push_back({source, e.row.line - 1, e.nameStart, e.nameEnd});
}

} // namespace

std::string_view WordAt(std::string_view line, std::size_t column, std::size_t& start) {
    if (column > line.size()) column = line.size();
    std::size_t a = column, b = column;
    while (a > 0 && isWordByte(line[a - 1]))
        --a;
    while (b < line.size() && isWordByte(line[b]))
        ++b;
    start = a;
    return line.substr(a, b - a);
}

std::vector<TDefinition> FindDefinitions(const TFeatureContext& context,
                                         const TTextDocument& document, std::string_view name,
                                         const TOpenDocumentOf& openDocument,
                                         const TWorkspaceCandidates& workspace) {
    std::vector<TDefinition> found;
    if (name.empty()) return found;
    const TSourceText self = sourceOf(document);
    definitionsIn(self, name, context, found);
    if (!found.empty()) return found;

    // The includes, breadth first, each file once.
    std::set<std::string> seen;
    if (self.path) seen.insert(*self.path);
    std::deque<TSourceText> pending{self};
    while (!pending.empty() && found.empty()) {
        const TSourceText including = std::move(pending.front());
        pending.pop_front();
        for (int i = 0; i < including.lines->Count(); ++i) {
            const std::string_view line = including.lines->Get(i);
            if (line.find('#') == std::string_view::npos) continue;
            for (const TIncludeDirective& d : FindIncludes(line)) {
                const std::optional<std::string> path =
                    ResolveInclude(d, including.path, context.workspaceFolders);
                if (!path || !seen.insert(*path).second) continue;
                if (std::optional<TSourceText> source = sourceAt(*path, openDocument)) {
                    definitionsIn(*source, name, context, found);
                    pending.push_back(std::move(*source));
                }
            }
        }
    }
    if (!found.empty() || !workspace) return found;

    for (const std::string& path : workspace(name)) {
        if (seen.count(path)) continue;
        if (std::optional<TSourceText> source = sourceAt(path, openDocument))
            definitionsIn(*source, name, context, found);
    }
    return found;
}

void WriteLocations(TJsonWriter& out, const TFeatureContext& context,
                    const std::vector<TDefinition>& definitions) {
    out.BeginArray();
    for (const TDefinition& d : definitions) {
        const std::string_view line = d.source.lines->Get(d.line);
        out.BeginObject().Member("uri", d.source.uri).Key("range");
        WriteRange(out, context, d.line, line, d.nameStart, d.line, line, d.nameEnd,
                   d.source.codePage);
        out.EndObject();
    }
    out.EndArray();
}

std::string HoverText(const TDefinition& d) {
    auto trimmed = [](std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
            s.remove_suffix(1);
        return s;
    };
    auto isComment = [](std::string_view s) {
        return s.starts_with('\'') || s.starts_with("//") || s.starts_with('#') ||
               s.starts_with("/*") || s.starts_with('*') ||
               (s.size() >= 4 && sameNameNoCase(s.substr(0, 4), "rem "));
    };
    int first = d.line;
    while (first > 0 && isComment(trimmed(d.source.lines->Get(first - 1))))
        --first;
    std::string text = "```" + d.source.languageId + "\n";
    for (int i = first; i <= d.line; ++i) {
        AppendUtf8(d.source.codePage, trimmed(d.source.lines->Get(i)), text);
        text += '\n';
    }
    return text + "```";
}

} // namespace ondrex::lsp
