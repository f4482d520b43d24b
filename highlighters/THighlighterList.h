#pragma once
// The language registry: every language Ondrex reads, with all that names or selects it —
// its ids, the extensions that choose it, its file-dialog filter, the MIME types the desktop
// entry lists, how to create its highlighter and the styles the window gives it. The window,
// the command line and its help, the manual page and the desktop entry all follow it; the
// built-in languages are registered in RegisterHighlighters.cpp, one entry each.

#include "highlighters/qvHighlighter.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

struct THighlighterClass {
    std::string ClassName;  // "TXoqPerlSyn"
    std::string Language;   // "perl": the id the command line shows
    std::string WindowName; // "perlscript": the highlighter's name in the window, also an id
    std::string Title;      // "Perl": the highlighter's LanguageName()
    // Upper-case, with the dot: ".PL".
    std::vector<std::string> Extensions;
    // How many of the first Extensions the window's Open dialog offers (pages such as .htm
    // select a language when opened but are not offered as scripts), and where among the
    // languages they stand there (lower first, equal ones in list order; PHP has always
    // come before Perl there).
    std::size_t OpenDialogExtensions = 0;
    int OpenDialogPosition = 0;
    std::string Filter; // the highlighter's own file-dialog filter, "Perl files (...)|*.pl;..."
    std::vector<std::string> MimeTypes;
    // The bare highlighter, as the command line uses it.
    std::unique_ptr<TqvCustomHighLighter> (*Create)() = nullptr;
    // The window's default styles on top of the bare highlighter (it also names it WindowName).
    void (*ApplyWindowStyles)(TqvCustomHighLighter&) = nullptr;

    // Language or WindowName, ASCII case-insensitive.
    bool IsNamed(std::string_view id) const;
};

template <class Highlighter> std::unique_ptr<TqvCustomHighLighter> CreateHighlighter() {
    return std::make_unique<Highlighter>();
}

class THighlighterList {
public:
    // Holds the built-in languages on first use.
    static THighlighterList& Instance();

    int Count() const { return static_cast<int>(classes_.size()); }
    const THighlighterClass& operator[](int index) const { return classes_.at(index); }
    // The position of a listed class; -1 for one that is not listed.
    int IndexOf(const THighlighterClass& highlighterClass) const;

    // Unless a class of that name is listed already.
    void Add(const THighlighterClass& highlighterClass);

    // By either id ("perl", "PerlScript"), any case; nullptr when none.
    const THighlighterClass* FindByLanguage(std::string_view language) const;
    // The extension with its dot, any case (".php", ".PHP4"); nullptr when none.
    const THighlighterClass* FindByExtension(std::string_view extension) const;
    // By the extension of a file name; nullptr when it has none or none matches.
    const THighlighterClass* FindForFile(std::string_view fileName) const;

    // The command-line ids in order, joined: "vbscript|javascript|perl|php".
    std::string LanguageIds(std::string_view separator) const;
    // The Open dialog's patterns by OpenDialogPosition, joined by ';': "*.asp;*.inc;...".
    std::string OpenDialogPatterns() const;

private:
    THighlighterList() = default;
    std::vector<THighlighterClass> classes_;
};

void RegisterHighlighter(const THighlighterClass& highlighterClass);

// Defined in RegisterHighlighters.cpp.
void RegisterBuiltinHighlighters(THighlighterList& list);

} // namespace ondrex
