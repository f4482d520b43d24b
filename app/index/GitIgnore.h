#pragma once
// The folders a .gitignore at the walked root names. Honoured forms, one pattern a line:
// `name`, `name/` (a folder of that name at any depth), `/name`, `a/b`, `a/b/` (a path under
// the root; a pattern with a '/' before its end is anchored there), `**/name`, and the globs
// `*`, `?`, `[...]` within a name. Blank lines and `#` comments are skipped; `!` negations,
// `**` elsewhere and files (as opposed to folders) are not honoured, nor .gitignore files
// below the root or outside the tree.

#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TGitIgnore {
public:
    // Reads `root`/.gitignore; none (or unreadable) ignores nothing.
    static TGitIgnore Load(const std::string& root);
    // From the file's text.
    static TGitIgnore Parse(std::string_view text);

    // `relative` is the folder's path under the root ("lib/vendor"), `name` its last part.
    bool IgnoresFolder(std::string_view relative, std::string_view name) const;

private:
    struct TPattern {
        std::string glob;
        bool anchored; // matched against the whole relative path
    };
    std::vector<TPattern> patterns_;
};

} // namespace ondrex
