#include "platform/FormatSettings.h"

#include "platform/qt/QtText.h"

#include <QLocale>

namespace ondrex {

namespace {

// The first punctuation between the fields of a Qt date or time format, if any.
char SeparatorOf(const QString& format, char fallback) {
    for (const QChar c : format) {
        const char ch = c.toLatin1();
        if (ch == '/' || ch == '-' || ch == '.' || ch == ':') return ch;
    }
    return fallback;
}

TFormatSettings FromSystem() {
    TFormatSettings settings;
    const QLocale locale = QLocale::system();
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    const char separator = SeparatorOf(date, 0);
    if (separator != 0 && separator != ':') {
        // Keeps the order of the three fields only; the separator is the desktop's.
        std::string order;
        for (const QChar c : date) {
            const char ch = c.toLatin1();
            if ((ch == 'd' || ch == 'M' || ch == 'y') && order.find(ch) == std::string::npos)
                order += ch;
        }
        if (order.size() == 3) {
            settings.DateSeparator = separator;
            settings.ShortDateFormat = std::string(1, order[0]) + separator + order[1] +
                                       separator + order[2];
        }
    }
    settings.TimeSeparator = SeparatorOf(locale.timeFormat(QLocale::ShortFormat), ':');
    if (!locale.amText().isEmpty()) settings.TimeAMString = qt::FromQString(locale.amText());
    if (!locale.pmText().isEmpty()) settings.TimePMString = qt::FromQString(locale.pmText());
    return settings;
}

} // namespace

const TFormatSettings& FormatSettings() {
    static const TFormatSettings settings = FromSystem();
    return settings;
}

} // namespace ondrex
