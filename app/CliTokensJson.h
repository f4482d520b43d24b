#pragma once
// The text `ondrex tokens` prints: one JSON object a line,
//   {"line": N, "range": R, "tokens": [[kind, start, "text"], ...]}
// written through a cursor into a buffer that only grows, with escapes and digits taken from
// tables, since building this text costs more than finding the tokens. Given somewhere to
// write to, the text goes out every MiB, inside a line too, and a long token is escaped in
// slices: a line of megabytes holds no more than its input.

#include "highlighters/qvHighlighter.h"
#include "platform/CodePage.h"

#include <cstddef>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ondrex {

class TqvTableHighLighter;

namespace cli {

class TTokensJson {
public:
    using TWrite = std::function<void(std::string_view)>;

    // Without `write` the whole text stays in Text().
    TTokensJson(TqvCustomHighLighter& highlighter, TCodePage codePage, TWrite write = {});

    // Appends the object of the line the highlighter has just started (its range before
    // the line is `range`), reading its tokens to the line's end.
    void AppendLine(int lineNumber, TqvRangeState range);

    // What has not been written yet.
    std::string_view Text() const { return {buffer_.get(), used_}; }
    void Clear() { used_ = 0; }
    // Writes what is held.
    void Flush();

private:
    // A cursor with room for n more bytes; Commit(cursor) ends what was written through it.
    char* Room(std::size_t n) {
        if (capacity_ - used_ < n) Grow(n);
        return buffer_.get() + used_;
    }
    void Grow(std::size_t n);
    void Commit(const char* cursor) { used_ = std::size_t(cursor - buffer_.get()); }
    template <class THighlighter> void AppendTokens(THighlighter& highlighter);
    // The token's text as a JSON string, quotes included (false: not all ASCII; nothing
    // committed then).
    bool AppendAscii(std::string_view token);
    void AppendDecoded(std::string_view token);
    void AppendLongToken(std::string_view token);
    void WriteWhenFull() {
        if (write_ && used_ >= kWriteAt) Flush();
    }
    static constexpr std::size_t kWriteAt = 1 << 20;
    static constexpr std::size_t kSlice = 1 << 16;
    std::string_view TokenOf(TqvTableHighLighter& table);
    std::string_view TokenOf(TqvCustomHighLighter& any);

    TqvCustomHighLighter& highlighter_;
    TqvTableHighLighter* table_; // the tokens without a copy and without virtual calls
    TCodePage codePage_;
    TWrite write_;
    struct TFree {
        void operator()(char* p) const { std::free(p); }
    };
    // The first used_ bytes are the text. Grown by realloc, which leaves the new room
    // untouched: a token of megabytes asks for six times its size in case of escapes.
    std::unique_ptr<char, TFree> buffer_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
    std::string token_; // a copied token (highlighters without TokenView)
    std::string scratch_;
};

} // namespace cli
} // namespace ondrex
