#include "controls/HSLUtils.h"

#include <algorithm>
#include <cmath>

namespace ondrex {

namespace {

// The default floating-point environment rounds halves to even.
int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

std::uint8_t ToChannel(double fraction) {
    return static_cast<std::uint8_t>(std::clamp(RoundHalfEven(255 * fraction), 0, 255));
}

double HueToChannel(double m1, double m2, double t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (6 * t < 1) return m1 + (m2 - m1) * 6 * t;
    if (2 * t < 1) return m2;
    if (3 * t < 2) return m1 + (m2 - m1) * (2.0 / 3 - t) * 6;
    return m1;
}

} // namespace

THsl ColorToHsl(TColor color) {
    const double r = GetRValue(color) / 255.0;
    const double g = GetGValue(color) / 255.0;
    const double b = GetBValue(color) / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    THsl hsl;
    hsl.L = (max + min) / 2;
    if (max == min) return hsl;
    const double d = max - min;
    hsl.S = hsl.L >= 0.5 ? d / (2 - max - min) : d / (max + min);
    double h;
    if (max == r)
        h = (g - b) / d;
    else if (max == g)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    h /= 6;
    if (h < 0) h += 1;
    hsl.H = h;
    return hsl;
}

TColor HslToColor(const THsl& hsl) {
    if (hsl.S == 0) {
        const std::uint8_t grey = ToChannel(hsl.L);
        return RGB(grey, grey, grey);
    }
    const double m2 = hsl.L <= 0.5 ? hsl.L * (1 + hsl.S) : hsl.L + hsl.S - hsl.L * hsl.S;
    const double m1 = 2 * hsl.L - m2;
    return RGB(ToChannel(HueToChannel(m1, m2, hsl.H + 1.0 / 3)),
               ToChannel(HueToChannel(m1, m2, hsl.H)),
               ToChannel(HueToChannel(m1, m2, hsl.H - 1.0 / 3)));
}

THslRange ColorToHslRange(TColor color) {
    const THsl hsl = ColorToHsl(color);
    return {RoundHalfEven((HSLRange - 1) * hsl.H), RoundHalfEven(HSLRange * hsl.S),
            RoundHalfEven(HSLRange * hsl.L)};
}

TColor HslRangeToColor(const THslRange& hsl) {
    return HslToColor(
        {double(hsl.H) / (HSLRange - 1), double(hsl.S) / HSLRange, double(hsl.L) / HSLRange});
}

} // namespace ondrex
