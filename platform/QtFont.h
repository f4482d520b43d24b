#pragma once
// Internal to platform/: a logical font as a QFont, with the classic desktop faces mapped to
// metric-compatible installed ones.

#include "platform/Font.h"

#include <QFont>

namespace ondrex::qt {

QFont ToQFont(const TFont& font);

} // namespace ondrex::qt
