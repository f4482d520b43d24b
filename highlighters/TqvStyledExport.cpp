#include "highlighters/TqvStyledExport.h"

#include "highlighters/qvHighlighter.h"
#include "platform/SystemColors.h"

#include <algorithm>

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

TqvTokenLook LookOf(const TqvHighLightAttributes& attribute) {
    TqvTokenLook look;
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

void TqvStyledExport::WriteToken(std::string_view text, const TqvHighLightAttributes* attribute,
                                 bool, bool) {
    passed_ = true;
    if (!attribute && text.empty()) {
        if (!exporting_) FinishLine();
        return;
    }
    WriteText(text, attribute);
}

void TqvStyledExport::ExportLine(TqvCustomHighLighter& highlighter, const std::string& line) {
    struct TExporting {
        bool& flag;
        explicit TExporting(bool& f) : flag(f) { flag = true; }
        ~TExporting() { flag = false; }
    } exporting(exporting_);
    auto step = [&](auto&& advance) {
        passed_ = false;
        advance();
        if (!passed_ && !highlighter.AtLineEnd())
            WriteText(highlighter.TokenText(), highlighter.TokenAttribute());
    };
    step([&] { highlighter.StartExportLine(line.c_str()); });
    while (!highlighter.AtLineEnd())
        step([&] { highlighter.ExportNextToken(); });
    // The end-of-line token stands at the first NUL, or at the line's end.
    const std::size_t end = std::min(std::size_t(highlighter.TokenStart()), line.size());
    if (end < line.size()) WriteText(std::string_view(line).substr(end), nullptr);
    FinishLine();
}

void TqvStyledExport::WriteText(std::string_view text, const TqvHighLightAttributes* attribute) {
    if (codePage_ == TCodePage::Utf8) {
        std::size_t carry = 0;
        while (carry < text.size() && (static_cast<unsigned char>(text[carry]) & 0xC0) == 0x80)
            ++carry;
        AppendBytes(text.substr(0, carry));
        text.remove_prefix(carry);
        if (text.empty()) return;
    }
    SwitchTo(attribute ? LookIdOf(*attribute) : kPlain);
    AppendBytes(text);
}

void TqvStyledExport::FinishLine() {
    SwitchTo(kPlain);
    EndLine();
}

std::size_t TqvStyledExport::LookIdOf(const TqvHighLightAttributes& attribute) {
    auto found = std::find_if(known_.begin(), known_.end(), [&](const TKnownAttribute& known) {
        return known.attribute == &attribute;
    });
    if (found != known_.end() && found->foreground == attribute.Foreground() &&
        found->background == attribute.Background() && found->style == attribute.Style())
        return found->id;
    const TqvTokenLook look = LookOf(attribute);
    std::size_t id = kPlain;
    if (!(look == TqvTokenLook{})) {
        id = std::size_t(std::find(looks_.begin(), looks_.end(), look) - looks_.begin());
        if (id == looks_.size()) looks_.push_back(look);
    }
    const TKnownAttribute entry{&attribute, attribute.Foreground(), attribute.Background(),
                                attribute.Style(), id};
    if (found != known_.end())
        *found = entry;
    else
        known_.push_back(entry);
    return id;
}

void TqvStyledExport::SwitchTo(std::size_t id) {
    if (id == current_) return;
    if (current_ != kPlain) EndStyle();
    current_ = id;
    if (id != kPlain) BeginStyle(looks_[id], id);
}

void TqvStyledExport::AppendBytes(std::string_view bytes) {
    if (bytes.empty()) return;
    // ASCII reads the same in every code page.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || codePage_ == TCodePage::Utf8) {
        AppendText(bytes);
        return;
    }
    decoded_.clear();
    AppendUtf8(codePage_, bytes, decoded_);
    AppendText(decoded_);
}

} // namespace ondrex
