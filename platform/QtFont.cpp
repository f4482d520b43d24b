#include "platform/QtFont.h"

#include "platform/QtApplication.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <string_view>

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
    std::string key = face;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const auto it = kFaces.find(key);
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

} // namespace ondrex::qt

namespace ondrex {

std::string ResolveFontFamily(const std::string& face) {
    return QFontInfo(qt::ToQFont(TFont(face, -13))).family().toStdString();
}

} // namespace ondrex
