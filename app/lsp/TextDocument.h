#pragma once
// An open document: its lines (a TqvEditList, as in the editor) with the language's
// highlighter attached through the range states, so that an edit rescans only the lines it
// changed and those whose start state changed with them. The text is UTF-8, as the client
// sends it. The start states are computed on first use (a document whose tokens are never
// asked for costs no highlighting).

#include "editor/RangeStates.h"
#include "editor/TqvEditList.h"
#include "highlighters/THighlighterList.h"
#include "highlighters/qvHighlighter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ondrex::lsp {

// A place in the document: 0-based line, byte column.
struct TBytePosition {
    int line = 0;
    std::size_t column = 0;
};

class TTextDocument {
public:
    TTextDocument(std::string uri, std::string_view languageId, std::string&& text);
    TTextDocument(const TTextDocument&) = delete;
    TTextDocument& operator=(const TTextDocument&) = delete;

    const std::string& Uri() const { return uri_; }
    // The file's path for a file: URI.
    const std::optional<std::string>& Path() const { return path_; }
    std::int64_t version = 0;
    // Counts the changes of the text (what a cache of anything computed from it compares).
    std::uint64_t Revision() const { return revision_; }

    const TqvEditList& Lines() const { return lines_; }
    int LineCount() const { return lines_.Count(); }
    std::string_view Line(int index) const { return lines_.Get(index); }

    // Replaces the text between two positions (start not after end, both inside the text)
    // by `text`, whose CR, LF and CR LF break lines.
    void Replace(TBytePosition start, TBytePosition end, std::string_view text);
    void SetText(std::string&& text);

    // The language's short name ("vbscript") and its highlighter.
    const std::string& LanguageId() const { return language_; }
    TqvCustomHighLighter& Highlighter() { return *highlighter_; }
    // Sets the highlighter to the start state of the line (computing every line's start
    // state once, the first time).
    void LoadState(int line);
    // The lines whose start state the last edit recomputed, first to last (0-based); the
    // second is below the first when it recomputed none.
    std::pair<int, int> LastRescan() const { return lastRescan_; }

private:
    void ensureStates();

    std::string uri_;
    std::optional<std::string> path_;
    TqvEditList lines_;
    std::string language_;
    std::unique_ptr<TqvCustomHighLighter> highlighter_;
    TRangeStates states_{lines_};
    bool statesReady_ = false;
    std::uint64_t revision_ = 0;
    std::pair<int, int> lastRescan_{0, -1};
};

// The language of a languageId (vbscript, javascript, perl, php), else of the file's
// extension, else VBScript (the window's start-up language).
const THighlighterClass& LanguageFor(std::string_view languageId, std::string_view path);

} // namespace ondrex::lsp
