#include "highlighters/StyledExport.h"

#include "highlighters/qvHighlighter.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>

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
        BeginPiece();
        FinishLine();
        FlushPiece();
    } else {
        WriteText(text, attribute);
    }
}

void TStyledExport::ExportLine(TqvCustomHighLighter& highlighter, const std::string& line) {
    tokens_.clear();
    highlighter.ExportTokens(line.c_str(), tokens_);
    WriteLine(line, tokens_);
}

void TStyledExport::WriteLine(std::string_view line, std::span<const TExportToken> tokens) {
    replacedAt_.clear();
    FindReplaced(line, replacedAt_);
    BeginText(line, replacedAt_);
    BeginPiece();
    const std::size_t end = ForEachToken(
        line, tokens,
        [this](std::size_t start, std::size_t next, const TqvHighLightAttributes* attribute) {
            Place(start, next, attribute);
        });
    if (end < line.size()) Place(end, line.size(), nullptr);
    AppendPending(line.size());
    FinishLine();
    FlushPiece();
}

void TStyledExport::MeetLooks(std::string_view line, std::span<const TExportToken> tokens) {
    if (!NumbersLooks()) return;
    ForEachToken(line, tokens,
                 [&](std::size_t start, std::size_t next, const TqvHighLightAttributes* attribute) {
                     if (attribute && Shows(line, start, next)) LookIdOf(*attribute);
                 });
}

void TStyledExport::AppendWritten(std::string_view written) {
    FlushPiece();
    out_.append(written);
}

bool TStyledExport::MetEveryLookOf(const TqvCustomHighLighter& highlighter) {
    TStyledExport& keeper = *lookKeeper_;
    std::lock_guard lock(keeper.looksMutex_);
    for (int i = 0; i < highlighter.AttributeCount(); ++i) {
        const TTokenLook look = LookOf(*highlighter.AttributeAt(i));
        if (!(look == TTokenLook{}) &&
            std::find(keeper.looks_.begin(), keeper.looks_.end(), look) == keeper.looks_.end())
            return false;
    }
    return true;
}

// Writes as its keeper does: the keeper's byte tables, and its looks, numbered by the keeper.
class TStyledExport::TSibling final : public TStyledExport {
public:
    TSibling(TStyledExport& keeper, std::string& out)
        : TStyledExport(keeper.codePage_, out), keeper_(keeper) {
        lookKeeper_ = keeper.lookKeeper_;
    }

protected:
    std::string Opening(const TTokenLook& look) override { return keeper_.Opening(look); }
    std::string Closing() const override { return keeper_.Closing(); }
    std::string Escaped(char ascii) const override { return keeper_.Escaped(ascii); }
    bool NumbersLooks() const override { return keeper_.NumbersLooks(); }

private:
    TStyledExport& keeper_;
};

std::unique_ptr<TStyledExport> TStyledExport::MakeSibling(std::string& out) {
    return std::make_unique<TSibling>(*this, out);
}

void TStyledExport::WriteText(std::string_view text, const TqvHighLightAttributes* attribute) {
    replacedAt_.clear();
    FindReplaced(text, replacedAt_);
    BeginText(text, replacedAt_);
    BeginPiece();
    Place(0, text.size(), attribute);
    AppendPending(text.size());
    FlushPiece();
}

void TStyledExport::Place(std::size_t start, std::size_t next,
                          const TqvHighLightAttributes* attribute) {
    if (!Shows(text_, start, next)) return;
    const std::size_t id = attribute ? LookIdOf(*attribute) : kPlain;
    if (id == current_) return;
    AppendPending(start);
    SwitchTo(id);
}

void TStyledExport::FinishLine() {
    SwitchTo(kPlain);
    Put("\n");
}

std::size_t TStyledExport::NewLookIdOf(const TqvHighLightAttributes& attribute,
                                       TKnownAttribute& known) {
    const TTokenLook look = LookOf(attribute);
    std::size_t id = kPlain;
    if (!(look == TTokenLook{})) {
        TStyledExport& keeper = *lookKeeper_;
        std::lock_guard lock(keeper.looksMutex_);
        const auto& looks = keeper.looks_;
        id = std::size_t(std::find(looks.begin(), looks.end(), look) - looks.begin());
        if (id == looks.size()) {
            keeper.looks_.push_back(look);
            keeper.keptOpenings_.push_back(keeper.Opening(look));
        }
        if (id >= openings_.size()) openings_.resize(id + 1);
        openings_[id] = keeper.keptOpenings_[id];
    }
    known = {&attribute, attribute.Foreground(), attribute.Background(), attribute.Style(), id};
    return id;
}

void TStyledExport::SwitchTo(std::size_t id) {
    if (id == current_) return;
    if (current_ != kPlain) Put(closing_);
    current_ = id;
    if (id != kPlain) Put(openings_[id]);
}

void TStyledExport::PrepareBytes() {
    std::call_once(bytesPrepared_, [this] { MakeByteTables(); });
}

void TStyledExport::MakeByteTables() {
    closing_ = Closing();
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

void TStyledExport::BeginText(std::string_view text, std::span<const std::size_t> replaced) {
    PrepareBytes();
    text_ = text;
    pending_ = 0;
    replacedNow_ = replaced;
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

void TStyledExport::AppendPending(std::size_t to) {
    std::size_t from = pending_;
    for (; nextReplaced_ < replacedNow_.size() && replacedNow_[nextReplaced_] < to;
         ++nextReplaced_) {
        const std::size_t at = replacedNow_[nextReplaced_];
        Put(text_.substr(from, at - from));
        Put(replacements_[static_cast<unsigned char>(text_[at])]);
        from = at + 1;
    }
    Put(text_.substr(from, to - from));
    pending_ = to;
}

void TStyledExport::FlushPiece() {
    out_.append(piece_.data(), std::size_t(at_ - piece_.data()));
    at_ = piece_.data();
}

void TStyledExport::PutAfterFlush(std::string_view bytes) {
    FlushPiece();
    if (bytes.size() > piece_.size())
        out_.append(bytes);
    else
        Put(bytes);
}

} // namespace ondrex
