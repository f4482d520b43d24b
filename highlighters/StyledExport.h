#pragma once
// Common ground of the export sinks that write styled text: decoding the line's bytes to
// UTF-8, switching style only where the attribute changes, and keeping a character whole
// when two tokens split it (its continuation bytes stay in the first token's style).
// A token with text but no attribute is written unstyled.
//
// A sink says once what each look, each ASCII byte and a look's end become in its medium;
// the text is then written from tables, in place, into one string.

#include "highlighters/TqvHighLightAttributes.h"
#include "highlighters/qvExport.h"
#include "highlighters/qvHighlighter.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

// How an attribute is shown. Colours left at the window defaults fall back to a small
// theme chosen by the attribute's name, so a highlighter with default colours still reads
// in colour; explicit colours win. clNone = the medium's default.
struct TTokenLook {
    TColor foreground = clNone;
    TColor background = clNone;
    TFontStyles style = 0;
    bool operator==(const TTokenLook&) const = default;
};
TTokenLook LookOf(const TqvHighLightAttributes& attribute);

class TStyledExport : public TqvExport {
public:
    void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool whitespace,
                    bool second) override;

    // Exports one line losing no byte: every token in its attribute, those the language keeps
    // from its export sink included, and the bytes after a NUL (where highlighting stops)
    // unstyled. Whoever shows a file exported calls this per line, so all of them write the
    // same text. The highlighter's export sink is not used.
    void ExportLine(TqvCustomHighLighter& highlighter, const std::string& line);
    // The same with the line's tokens found beforehand by the highlighter's ExportTokens (in
    // this text or in a NUL-terminated copy of it), so that finding and writing can happen
    // apart.
    void WriteLine(std::string_view line, std::span<const TExportToken> tokens);

    // A sink of the same medium and code page that writes into `out` (which must outlive it,
    // as must this sink) and shares this sink's looks, so that lines it writes read as if this
    // sink wrote them; it may write on another thread while this one writes. A medium that
    // numbers its looks numbers them in the order they are first met: lines one sink writes
    // ahead of earlier lines the other writes stay in order when their looks are met first
    // (MeetLooks).
    std::unique_ptr<TStyledExport> MakeSibling(std::string& out);
    // Meets the looks of a line as WriteLine would, writing nothing.
    void MeetLooks(std::string_view line, std::span<const TExportToken> tokens);
    // Appends whole lines a sibling wrote, after the lines written so far.
    void AppendWritten(std::string_view written);
    // Whether every look the highlighter's attributes give has been met (by this sink or a
    // sibling): then no later line can add one, and a medium that lists its looks ahead of
    // the text may write that list already.
    bool MetEveryLookOf(const TqvCustomHighLighter& highlighter);

protected:
    // Writes into `out`, which must outlive the sink.
    TStyledExport(TCodePage codePage, std::string& out) : codePage_(codePage), out_(out) {}

    // What starts a look; asked once per look, in the order the looks are first met.
    virtual std::string Opening(const TTokenLook& look) = 0;
    // What ends a look.
    virtual std::string Closing() const = 0;
    // What an ASCII character of the text becomes; asked once per character.
    virtual std::string Escaped(char ascii) const = 0;
    // Whether what starts a look depends on the order the looks are met in.
    virtual bool NumbersLooks() const { return false; }

private:
    class TSibling;
    static constexpr std::size_t kPlain = std::size_t(-1); // the medium's default look

    // Calls place(start, next, attribute) for each token of the line, over the bytes it
    // covers up to `end`, and returns `end`: where the highlighted text ends.
    template <class Place>
    static std::size_t ForEachToken(std::string_view line, std::span<const TExportToken> tokens,
                                    Place place) {
        // The last token marks the end of the highlighted text: what follows a NUL is unstyled.
        const std::size_t end = std::min(std::size_t(tokens.back().start), line.size());
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i)
            place(std::size_t(tokens[i].start),
                  i + 2 < tokens.size() ? std::size_t(tokens[i + 1].start) : end,
                  tokens[i].attribute);
        return end;
    }
    // Whether a token over the text's [start, next) shows in its own look, and from where: in
    // UTF-8, continuation bytes it starts with finish the character before, in that look.
    bool Shows(std::string_view text, std::size_t& start, std::size_t next) const {
        if (codePage_ != TCodePage::Utf8) return true;
        while (start < next && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            ++start;
        return start != next;
    }

    // Appends the offsets of the bytes of `text` this medium does not write as they are.
    void FindReplaced(std::string_view text, std::vector<std::size_t>& offsets);
    void WriteText(std::string_view text, const TqvHighLightAttributes* attribute);
    void FinishLine();
    void SwitchTo(std::size_t id);
    void PrepareBytes();
    void MakeByteTables();
    // The text to write next, with where its bytes that do not stand for themselves are.
    void BeginText(std::string_view text, std::span<const std::size_t> replaced);
    // Appends the text from the pending position up to `to`, in the current look.
    void AppendPending(std::size_t to);
    // A line (or a token) is put together in a piece of its own, appended to `out` when the
    // piece is full and at the end (FlushPiece): its many short parts cost no allocation check
    // and no call each.
    void BeginPiece() { at_ = piece_.data(); }
    void FlushPiece();
    // Called for every part: kept inline, the rare case apart.
    [[gnu::always_inline]] void Put(std::string_view bytes) {
        const char* from = bytes.data();
        const std::size_t n = bytes.size();
        if (n > std::size_t(piece_.data() + piece_.size() - at_)) [[unlikely]] {
            PutAfterFlush(bytes);
            return;
        }
        // Two overlapping moves of a fixed size cover a short part without a call.
        auto overlapping = [&]<std::size_t kSize>() {
            char head[kSize], tail[kSize];
            std::memcpy(head, from, kSize);
            std::memcpy(tail, from + n - kSize, kSize);
            std::memcpy(at_, head, kSize);
            std::memcpy(at_ + n - kSize, tail, kSize);
        };
        if (n >= 16)
            std::memcpy(at_, from, n);
        else if (n >= 8)
            overlapping.template operator()<8>();
        else if (n >= 4)
            overlapping.template operator()<4>();
        else
            for (std::size_t i = 0; i < n; ++i)
                at_[i] = from[i];
        at_ += n;
    }
    void PutAfterFlush(std::string_view bytes);
    // Writes the text's [start, next) in the attribute's look. Tokens of one look are
    // appended in one piece: the text from the pending position on is in the current look
    // and not yet appended. In UTF-8, continuation bytes a token starts with finish the
    // character before, in its look.
    void Place(std::size_t start, std::size_t next, const TqvHighLightAttributes* attribute);

    // The look last worked out for an attribute, with the settings it came from: a token
    // costs a few compares instead of the theme lookup by name. Kept by the attribute's
    // address, one entry a slot.
    struct TKnownAttribute {
        const TqvHighLightAttributes* attribute = nullptr;
        TColor foreground, background;
        TFontStyles style;
        std::size_t id;
    };
    static constexpr std::size_t kKnownSlots = 64;
    std::size_t LookIdOf(const TqvHighLightAttributes& attribute) {
        // Attributes live apart in memory: the address bits above the allocator's alignment
        // spread them over the slots.
        const auto address = reinterpret_cast<std::uintptr_t>(&attribute);
        TKnownAttribute& known = known_[(address >> 4 ^ address >> 10) % kKnownSlots];
        if (known.attribute == &attribute && known.foreground == attribute.Foreground() &&
            known.background == attribute.Background() && known.style == attribute.Style())
            return known.id;
        return NewLookIdOf(attribute, known);
    }
    std::size_t NewLookIdOf(const TqvHighLightAttributes& attribute, TKnownAttribute& known);

    TCodePage codePage_;
    std::string& out_;
    std::array<TKnownAttribute, kKnownSlots> known_{};
    // The looks met so far, in the order first met, kept by the sink that numbers them for
    // itself and its siblings.
    TStyledExport* lookKeeper_ = this;
    std::mutex looksMutex_;
    std::vector<TTokenLook> looks_;
    std::vector<std::string> keptOpenings_; // of each look id
    std::vector<std::string> openings_;     // of each look id this sink has met, its own copy
    std::string closing_;
    // What each byte of the text becomes, for those that do not stand for themselves.
    std::array<bool, 256> replaced_{};
    std::array<std::string, 256> replacements_;
    // The printable ASCII characters among them: few in any medium (a scan looks for each).
    std::string printableReplaced_;
    std::once_flag bytesPrepared_;
    std::string_view text_;
    std::size_t pending_ = 0;
    std::vector<std::size_t> replacedAt_; // of the text being written
    std::span<const std::size_t> replacedNow_;
    std::size_t nextReplaced_ = 0;
    std::array<char, 4096> piece_;
    char* at_ = piece_.data();
    std::size_t current_ = kPlain;
    std::vector<TExportToken> tokens_;
};

} // namespace ondrex
