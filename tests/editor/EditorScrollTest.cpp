// TopLine and LeftColumn, the scroll bars (with the scaling beyond 32767 lines), scroll and
// wheel messages, and what each of them repaints.

#include "EditorTestSupport.h"

namespace ondrex::test {
namespace {

class EditorScroll : public EditorTest {
protected:
    EditorScroll() { SizeFor(40, 20); }
    TScrollInfo Vertical() const { return host.ScrollBar(TScrollBarKind::sbVertical).Info; }
    TScrollInfo Horizontal() const { return host.ScrollBar(TScrollBarKind::sbHorizontal).Info; }
};

TEST_F(EditorScroll, TopLineIsClampedToTheText) {
    FillLines(100);
    edit.SetTopLine(0);
    EXPECT_EQ(edit.TopLine(), 1);
    edit.SetTopLine(105);
    EXPECT_EQ(edit.TopLine(), 100);
    edit.SetLeftColumn(-3);
    EXPECT_EQ(edit.LeftColumn(), 1);
    edit.SetLeftColumn(5000);
    EXPECT_EQ(edit.LeftColumn(), 1024 - 40 + 1) << "MaxColumn - VisibleColumns + 1";
}

TEST_F(EditorScroll, ExtremeValuesAreClampedWithoutOverflow) {
    FillLines(100);
    constexpr int kMin = -2147483647 - 1, kMax = 2147483647;
    edit.SetLeftColumn(kMin);
    EXPECT_EQ(edit.LeftColumn(), 1);
    edit.SetTopLine(kMax);
    EXPECT_EQ(edit.TopLine(), 100);
    edit.SetTopLine(kMin);
    EXPECT_EQ(edit.TopLine(), 1);
    edit.SetCaretPos({kMax, kMax});
    EXPECT_EQ(edit.CaretPos(), (TPoint{1025, 100}));
    edit.SetCaretPos({kMin, kMin});
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 1}));
    host.SendMouseWheel(0, kMax, 0, 0);
    host.SendMouseWheel(0, kMax, 0, 0);
    EXPECT_EQ(edit.TopLine(), 1);
    host.SendMouseWheel(0, kMin, 0, 0);
    EXPECT_EQ(edit.TopLine(), 100);
    edit.InvalidateLines(kMin, kMax);
    edit.InvalidateGutterLines(kMax, kMin);
}

TEST_F(EditorScroll, VerticalBarLetsTheLastLineReachTheTop) {
    FillLines(100);
    EXPECT_EQ(Vertical(), (TScrollInfo{1, 119, 20, 1}));
    EXPECT_EQ(Horizontal(), (TScrollInfo{1, 1024, 40, 1}));
    edit.SetTopLine(50);
    EXPECT_EQ(Vertical().Pos, 50);
}

TEST_F(EditorScroll, LongTextsScaleTheBarTo32767) {
    FillLines(40000, "");
    edit.SetTopLine(20000);
    const long long n = 40000 + 20 - 1;
    EXPECT_EQ(Vertical(), (TScrollInfo{0, 32767, int(32767LL * 20 / n), int(32767LL * 20000 / n)}));

    host.SendScroll(TScrollBarKind::sbVertical, SB_THUMBPOSITION, 16384);
    EXPECT_EQ(edit.TopLine(), int(16384LL * n / 32767));
}

TEST_F(EditorScroll, ThumbIsReadUnderTheRuleTheBarWasSetWith) {
    // 32760 lines are below 32768, yet with 20 visible lines the bar is already scaled.
    FillLines(32760, "");
    ASSERT_EQ(Vertical().Max, 32767);
    const long long pos = 32767 - Vertical().Page;
    host.SendScroll(TScrollBarKind::sbVertical, SB_THUMBTRACK, int(pos));
    EXPECT_EQ(edit.TopLine(), int(pos * (32760 + 20 - 1) / 32767));
}

TEST_F(EditorScroll, TheBarIsScaledFromTheFirstRangePast32767) {
    // Lines + visible lines - 1 = 32767: the last unscaled range, thumb read as a line.
    FillLines(32767 - 20 + 1, "");
    EXPECT_EQ(Vertical(), (TScrollInfo{1, 32767, 20, 1}));
    host.SendScroll(TScrollBarKind::sbVertical, SB_THUMBTRACK, 30000);
    EXPECT_EQ(edit.TopLine(), 30000);
    // One line more: scaled.
    FillLines(32767 - 20 + 2, "");
    edit.SetTopLine(30000);
    const long long n = 32767 + 1;
    EXPECT_EQ(Vertical(), (TScrollInfo{0, 32767, int(32767LL * 20 / n), int(32767LL * 30000 / n)}));
    host.SendScroll(TScrollBarKind::sbVertical, SB_THUMBTRACK, 30000);
    EXPECT_EQ(edit.TopLine(), int(30000LL * n / 32767));
}

// A line wider than MaxColumn widens the horizontal range so all of it can be shown; tabs
// count by their cells. The range narrows again only when the text is loaded anew.
TEST_F(EditorScroll, AWideLineWidensTheHorizontalRange) {
    edit.SetText("short\n" + std::string(3000, 'x') + "\nend");
    EXPECT_GE(edit.ScrollColumns(), 3000);
    EXPECT_EQ(Horizontal().Max, edit.ScrollColumns());
    edit.SetCaretPos({1, 2});
    edit.ExecuteCommand(ecLineEnd, {}, nullptr);
    EXPECT_EQ(edit.CaretPos(), (TPoint{3001, 2}));
    EXPECT_GT(edit.LeftColumn() + edit.VisibleColumns(), 3000) << "the line's end is in view";
    host.SendScroll(TScrollBarKind::sbHorizontal, SB_RIGHT, 0);
    EXPECT_EQ(edit.LeftColumn(), edit.ScrollColumns() - edit.VisibleColumns() + 1);

    edit.SetTabWidth(2);
    edit.SetText(std::string(200, '\t'));
    EXPECT_EQ(edit.ScrollColumns(), 1024) << "a new text is measured anew";
    edit.SetTabWidth(8);
    EXPECT_GE(edit.ScrollColumns(), 1600) << "200 tabs of 8 cells";
    edit.SetCaretPos({201, 1});
    edit.ExecuteCommand(ecChar, "x", nullptr);
    EXPECT_GE(edit.ScrollColumns(), 1601) << "and the typed character";
    edit.SetTabWidth(2);
    EXPECT_EQ(edit.ScrollColumns(), 1024);

    edit.SetText("a");
    edit.Lines().Add(std::string(5000, 'y'));
    EXPECT_GE(edit.ScrollColumns(), 5000) << "an added line widens it too";
    edit.Lines().Clear();
    EXPECT_EQ(edit.ScrollColumns(), 1024);
}

TEST_F(EditorScroll, ScrollMessagesMoveTheView) {
    FillLines(100);
    host.SendScroll(TScrollBarKind::sbVertical, SB_LINEDOWN, 0);
    EXPECT_EQ(edit.TopLine(), 2);
    host.SendScroll(TScrollBarKind::sbVertical, SB_PAGEDOWN, 0);
    EXPECT_EQ(edit.TopLine(), 22);
    host.SendScroll(TScrollBarKind::sbVertical, SB_BOTTOM, 0);
    EXPECT_EQ(edit.TopLine(), 100);
    host.SendScroll(TScrollBarKind::sbVertical, SB_TOP, 0);
    EXPECT_EQ(edit.TopLine(), 1);
    EXPECT_EQ(host.UpdateCalls, 4) << "every vertical message repaints at once";

    host.SendScroll(TScrollBarKind::sbHorizontal, SB_PAGERIGHT, 0);
    EXPECT_EQ(edit.LeftColumn(), 41);
    host.SendScroll(TScrollBarKind::sbHorizontal, SB_LINELEFT, 0);
    EXPECT_EQ(edit.LeftColumn(), 40);
    host.SendScroll(TScrollBarKind::sbHorizontal, SB_THUMBTRACK, 7);
    EXPECT_EQ(edit.LeftColumn(), 7);
    host.SendScroll(TScrollBarKind::sbHorizontal, SB_LEFT, 0);
    EXPECT_EQ(edit.LeftColumn(), 1);
}

// Columns count bytes, LeftColumn counts cells: typing and the scroll commands compare the
// caret's cell with it. Д is two bytes and one cell, 日 three bytes and two cells.
TEST_F(EditorScroll, TypingAndScrollCommandsCompareCellsWithLeftColumn) {
    SizeFor(20, 5);
    std::string cyrillic;
    for (int i = 0; i < 15; ++i)
        cyrillic += "\xD0\x94";
    edit.SetText(cyrillic);
    edit.ExecuteCommand(ecLineEnd, {}, nullptr);
    edit.ExecuteCommand(ecChar, "x", nullptr);
    EXPECT_EQ(edit.LeftColumn(), 1) << "cell 17 of 20 visible";
    edit.ExecuteCommand(ecChar, "\xD0\x94", nullptr);
    for (int i = 0; i < 3; ++i)
        edit.ExecuteCommand(ecChar, "y", nullptr);
    EXPECT_EQ(edit.LeftColumn(), 20) << "the caret's cell reached the edge: a jump of 19";

    std::string wide;
    for (int i = 0; i < 30; ++i)
        wide += "\xE6\x97\xA5";
    edit.SetText(wide);
    SizeFor(10, 5);
    edit.SetCaretPos({22, 1}); // after the 7th, cell 15
    edit.SetLeftColumn(6);
    edit.ExecuteCommand(ecScrollLeft, {}, nullptr);
    EXPECT_EQ(edit.CaretColumn(), 22) << "cell 15 is still in view";
    edit.ExecuteCommand(ecScrollLeft, {}, nullptr);
    EXPECT_EQ(edit.CaretColumn(), 19) << "back before the character the edge cuts";
    edit.SetLeftColumn(1);
    edit.SetCaretPos({4, 1});
    for (int i = 0; i < 3; ++i)
        edit.ExecuteCommand(ecScrollRight, {}, nullptr);
    EXPECT_EQ(edit.LeftColumn(), 4);
    EXPECT_EQ(edit.CaretColumn(), 7) << "on the first whole character in view";
}

TEST_F(EditorScroll, SmallStepsScrollTheWindowLargeOnesRepaintIt) {
    FillLines(100);
    host.ClearRecords();
    edit.SetTopLine(4);
    ASSERT_EQ(host.Scrolls.size(), 1u);
    EXPECT_EQ(host.Scrolls[0].Dy, -3 * kLineHeight);
    host.ClearRecords();
    edit.SetTopLine(30);
    EXPECT_TRUE(host.Scrolls.empty());
    ASSERT_FALSE(host.Invalidations.empty());
    EXPECT_EQ(host.Invalidations.back(), edit.ClientRect());
}

TEST_F(EditorScroll, WheelKeepsTheRemainderOfANotch) {
    FillLines(100);
    edit.SetTopLine(50);
    host.SendMouseWheel(0, 60, 0, 0);
    EXPECT_EQ(edit.TopLine(), 50);
    host.SendMouseWheel(0, 60, 0, 0);
    EXPECT_EQ(edit.TopLine(), 47) << "three lines per notch";
    host.SendMouseWheel(0, -250, 0, 0);
    EXPECT_EQ(edit.TopLine(), 53);
    host.SendMouseWheel(0, -110, 0, 0);
    EXPECT_EQ(edit.TopLine(), 56) << "-10 left over, then -120 more";
}

TEST_F(EditorScroll, WheelWithCtrlTurnsPages) {
    FillLines(100);
    host.SendMouseWheel(ssCtrl, -120, 0, 0);
    EXPECT_EQ(edit.TopLine(), 21);
    edit.SetOptions(edit.Options() | qveoHalfPageScroll);
    host.SendMouseWheel(ssCtrl, -120, 0, 0);
    EXPECT_EQ(edit.TopLine(), 31);
    host.SetWheelScrollLines(-1);
    host.SendMouseWheel(0, 120, 0, 0);
    EXPECT_EQ(edit.TopLine(), 11) << "the page setting scrolls a page";
}

TEST_F(EditorScroll, ResizeRecomputesTheVisibleArea) {
    FillLines(100);
    edit.SetLeftColumn(1000);
    SizeFor(20, 10);
    EXPECT_EQ(edit.VisibleColumns(), 20);
    EXPECT_EQ(edit.VisibleLines(), 10);
    EXPECT_EQ(edit.LeftColumn(), 985);
    EXPECT_EQ(Vertical(), (TScrollInfo{1, 109, 10, 1}));
    SizeFor(60, 10);
    EXPECT_EQ(edit.LeftColumn(), 1024 - 60 + 1) << "re-clamped to the wider window";
}

TEST_F(EditorScroll, InvalidateLinesClipsToTheVisibleRows) {
    FillLines(100);
    edit.SetTopLine(10);
    host.ClearRecords();
    edit.InvalidateLines(12, 11);
    ASSERT_EQ(host.Invalidations.size(), 1u);
    EXPECT_EQ(host.Invalidations[0], (TRect{30, kLineHeight, 352, 3 * kLineHeight}));
    host.ClearRecords();
    edit.InvalidateLines(1, 9);
    EXPECT_TRUE(host.Invalidations.empty());
    edit.InvalidateGutterLines(-1, -1);
    ASSERT_EQ(host.Invalidations.size(), 1u);
    EXPECT_EQ(host.Invalidations[0], (TRect{0, 0, 30, 20 * kLineHeight}));
}

TEST_F(EditorScroll, NoScrollBarsWithSsNone) {
    edit.SetScrollBars(ssNone);
    FillLines(100);
    EXPECT_FALSE(host.ScrollBar(TScrollBarKind::sbVertical).Visible());
}

TEST_F(EditorScroll, GutterWithLineNumbersWidensWithTheLineCount) {
    edit.Gutter().SetShowLineNumbers(true);
    edit.Gutter().SetAutoSize(true);
    EXPECT_EQ(edit.GutterWidth(), 16 + 2 + 4 * kCharWidth + 2);
    EXPECT_EQ(edit.TextOffset(), edit.GutterWidth() + 2);
    FillLines(12345, "");
    EXPECT_EQ(edit.GutterWidth(), 16 + 2 + 5 * kCharWidth + 2);
    EXPECT_EQ(edit.VisibleColumns(), (352 - edit.GutterWidth() - 2) / kCharWidth);
}

} // namespace
} // namespace ondrex::test
