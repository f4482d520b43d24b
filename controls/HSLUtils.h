#pragma once
// Conversions between RGB colours and hue, saturation and lightness, either as fractions
// (0..1) or on the 0..HSLRange scale the flat controls step their colours on. Hue on that
// scale runs 0..HSLRange - 1, so that a full turn never reads as red twice.
// Channels are rounded to the nearest integer, halves to even.

#include "platform/Color.h"

namespace ondrex {

constexpr int HSLRange = 240;

struct THsl {
    double H = 0;
    double S = 0;
    double L = 0;
};

struct THslRange {
    int H = 0;
    int S = 0;
    int L = 0;
    bool operator==(const THslRange&) const = default;
};

// `color` is an RGB value (a system colour must be resolved first).
THsl ColorToHsl(TColor color);
TColor HslToColor(const THsl& hsl);

THslRange ColorToHslRange(TColor color);
TColor HslRangeToColor(const THslRange& hsl);

} // namespace ondrex
