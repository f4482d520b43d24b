#include "controls/FlatUtilitys.h"

#include "controls/HSLUtils.h"
#include "platform/SystemColors.h"

#include <algorithm>

namespace ondrex {

namespace {
constexpr int kLightnessLift = 10;
}

TColor CalcAdvancedColor(TColor baseColor, TColor originalColor, TAdvColors step,
                         TColorCalcType type) {
    if (step == 0) return originalColor;
    THslRange hsl = ColorToHslRange(ColorToRGB(baseColor));
    hsl.L += kLightnessLift;
    hsl.L += type == TColorCalcType::lighten ? step : -step;
    hsl.L = std::clamp(hsl.L, 0, HSLRange);
    return HslRangeToColor(hsl);
}

} // namespace ondrex
