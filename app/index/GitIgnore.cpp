#include "app/index/GitIgnore.h"

#include "platform/TextFile.h"

#include <fnmatch.h>

namespace ondrex {

TGitIgnore TGitIgnore::Load(const std::string& root) {
    try {
        return Parse(ReadFileBytes(root + "/.gitignore"));
    } catch (const EFileError&) {
        return {};
    }
}

TGitIgnore TGitIgnore::Parse(std::string_view text) {
    TGitIgnore ignore;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // Trailing blanks are not part of a pattern unless escaped; escapes are not honoured.
        while (!line.empty() && line.back() == ' ')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#' || line[0] == '!') continue;
        while (line.size() > 1 && line.back() == '/')
            line.remove_suffix(1);
        if (line.starts_with("**/")) line.remove_prefix(3);
        bool anchored = line.find('/') != std::string_view::npos;
        if (line.starts_with('/')) line.remove_prefix(1);
        if (line.empty() || line.find("**") != std::string_view::npos) continue;
        ignore.patterns_.push_back({std::string(line), anchored});
    }
    return ignore;
}

bool TGitIgnore::IgnoresFolder(std::string_view relative, std::string_view name) const {
    if (patterns_.empty()) return false;
    const std::string rel(relative), base(name);
    for (const TPattern& p : patterns_) {
        if (p.anchored ? fnmatch(p.glob.c_str(), rel.c_str(), FNM_PATHNAME) == 0
                       : fnmatch(p.glob.c_str(), base.c_str(), 0) == 0)
            return true;
    }
    return false;
}

} // namespace ondrex
