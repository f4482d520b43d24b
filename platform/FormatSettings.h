#pragma once
// How the desktop writes dates and times: the separators, the order of day, month and year
// in its short date format, and the morning and afternoon markers. Read once from the
// system locale; a locale without such a format gets the classic defaults below.

#include <string>

namespace ondrex {

struct TFormatSettings {
    char DateSeparator = '/';
    char TimeSeparator = ':';
    // Letters d, M and y (any count) in the short date format's order, e.g. "M/d/yyyy".
    std::string ShortDateFormat = "M/d/yyyy";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
};

const TFormatSettings& FormatSettings();

} // namespace ondrex
