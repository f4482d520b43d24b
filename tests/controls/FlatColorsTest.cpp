// The colour routines behind the flat controls: HSL conversions and the lightness steps.

#include "controls/FlatUtilitys.h"
#include "controls/HSLUtils.h"
#include "platform/SystemColors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace ondrex;

namespace {

int ChannelDistance(TColor a, TColor b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// How far one channel can move when h, s and l each move by half a step of the scale:
// a channel rises with the hue at most 6 (m2 - m1) per turn, with the lightness at most 2
// per unit and with the saturation at most 1.
double HalfStepSpread(TColor c) {
    const THsl hsl = ColorToHsl(c);
    const double m2 = hsl.L <= 0.5 ? hsl.L * (1 + hsl.S) : hsl.L + hsl.S - hsl.L * hsl.S;
    const double m1 = 2 * hsl.L - m2;
    return 255 * (6 * (m2 - m1) * 0.5 / (HSLRange - 1) + 2 * 0.5 / HSLRange + 0.5 / HSLRange);
}

} // namespace

TEST(HslConversion, EveryRgbValueSurvivesTheRoundTrip) {
    int failures = 0;
    for (TColor c = 0; c <= 0xFFFFFF && failures < 5; ++c) {
        const TColor back = HslToColor(ColorToHsl(c));
        if (back != c) {
            ADD_FAILURE() << std::hex << c << " came back as " << back;
            ++failures;
        }
    }
}

TEST(HslConversion, RangeRoundTripStaysWithinOneStepOfRounding) {
    int failures = 0;
    for (TColor c = 0; c <= 0xFFFFFF && failures < 5; ++c) {
        const TColor back = HslRangeToColor(ColorToHslRange(c));
        // Half a step in each coordinate, plus the rounding of the channel itself.
        if (ChannelDistance(back, c) > HalfStepSpread(c) + 0.5) {
            ADD_FAILURE() << std::hex << c << " came back as " << back;
            ++failures;
        }
    }
}

TEST(HslConversion, FixedPoints) {
    EXPECT_EQ(ColorToHslRange(clBlack), (THslRange{0, 0, 0}));
    EXPECT_EQ(ColorToHslRange(clWhite), (THslRange{0, 0, 240}));
    EXPECT_EQ(ColorToHslRange(clRed), (THslRange{0, 240, 120}));
    EXPECT_EQ(ColorToHslRange(clLime), (THslRange{80, 240, 120}));  // 239 / 3 rounded
    EXPECT_EQ(ColorToHslRange(clBlue), (THslRange{159, 240, 120})); // 2 * 239 / 3
    EXPECT_EQ(ColorToHslRange(clGray), (THslRange{0, 0, 120}));
    EXPECT_EQ(HslRangeToColor({0, 240, 120}), clRed);
    // Hue steps are 1/239 of a turn: 80 lies just past pure green, 159 just short of blue.
    EXPECT_EQ(HslRangeToColor({80, 240, 120}), RGB(0, 255, 2));
    EXPECT_EQ(HslRangeToColor({159, 240, 120}), RGB(0, 2, 255));
    // 255 * 120 / 240 = 127.5: halves go to the even neighbour.
    EXPECT_EQ(HslRangeToColor({0, 0, 120}), RGB(128, 128, 128));
    // Hue wraps round: the top of the scale is red again.
    EXPECT_EQ(HslRangeToColor({239, 240, 120}), clRed);
    EXPECT_EQ(ColorToHsl(clWhite).S, 0);
}

TEST(HslConversion, ValuesBeyondTheScaleNeverOverflowAChannel) {
    EXPECT_EQ(HslRangeToColor({0, 0, 1000}), clWhite);
    EXPECT_EQ(HslRangeToColor({0, 0, -50}), clBlack);
    EXPECT_EQ(HslRangeToColor({0, 500, 200}), HslRangeToColor({0, 500, 200})); // no crash
    const TColor c = HslRangeToColor({500, 240, 120});
    EXPECT_EQ(c & 0xFF000000, 0u);
}

TEST(AdvancedColor, StepZeroKeepsTheStoredColour) {
    EXPECT_EQ(CalcAdvancedColor(0xE1EAEB, 0x123456, 0, TColorCalcType::lighten), 0x123456u);
    EXPECT_EQ(CalcAdvancedColor(0xE1EAEB, 0x123456, 0, TColorCalcType::darken), 0x123456u);
}

TEST(AdvancedColor, StepsMoveTheLightnessAfterTheLift) {
    const TColor base = RGB(40, 80, 160);
    const THslRange hsl = ColorToHslRange(base);
    // The lift of 10 and a darkening by 10 cancel out.
    EXPECT_EQ(CalcAdvancedColor(base, clNone, 10, TColorCalcType::darken), HslRangeToColor(hsl));
    EXPECT_EQ(ColorToHslRange(CalcAdvancedColor(base, clNone, 50, TColorCalcType::darken)).L,
              hsl.L + 10 - 50);
    EXPECT_EQ(ColorToHslRange(CalcAdvancedColor(base, clNone, 30, TColorCalcType::lighten)).L,
              hsl.L + 10 + 30);
    EXPECT_EQ(CalcAdvancedColor(RGB(20, 20, 20), clNone, 100, TColorCalcType::darken), clBlack);
}

TEST(AdvancedColor, LighteningALightColourNeverDarkensIt) {
    const TColor base = 0xE1EAEB;
    const int before = ColorToHslRange(base).L;
    for (int step = 1; step <= MaxAdvColors; ++step)
        EXPECT_GE(ColorToHslRange(CalcAdvancedColor(base, clNone, step, TColorCalcType::lighten)).L,
                  before)
            << step;
    EXPECT_EQ(CalcAdvancedColor(clWhite, clNone, 100, TColorCalcType::lighten), clWhite);
}

TEST(AdvancedColor, SystemColoursAreResolvedFirst) {
    EXPECT_EQ(CalcAdvancedColor(clBtnFace, clNone, 40, TColorCalcType::darken),
              CalcAdvancedColor(GetSysColor(COLOR_BTNFACE), clNone, 40, TColorCalcType::darken));
}
