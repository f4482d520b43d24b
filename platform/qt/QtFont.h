#pragma once
// Internal to platform/: a logical font as a QFont, with the classic desktop faces mapped to
// metric-compatible installed ones.

#include "platform/Font.h"

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include <array>
#include <deque>
#include <memory>
#include <unordered_map>

namespace ondrex::qt {

QFont ToQFont(const TFont& font);

// A glyph and the face it comes from.
struct TGlyph {
    const QRawFont* Face = nullptr;
    quint32 Index = 0;
};

// A logical font resolved once, with what drawing and measuring need of it.
struct TResolvedFont {
    explicit TResolvedFont(const TFont& font);
    QFont Font;
    QFontMetrics Metrics;
    QRawFont Raw;
    bool FixedPitch;

    // The glyph of a printable ASCII byte in Raw; 0 for other bytes and missing glyphs.
    quint32 AsciiGlyph(unsigned char byte) const {
        return byte >= 0x20 && byte < 0x7F ? asciiGlyphs_[byte - 0x20] : 0;
    }

    // The glyph of a character: from Raw, or from the face the system falls back to when
    // Raw lacks it (found once per character, then remembered). Index 0 in Raw when no
    // face has it.
    TGlyph GlyphOf(char32_t ch) const;

private:
    std::array<quint32, 0x7F - 0x20> asciiGlyphs_{};
    mutable std::unordered_map<char32_t, TGlyph> glyphs_;
    mutable std::deque<QRawFont> fallbacks_; // stable addresses
};

// Shared by all canvases of the process (GUI thread only), so a paint does not resolve the
// editor's fonts again.
std::shared_ptr<const TResolvedFont> ResolveFont(const TFont& font);

} // namespace ondrex::qt
