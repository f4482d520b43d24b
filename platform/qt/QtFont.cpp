#include "platform/qt/QtFont.h"

#include "platform/CodePage.h"
#include "platform/qt/QtApplication.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>
#include <tuple>

namespace ondrex::qt {

namespace {

// Faces the components name that have no file of their own on Linux: the metric-compatible
// (or nearest) Liberation faces; anything else goes to fontconfig as named.
QString Substitute(const std::string& face) {
    static const std::map<std::string, QString, std::less<>> kFaces = {
        {"courier new", "Liberation Mono"},   {"courier", "Liberation Mono"},
        {"fixedsys", "Liberation Mono"},      {"tahoma", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"}, {"microsoft sans serif", "Liberation Sans"},
        {"ms shell dlg", "Liberation Sans"},  {"ms shell dlg 2", "Liberation Sans"},
        {"arial", "Liberation Sans"},         {"times new roman", "Liberation Serif"},
        {"ms serif", "Liberation Serif"},
    };
    const auto it = kFaces.find(AnsiLowerCase(TCodePage::Utf8, face));
    return it != kFaces.end() ? it->second : QString::fromStdString(face);
}

constexpr int kDefaultPixels = 11; // 8 points at 96 dpi

} // namespace

QFont ToQFont(const TFont& font) {
    ensureApplication();
    QFont q(Substitute(font.Name()));
    q.setHintingPreference(QFont::PreferFullHinting);
    q.setBold(font.Style() & fsBold);
    q.setItalic(font.Style() & fsItalic);
    q.setUnderline(font.Style() & fsUnderline);
    q.setStrikeOut(font.Style() & fsStrikeOut);
    if (font.Pitch() == TFontPitch::fpFixed) {
        q.setStyleHint(QFont::Monospace);
        q.setFixedPitch(true);
    }
    const int h = font.Height();
    if (h < 0) {
        q.setPixelSize(-h);
    } else if (h > 0) {
        // A positive height is the cell (ascent + descent): scale the em to fit it.
        q.setPixelSize(h);
        const QFontMetrics fm(q);
        const int cell = fm.ascent() + fm.descent();
        if (cell > 0) q.setPixelSize(std::max(1, int(std::lround(double(h) * h / cell))));
    } else {
        q.setPixelSize(kDefaultPixels);
    }
    return q;
}

TResolvedFont::TResolvedFont(const TFont& font)
    : Font(ToQFont(font)), Metrics(Font), Raw(QRawFont::fromFont(Font)),
      FixedPitch(QFontInfo(Font).fixedPitch()) {
    if (!Raw.isValid()) return;
    QString printable;
    for (char c = 0x20; c < 0x7F; ++c)
        printable += QLatin1Char(c);
    const QList<quint32> glyphs = Raw.glyphIndexesForString(printable);
    for (qsizetype i = 0; i < glyphs.size() && i < qsizetype(asciiGlyphs_.size()); ++i)
        asciiGlyphs_[std::size_t(i)] = glyphs[i];
}

TGlyph TResolvedFont::GlyphOf(char32_t ch) const {
    if (const quint32 ascii = ch < 0x80 ? AsciiGlyph(static_cast<unsigned char>(ch)) : 0)
        return {&Raw, ascii};
    const auto known = glyphs_.find(ch);
    if (known != glyphs_.end()) return known->second;
    constexpr std::size_t kMaxRemembered = 1 << 16; // bounds a file of every character
    if (glyphs_.size() >= kMaxRemembered) glyphs_.clear();
    const QString text = QString::fromUcs4(&ch, 1);
    TGlyph glyph{&Raw, 0};
    const QList<quint32> own = Raw.isValid() ? Raw.glyphIndexesForString(text) : QList<quint32>{};
    if (own.size() == 1 && own[0] != 0) {
        glyph.Index = own[0];
    } else {
        // The face the text layout would use for it.
        QTextLayout layout(text, Font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (!runs.isEmpty() && !runs[0].glyphIndexes().isEmpty() && runs[0].glyphIndexes()[0]) {
            const QRawFont face = runs[0].rawFont();
            auto it = std::find(fallbacks_.begin(), fallbacks_.end(), face);
            if (it == fallbacks_.end()) it = fallbacks_.insert(fallbacks_.end(), face);
            glyph = {&*it, runs[0].glyphIndexes()[0]};
        }
    }
    return glyphs_.emplace(ch, glyph).first->second;
}

std::shared_ptr<const TResolvedFont> ResolveFont(const TFont& font) {
    using TKey = std::tuple<std::string, int, TFontStyles, std::uint8_t, TFontPitch>;
    static std::map<TKey, std::shared_ptr<const TResolvedFont>> cache;
    constexpr std::size_t kMaxFonts = 64; // a program uses a handful; this only bounds misuse
    TKey key{font.Name(), font.Height(), font.Style(), font.Charset(), font.Pitch()};
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    if (cache.size() >= kMaxFonts) cache.clear();
    return cache.emplace(std::move(key), std::make_shared<TResolvedFont>(font)).first->second;
}

} // namespace ondrex::qt

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ONDREX_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(ONDREX_ASAN)
// fontconfig keeps its configuration until the process ends; that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

namespace ondrex {

std::string ResolveFontFamily(const std::string& face) {
    return QFontInfo(qt::ToQFont(TFont(face, -13))).family().toStdString();
}

} // namespace ondrex
