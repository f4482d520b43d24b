#pragma once
// Colour values of list-box markup (color= and bgcolor=): a colour name such as "clRed"
// (any case, as long as the value holds a lower-case "cl"), or "#RRGGBB".

#include "platform/Color.h"

#include <string_view>

namespace ondrex {

// A name not in the table gives black; "#" wins over a name when the value holds both.
// Digits that are not hexadecimal give the value their character codes make, kept within
// a byte per component.
TColor MarkupColor(std::string_view value);

// The table of names, lower case ("clred"); black when unknown.
TColor MarkupColorName(std::string_view lowerName);

} // namespace ondrex
