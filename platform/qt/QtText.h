#pragma once
// Internal to platform/: text crossing between our byte strings (in the active code page)
// and Qt's strings.

#include <QString>

#include <string>
#include <string_view>

namespace ondrex::qt {

QString ToQString(std::string_view bytes);
// Characters the code page cannot hold become '?'.
std::string FromQString(const QString& text);

} // namespace ondrex::qt
