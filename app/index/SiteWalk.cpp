#include "app/index/SiteWalk.h"

#include "app/index/GitIgnore.h"
#include "highlighters/THighlighterList.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

namespace ondrex {

namespace {

// The language of a file name, from the registry's extensions; empty when none.
std::string languageOf(std::string_view name) {
    const THighlighterClass* c = THighlighterList::Instance().FindForFile(name);
    return c ? c->Language : std::string();
}

std::string join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + '/' + name;
}

bool matchesAny(const std::vector<std::string>& globs, const std::string& relative,
                const std::string& name) {
    for (const std::string& g : globs) {
        const bool byPath = g.find('/') != std::string::npos;
        if (fnmatch(g.c_str(), byPath ? relative.c_str() : name.c_str(),
                    byPath ? FNM_PATHNAME : 0) == 0)
            return true;
    }
    return false;
}

std::string realPath(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool within(const std::string& inner, const std::string& outer) {
    return inner == outer || (inner.size() > outer.size() && inner.starts_with(outer) &&
                              (outer.back() == '/' || inner[outer.size()] == '/'));
}

struct TChild {
    std::string name;
    unsigned char type; // DT_*
};

struct TFrame {
    std::string display;  // how the files below are named
    std::string fs;       // the path to reach them
    std::string relative; // under the root
    dev_t dev;
    ino_t ino;
    std::vector<TChild> children;
    std::size_t next = 0;
};

} // namespace

struct TSiteWalk::TImpl {
    std::vector<std::string> roots;
    bool implicitRoot = false;
    TSiteFilter filter;
    std::size_t rootIndex = 0;
    std::string rootReal;
    TGitIgnore ignore;
    std::vector<TFrame> stack;

    bool takesName(const std::string& relative, const std::string& name,
                   std::string& language) const {
        language = languageOf(name);
        if (language.empty()) return false;
        if (!filter.languages.empty() &&
            std::none_of(filter.languages.begin(), filter.languages.end(),
                         [&](const std::string& l) { return SameText(l, language); }))
            return false;
        if (!filter.includes.empty() && !matchesAny(filter.includes, relative, name)) return false;
        return !matchesAny(filter.excludes, relative, name);
    }

    bool prunesFolder(const std::string& relative, const std::string& name) const {
        return name.starts_with('.') || ignore.IgnoresFolder(relative, name) ||
               matchesAny(filter.excludes, relative, name);
    }

    // Lists the folder; false (and an error in `entry`) when it cannot be listed.
    bool enter(TFrame frame, const struct stat& st, TWalkEntry& entry) {
        DIR* dir = ::opendir(frame.fs.c_str());
        if (!dir) {
            entry = {TWalkEntry::TKind::Error,
                     frame.display.empty() ? "." : frame.display,
                     {},
                     "cannot list the folder (" + std::string(std::strerror(errno)) + ")"};
            return false;
        }
        frame.dev = st.st_dev;
        frame.ino = st.st_ino;
        while (const dirent* d = ::readdir(dir)) {
            std::string name = d->d_name;
            if (name == "." || name == "..") continue;
            frame.children.push_back({std::move(name), d->d_type});
        }
        ::closedir(dir);
        // A folder sorts as its name with a '/' after it, so files come out in the byte
        // order of their whole paths ("a.asp" before "a/b.asp").
        auto key = [](const TChild& c) { return c.type == DT_DIR ? c.name + '/' : c.name; };
        std::sort(frame.children.begin(), frame.children.end(),
                  [&](const TChild& a, const TChild& b) { return key(a) < key(b); });
        stack.push_back(std::move(frame));
        return true;
    }

    bool onStack(const struct stat& st) const {
        return std::any_of(stack.begin(), stack.end(), [&](const TFrame& f) {
            return f.dev == st.st_dev && f.ino == st.st_ino;
        });
    }

    // Starts the next root; true when it gave an entry of its own.
    bool startRoot(TWalkEntry& entry) {
        const std::string given = implicitRoot ? std::string() : roots[rootIndex];
        const std::string fs = implicitRoot ? std::string(".") : given;
        ++rootIndex;
        struct stat st {};
        if (::stat(fs.c_str(), &st) != 0) {
            entry = {TWalkEntry::TKind::Error,
                     given,
                     {},
                     errno == ENOENT || errno == ENOTDIR ? "no such file or folder"
                                                         : std::string(std::strerror(errno))};
            return true;
        }
        if (S_ISREG(st.st_mode)) {
            entry = {TWalkEntry::TKind::File, given, languageOf(given), {}};
            return true;
        }
        if (!S_ISDIR(st.st_mode)) {
            entry = {TWalkEntry::TKind::Skipped, given, {}, "not a regular file, skipped"};
            return true;
        }
        rootReal = realPath(fs);
        ignore = TGitIgnore::Load(fs);
        return !enter({given, fs, {}, 0, 0, {}, 0}, st, entry);
    }

    bool next(TWalkEntry& entry) {
        for (;;) {
            if (stack.empty()) {
                if (rootIndex >= roots.size() && !(implicitRoot && rootIndex == 0)) return false;
                if (startRoot(entry)) return true;
                continue;
            }
            TFrame& f = stack.back();
            if (f.next == f.children.size()) {
                stack.pop_back();
                continue;
            }
            const TChild child = f.children[f.next++];
            const std::string fs = join(f.fs, child.name);
            const std::string display = join(f.display, child.name);
            const std::string relative = join(f.relative, child.name);
            std::string language;
            // Names decide first, so most entries cost no system call.
            if (child.type == DT_REG) {
                if (!takesName(relative, child.name, language)) continue;
                entry = {TWalkEntry::TKind::File, display, language, {}};
                return true;
            }
            if (child.type == DT_DIR && prunesFolder(relative, child.name)) continue;
            const bool link = child.type == DT_LNK || child.type == DT_UNKNOWN;
            struct stat st {};
            if (::stat(fs.c_str(), &st) != 0) {
                if (!takesName(relative, child.name, language)) continue;
                entry = {TWalkEntry::TKind::Error, display, language,
                         link ? "broken symbolic link" : std::string(std::strerror(errno))};
                return true;
            }
            if (S_ISDIR(st.st_mode)) {
                if (link && prunesFolder(relative, child.name)) continue;
                std::string why;
                if (onStack(st))
                    why = link ? "symbolic link loop, skipped" : "folder loop, skipped";
                else if (link && !within(realPath(fs), rootReal))
                    why = "symbolic link out of the tree, skipped";
                if (!why.empty()) {
                    entry = {TWalkEntry::TKind::Skipped, display, {}, why};
                    return true;
                }
                if (!enter({display, fs, relative, 0, 0, {}, 0}, st, entry)) return true;
                continue;
            }
            if (!takesName(relative, child.name, language)) continue;
            if (!S_ISREG(st.st_mode)) {
                entry = {TWalkEntry::TKind::Skipped, display, language,
                         "not a regular file, skipped"};
                return true;
            }
            entry = {TWalkEntry::TKind::File, display, language, {}};
            return true;
        }
    }
};

TSiteWalk::TSiteWalk(std::vector<std::string> roots, TSiteFilter filter)
    : impl_(std::make_unique<TImpl>()) {
    impl_->implicitRoot = roots.empty();
    impl_->roots = std::move(roots);
    impl_->filter = std::move(filter);
}

TSiteWalk::~TSiteWalk() = default;

bool TSiteWalk::Next(TWalkEntry& entry) {
    return impl_->next(entry);
}

bool TSiteWalk::Takes(const std::string& root, const std::string& path) const {
    std::string prefix = root.empty() || root.back() == '/' ? root : root + '/';
    if (!root.empty() && !path.starts_with(prefix)) return false;
    const std::string relative = path.substr(root.empty() ? 0 : prefix.size());
    TImpl probe;
    probe.filter = impl_->filter;
    probe.ignore = TGitIgnore::Load(root.empty() ? std::string(".") : root);
    std::size_t from = 0;
    for (std::size_t slash; (slash = relative.find('/', from)) != std::string::npos;
         from = slash + 1) {
        if (probe.prunesFolder(relative.substr(0, slash), relative.substr(from, slash - from)))
            return false;
    }
    std::string language;
    return probe.takesName(relative, relative.substr(from), language);
}

} // namespace ondrex
