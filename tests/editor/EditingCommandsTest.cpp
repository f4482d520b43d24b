// The editing commands through ExecuteCommand: typing, deleting, line breaks with auto-indent,
// tabs, block indent, brackets, word moves, scrolling, modes and the read-only gate.

#include "EditorTestSupport.h"

#include "platform/Clipboard.h"

namespace ondrex::test {
namespace {

class EditingCommands : public EditorTest {
protected:
    EditingCommands() { SizeFor(40, 10); }
    void Run(TqvEditorCommand command, const std::string& character = {}) {
        edit.ExecuteCommand(command, character, nullptr);
    }
    void Type(const std::string& text) {
        for (char c : text)
            Run(ecChar, std::string(1, c));
    }
    std::string Line(int line) { return std::string(edit.Lines().Get(line - 1)); }
};

TEST_F(EditingCommands, TypingInsertsOverwritesAndPadsPastTheEnd) {
    edit.SetText("abc");
    edit.SetCaretPos({10, 1});
    Run(ecChar, "a");
    EXPECT_EQ(Line(1), "abc      a");
    EXPECT_EQ(edit.CaretPos(), (TPoint{11, 1}));
    edit.SetText("abc");
    Run(ecOverwriteMode);
    edit.SetCaretPos({2, 1});
    Run(ecChar, "X");
    EXPECT_EQ(Line(1), "aXc");
    Run(ecChar, "\x01");
    Run(ecChar, "\x7f");
    EXPECT_EQ(Line(1), "aXc") << "control characters are not typed";
    Run(ecToggleMode);
    EXPECT_TRUE(edit.InsertMode());
}

TEST_F(EditingCommands, OverwriteNeverLeavesHalfACharacter) {
    edit.SetText("a\xE2\x82\xAC"
                 "b");
    edit.SetInsertMode(false);
    edit.SetCaretPos({2, 1});
    Run(ecChar, "x");
    EXPECT_EQ(Line(1), "axb") << "the whole three-byte character is replaced";
    edit.SetText("\xC3\xA9\xC3\xA9z");
    std::string ime = "abc";
    edit.ExecuteCommand(ecImeStr, {}, &ime);
    EXPECT_EQ(Line(1), "abcz") << "three bytes over: the second character goes whole";
    EXPECT_EQ(edit.CaretPos(), (TPoint{4, 1}));
}

TEST_F(EditingCommands, TypingOverASelectionIsOneUndoStep) {
    edit.SetText("hello world");
    edit.SetSelectionStart({1, 1});
    edit.SetSelectionEnd({6, 1});
    Run(ecChar, "J");
    EXPECT_EQ(Line(1), "J world");
    Run(ecUndo);
    EXPECT_EQ(Line(1), "hello world");
    EXPECT_EQ(edit.SelectedText(), "hello") << "the restored text is selected";
    Run(ecRedo);
    EXPECT_EQ(Line(1), "J world");
}

TEST_F(EditingCommands, BackspaceJoinsLinesAndGoesBackOneIndentLevel) {
    edit.SetText("l1\nl2\nl3\nl4\nl5");
    edit.SetCaretPos({1, 1});
    Run(ecDeleteLastChar);
    EXPECT_EQ(edit.LineCount(), 5) << "nothing at the very start";
    edit.SetBookmark(0, 1, 5);
    edit.SetCaretPos({1, 5});
    Run(ecDeleteLastChar);
    EXPECT_EQ(Line(4), "l4l5");
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 4}));
    EXPECT_EQ(edit.Bookmark(0)->Line(), 4);
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "l1\r\nl2\r\nl3\r\nl4\r\nl5");

    edit.SetText("  y\n    x");
    edit.SetCaretPos({5, 2});
    Run(ecDeleteLastChar);
    EXPECT_EQ(Line(2), "  x") << "back to the indentation of the line above";
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 2}));
    edit.SetText("  y\n    a\n    x");
    edit.SetCaretPos({5, 3});
    Run(ecDeleteLastChar);
    EXPECT_EQ(Line(3), "  x") << "past the line above of the same indentation";
    edit.SetCaretPos({9, 2});
    Run(ecDeleteLastChar);
    EXPECT_EQ(edit.CaretPos(), (TPoint{8, 2})) << "past the end only the caret moves";
    edit.SetText("a\xF0\x9D\x84\x9E");
    edit.SetCaretPos({6, 1});
    Run(ecDeleteLastChar);
    EXPECT_EQ(Line(1), "a") << "a four-byte character goes whole";
}

TEST_F(EditingCommands, DeleteJoinsTheNextLineAndRemovesWholeCharacters) {
    edit.SetText("ab\ncd\n\xC3\xA9z");
    edit.SetCaretPos({5, 1});
    Run(ecDeleteChar);
    EXPECT_EQ(Line(1), "ab  cd") << "padded to the caret, then joined";
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "ab\r\ncd\r\n\xC3\xA9z") << "padding and join taken back in one step";
    edit.SetCaretPos({1, 3});
    edit.SetSelectionStart({1, 3});
    Run(ecDeleteChar);
    EXPECT_EQ(Line(3), "z");
    edit.SetCaretPos({9, 3});
    Run(ecDeleteChar);
    EXPECT_EQ(edit.LineCount(), 3) << "nothing at the end of the last line";
}

TEST_F(EditingCommands, WordAndLineDeletes) {
    edit.SetText("one two  three");
    edit.SetCaretPos({5, 1});
    Run(ecDeleteWord);
    EXPECT_EQ(Line(1), "one three");
    Run(ecDeleteLastWord);
    EXPECT_EQ(Line(1), "three");
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 1}));
    edit.SetText("abcdef");
    edit.SetCaretPos({4, 1});
    Run(ecDeleteEOL);
    EXPECT_EQ(Line(1), "abc");
    Run(ecDeleteBOL);
    EXPECT_EQ(Line(1), "");
    Run(ecUndo);
    Run(ecUndo);
    EXPECT_EQ(Line(1), "abcdef");

    edit.SetText("a\nb\nc");
    edit.SetBookmark(1, 1, 3);
    edit.SetCaretPos({1, 2});
    Run(ecDeleteLine);
    EXPECT_EQ(edit.Text(), "a\r\nc");
    EXPECT_EQ(edit.Bookmark(1)->Line(), 2);
    edit.SetCaretPos({1, 2});
    Run(ecDeleteLine);
    EXPECT_EQ(edit.Text(), "a");
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "a\r\nc") << "the last line comes back last";
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "a\r\nb\r\nc");
    edit.SetText("");
    Run(ecDeleteLine);
    EXPECT_FALSE(edit.CanUndo()) << "a single empty line: nothing";
}

TEST_F(EditingCommands, LineBreakCutsAndIndents) {
    edit.SetText("    foo bar");
    edit.SetCaretPos({9, 1});
    Run(ecLineBreak);
    EXPECT_EQ(edit.Text(), "    foo\r\n    bar");
    EXPECT_EQ(edit.CaretPos(), (TPoint{5, 2}));
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "    foo bar");

    edit.SetText("  x\n");
    edit.SetCaretPos({4, 1});
    Run(ecLineBreak);
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 2})) << "at the end: indented like the line above";
    edit.SetText("  abc");
    edit.SetCaretPos({2, 1});
    Run(ecLineBreak);
    EXPECT_EQ(edit.Text(), "\r\n  abc") << "within the leading blanks the whole line moves";
    edit.SetOptions(edit.Options() & ~qveoAutoIndent);
    edit.SetText("    foo");
    edit.SetCaretPos({3, 1});
    Run(ecLineBreak);
    EXPECT_EQ(edit.Text(), "\r\n  foo") << "without auto-indent the blanks are cut";
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 2}));
    edit.SetOptions(edit.Options() | qveoAutoIndent);
    Run(ecUndo);
    Run(ecRedo);
    EXPECT_EQ(edit.Text(), "\r\n  foo") << "redone as it was made";
    edit.SetOptions(edit.Options() & ~qveoAutoIndent);
    Run(ecUndo);
    edit.SetOptions(edit.Options() | qveoAutoIndent);
    edit.SetCaretPos({3, 1});
    Run(ecLineBreak);
    Run(ecUndo);
    edit.SetOptions(edit.Options() & ~qveoAutoIndent);
    Run(ecRedo);
    EXPECT_EQ(edit.Text(), "\r\n    foo") << "the whole line moved, and moves again";
    edit.SetOptions(edit.Options() | qveoAutoIndent);
    edit.SetText("ab");
    edit.SetCaretPos({2, 1});
    edit.SetBookmark(2, 1, 1);
    Run(ecInsertLine);
    EXPECT_EQ(edit.Text(), "a\r\nb");
    EXPECT_EQ(edit.CaretPos(), (TPoint{2, 1})) << "insert line keeps the caret";
    EXPECT_EQ(edit.Bookmark(2)->Line(), 2);
}

TEST_F(EditingCommands, TabsInsertSpacesToTheNextStopOrUnderTheNextWord) {
    edit.SetOptions(edit.Options() & ~qveoSmartTabs);
    edit.SetText("abcdefghijkl");
    edit.SetCaretPos({3, 1});
    Run(ecTab);
    EXPECT_EQ(Line(1), "ab      cdefghijkl");
    edit.SetCaretPos({9, 1});
    Run(ecTab);
    EXPECT_EQ(edit.CaretPos(), (TPoint{17, 1})) << "eight spaces from column 9";
    edit.SetTabWidth(0);
    edit.SetCaretPos({1, 1});
    Run(ecTab);
    EXPECT_EQ(Line(1).substr(0, 2), " a") << "width 0: one space, no division by zero";

    edit.SetTabWidth(8);
    edit.SetOptions(edit.Options() | qveoSmartTabs);
    edit.SetText("if (a)  then\nx");
    edit.SetCaretPos({1, 2});
    Run(ecTab);
    EXPECT_EQ(Line(2), "   x") << "under the next word of the line above";
    Run(ecShiftTab);
    EXPECT_EQ(Line(2), "   x");
}

TEST_F(EditingCommands, BlockIndentAndUnindent) {
    edit.SetText("l1\nl2\nl3\nl4\nl5");
    edit.SetSelectionStart({1, 2});
    edit.SetSelectionEnd({1, 5});
    Run(ecBlockIndent);
    EXPECT_EQ(edit.Text(), "l1\r\n        l2\r\n        l3\r\n        l4\r\nl5");
    EXPECT_EQ(edit.SelectionStart(), (TPoint{9, 2}));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{1, 5}));
    edit.SetTabWidth(4);
    Run(ecBlockUnindent);
    EXPECT_EQ(edit.Text(), "l1\r\n    l2\r\n    l3\r\n    l4\r\nl5");
    Run(ecUndo);
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "l1\r\nl2\r\nl3\r\nl4\r\nl5");
    Run(ecRedo);
    EXPECT_EQ(Line(2), "        l2") << "redo with the width the indent had";
    edit.SetSelectionStart({1, 1});
    edit.SetSelectionEnd({3, 1});
    const int records = edit.UndoList().Count();
    Run(ecBlockUnindent);
    EXPECT_EQ(edit.UndoList().Count(), records) << "no leading spaces: nothing changes";
}

TEST_F(EditingCommands, MatchBracketBothWaysAndAcrossLines) {
    edit.SetText("f(a[1], (b))\n(\n)");
    edit.SetCaretPos({2, 1});
    Run(ecMatchBracket);
    EXPECT_EQ(edit.CaretPos(), (TPoint{12, 1}));
    Run(ecMatchBracket);
    EXPECT_EQ(edit.CaretPos(), (TPoint{2, 1}));
    edit.SetCaretPos({1, 3});
    Run(ecMatchBracket);
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 2}));
    edit.SetCaretPos({1, 1});
    Run(ecMatchBracket);
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 1})) << "not on a bracket";
}

TEST_F(EditingCommands, CaretMovesSelectAndStepOverWholeCharacters) {
    edit.SetText("a\xE2\x82\xAC"
                 "b");
    edit.SetCaretPos({2, 1});
    Run(ecRight);
    EXPECT_EQ(edit.CaretPos(), (TPoint{5, 1}));
    Run(ecLeft);
    EXPECT_EQ(edit.CaretPos(), (TPoint{2, 1}));
    edit.SetText("abcd word\nx\xC3\xA9y");
    edit.SetCaretPos({3, 1});
    Run(ecDown);
    EXPECT_EQ(edit.CaretPos(), (TPoint{2, 2})) << "off the inside of the character";
    Run(ecUp);
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 1})) << "and back to the remembered column";
    edit.SetCaretPos({1, 1});
    Run(ecSelWordRight);
    EXPECT_EQ(edit.SelectedText(), "abcd ");
    Run(ecSelLineEnd);
    EXPECT_EQ(edit.SelectedText(), "abcd word");
    Run(ecLineStart);
    EXPECT_FALSE(edit.HasSelection());
    Run(ecEditorBottom);
    EXPECT_EQ(edit.CaretPos(), (TPoint{5, 2}));
    Run(ecWordLeft);
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 2}));
    Run(ecWordLeft);
    EXPECT_EQ(edit.CaretPos(), (TPoint{10, 1})) << "to the end of the previous line";
    TPoint target{3, 2};
    edit.ExecuteCommand(ecSelGotoXY, {}, &target);
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{2, 2})) << "a selection end never inside a character";
    edit.SetOptions(edit.Options() | qveoNoSelection);
    Run(ecSelectAll);
    Run(ecSelLeft);
    EXPECT_FALSE(edit.HasSelection());
}

TEST_F(EditingCommands, MovesWrapWithoutScrollPastEnd) {
    edit.SetText("ab\ncd");
    edit.SetOptions(edit.Options() & ~qveoScrollPastEol);
    edit.SetCaretPos({2, 1});
    Run(ecRight);
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 1})) << "before the last character: no wrap yet";
    Run(ecRight);
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 2}));
    Run(ecLeft);
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 1}));
}

TEST_F(EditingCommands, ScrollCommandsKeepTheCaretInView) {
    FillLines(100);
    edit.SetCaretPos({1, 1});
    Run(ecScrollDown);
    EXPECT_EQ(edit.TopLine(), 2);
    EXPECT_EQ(edit.CaretLine(), 2);
    Run(ecPageDown);
    EXPECT_EQ(edit.CaretLine(), 12);
    Run(ecScrollUp);
    Run(ecScrollUp);
    Run(ecScrollUp);
    EXPECT_EQ(edit.CaretLine(), edit.TopLine() + edit.VisibleLines() - 1);
    Run(ecScrollRight);
    EXPECT_EQ(edit.LeftColumn(), 2);
    EXPECT_EQ(edit.CaretColumn(), 2);
    Run(ecPageTop);
    EXPECT_EQ(edit.CaretLine(), edit.TopLine());
}

TEST_F(EditingCommands, ReadOnlyGatesEveryChangeButNotReading) {
    edit.SetText("abc\ndef");
    Type("x");
    edit.SetReadOnly(true);
    edit.SetSelectionStart({1, 1});
    edit.SetSelectionEnd({3, 1});
    for (TqvEditorCommand command :
         {ecDeleteLastChar, ecDeleteChar, ecDeleteWord, ecDeleteLastWord, ecDeleteBOL, ecDeleteEOL,
          ecDeleteLine, ecClearAll, ecLineBreak, ecInsertLine, ecUndo, ecRedo, ecCut, ecPaste,
          ecBlockIndent, ecBlockUnindent, ecTab})
        Run(command);
    Run(ecChar, "q");
    EXPECT_EQ(edit.Text(), "xabc\r\ndef");
    Run(ecCopy);
    EXPECT_EQ(Clipboard().AsText(), "xa");
    Run(ecDown);
    Run(ecColumnSelect);
    EXPECT_EQ(edit.SelectionMode(), smColumn);
    Run(ecSetMarker3);
    EXPECT_NE(edit.Bookmark(3), nullptr);
}

TEST_F(EditingCommands, ClearAllEmptiesTextAndUndo) {
    edit.SetText("abc");
    Type("x");
    Run(ecClearAll);
    EXPECT_EQ(edit.Text(), "");
    EXPECT_FALSE(edit.CanUndo()) << "the records belong to a text that is gone";
}

TEST_F(EditingCommands, CommandHooksSeeChangeAndCancelCommands) {
    edit.SetText("abc");
    edit.OnProcessCommand = TqvProcessCommandEvent::fromFunction(
        [](void*, TObject*, TqvEditorCommand& command, std::string& character, void*) {
            if (command == ecChar && character == "x") command = ecNone;
            if (command == ecChar && character == "u") character = "U";
        });
    int done = 0;
    edit.OnCommandDone =
        TNotifyEvent::fromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &done);
    Type("xu");
    EXPECT_EQ(edit.Text(), "Uabc");
    EXPECT_EQ(done, 1) << "a cancelled command is not done";
}

} // namespace
} // namespace ondrex::test
