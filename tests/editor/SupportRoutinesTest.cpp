#include "editor/qvSupportProcs.h"

#include "platform/DrawTextFlags.h"
#include "platform/testing/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace ondrex {
namespace {

TEST(CharSetScan, ForwardFindsTheFirstMemberFromStart) {
    const TqvCharSet brackets = CharSetOf("()[]");
    EXPECT_EQ(StrScanForCharInSet("a(b)c", 1, brackets), 2);
    EXPECT_EQ(StrScanForCharInSet("a(b)c", 2, brackets), 2);
    EXPECT_EQ(StrScanForCharInSet("a(b)c", 3, brackets), 4);
    EXPECT_EQ(StrScanForCharInSet("a(b)c", 5, brackets), 0);
    EXPECT_EQ(StrScanForCharInSet("a(b)c", 0, brackets), 0);
    EXPECT_EQ(StrScanForCharInSet("a(b)c", 6, brackets), 0);
    EXPECT_EQ(StrScanForCharInSet("", 1, brackets), 0);
}

TEST(CharSetScan, BackwardFindsTheNearestMemberAtOrBeforeStart) {
    const TqvCharSet blanks = CharSetOf(" \t");
    EXPECT_EQ(StrRScanForCharInSet("ab cd\tef", 8, blanks), 6);
    EXPECT_EQ(StrRScanForCharInSet("ab cd\tef", 5, blanks), 3);
    EXPECT_EQ(StrRScanForCharInSet("ab cd\tef", 3, blanks), 3);
    EXPECT_EQ(StrRScanForCharInSet("ab cd\tef", 2, blanks), 0);
    EXPECT_EQ(StrRScanForCharInSet("ab cd\tef", 0, blanks), 0);
    // A start past the end begins at the last character instead of reading beyond it.
    EXPECT_EQ(StrRScanForCharInSet("ab ", 50, blanks), 3);
}

TEST(CharSetScan, SetsHoldHighBytes) {
    const TqvCharSet high = CharSetOf("\xE9\xFF");
    EXPECT_EQ(StrScanForCharInSet("caf\xE9", 1, high), 4);
    EXPECT_FALSE(high.test('e'));
}

TEST(LineEnd, StopsAtZeroLineFeedOrReturn) {
    EXPECT_EQ(StrLineEnd("abc\r\ndef"), 3u);
    EXPECT_EQ(StrLineEnd("abc\ndef"), 3u);
    EXPECT_EQ(StrLineEnd(std::string_view("ab\0c", 4)), 2u);
    EXPECT_EQ(StrLineEnd("abc"), 3u);
    EXPECT_EQ(StrLineEnd(""), 0u);
}

TEST(IntegerHelpers, ClampKeepsTheRange) {
    EXPECT_EQ(ClampInt(-5, 0, 256), 0);
    EXPECT_EQ(ClampInt(300, 0, 256), 256);
    EXPECT_EQ(ClampInt(8, 0, 256), 8);
}

TEST(IntegerHelpers, RoundingTakesHalvesAwayFromZero) {
    EXPECT_EQ(RoundOff(2.5), 3);
    EXPECT_EQ(RoundOff(-2.5), -3);
    EXPECT_EQ(RoundOff(3.5), 4);
    EXPECT_EQ(RoundOff(2.4999), 2);
    EXPECT_EQ(RoundOff(-0.4), 0);
    EXPECT_EQ(RoundOff(7.0), 7);
}

TEST(CaretOrder, LineFirstThenColumn) {
    TPoint a{10, 2}, b{1, 3}, c{4, 3};
    EXPECT_EQ(MinPoint(a, b), a);
    EXPECT_EQ(MinPoint(b, a), a);
    EXPECT_EQ(MaxPoint(a, b), b);
    EXPECT_EQ(MinPoint(c, b), b);
    EXPECT_EQ(MaxPoint(b, c), c);
    EXPECT_EQ(MaxPoint(c, b), c);
}

TEST(BackgroundFill, PaintsTheBackgroundColourNotTheBrush) {
    TRecordingCanvas canvas;
    canvas.BkColor = clYellow;
    canvas.Brush.Color = clRed;
    InternalFillRect(canvas, Rect(1, 2, 30, 40));
    ASSERT_EQ(canvas.Calls.size(), 1u);
    EXPECT_EQ(canvas.Calls[0].Kind, TDrawKind::Text);
    EXPECT_EQ(canvas.Calls[0].Rect, Rect(1, 2, 30, 40));
    EXPECT_EQ(canvas.Calls[0].BkColor, clYellow);
    EXPECT_TRUE(canvas.Calls[0].Text.empty());
}

} // namespace
} // namespace ondrex
