#include "controls/HtmlMarkupColors.h"

#include "platform/CodePage.h"
#include "platform/SystemColors.h"

#include <string>

namespace ondrex {

namespace {

struct TNamedColor {
    std::string_view Name;
    TColor Color;
};

constexpr TNamedColor kNames[] = {
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
};

int DigitValue(char c) {
    const int code = static_cast<unsigned char>(AsciiUpper(c));
    return code < 59 ? code - 48 : code - 55;
}

// Pair `n` (0 for red) after the leading character; a missing digit counts as "0".
int HexPair(std::string_view value, std::size_t n) {
    const auto digit = [&](std::size_t i) { return i < value.size() ? DigitValue(value[i]) : 0; };
    const std::size_t first = 1 + 2 * n;
    return (16 * digit(first) + digit(first + 1)) & 0xFF;
}

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

} // namespace

TColor MarkupColorName(std::string_view lowerName) {
    for (const TNamedColor& named : kNames)
        if (named.Name == lowerName) return named.Color;
    return clBlack;
}

TColor MarkupColor(std::string_view value) {
    TColor color = clBlack;
    if (value.find("cl") != std::string_view::npos) color = MarkupColorName(AsciiLower(value));
    if (value.find('#') != std::string_view::npos)
        color = TColor(HexPair(value, 0)) | TColor(HexPair(value, 1)) << 8 |
                TColor(HexPair(value, 2)) << 16;
    return color;
}

} // namespace ondrex
