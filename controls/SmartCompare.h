#pragma once
// The comparisons of the enhanced list view's built-in sort. The smart one looks at what a
// text holds: two dates or times compare by their value, two numbers by theirs, anything
// else as text in the desktop's collation. Because each text is tested on its own, a
// text's tests can be done once per row (TSmartKey) instead of once per comparison; both
// ways give the same answer for every pair.
//
// Note that the smart order is not a consistent order when kinds mix ("10" < "9a" as text,
// "9" < "10" as numbers, "9a" < "9" as text...); sorts that use it must tolerate that.

#include "platform/FormatSettings.h"

#include <string_view>

namespace ondrex {

// Text order without regard to the process locale: letters alphabetically whatever their
// case, punctuation before digits before letters, and only then a lower-case letter before
// its capital and byte order. -1, 0 or 1.
int CompareTextOrder(std::string_view a, std::string_view b);

// A date, a time or both, as days since 30 December 1899 with the time as the fraction.
// Whether the text holds a date is decided by its separators (a date separator with a
// second one after it, or as the last character; a time separator anywhere); false when
// neither or when the text does not convert.
bool TryDateTime(std::string_view text, const TFormatSettings& format, double& value);

// A decimal number in fixed notation, with optional leading blanks, sign, fraction and
// exponent; nothing may follow it.
bool TryNumber(std::string_view text, long double& value);

// The smart comparison of two texts: -1, 0 or 1.
int SmartCompare(std::string_view a, std::string_view b, const TFormatSettings& format);

// What the smart comparison learns of one text.
struct TSmartKey {
    bool IsDate = false;
    bool IsNumber = false;
    double Date = 0;
    long double Number = 0;
};
TSmartKey MakeSmartKey(std::string_view text, const TFormatSettings& format);
// SmartCompare from the two keys and texts.
int CompareSmartKeys(const TSmartKey& ka, std::string_view a, const TSmartKey& kb,
                     std::string_view b);

} // namespace ondrex
