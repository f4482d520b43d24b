#include "app/lsp/TextDocument.h"

#include "app/lsp/FileUri.h"
#include "editor/LineText.h"

#include <vector>

namespace ondrex::lsp {

namespace {

// A start state no highlighter produces (states are small enumerations): marks lines whose
// stored state is stale, so that a rescan cannot stop on them.
void* const kStaleState = reinterpret_cast<void*>(~std::uintptr_t(0));

} // namespace

const THighlighterClass& LanguageFor(std::string_view languageId, std::string_view path) {
    const THighlighterList& list = THighlighterList::Instance();
    if (const THighlighterClass* c = list.FindByLanguage(languageId)) return *c;
    if (const THighlighterClass* c = list.FindForFile(path)) return *c;
    return *list.FindByLanguage("vbscript");
}

TTextDocument::TTextDocument(std::string uri, std::string_view languageId, std::string&& text)
    : uri_(std::move(uri)), path_(PathFromUri(uri_)) {
    const THighlighterClass& language = LanguageFor(languageId, path_.value_or(uri_));
    language_ = language.Language;
    highlighter_ = language.Create();
    states_.SetHighLighter(highlighter_.get());
    SetText(std::move(text));
}

void TTextDocument::SetText(std::string&& text) {
    // A text that ends in a line break has an empty last line the client can put its
    // cursor on; the line list (like a loaded file) does not keep one.
    const bool endsInBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
    ++revision_;
    {
        TqvLinesLoading loading(lines_);
        lines_.Clear();
        lines_.LoadFromBlock(std::move(text));
    }
    if (endsInBreak || lines_.Count() == 0) lines_.Add("");
    statesReady_ = false;
    lastRescan_ = {0, -1};
}

void TTextDocument::ensureStates() {
    if (statesReady_) return;
    states_.RescanAll();
    statesReady_ = true;
}

void TTextDocument::LoadState(int line) {
    ensureStates();
    states_.LoadState(line);
}

void TTextDocument::Replace(TBytePosition start, TBytePosition end, std::string_view text) {
    ++revision_;
    const std::string_view first = lines_.Get(start.line);
    const std::string_view last = lines_.Get(end.line);
    std::string joined;
    joined.reserve(start.column + text.size() + (last.size() - end.column));
    joined.append(first.substr(0, start.column)).append(text).append(last.substr(end.column));
    const std::vector<std::string_view> pieces = SplitAtBreaks(joined);

    const int replaced = end.line - start.line + 1;
    const int count = int(pieces.size());
    for (int i = 0; i < std::min(replaced, count); ++i)
        lines_.Put(start.line + i, pieces[std::size_t(i)]);
    for (int i = replaced; i < count; ++i)
        lines_.Insert(start.line + i, pieces[std::size_t(i)]);
    for (int i = count; i < replaced; ++i)
        lines_.Delete(start.line + count);

    if (!statesReady_) return;
    // The first line's start state still holds (the line before it is unchanged); the other
    // new lines get theirs computed, then the lines after them until a state is as stored.
    for (int i = 1; i < count; ++i)
        lines_.PutObject(start.line + i, kStaleState);
    if (start.line == 0) {
        highlighter_->ResetRangeState();
        lines_.PutObject(0, reinterpret_cast<void*>(highlighter_->RangeState()));
    }
    states_.LoadState(start.line);
    lastRescan_ = {start.line, states_.RescanFrom(start.line)};
}

} // namespace ondrex::lsp
