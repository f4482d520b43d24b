// The selection: its ends and modes, reading it, ReplaceSelection in the three modes with
// the marks following the lines, hit tests, select all and word selection.

#include "EditorTestSupport.h"

#include "highlighters/zkVBSSyn.h"

namespace ondrex::test {
namespace {

class Selection : public EditorTest {
protected:
    Selection() { SizeFor(40, 10); }
    void Select(TSelectionMode mode, TPoint from, TPoint to) {
        edit.SetSelectionMode(mode);
        edit.SetSelectionStart(from);
        edit.SetSelectionEnd(to);
    }
    int MarkLine(int number) { return edit.Bookmark(number)->Line(); }
};

TEST_F(Selection, ColumnSelectionOfZeroWidthIsEmptyWhateverItsHeight) {
    edit.SetText("abcdef\nabcdef\nabcdef");
    Select(smColumn, {3, 1}, {3, 3});
    EXPECT_FALSE(edit.HasSelection());
    Select(smNormal, {3, 1}, {3, 3});
    EXPECT_TRUE(edit.HasSelection());
    EXPECT_EQ(edit.SelectedText(), "cdef\r\nabcdef\r\nab");
    Select(smNormal, {4, 2}, {2, 1}); // ends in either order
    EXPECT_EQ(edit.BlockBegin(), (TPoint{2, 1}));
    EXPECT_EQ(edit.SelectedText(), "bcdef\r\nabc");
}

TEST_F(Selection, EndsAreClampedAndNeverInsideACharacter) {
    edit.SetText("ab\n\xC3\xA9x\xE2\x82\xAC");
    Select(smNormal, {9, 1}, {0, 9});
    EXPECT_EQ(edit.SelectionStart(), (TPoint{3, 1})) << "smNormal: at most the line end + 1";
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{1, 2}));
    edit.SetSelectionEnd({2, 2});
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{1, 2})) << "inside the two-byte character";
    edit.SetSelectionEnd({6, 2});
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{4, 2})) << "inside the three-byte character";
    Select(smColumn, {1, 1}, {2000, 1});
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{1024, 1})) << "other modes: up to MaxColumn";
    edit.SetOptions(edit.Options() | qveoNoSelection);
    edit.SetSelectionEnd({2, 2});
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{1024, 1}));
}

TEST_F(Selection, ReadsColumnAndLineBlocks) {
    edit.SetText("ab\n0123456789");
    Select(smColumn, {4, 1}, {7, 2});
    EXPECT_EQ(edit.SelectedText(), "   \r\n345") << "short lines are padded to the width";
    edit.SetText("l1\nl2\nl3\nl4\nl5");
    Select(smLine, {2, 4}, {1, 5});
    EXPECT_EQ(edit.SelectedText(), "l4\r\nl5") << "the last line of the text gets no break";
    Select(smLine, {1, 1}, {1, 2});
    EXPECT_EQ(edit.SelectedText(), "l1\r\nl2\r\n");
    // Both edges of a column block move off the inside of a character, per line.
    edit.SetText("a\xC3\xA9z\nabcd");
    Select(smColumn, {3, 2}, {4, 1});
    EXPECT_EQ(edit.SelectedText(), "\r\nc") << "column 3 is inside the first line's character";
}

TEST_F(Selection, DeletingANormalSelectionJoinsTheLinesAndMovesMarks) {
    FillLines(7, "line");
    edit.SetBookmark(1, 1, 3);
    edit.SetBookmark(2, 1, 6);
    Select(smNormal, {3, 2}, {2, 4});
    edit.SetSelectedText("");
    EXPECT_EQ(edit.Lines().Get(1), "liine4");
    EXPECT_EQ(edit.LineCount(), 5);
    EXPECT_EQ(MarkLine(1), 2) << "inside the removed lines";
    EXPECT_EQ(MarkLine(2), 4) << "below them";
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 2}));
    EXPECT_FALSE(edit.HasSelection());
}

TEST_F(Selection, ReplacesInEachMode) {
    edit.SetText("abc\ndef\nghi");
    Select(smNormal, {2, 1}, {2, 2});
    edit.ReplaceSelection(smNormal, "X\r\nY\nZ");
    EXPECT_EQ(edit.Text(), "aX\r\nY\r\nZef\r\nghi");
    EXPECT_EQ(edit.CaretPos(), (TPoint{2, 3}));

    edit.SetText("abc\ndef");
    Select(smColumn, {2, 1}, {3, 2});
    edit.ReplaceSelection(smColumn, "12\r\n34\r\n56");
    EXPECT_EQ(edit.Text(), "ac\r\nd12f\r\n 34\r\n 56")
        << "inserted from the moving end's line; lines below the text are added";
    EXPECT_EQ(edit.CaretPos(), (TPoint{4, 4}));

    edit.SetText("abc\ndef");
    edit.SetBookmark(0, 1, 2);
    edit.SetCaretPos({3, 2});
    edit.SetSelectionStart({3, 2});
    edit.ReplaceSelection(smLine, "n1\r\nn2\r\n");
    EXPECT_EQ(edit.Text(), "abc\r\nn1\r\nn2\r\ndef");
    EXPECT_EQ(MarkLine(0), 4) << "marks at and below the insertion line move down";
    Select(smLine, {1, 2}, {1, 3});
    edit.ReplaceSelection(smNormal, "");
    EXPECT_EQ(edit.Text(), "abc\r\ndef");
    EXPECT_EQ(MarkLine(0), 2);
}

TEST_F(Selection, LineDeleteOfTheLastLinesLeavesOneEmptyLine) {
    edit.SetText("a\nb\nc");
    Select(smLine, {1, 2}, {1, 3});
    edit.SetSelectedText("");
    EXPECT_EQ(edit.Text(), "a\r\n");
    Select(smLine, {1, 1}, {1, 2});
    edit.SetSelectedText("");
    EXPECT_EQ(edit.LineCount(), 1);
    EXPECT_EQ(edit.Text(), "");
}

TEST_F(Selection, ColumnInsertNeverSplitsACharacter) {
    edit.SetText("\xC3\xA9\xC3\xA9\nab");
    edit.SetCaretPos({2, 1}); // inside the first character
    edit.SetSelectionStart({1, 1});
    edit.SetSelectionMode(smColumn);
    edit.SetCaretPos({2, 1});
    edit.ReplaceSelection(smColumn, "|\r\n|");
    EXPECT_EQ(edit.Lines().Get(0), "\xC3\xA9|\xC3\xA9");
    EXPECT_EQ(edit.Lines().Get(1), "ab|") << "the caret left the character: column 3";
}

TEST_F(Selection, PointInSelectionPerMode) {
    edit.SetText("0123456789\n0123456789\n0123456789");
    Select(smNormal, {4, 1}, {3, 3});
    EXPECT_FALSE(edit.IsPointInSelection({3, 1}));
    EXPECT_TRUE(edit.IsPointInSelection({4, 1}));
    EXPECT_TRUE(edit.IsPointInSelection({99, 2}));
    EXPECT_TRUE(edit.IsPointInSelection({2, 3}));
    EXPECT_FALSE(edit.IsPointInSelection({3, 3}));
    edit.SetSelectionMode(smColumn);
    EXPECT_TRUE(edit.IsPointInSelection({3, 2}));
    EXPECT_FALSE(edit.IsPointInSelection({4, 2})) << "the right edge is outside";
    edit.SetSelectionMode(smLine);
    EXPECT_TRUE(edit.IsPointInSelection({99, 3}));
    EXPECT_FALSE(edit.IsPointInSelection({1, 4}));
    edit.SetSelectionStart({1, 1});
    EXPECT_FALSE(edit.IsPointInSelection({1, 1}));
}

TEST_F(Selection, SelectAllEndsAtTheLastLinesEnd) {
    edit.SetText("one\ntwo\nthree");
    edit.SelectAll();
    EXPECT_EQ(edit.SelectionStart(), (TPoint{1, 1}));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{6, 3}));
    EXPECT_EQ(edit.CaretPos(), (TPoint{6, 3}));
    EXPECT_EQ(edit.SelectedText(), "one\r\ntwo\r\nthree");
}

TEST_F(Selection, WordByHighlighterWordCharsOrByCharacterClass) {
    edit.SetText("foo_bar(x)+y\n\t\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E ok");
    edit.SelectWordAt({4, 1});
    EXPECT_EQ(edit.SelectedText(), "foo_bar") << "no highlighter: character classes";
    edit.SelectWordAt({9, 2});
    EXPECT_EQ(edit.SelectedText(), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
    edit.SelectWordAt({1, 2});
    EXPECT_EQ(edit.SelectedText(), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E") << "a tab: unchanged";
    edit.SelectWordAt({10, 1});
    EXPECT_EQ(edit.SelectedText(), ")+") << "one run of symbols";

    TzkVbsSyn vbs;
    edit.SetHighLighter(&vbs);
    edit.SelectWordAt({4, 1});
    EXPECT_EQ(edit.SelectedText(), "foo_bar");
    EXPECT_EQ(edit.CaretPos(), (TPoint{8, 1}));
    edit.SelectWordAt({12, 1});
    EXPECT_EQ(edit.SelectedText(), "y");
    edit.SelectWordAt({1, 1});
    EXPECT_EQ(edit.SelectionStart(), (TPoint{1, 1}));
    // On a multi-byte character the classes decide, with a highlighter too.
    edit.SelectWordAt({5, 2});
    EXPECT_EQ(edit.SelectedText(), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
    edit.SelectWordAt({50, 2});
    EXPECT_FALSE(edit.HasSelection());
    EXPECT_EQ(edit.CaretPos(), (TPoint{14, 2})) << "beyond the line: caret to its end";
    edit.SetHighLighter(nullptr);
}

TEST_F(Selection, ChangesAreReportedAndRepainted) {
    edit.SetText("abc\ndef\nghi\njkl");
    TqvStatusChanges seen = 0;
    edit.OnStatusChange = TqvStatusChangeEvent::fromFunction(
        [](void* out, TObject*, TqvStatusChanges c) { *static_cast<TqvStatusChanges*>(out) |= c; },
        &seen);
    edit.SetSelectionStart({1, 1});
    EXPECT_EQ(seen, 0) << "an empty selection that did not move";
    edit.SetSelectionEnd({2, 3});
    EXPECT_EQ(seen, scSelection);
    host.ClearRecords();
    edit.SetSelectionStart({1, 4});
    ASSERT_FALSE(host.Invalidations.empty());
    EXPECT_EQ(host.Invalidations.back().Top, 0);
    EXPECT_EQ(host.Invalidations.back().Bottom, 4 * kLineHeight) << "old and new lines";

    // The line list changed under the editor: the collapse is reported and repainted too.
    edit.SetSelectionEnd({3, 2});
    seen = 0;
    host.ClearRecords();
    edit.Lines().Put(3, "xyz");
    EXPECT_FALSE(edit.HasSelection());
    EXPECT_EQ(seen & scSelection, scSelection);
    ASSERT_FALSE(host.Invalidations.empty());
    EXPECT_LE(host.Invalidations.back().Top, kLineHeight) << "the old selection's rows";
}

} // namespace
} // namespace ondrex::test
