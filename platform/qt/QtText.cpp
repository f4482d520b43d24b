#include "platform/qt/QtText.h"

#include "platform/CodePage.h"

#include <QList>

namespace ondrex::qt {

QString ToQString(std::string_view bytes) {
    const std::string utf8 = ToUtf8(ActiveCodePage(), bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (ActiveCodePage() == TCodePage::Utf8) return {utf8.constData(), std::size_t(utf8.size())};
    std::string out;
    for (char32_t ch : text.toUcs4()) {
        char byte = '?';
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            if (DecodeChar(TCodePage::Windows1252, std::string_view(&c, 1), 0).codePoint == ch) {
                byte = c;
                break;
            }
        }
        out += byte;
    }
    return out;
}

} // namespace ondrex::qt
