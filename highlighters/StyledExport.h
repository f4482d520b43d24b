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

#include <array>
#include <cstdint>
#include <cstring>
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
    // apart. `readable` bytes from line.data() may be read (at least the line): the text is
    // copied in fixed-size moves where they stay within those. The text reaches `out` when a
    // piece of it is full, and at Flush: many short lines cost one append.
    void WriteLine(std::string_view line, std::span<const TExportToken> tokens,
                   std::size_t readable = 0);
    void Flush() { FlushPiece(); }

protected:
    // Writes into `out`, which must outlive the sink.
    TStyledExport(TCodePage codePage, std::string& out) : codePage_(codePage), out_(out) {}

    // What starts a look; asked once per look.
    virtual std::string Opening(const TTokenLook& look) const = 0;
    // What ends a look.
    virtual std::string Closing() const = 0;
    // What an ASCII character of the text becomes; asked once per character.
    virtual std::string Escaped(char ascii) const = 0;

private:
    static constexpr std::size_t kPlain = 0; // the medium's default look; looks count from 1

    // Room every token may use without a check: a short text and a short change of look.
    static constexpr std::size_t kShortText = 16;
    static constexpr std::size_t kShortChange = 32;

    // The change from look `from` to look `to` (the closing of one, the opening of the other),
    // as a place in changeBytes_.
    struct TChange {
        std::uint32_t at = 0;
        std::uint32_t size = 0;
    };
    const TChange& ChangeOf(std::size_t from, std::size_t to) const {
        return changes_[from * lookCount_ + to];
    }
    void MakeChanges();

    // Appends the offsets of the bytes of `text` this medium does not write as they are.
    void FindReplaced(std::string_view text, std::vector<std::size_t>& offsets);
    void PrepareBytes();
    void MakeByteTables();
    // The text whose tokens are written next, with where its bytes that do not stand for
    // themselves are.
    void BeginText(std::string_view text);
    // Writes the text's [start, next) in the look `id`. In UTF-8, continuation bytes a token
    // starts with finish the character before, in the look before.
    void WriteSpan(std::size_t start, std::size_t next, std::size_t id);
    // Writes the text's [start, next) as it stands in the medium, in the current look.
    void WriteText(std::size_t start, std::size_t next);
    void WriteReplacing(std::size_t start, std::size_t next);
    void SwitchTo(std::size_t id);
    void FinishLine();

    // Lines are put together in a piece of their own, appended to `out` when the piece is full
    // and at the end (FlushPiece): their many short parts cost no allocation check and no call
    // each.
    void FlushPiece();
    // Makes room for `n` bytes in the piece, flushing it when it is full; `n` fits a piece.
    void Room(std::size_t n) {
        if (n > std::size_t(piece_.data() + piece_.size() - at_)) [[unlikely]]
            FlushPiece();
    }
    // Appends bytes, any number of them.
    void Put(const char* from, std::size_t n);

    // The look last worked out for an attribute, with the settings it came from: a token
    // costs a few compares instead of the theme lookup by name. Kept by the attribute's
    // address, spread so that each attribute has a slot of its own (the spread changes when
    // two meet; with more attributes than that allows, one may take another's slot).
    struct TKnownAttribute {
        const TqvHighLightAttributes* attribute = nullptr;
        TColor foreground, background;
        TFontStyles style;
        std::size_t id;
        bool Holds(const TqvHighLightAttributes& a) const {
            return attribute == &a && foreground == a.Foreground() &&
                   background == a.Background() && style == a.Style();
        }
    };
    static constexpr std::size_t kKnownSlots = 64;
    std::size_t KnownSlotOf(const TqvHighLightAttributes* attribute) const {
        return std::size_t((reinterpret_cast<std::uintptr_t>(attribute) * knownSpread_) >> 58);
    }
    std::size_t LookIdOf(const TqvHighLightAttributes* attribute) {
        if (!attribute) return kPlain;
        const TKnownAttribute& known = known_[KnownSlotOf(attribute)];
        if (known.Holds(*attribute)) [[likely]]
            return known.id;
        return NewLookIdOf(*attribute);
    }
    std::size_t NewLookIdOf(const TqvHighLightAttributes& attribute);
    // A spread giving every known attribute and `added` slots of their own, the known ones
    // moved there; false (nothing changed) when none is found.
    bool Respread(const TqvHighLightAttributes* added);

    TCodePage codePage_;
    std::string& out_;
    std::array<TKnownAttribute, kKnownSlots> known_{};
    std::uint64_t knownSpread_ = 0x9E3779B97F4A7C15ull;
    std::uint64_t spreadState_ = 0; // the sequence the next spread is taken from
    // The looks met so far, index 0 the default look, and what starts each.
    std::vector<TTokenLook> looks_{TTokenLook{}};
    std::vector<std::string> openings_{std::string()};
    std::string closing_;
    // Every change between the looks met (lookCount_ of them), and their bytes (followed by
    // kShortChange bytes of padding, so that a short change is copied in one fixed move).
    std::size_t lookCount_ = 0;
    std::vector<TChange> changes_;
    std::string changeBytes_;
    // What each byte of the text becomes, for those that do not stand for themselves.
    std::array<bool, 256> replaced_{};
    std::array<std::string, 256> replacements_;
    // The printable ASCII characters among them: few in any medium (a scan looks for each).
    std::string printableReplaced_;
    bool bytesPrepared_ = false;
    std::string_view text_;
    std::vector<std::size_t> replacedAt_; // of the text being written, then a stop past any
    std::size_t nextReplaced_ = 0;        // the first of them not yet written
    std::array<char, 16384> piece_;
    char* at_ = piece_.data();
    std::size_t current_ = kPlain;
    std::vector<TExportToken> tokens_;
};

} // namespace ondrex
