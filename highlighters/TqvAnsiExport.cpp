#include "highlighters/TqvAnsiExport.h"

#include "platform/SystemColors.h"

#include <algorithm>
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

void TqvAnsiExport::BeginStyle(const TqvTokenLook& look, std::size_t id) {
    if (id >= sequences_.size()) sequences_.resize(id + 1);
    std::string& sequence = sequences_[id];
    if (sequence.empty()) {
        sequence = "\x1b[0";
        if (look.style & fsBold) sequence += ";1";
        if (look.style & fsItalic) sequence += ";3";
        if (look.style & fsUnderline) sequence += ";4";
        if (look.style & fsStrikeOut) sequence += ";9";
        if (look.foreground != clNone) AppendColor(sequence, look.foreground, 30);
        if (look.background != clNone) AppendColor(sequence, look.background, 40);
        sequence += 'm';
    }
    out_ += sequence;
}

void TqvAnsiExport::EndStyle() {
    out_ += "\x1b[0m";
}

void TqvAnsiExport::AppendText(std::string_view utf8) {
    // Runs of printable bytes go in one append.
    static constexpr auto control = [] {
        std::array<bool, 256> t{};
        for (int c = 0; c < 0x20; ++c)
            t[c] = c != '\t';
        t[0x7F] = true;
        return t;
    }();
    auto isControl = [](char c) { return control[static_cast<unsigned char>(c)]; };
    while (!utf8.empty()) {
        const std::size_t run =
            std::size_t(std::find_if(utf8.begin(), utf8.end(), isControl) - utf8.begin());
        out_.append(utf8.data(), run);
        if (run == utf8.size()) return;
        out_ += '^';
        out_ += static_cast<char>(utf8[run] ^ 0x40);
        utf8.remove_prefix(run + 1);
    }
}

} // namespace ondrex
