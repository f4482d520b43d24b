#include "editor/TqvGutter.h"

#include "platform/SystemColors.h"

#include <gtest/gtest.h>

namespace ondrex {
namespace {

class Gutter : public ::testing::Test {
protected:
    Gutter() { gutter.OnChange = TNotifyEvent::bind<&Gutter::Changed>(this); }
    void Changed(TObject* sender) {
        EXPECT_EQ(sender, &gutter);
        ++changes;
    }
    void ShowAutoSizedNumbers() {
        gutter.SetShowLineNumbers(true);
        gutter.SetAutoSize(true);
        changes = 0;
    }

    TqvGutter gutter;
    int changes = 0;
};

TEST_F(Gutter, SettersClampAndAnnounceOnlyRealChanges) {
    gutter.SetDigitCount(1);
    EXPECT_EQ(gutter.DigitCount(), 2);
    gutter.SetDigitCount(20);
    EXPECT_EQ(gutter.DigitCount(), 12);
    EXPECT_EQ(gutter.AutoSizedDigitCount(), 12);
    EXPECT_EQ(changes, 2);
    gutter.SetDigitCount(13); // still 12
    EXPECT_EQ(changes, 2);

    gutter.SetLeftOffset(-5);
    gutter.SetRightOffset(-1);
    gutter.SetWidth(-30);
    EXPECT_EQ(gutter.LeftOffset(), 0);
    EXPECT_EQ(gutter.RightOffset(), 0);
    EXPECT_EQ(gutter.Width(), 0);
    EXPECT_EQ(changes, 5);
    gutter.SetWidth(-1);
    gutter.SetVisible(true);
    gutter.SetColor(clBtnFace);
    EXPECT_EQ(changes, 5);
    gutter.SetCursor(crIBeam);
    EXPECT_EQ(gutter.Cursor(), crIBeam);
    EXPECT_EQ(changes, 5);
}

TEST_F(Gutter, DigitCountGrowsWithTheLineCount) {
    ShowAutoSizedNumbers();
    gutter.AutoSizeDigitCount(99);
    EXPECT_EQ(gutter.AutoSizedDigitCount(), 4);
    EXPECT_EQ(changes, 0);
    gutter.AutoSizeDigitCount(12345);
    EXPECT_EQ(gutter.AutoSizedDigitCount(), 5);
    EXPECT_EQ(changes, 1);
    gutter.AutoSizeDigitCount(12345);
    EXPECT_EQ(changes, 1);

    gutter.SetZeroStart(true);
    gutter.AutoSizeDigitCount(100000); // highest number shown is 99999
    EXPECT_EQ(gutter.AutoSizedDigitCount(), 5);
    gutter.AutoSizeDigitCount(100001);
    EXPECT_EQ(gutter.AutoSizedDigitCount(), 6);
}

TEST_F(Gutter, DigitCountFallsBackSilentlyWhenNotAutoSized) {
    ShowAutoSizedNumbers();
    gutter.AutoSizeDigitCount(1234567);
    ASSERT_EQ(gutter.AutoSizedDigitCount(), 7);
    gutter.SetAutoSize(false);
    changes = 0;
    gutter.AutoSizeDigitCount(1234567);
    EXPECT_EQ(gutter.AutoSizedDigitCount(), 4);
    EXPECT_EQ(changes, 0);
}

TEST_F(Gutter, LineNumbersAreRightAligned) {
    EXPECT_EQ(gutter.FormatLineNumber(7), "   7");
    EXPECT_EQ(gutter.FormatLineNumber(1234), "1234");
    gutter.SetLeadingZeros(true);
    EXPECT_EQ(gutter.FormatLineNumber(7), "0007");
    gutter.SetZeroStart(true);
    EXPECT_EQ(gutter.FormatLineNumber(1), "0000");
    gutter.SetLeadingZeros(false);
    EXPECT_EQ(gutter.FormatLineNumber(1), "   0");
    // A number wider than the field is never cut.
    EXPECT_EQ(gutter.FormatLineNumber(123457), "123456");
}

TEST_F(Gutter, RealWidth) {
    EXPECT_EQ(gutter.RealGutterWidth(8), 30);
    gutter.SetShowLineNumbers(true);
    EXPECT_EQ(gutter.RealGutterWidth(8), 16 + 2 + 32 + 2);
    gutter.SetVisible(false);
    EXPECT_EQ(gutter.RealGutterWidth(8), 0);
}

TEST_F(Gutter, AssignCopiesAllButCursorAndFontStyleThenAnnouncesOnce) {
    TqvGutter source;
    source.SetAutoSize(true);
    source.SetShowLineNumbers(true);
    source.SetColor(clRed);
    source.SetDigitCount(3);
    source.AutoSizeDigitCount(123456);
    source.SetLeadingZeros(true);
    source.SetLeftOffset(1);
    source.SetRightOffset(3);
    source.SetVisible(false);
    source.SetWidth(44);
    source.SetZeroStart(true);
    source.SetCursor(crArrow);
    source.SetUseFontStyle(true);

    gutter.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(gutter.AutoSize() && gutter.ShowLineNumbers() && gutter.LeadingZeros() &&
                gutter.ZeroStart());
    EXPECT_FALSE(gutter.Visible());
    EXPECT_EQ(gutter.Color(), clRed);
    EXPECT_EQ(gutter.DigitCount(), 3);
    EXPECT_EQ(gutter.AutoSizedDigitCount(), 6);
    EXPECT_EQ(gutter.LeftOffset(), 1);
    EXPECT_EQ(gutter.RightOffset(), 3);
    EXPECT_EQ(gutter.Width(), 44);
    EXPECT_EQ(gutter.Cursor(), crDefault);
    EXPECT_FALSE(gutter.UseFontStyle());
}

} // namespace
} // namespace ondrex
