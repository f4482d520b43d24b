#include "controls/SmartCompare.h"

#include "platform/CodePage.h"

#include <charconv>
#include <chrono>
#include <string>

namespace ondrex {

namespace {

int Sign(long double d) {
    return d < 0 ? -1 : d > 0 ? 1 : 0;
}

// Primary weight of a byte: punctuation and controls, then digits, then letters whatever
// their case, then bytes of multi-byte characters.
struct TWeights {
    short Of[256];
    constexpr TWeights() : Of() {
        for (int c = 0; c < 256; ++c) {
            if (c >= 'a' && c <= 'z')
                Of[c] = short(300 + (c - 'a'));
            else if (c >= 'A' && c <= 'Z')
                Of[c] = short(300 + (c - 'A'));
            else if (c >= '0' && c <= '9')
                Of[c] = short(200 + (c - '0'));
            else if (c >= 0x80)
                Of[c] = short(400 + c);
            else
                Of[c] = short(c);
        }
    }
};
constexpr TWeights kWeights;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t SkipBlanks(std::string_view s, std::size_t pos) {
    while (pos < s.size() && IsBlank(s[pos]))
        ++pos;
    return pos;
}

// Up to nine digits at pos; false when there is none.
bool ScanInt(std::string_view s, std::size_t& pos, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && digits < 9) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Days from 30 December 1899 to the date.
double Serial(int y, int m, int d) {
    const std::chrono::sys_days date{std::chrono::year(y) / std::chrono::month(unsigned(m)) /
                                     std::chrono::day(unsigned(d))};
    const std::chrono::sys_days epoch{std::chrono::year(1899) / 12 / 30};
    return double((date - epoch).count());
}

int CurrentYear() {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    return int(std::chrono::year_month_day(today).year());
}

// Day, month and year in the short format's order; two fields mean the current year.
bool ScanDate(std::string_view s, std::size_t& pos, const TFormatSettings& format, double& value) {
    int fields[3];
    int digits[3];
    int count = 0;
    pos = SkipBlanks(s, pos);
    while (count < 3) {
        if (!ScanInt(s, pos, fields[count], digits[count])) return false;
        ++count;
        if (count == 3 || pos >= s.size() || s[pos] != format.DateSeparator) break;
        ++pos;
    }
    if (count < 2) return false;
    std::string order;
    for (char c : format.ShortDateFormat)
        if ((c == 'd' || c == 'M' || c == 'y') && order.find(c) == std::string::npos) order += c;
    if (order.size() != 3) order = "Mdy";
    int d = 0, m = 0, y = 0;
    bool twoDigitYear = false;
    if (count == 2) {
        order.erase(order.find('y'), 1);
        y = CurrentYear();
    }
    for (int i = 0; i < count; ++i) {
        switch (order[std::size_t(i)]) {
        case 'd':
            d = fields[i];
            break;
        case 'M':
            m = fields[i];
            break;
        default:
            y = fields[i];
            twoDigitYear = digits[i] <= 2;
            break;
        }
    }
    // Two-digit years fall within fifty years of the current one.
    if (twoDigitYear) {
        const int now = CurrentYear();
        y += now / 100 * 100;
        if (y < now - 50) y += 100;
        if (y > now + 49) y -= 100;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
    value = Serial(y, m, d);
    return true;
}

bool MatchMarker(std::string_view s, std::size_t pos, std::string_view marker) {
    if (marker.empty() || s.size() - pos < marker.size()) return false;
    return SameText(s.substr(pos, marker.size()), marker);
}

// Hours[:minutes[:seconds[.milliseconds]]] with an optional AM or PM marker.
bool ScanTime(std::string_view s, std::size_t& pos, const TFormatSettings& format, double& value) {
    int parts[3] = {0, 0, 0};
    int digits = 0;
    int count = 0;
    int ms = 0;
    pos = SkipBlanks(s, pos);
    while (count < 3) {
        if (!ScanInt(s, pos, parts[count], digits)) return false;
        ++count;
        if (count == 3 || pos >= s.size() || s[pos] != format.TimeSeparator) break;
        ++pos;
    }
    if (count == 3 && pos < s.size() && s[pos] == '.') {
        ++pos;
        if (!ScanInt(s, pos, ms, digits)) return false;
    }
    pos = SkipBlanks(s, pos);
    int hour = parts[0];
    const bool am = MatchMarker(s, pos, format.TimeAMString);
    const bool pm = !am && MatchMarker(s, pos, format.TimePMString);
    if (am || pm) {
        if (hour < 1 || hour > 12) return false;
        pos += (am ? format.TimeAMString : format.TimePMString).size();
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59 || ms > 999) return false;
    value = (hour * 3600000.0 + parts[1] * 60000.0 + parts[2] * 1000.0 + ms) / 86400000.0;
    return true;
}

bool AtEnd(std::string_view s, std::size_t pos) {
    return SkipBlanks(s, pos) == s.size();
}

} // namespace

int CompareTextOrder(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    int tie = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca == cb) continue;
        const int wa = kWeights.Of[ca], wb = kWeights.Of[cb];
        if (wa != wb) return wa < wb ? -1 : 1;
        // Same letter in another case: lower case first, decided only if nothing else is.
        if (tie == 0) tie = ca > cb ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return tie;
}

bool TryDateTime(std::string_view text, const TFormatSettings& format, double& value) {
    value = 0;
    const std::size_t first = text.find(format.DateSeparator);
    const bool hasDate = first != std::string_view::npos &&
                         (first + 1 == text.size() ||
                          text.find(format.DateSeparator, first + 1) != std::string_view::npos);
    const bool hasTime = text.find(format.TimeSeparator) != std::string_view::npos;
    if (!hasDate && !hasTime) return false;
    std::size_t pos = 0;
    double date = 0, time = 0;
    bool ok;
    if (hasDate && hasTime)
        ok = ScanDate(text, pos, format, date) && ScanTime(text, pos, format, time);
    else if (hasDate)
        ok = ScanDate(text, pos, format, date);
    else
        ok = ScanTime(text, pos, format, time);
    if (!ok || !AtEnd(text, pos)) return false;
    // A time belongs to its day: later in the day is later, before and after 1899 alike.
    value = date + (date < 0 ? -time : time);
    return true;
}

bool TryNumber(std::string_view text, long double& value) {
    std::size_t pos = SkipBlanks(text, 0);
    const std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        ++pos, ++digits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            ++pos, ++digits;
    }
    if (digits == 0) return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        std::size_t exp = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            ++pos, ++exp;
        if (exp == 0) return false;
    }
    if (pos != text.size()) return false;
    // from_chars takes no leading "+".
    std::size_t from = start;
    if (text[from] == '+') ++from;
    const std::string copy(text.substr(from, pos - from));
    const auto result = std::from_chars(copy.data(), copy.data() + copy.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond the range of the type: the sign of infinity or of zero says enough.
        const bool negative = copy[0] == '-';
        const bool tiny = copy.find_first_of("eE") != std::string::npos &&
                          copy[copy.find_first_of("eE") + 1] == '-';
        value = tiny ? 0.0L : (negative ? -1.0L : 1.0L) * std::numeric_limits<long double>::max();
        return true;
    }
    return result.ec == std::errc();
}

TSmartKey MakeSmartKey(std::string_view text, const TFormatSettings& format) {
    TSmartKey key;
    key.IsDate = TryDateTime(text, format, key.Date);
    key.IsNumber = TryNumber(text, key.Number);
    return key;
}

int CompareSmartKeys(const TSmartKey& ka, std::string_view a, const TSmartKey& kb,
                     std::string_view b) {
    if (ka.IsDate && kb.IsDate) return Sign(ka.Date - kb.Date);
    if (ka.IsNumber && kb.IsNumber) return ka.Number < kb.Number ? -1 : ka.Number > kb.Number;
    return CompareTextOrder(a, b);
}

int SmartCompare(std::string_view a, std::string_view b, const TFormatSettings& format) {
    return CompareSmartKeys(MakeSmartKey(a, format), a, MakeSmartKey(b, format), b);
}

} // namespace ondrex
