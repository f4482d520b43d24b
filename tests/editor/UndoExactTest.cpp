// Undo gives back every byte where positions are not what they seem: lines longer than the
// caret's column limit, column blocks over characters of several bytes and over tabs, and
// blanks that a trim takes before the edited text.

#include "EditorTestSupport.h"

#include "platform/Clipboard.h"

namespace ondrex::test {
namespace {

class UndoExact : public EditorTest {
protected:
    UndoExact() {
        SizeFor(40, 10);
        edit.SetMaxUndo(100);
        Clipboard().Clear();
    }
    void Run(TqvEditorCommand command, const std::string& character = {}) {
        edit.ExecuteCommand(command, character, nullptr);
    }
    void Select(TSelectionMode mode, TPoint from, TPoint to) {
        edit.SetSelectionMode(mode);
        edit.SetCaretPos(to);
        edit.SetSelectionStart(from);
        edit.SetSelectionEnd(to);
    }
    void PlaceCaret(TPoint pos) {
        edit.SetCaretPos(pos);
        edit.SetSelectionStart(pos);
    }
    // Undoes everything (the original comes back byte for byte), then redoes everything.
    void UndoAllRedoAll(const std::string& original) {
        const std::string edited = edit.Text();
        while (edit.CanUndo())
            Run(ecUndo);
        EXPECT_EQ(edit.Text(), original);
        while (edit.CanRedo())
            Run(ecRedo);
        EXPECT_EQ(edit.Text(), edited);
    }
};

std::string Digits(int count) {
    std::string line;
    for (int i = 0; i < count; ++i)
        line += char('0' + i % 10);
    return line;
}

TEST_F(UndoExact, EditsPastMaxColumnOnALongLine) {
    const std::string original = "head\r\n" + Digits(1500) + "\r\ntail";
    edit.SetText(original);
    ASSERT_EQ(edit.MaxColumn(), 1024);
    PlaceCaret({1200, 2});
    EXPECT_EQ(edit.CaretPos(), (TPoint{1200, 2})) << "the line's text is reachable";
    Run(ecChar, "X");
    PlaceCaret({1300, 2});
    Run(ecDeleteChar);
    Run(ecDeleteLastChar);
    Run(ecDeleteWord);
    PlaceCaret({1100, 2});
    Run(ecLineBreak);
    Select(smNormal, {1, 1}, {3, 2});
    Run(ecCut);
    Select(smColumn, {1030, 1}, {1040, 2});
    Run(ecCut);
    PlaceCaret({1050, 1});
    Run(ecPaste);
    PlaceCaret({1, 1});
    Run(ecLineEnd);
    EXPECT_GT(edit.CaretColumn(), 1024) << "the line's end + 1";
    Run(ecChar, "E");
    UndoAllRedoAll(original);
}

TEST_F(UndoExact, CaretInEmptySpaceStillStopsAtMaxColumn) {
    edit.SetText("short\r\n" + Digits(1500));
    PlaceCaret({2000, 1});
    EXPECT_EQ(edit.CaretColumn(), 1025);
    PlaceCaret({2000, 2});
    EXPECT_EQ(edit.CaretColumn(), 1501) << "a longer line: up to its end + 1";
    Select(smColumn, {1, 1}, {3000, 1});
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{1024, 1}));
    Select(smColumn, {1, 2}, {3000, 2});
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{1501, 2}));
}

// é is two bytes, 日 three, 𝄞 four: a column edge falls inside them on some lines.
TEST_F(UndoExact, ColumnCutAndPasteOverMultiByteCharacters) {
    const std::string original = "a\xC3\xA9z end\r\n"
                                 "\xE6\x97\xA5\xE6\x9C\xAC q\r\n"
                                 "\xF0\x9D\x84\x9E x\r\n"
                                 "abcdefgh";
    edit.SetText(original);
    Select(smColumn, {2, 1}, {5, 4});
    Run(ecCut);
    PlaceCaret({3, 1});
    Run(ecPaste);
    Select(smColumn, {4, 2}, {2, 3});
    Run(ecDeleteChar);
    Select(smColumn, {1, 1}, {3, 3});
    Run(ecChar, "Z"); // typed over the block
    UndoAllRedoAll(original);
}

TEST_F(UndoExact, ColumnDeleteOverTabsAndTrimmedBlanks) {
    // Deleting the end of a line trims the tab before the block; undo puts the tab back.
    const std::string original = "ab\tcd\r\n\t\tx\r\n12 \t34";
    edit.SetText(original);
    Select(smColumn, {4, 1}, {7, 3});
    Run(ecDeleteChar);
    EXPECT_EQ(edit.Text(), "ab\r\n\t\tx\r\n12");
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), original);
    EXPECT_EQ(edit.SelectionStart(), (TPoint{4, 1})) << "the block is selected again";
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{7, 3}));
    Run(ecRedo);
    EXPECT_EQ(edit.Text(), "ab\r\n\t\tx\r\n12");
    Run(ecUndo);
    Select(smColumn, {2, 1}, {3, 3});
    Run(ecCut);
    PlaceCaret({2, 2});
    Run(ecPaste);
    UndoAllRedoAll(original);
}

TEST_F(UndoExact, OverwritingAfterTabsGivesTheTabsBack) {
    // Overwriting the last character with a blank trims the tabs before it as well.
    const std::string original = "(\t\t\xE6\x97\xA5";
    edit.SetText(original);
    edit.SetInsertMode(false);
    PlaceCaret({4, 1});
    std::string ime = "  ";
    edit.ExecuteCommand(ecImeStr, {}, &ime);
    EXPECT_EQ(edit.Text(), "(");
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), original);
    Run(ecRedo);
    EXPECT_EQ(edit.Text(), "(");
    Run(ecUndo);
    PlaceCaret({4, 1});
    Run(ecChar, "a");
    EXPECT_EQ(edit.Text(), "(\t\ta");
    UndoAllRedoAll(original);
}

TEST_F(UndoExact, BlockIndentByTabWidthZeroChangesAndRecordsNothing) {
    const std::string original = "abc\r\ndef";
    edit.SetText(original);
    edit.SetTabWidth(0);
    Select(smColumn, {1, 1}, {3, 1});
    Run(ecBlockIndent);
    EXPECT_EQ(edit.Text(), original);
    EXPECT_FALSE(edit.CanUndo());
    edit.SetTabWidth(8);
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), original) << "undo took TabWidth columns that were never there";
}

} // namespace
} // namespace ondrex::test
