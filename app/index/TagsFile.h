#pragma once
// Tags files of a site's named blocks.
//
// Vim's format (read by Vim, readtags and editors that take ctags output): the pseudo-tag
// lines, then one line per Function/Sub, NAME<TAB>FILE<TAB>/^LINE$/;"<TAB>KIND<TAB>line:N
// <TAB>end:M, KIND f (Function) or s (Sub), the search pattern escaped as the format asks
// (backslash and slash), cut without its $ where the line is long or holds a NUL. The lines are
// sorted with ASCII letters folded to upper case, as Vim and readtags search a file marked
// "!_TAG_FILE_SORTED 2": VBScript names are compared as the language compares them, so a
// case-insensitive lookup finds every spelling, and a case-sensitive one still finds its
// own. Equal folded names keep the byte order of their spelling, then path order, then
// line order.
//
// Emacs' format (etags, TAGS): per file a form feed line, "FILE,SIZE", then per tag the line
// up to the end of the name, DEL, the name, SOH, "LINE,OFFSET".

#include "app/index/SiteSymbols.h"

#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TVimTags {
public:
    // `file` as the tags file names it (tab and line break free; the caller checks).
    void Add(std::string_view file, const std::vector<TSiteSymbol>& symbols);
    // The whole file, sorted. `version` goes into the program's pseudo-tag.
    std::string Text(std::string_view version);

private:
    struct TTag {
        std::string key;  // the name with its letters folded
        std::string text; // the line without its break
        std::size_t nameLength;
        std::size_t file; // in the order added
        int line;
    };
    std::vector<TTag> tags_;
    std::size_t files_ = 0;
};

// One file's section of an Emacs TAGS file.
void AppendEtagsSection(std::string& out, std::string_view file,
                        const std::vector<TSiteSymbol>& symbols);

// True when a path can stand in a tags file (no tab, line feed or carriage return).
bool NameableInTags(std::string_view file);

} // namespace ondrex
