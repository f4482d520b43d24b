// Caret clamping, the caret's pixel place and shape, and the status and selection-change
// reports that caret moves make.

#include "EditorTestSupport.h"

#include <vector>

namespace ondrex::test {
namespace {

class EditorCaret : public EditorTest {
protected:
    EditorCaret() {
        SizeFor(40, 20);
        edit.SetText("first line\nsecond\n\nfourth line here");
        edit.OnStatusChange = TqvStatusChangeEvent::fromFunction(
            [](void* self, TObject*, TqvStatusChanges changes) {
                static_cast<EditorCaret*>(self)->reports.push_back(changes);
            },
            this);
        edit.OnSelectionChange = TNotifyEvent::fromFunction(
            [](void* self, TObject*) { ++static_cast<EditorCaret*>(self)->selectionChanges; },
            this);
    }
    std::vector<TqvStatusChanges> reports;
    int selectionChanges = 0;
};

TEST_F(EditorCaret, ColumnIsClampedToMaxColumnOrLineEnd) {
    edit.SetCaretPos({5000, 1});
    EXPECT_EQ(edit.CaretPos(), (TPoint{1025, 1})) << "past the end of line up to MaxColumn";
    edit.SetOptions(edit.Options() & ~qveoScrollPastEol);
    EXPECT_EQ(edit.CaretPos(), (TPoint{11, 1})) << "switching the option off re-clamps";
    edit.SetCaretPos({5000, 2});
    EXPECT_EQ(edit.CaretPos(), (TPoint{7, 2}));
    edit.SetCaretPos({-7, 3});
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 3}));
}

TEST_F(EditorCaret, LineIsClampedToTheText) {
    edit.SetCaretPos({3, 0});
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 1}));
    edit.SetCaretPos({3, 99});
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 4}));
    edit.SetCaretLine(-2147483647 - 1);
    EXPECT_EQ(edit.CaretLine(), 1);
    edit.SetOptions(edit.Options() & ~qveoScrollPastEol);
    edit.SetCaretPos({3, 0});
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 1})) << "a line above the text has no columns";
}

TEST_F(EditorCaret, MovesReportColumnAndLineOnceAndSelectionChange) {
    edit.SetCaretPos({4, 2});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], scCaretColumn | scCaretLine);
    EXPECT_EQ(selectionChanges, 1);
    edit.SetCaretLine(3);
    EXPECT_EQ(reports.back(), scCaretLine);
    reports.clear();
    edit.SetCaretPos({4, 3});
    EXPECT_TRUE(reports.empty()) << "the same position reports nothing";
    EXPECT_EQ(selectionChanges, 2);
}

TEST_F(EditorCaret, ReportsWaitForTheLastUnlockPaint) {
    edit.LockPaint();
    edit.LockPaint();
    edit.SetCaretPos({2, 2});
    edit.SetInsertMode(false);
    edit.UnlockPaint();
    EXPECT_TRUE(reports.empty());
    edit.UnlockPaint();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], scCaretColumn | scCaretLine | scInsertMode);
}

TEST_F(EditorCaret, ScrollsToKeepTheCaretVisible) {
    FillLines(100);
    edit.SetCaretPos({1, 50});
    EXPECT_EQ(edit.TopLine(), 31) << "the caret line becomes the last visible line";
    edit.SetCaretPos({1, 10});
    EXPECT_EQ(edit.TopLine(), 10);
    edit.SetCaretPos({41, 10});
    EXPECT_EQ(edit.LeftColumn(), 1) << "one column past the visible ones needs no scroll";
    edit.SetCaretPos({42, 10});
    EXPECT_EQ(edit.LeftColumn(), 3);
    edit.SetCaretPos({2, 10});
    EXPECT_EQ(edit.LeftColumn(), 2);
}

TEST_F(EditorCaret, IsPlacedOnePixelBelowItsCell) {
    host.Focus();
    edit.SetCaretPos({3, 2});
    const TCaretState& caret = host.Caret();
    EXPECT_TRUE(caret.Shown());
    EXPECT_EQ(caret.Width, 2);
    EXPECT_EQ(caret.Height, kLineHeight - 2);
    EXPECT_EQ(caret.X, 2 * kCharWidth + edit.TextOffset() - 1);
    EXPECT_EQ(caret.Y, kLineHeight + 1);
    EXPECT_EQ(edit.TextOffset(), 32);
    EXPECT_EQ(host.ImeCompositionPos(), (TPoint{caret.X, caret.Y}));
}

TEST_F(EditorCaret, ScrollingTheViewMovesTheCaretAndHidesItOutside) {
    FillLines(100);
    host.Focus();
    edit.SetCaretPos({3, 2});
    edit.SetTopLine(3);
    EXPECT_FALSE(host.Caret().Shown()) << "above the window";
    edit.SetTopLine(2);
    EXPECT_TRUE(host.Caret().Shown());
    EXPECT_EQ(host.Caret().Y, 1);
    edit.SetLeftColumn(4);
    EXPECT_FALSE(host.Caret().Shown()) << "left of the text area";
}

TEST_F(EditorCaret, ShapeFollowsTheInsertMode) {
    host.Focus();
    edit.SetInsertMode(false);
    EXPECT_EQ(host.Caret().Width, kCharWidth) << "overwrite: a block";
    EXPECT_EQ(host.Caret().Height, kLineHeight - 2);
    edit.SetOverwriteCaret(ctHalfBlock);
    EXPECT_EQ(host.Caret().Height, (kLineHeight - 2) / 2);
    EXPECT_EQ(host.Caret().Y, 1 + (kLineHeight - 2) / 2);
    edit.SetOverwriteCaret(ctHorizontalLine);
    EXPECT_EQ(host.Caret().Height, 2);
    host.Blur();
    EXPECT_FALSE(host.Caret().Created);
}

TEST_F(EditorCaret, NoCaretOptionNeverShowsIt) {
    edit.SetOptions(edit.Options() | qveoNoCaret);
    host.Focus();
    edit.SetCaretPos({2, 2});
    EXPECT_FALSE(host.Caret().Shown());
}

TEST_F(EditorCaret, PixelsMapToTheNearestColumnBoundary) {
    EXPECT_EQ(edit.PixelsToRowColumn({32, 0}), (TPoint{1, 1}));
    EXPECT_EQ(edit.PixelsToRowColumn({32 + 3, 0}), (TPoint{1, 1}));
    EXPECT_EQ(edit.PixelsToRowColumn({32 + 4, 0}), (TPoint{2, 1})) << "halves round up";
    EXPECT_EQ(edit.PixelsToRowColumn({32 + 8, kLineHeight * 2 + 5}), (TPoint{2, 3}));
    EXPECT_EQ(edit.RowColumnToPixels({2, 3}), (TPoint{40, 2 * kLineHeight}));

    edit.SetText("a\xC3\xA9z"); // a, e-acute (two bytes, one cell), z
    EXPECT_EQ(edit.PixelsToRowColumn({32 + 8 + 3, 0}).X, 2) << "left half: before it";
    EXPECT_EQ(edit.PixelsToRowColumn({32 + 8 + 4, 0}).X, 4) << "right half: after both bytes";
    EXPECT_EQ(edit.PixelsToRowColumn({32 + 2 * 8 + 1, 0}).X, 4);
}

} // namespace
} // namespace ondrex::test
