#pragma once
// The walk of a site: every script file under the given paths, in path order, one folder's
// entries at a time (memory holds the folders on the current path, not the tree).
//
// What it takes: files whose extension the language registry knows, narrowed by languages
// and --include/--exclude globs (a glob without '/' matches a name, one with '/' the path under
// the walked root). What it leaves: hidden folders (a name starting with '.'), folders the
// root's .gitignore names (see GitIgnore.h), folders an exclude glob matches. A path named
// by the caller is always taken when it is a file, whatever its name.
//
// Never opened: FIFOs, sockets and devices (reported as skipped). Symlinked folders are
// followed only when they lead to a folder inside the walked root that is not already being
// walked on the current path, so neither a loop nor a way out of the tree is ever walked
// (both reported as skipped). A folder that cannot be listed, a path that does not exist and
// a broken symlink with a script's name are errors; the walk goes on after each.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ondrex {

struct TSiteFilter {
    std::vector<std::string> languages; // registry ids; empty: every language
    std::vector<std::string> includes;  // a file must match one of these when any are given
    std::vector<std::string> excludes;  // files and folders matching one are left out
};

struct TWalkEntry {
    enum class TKind { File, Skipped, Error };
    TKind kind = TKind::File;
    std::string path;     // as given, or the root joined with the path under it
    std::string language; // File: the registry id of its language (empty: a named file of none)
    std::string message;  // Skipped, Error: what happened ("no such file or folder")
};

class TSiteWalk {
public:
    // An empty list of roots walks the current folder, naming files without a "./" prefix.
    TSiteWalk(std::vector<std::string> roots, TSiteFilter filter);
    ~TSiteWalk();
    TSiteWalk(const TSiteWalk&) = delete;
    TSiteWalk& operator=(const TSiteWalk&) = delete;

    // The next entry in path order; false when the walk is over.
    bool Next(TWalkEntry& entry);

    // Whether the walk of `root` would take the file at `path` (a path under that root as the
    // walk spells it): the language server's test for a file that changed.
    bool Takes(const std::string& root, const std::string& path) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

} // namespace ondrex
