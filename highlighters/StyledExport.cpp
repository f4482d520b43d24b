#include "highlighters/StyledExport.h"

#include "highlighters/OddMultipliers.h"
#include "highlighters/qvHighlighter.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ondrex {

namespace {

struct ThemeEntry {
    const char* name;
    TColor foreground;
};

constexpr ThemeEntry Theme[] = {
    {"Comment", clGray},       {"String", clGreen},     {"Number", clPurple},
    {"Reserved word", clBlue}, {"Variable", clTeal},    {"Pragma", clOlive},
    {"Operator", clTeal},      {"Illegal char", clRed}, {"Invalid symbol", clRed},
};

// A fixed-size move the compiler does in one or two instructions.
template <std::size_t kSize> void Move(char* to, const char* from) {
    char bytes[kSize];
    std::memcpy(bytes, from, kSize);
    std::memcpy(to, bytes, kSize);
}

} // namespace

TTokenLook LookOf(const TqvHighLightAttributes& attribute) {
    TTokenLook look;
    look.style = attribute.Style();
    if (attribute.Background() != clWindow) look.background = attribute.Background();
    if (attribute.Foreground() != clWindowText) {
        look.foreground = attribute.Foreground();
    } else {
        for (const ThemeEntry& entry : Theme)
            if (attribute.Name() == entry.name) look.foreground = entry.foreground;
    }
    return look;
}

void TStyledExport::WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool,
                               bool) {
    if (!attribute && text.empty()) {
        FinishLine();
    } else {
        BeginText(text);
        WriteSpan(0, text.size(), LookIdOf(attribute));
    }
    FlushPiece();
}

void TStyledExport::ExportLine(TqvCustomHighLighter& highlighter, const std::string& line) {
    tokens_.clear();
    highlighter.ExportTokens(line.c_str(), tokens_);
    WriteLine(line, tokens_);
    FlushPiece();
}

void TStyledExport::WriteLine(std::string_view line, std::span<const TExportToken> tokens,
                              std::size_t readable) {
    readable = std::max(readable, line.size());
    BeginText(line);
    // The last token marks the end of the highlighted text: what follows a NUL is unstyled.
    const std::size_t end = std::min(std::size_t(tokens.back().start), line.size());
    const std::size_t last = tokens.size() - 1;
    // Most tokens are short, start a character, hold no byte to replace and change to a look
    // whose change is short: those are written here from locals, in two fixed-size moves
    // (bytes written through a char pointer could alias any member, which would then be read
    // again for every token); any other goes the long way.
    const char* const text = line.data();
    const bool utf8 = codePage_ == TCodePage::Utf8;
    const char* const limit = piece_.data() + piece_.size() - kShortText - kShortChange;
    char* at = at_;
    std::size_t current = current_;
    for (std::size_t i = 0; i < last; ++i) {
        const std::size_t start = std::size_t(tokens[i].start);
        const std::size_t next = i + 1 < last ? std::size_t(tokens[i + 1].start) : end;
        const std::size_t id = LookIdOf(tokens[i].attribute);
        const TChange change = ChangeOf(current, id);
        if (at <= limit && next - start <= kShortText && start + kShortText <= readable &&
            replacedAt_[nextReplaced_] >= next && change.size <= kShortChange &&
            (id == current ||
             (start < next && !(utf8 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80))))
            [[likely]] {
            Move<kShortChange>(at, changeBytes_.data() + change.at);
            at += change.size;
            current = id;
            Move<kShortText>(at, text + start);
            at += next - start;
        } else {
            at_ = at;
            current_ = current;
            WriteSpan(start, next, id);
            at = at_;
            current = current_;
        }
    }
    at_ = at;
    current_ = current;
    if (end < line.size()) WriteSpan(end, line.size(), kPlain);
    FinishLine();
}

void TStyledExport::WriteSpan(std::size_t start, std::size_t next, std::size_t id) {
    if (id != current_) {
        // Continuation bytes are rare: most tokens start a character.
        std::size_t shown = start;
        if (codePage_ == TCodePage::Utf8)
            while (shown < next && (static_cast<unsigned char>(text_[shown]) & 0xC0) == 0x80)
                ++shown;
        if (shown == next) {
            WriteText(start, next);
            return;
        }
        if (shown != start) WriteText(start, shown);
        SwitchTo(id);
        start = shown;
    }
    WriteText(start, next);
}

void TStyledExport::WriteText(std::size_t start, std::size_t next) {
    if (replacedAt_[nextReplaced_] < next) [[unlikely]] {
        WriteReplacing(start, next);
        return;
    }
    const std::size_t n = next - start;
    if (n <= kShortText && start + kShortText <= text_.size()) [[likely]] {
        Room(kShortText);
        Move<kShortText>(at_, text_.data() + start);
        at_ += n;
    } else {
        Put(text_.data() + start, n);
    }
}

void TStyledExport::WriteReplacing(std::size_t start, std::size_t next) {
    for (std::size_t at; (at = replacedAt_[nextReplaced_]) < next; ++nextReplaced_) {
        Put(text_.data() + start, at - start);
        const std::string& replacement = replacements_[static_cast<unsigned char>(text_[at])];
        Put(replacement.data(), replacement.size());
        start = at + 1;
    }
    Put(text_.data() + start, next - start);
}

void TStyledExport::SwitchTo(std::size_t id) {
    const TChange change = ChangeOf(current_, id);
    const char* bytes = changeBytes_.data() + change.at;
    current_ = id;
    if (change.size <= kShortChange) [[likely]] {
        Room(kShortChange);
        Move<kShortChange>(at_, bytes);
        at_ += change.size;
    } else {
        Put(bytes, change.size);
    }
}

void TStyledExport::FinishLine() {
    SwitchTo(kPlain);
    Room(1);
    *at_++ = '\n';
}

std::size_t TStyledExport::NewLookIdOf(const TqvHighLightAttributes& attribute) {
    TKnownAttribute* known = &known_[KnownSlotOf(&attribute)];
    if (known->attribute && known->attribute != &attribute && Respread(&attribute))
        known = &known_[KnownSlotOf(&attribute)];
    const TTokenLook look = LookOf(attribute);
    std::size_t id = kPlain;
    if (!(look == TTokenLook{})) {
        id = std::size_t(std::find(looks_.begin() + 1, looks_.end(), look) - looks_.begin());
        if (id == looks_.size()) {
            looks_.push_back(look);
            openings_.push_back(Opening(look));
            MakeChanges();
        }
    }
    *known = {&attribute, attribute.Foreground(), attribute.Background(), attribute.Style(), id};
    return id;
}

bool TStyledExport::Respread(const TqvHighLightAttributes* added) {
    std::vector<TKnownAttribute> kept;
    for (const TKnownAttribute& known : known_)
        if (known.attribute) kept.push_back(known);
    const std::uint64_t old = knownSpread_;
    for (int attempt = 0; attempt < 64; ++attempt) {
        knownSpread_ = NextOddMultiplier(spreadState_);
        std::uint64_t taken = std::uint64_t{1} << KnownSlotOf(added);
        bool apart = true;
        for (const TKnownAttribute& known : kept) {
            const std::uint64_t slot = std::uint64_t{1} << KnownSlotOf(known.attribute);
            apart = apart && !(taken & slot);
            taken |= slot;
        }
        if (apart) {
            known_.fill(TKnownAttribute{});
            for (const TKnownAttribute& known : kept)
                known_[KnownSlotOf(known.attribute)] = known;
            return true;
        }
    }
    knownSpread_ = old;
    return false;
}

void TStyledExport::MakeChanges() {
    lookCount_ = openings_.size();
    changes_.assign(lookCount_ * lookCount_, TChange{});
    changeBytes_.clear();
    for (std::size_t from = 0; from < lookCount_; ++from)
        for (std::size_t to = 0; to < lookCount_; ++to) {
            if (from == to) continue;
            const std::size_t at = changeBytes_.size();
            if (from != kPlain) changeBytes_ += closing_;
            changeBytes_ += openings_[to];
            changes_[from * lookCount_ + to] = {std::uint32_t(at),
                                                std::uint32_t(changeBytes_.size() - at)};
        }
    changeBytes_.append(kShortChange, '\0');
}

void TStyledExport::PrepareBytes() {
    if (!bytesPrepared_) MakeByteTables();
    bytesPrepared_ = true;
}

void TStyledExport::MakeByteTables() {
    closing_ = Closing();
    MakeChanges();
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        std::string& replacement = replacements_[byte];
        if (byte < 0x80)
            replacement = Escaped(c);
        else if (codePage_ == TCodePage::Windows1252)
            AppendUtf8(codePage_, std::string_view(&c, 1), replacement);
        else
            replacement = c; // UTF-8 was checked for the whole file
        replaced_[byte] = replacement != std::string_view(&c, 1);
        if (replaced_[byte] && byte > 0x20 && byte < 0x7F) printableReplaced_.push_back(c);
    }
}

void TStyledExport::BeginText(std::string_view text) {
    PrepareBytes();
    text_ = text;
    replacedAt_.clear();
    FindReplaced(text, replacedAt_);
    replacedAt_.push_back(std::size_t(-1));
    nextReplaced_ = 0;
}

void TStyledExport::FindReplaced(std::string_view text, std::vector<std::size_t>& offsets) {
    PrepareBytes();
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    auto note = [&](const char* p) {
        if (replaced_[static_cast<unsigned char>(*p)]) offsets.push_back(std::size_t(p - begin));
    };
#if defined(__SSE2__)
    // Sixteen bytes at a time: a control character, DEL or above, or one of the printable
    // characters the medium replaces is a candidate; the table decides. The last sixteen
    // bytes are read again from where they start, the ones already seen masked off.
    constexpr std::size_t kMaxExtras = 8;
    if (text.size() >= 16 && printableReplaced_.size() <= kMaxExtras) {
        __m128i extras[kMaxExtras];
        for (std::size_t i = 0; i < printableReplaced_.size(); ++i)
            extras[i] = _mm_set1_epi8(printableReplaced_[i]);
        const __m128i space = _mm_set1_epi8(0x20);
        const __m128i del = _mm_set1_epi8(0x7F);
        for (const char* p = begin; p < end; p += 16) {
            unsigned fresh = 0xFFFF;
            if (end - p < 16) {
                fresh <<= 16 - (end - p);
                p = end - 16;
            }
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            __m128i hit = _mm_or_si128(_mm_cmplt_epi8(v, space), _mm_cmpeq_epi8(v, del));
            for (std::size_t i = 0; i < printableReplaced_.size(); ++i)
                hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, extras[i]));
            for (unsigned mask = unsigned(_mm_movemask_epi8(hit)) & fresh; mask; mask &= mask - 1)
                note(p + std::countr_zero(mask));
        }
        return;
    }
#endif
    for (const char* p = begin; p < end; ++p)
        note(p);
}

void TStyledExport::FlushPiece() {
    out_.append(piece_.data(), std::size_t(at_ - piece_.data()));
    at_ = piece_.data();
}

void TStyledExport::Put(const char* from, std::size_t n) {
    if (n > piece_.size()) {
        FlushPiece();
        out_.append(from, n);
        return;
    }
    Room(n);
    std::memcpy(at_, from, n);
    at_ += n;
}

} // namespace ondrex
