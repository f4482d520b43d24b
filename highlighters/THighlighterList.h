#pragma once
// The process-wide list of highlighter classes: how to create each one, its short language
// name for the command line, and the file extensions that select it for `cat` and `tokens`.
// The built-in languages are registered in RegisterHighlighters.cpp, one line each.

#include "highlighters/qvHighlighter.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

struct THighlighterClass {
    std::string ClassName; // "TzkVbsSyn"
    std::string Language;  // "vbscript"
    // Upper-case, with the dot: ".VBS".
    std::vector<std::string> Extensions;
    std::unique_ptr<TqvCustomHighLighter> (*Create)();
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

    // Unless a class of that name is listed already.
    void Add(const THighlighterClass& highlighterClass);

    // Case-insensitive; nullptr when none.
    const THighlighterClass* FindByLanguage(std::string_view language) const;
    // The extension with its dot, any case (".php", ".PHP4"); nullptr when none.
    const THighlighterClass* FindByExtension(std::string_view extension) const;
    // By the extension of a file name; nullptr when it has none or none matches.
    const THighlighterClass* FindForFile(std::string_view fileName) const;

private:
    THighlighterList() = default;
    std::vector<THighlighterClass> classes_;
};

void RegisterHighlighter(const THighlighterClass& highlighterClass);

// Defined in RegisterHighlighters.cpp.
void RegisterBuiltinHighlighters(THighlighterList& list);

} // namespace ondrex
