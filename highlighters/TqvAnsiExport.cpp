#include "highlighters/TqvAnsiExport.h"

#include "platform/SystemColors.h"

#include <array>

namespace ondrex {

namespace {

constexpr std::array<TColor, 16> Classic = {clBlack, clMaroon,  clGreen, clOlive, clNavy, clPurple,
                                            clTeal,  clSilver,  clGray,  clRed,   clLime, clYellow,
                                            clBlue,  clFuchsia, clAqua,  clWhite};

// foregroundBase 30 or background 40.
void AppendColor(std::string& out, TColor color, int base) {
    const TColor rgb = ColorToRGB(color);
    for (int i = 0; i < 16; ++i)
        if (Classic[i] == rgb) {
            out += ';' + std::to_string(i < 8 ? base + i : base + 60 + i - 8);
            return;
        }
    out += ';' + std::to_string(base + 8) + ";2;" + std::to_string(GetRValue(rgb)) + ';' +
           std::to_string(GetGValue(rgb)) + ';' + std::to_string(GetBValue(rgb));
}

} // namespace

void TqvAnsiExport::BeginStyle(const TqvTokenLook& look) {
    out_ += "\x1b[0";
    if (look.style & fsBold) out_ += ";1";
    if (look.style & fsItalic) out_ += ";3";
    if (look.style & fsUnderline) out_ += ";4";
    if (look.style & fsStrikeOut) out_ += ";9";
    if (look.foreground != clNone) AppendColor(out_, look.foreground, 30);
    if (look.background != clNone) AppendColor(out_, look.background, 40);
    out_ += 'm';
}

void TqvAnsiExport::EndStyle() {
    out_ += "\x1b[0m";
}

void TqvAnsiExport::AppendText(std::string_view utf8) {
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            out_ += '^';
            out_ += static_cast<char>(byte ^ 0x40);
        } else {
            out_ += c;
        }
    }
}

} // namespace ondrex
