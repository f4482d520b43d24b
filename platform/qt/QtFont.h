#pragma once
// Internal to platform/: a logical font as a QFont, with the classic desktop faces mapped to
// metric-compatible installed ones.

#include "platform/Font.h"

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include <memory>

namespace ondrex::qt {

QFont ToQFont(const TFont& font);

// A logical font resolved once, with what drawing and measuring need of it.
struct TResolvedFont {
    explicit TResolvedFont(const TFont& font);
    QFont Font;
    QFontMetrics Metrics;
    QRawFont Raw;
    bool FixedPitch;
};

// Shared by all canvases of the process (GUI thread only), so a paint does not resolve the
// editor's fonts again.
std::shared_ptr<const TResolvedFont> ResolveFont(const TFont& font);

} // namespace ondrex::qt
