#pragma once
// Colours of the flat controls derived from their parent's colour by lightness steps.

#include "platform/Color.h"

namespace ondrex {

// A lightness step, 0..100 on the 0..HSLRange lightness scale.
using TAdvColors = int;
constexpr TAdvColors MaxAdvColors = 100;

enum class TColorCalcType { lighten, darken };

// `baseColor` (a system colour is resolved first) made lighter or darker by `step`; a step
// of 0 keeps `originalColor`. The lightness is first raised by 10, then moved by the step
// and held within the scale, so a lightened colour is never darker than the base.
TColor CalcAdvancedColor(TColor baseColor, TColor originalColor, TAdvColors step,
                         TColorCalcType type);

} // namespace ondrex
