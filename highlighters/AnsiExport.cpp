#include "highlighters/AnsiExport.h"

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

std::string TAnsiExport::Opening(const TTokenLook& look) const {
    std::string sequence = "\x1b[0";
    if (look.style & fsBold) sequence += ";1";
    if (look.style & fsItalic) sequence += ";3";
    if (look.style & fsUnderline) sequence += ";4";
    if (look.style & fsStrikeOut) sequence += ";9";
    if (look.foreground != clNone) AppendColor(sequence, look.foreground, 30);
    if (look.background != clNone) AppendColor(sequence, look.background, 40);
    return sequence + 'm';
}

std::string TAnsiExport::Escaped(char ascii) const {
    const bool control = (ascii >= 0 && ascii < 0x20 && ascii != '\t') || ascii == 0x7F;
    return control ? std::string{'^', static_cast<char>(ascii ^ 0x40)} : std::string(1, ascii);
}

} // namespace ondrex
