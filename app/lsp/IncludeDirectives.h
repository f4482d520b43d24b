#pragma once
// Server-side include directives: <!-- #include file="a.inc" --> names a file relative to
// the including one, virtual="/inc/a.inc" one relative to the site's root (the workspace
// folder). Backslashes count as slashes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex::lsp {

struct TIncludeDirective {
    bool isVirtual = false;
    std::string target;    // as written
    std::size_t start = 0; // byte span of the target in the line
    std::size_t end = 0;
};

// The directives of one line (a line may hold several).
std::vector<TIncludeDirective> FindIncludes(std::string_view line);

// The path the directive names, from the including file's path and the workspace folders
// (the first one holding the including file, else the first one); nothing when there is no
// base to resolve against.
std::optional<std::string> ResolveInclude(const TIncludeDirective& directive,
                                          const std::optional<std::string>& includingPath,
                                          const std::vector<std::string>& workspaceFolders);

} // namespace ondrex::lsp
