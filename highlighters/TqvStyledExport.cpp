#include "highlighters/TqvStyledExport.h"

#include "platform/SystemColors.h"

#include <cstring>

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
    if (!attribute && text.empty()) {
        SwitchTo(nullptr);
        EndLine();
        return;
    }
    if (codePage_ == TCodePage::Utf8) {
        std::size_t carry = 0;
        while (carry < text.size() && (static_cast<unsigned char>(text[carry]) & 0xC0) == 0x80)
            ++carry;
        AppendBytes(text.substr(0, carry));
        text.remove_prefix(carry);
        if (text.empty()) return;
    }
    if (attribute) {
        const TqvTokenLook look = LookOf(*attribute);
        SwitchTo(&look);
    } else {
        SwitchTo(nullptr);
    }
    AppendBytes(text);
}

void TqvStyledExport::SwitchTo(const TqvTokenLook* look) {
    const bool wantStyle = look && !(*look == TqvTokenLook{});
    if (wantStyle && styled_ && *look == current_) return;
    if (!wantStyle && !styled_) return;
    if (styled_) EndStyle();
    styled_ = wantStyle;
    if (wantStyle) {
        current_ = *look;
        BeginStyle(current_);
    }
}

void TqvStyledExport::AppendBytes(std::string_view bytes) {
    if (bytes.empty()) return;
    if (codePage_ == TCodePage::Utf8) {
        AppendText(bytes);
        return;
    }
    decoded_.clear();
    AppendUtf8(codePage_, bytes, decoded_);
    AppendText(decoded_);
}

} // namespace ondrex
