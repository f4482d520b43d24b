#pragma once
// Logical fonts and their measurements. A TFont only describes a font; a canvas turns it
// into glyphs and answers its metrics (TCanvas::GetTextMetrics, GetCharABCWidths). Face
// names of the classic desktop ("Courier New", "Tahoma", "MS Sans Serif") resolve to
// metric-compatible installed faces. Pixel figures assume 96 dpi.

#include "platform/Color.h"
#include "platform/Event.h"
#include "platform/Object.h"

#include <cstdint>
#include <string>

namespace ondrex {

enum class TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

// Character sets as a logical font names them.
enum : std::uint8_t {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    OEM_CHARSET = 255,
};

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

class TFont : public TObject {
public:
    TFont() = default;
    TFont(const std::string& name, int height, TFontStyles style = 0);
    TFont(const TFont& other);
    // Copies the description (OnChange stays); notifies when that changed anything.
    TFont& operator=(const TFont& other);

    std::string ClassName() const override { return "TFont"; }

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);

    // Pixels. Negative: the character (em) height; positive: the cell height including the
    // internal leading; 0: the face's default.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points at 96 dpi: Height = -round(Size * 96 / 72).
    int Size() const;
    void SetSize(int points);

    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    // 700 for a bold font, 400 otherwise; SetWeight(>= 600) makes the font bold.
    int Weight() const { return (style_ & fsBold) ? FW_BOLD : FW_NORMAL; }
    void SetWeight(int weight);

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Kept for whoever compares fonts; glyphs are chosen by Unicode whatever the charset.
    std::uint8_t Charset() const { return charset_; }
    void SetCharset(std::uint8_t charset);

    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    // Same face, height, style, charset and pitch (the colour does not make another font).
    bool SameFont(const TFont& other) const;

    // Raised after every change of a value.
    TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }

    std::string name_ = "MS Sans Serif";
    int height_ = -11; // 8 points
    TFontStyles style_ = 0;
    TColor color_ = clSystemColor | 8; // the window text colour
    std::uint8_t charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = TFontPitch::fpDefault;
};

// Measurements of a font, in pixels.
struct TTextMetric {
    int Height = 0; // Ascent + Descent
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0; // accent room inside Height
    int ExternalLeading = 0; // recommended gap between rows
    int AveCharWidth = 0;    // advance of "x"
    int MaxCharWidth = 0;
    int Weight = FW_NORMAL;
    int Overhang = 0; // extra width of synthesised styles; 0 for real faces
    bool FixedPitch = false;
    std::uint8_t Charset = DEFAULT_CHARSET;
};

// Widths of one character: A is the space before the glyph's ink (may be negative), B the
// ink's width, C the space after it; A + B + C is the advance.
struct TABC {
    int A = 0;
    int B = 0;
    int C = 0;
    int Advance() const { return A + B + C; }
};

// The installed family a face name resolves to ("Courier New" -> a monospace face with the
// same metrics). Uses fontconfig through Qt.
std::string ResolveFontFamily(const std::string& face);

} // namespace ondrex
