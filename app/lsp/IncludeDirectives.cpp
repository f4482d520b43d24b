#include "app/lsp/IncludeDirectives.h"

#include "platform/CodePage.h"

#include <filesystem>

namespace ondrex::lsp {

namespace {

bool matchesNoCase(std::string_view s, std::size_t at, std::string_view word) {
    return at <= s.size() && SameText(s.substr(at, word.size()), word);
}

std::size_t skipBlanks(std::string_view s, std::size_t i) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    return i;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

} // namespace

std::vector<TIncludeDirective> FindIncludes(std::string_view line) {
    std::vector<TIncludeDirective> out;
    for (std::size_t i = line.find('#'); i != std::string_view::npos; i = line.find('#', i + 1)) {
        if (!matchesNoCase(line, i + 1, "include")) continue;
        std::size_t at = skipBlanks(line, i + 8);
        TIncludeDirective d;
        if (matchesNoCase(line, at, "virtual")) {
            d.isVirtual = true;
            at += 7;
        } else if (matchesNoCase(line, at, "file")) {
            at += 4;
        } else {
            continue;
        }
        at = skipBlanks(line, at);
        if (at >= line.size() || line[at] != '=') continue;
        at = skipBlanks(line, at + 1);
        std::size_t end = at;
        if (at < line.size() && (line[at] == '"' || line[at] == '\'')) {
            end = line.find(line[at], at + 1);
            if (end == std::string_view::npos) continue;
            ++at;
        } else {
            while (end < line.size() && line[end] != ' ' && line[end] != '\t' &&
                   !line.substr(end).starts_with("--"))
                ++end;
        }
        if (end == at) continue;
        d.start = at;
        d.end = end;
        d.target.assign(line.substr(at, end - at));
        for (char& c : d.target)
            if (c == '\\') c = '/';
        out.push_back(std::move(d));
    }
    return out;
}

std::optional<std::string> ResolveInclude(const TIncludeDirective& directive,
                                          const std::optional<std::string>& includingPath,
                                          const std::vector<std::string>& workspaceFolders) {
    std::string base;
    if (!directive.isVirtual) {
        if (!includingPath) return std::nullopt;
        base = parentOf(*includingPath);
    } else {
        for (const std::string& folder : workspaceFolders)
            if (includingPath && includingPath->starts_with(folder + "/")) {
                base = folder;
                break;
            }
        if (base.empty() && !workspaceFolders.empty()) base = workspaceFolders.front();
        if (base.empty()) return std::nullopt;
    }
    std::string_view target = directive.target;
    while (target.starts_with('/'))
        target.remove_prefix(1);
    // "../inc/x.inc" names the same file as the index and the client spell without "..".
    return std::filesystem::path(base + "/" + std::string(target)).lexically_normal().string();
}

} // namespace ondrex::lsp
