// Undo and redo of every kind of change through the editor: what comes back, what gets
// selected, the paired steps, Modified and OnChange, locking and the redo list's lifetime.

#include "EditorTestSupport.h"

namespace ondrex::test {
namespace {

class UndoReplay : public EditorTest {
protected:
    UndoReplay() { SizeFor(40, 10); }
    void Run(TqvEditorCommand command, const std::string& character = {}) {
        edit.ExecuteCommand(command, character, nullptr);
    }
    // Undoes once and checks the text, redoes once and checks it again.
    void RoundTrip(const std::string& before, const std::string& after) {
        ASSERT_EQ(edit.Text(), after);
        Run(ecUndo);
        EXPECT_EQ(edit.Text(), before);
        Run(ecRedo);
        EXPECT_EQ(edit.Text(), after);
    }
};

TEST_F(UndoReplay, EveryReasonGoesBackAndForth) {
    edit.SetText("abc def\nghi");
    edit.SetCaretPos({4, 1});
    Run(ecChar, "X"); // urInsert
    RoundTrip("abc def\r\nghi", "abcX def\r\nghi");
    EXPECT_EQ(edit.UndoList().Peek().Reason, urInsert);
    Run(ecDeleteChar); // urDeleteForward
    RoundTrip("abcX def\r\nghi", "abcXdef\r\nghi");
    Run(ecDeleteLastChar); // urDeleteBackward
    RoundTrip("abcXdef\r\nghi", "abcdef\r\nghi");
    Run(ecLineBreak); // urLineBreak
    RoundTrip("abcdef\r\nghi", "abc\r\ndef\r\nghi");
    edit.SetSelectionStart({1, 1});
    edit.SetSelectionEnd({1, 3});
    Run(ecBlockIndent); // urIndent
    RoundTrip("abc\r\ndef\r\nghi", "        abc\r\n        def\r\nghi");
    edit.SetSelectionStart({1, 1});
    edit.SetSelectionEnd({3, 2});
    Run(ecBlockUnindent); // urUnindent
    RoundTrip("        abc\r\n        def\r\nghi", "abc\r\ndef\r\nghi");
    EXPECT_EQ(edit.UndoList().Peek().Text, "        \r\n        ");
}

TEST_F(UndoReplay, UndoSelectsTheRestoredText) {
    edit.SetText("one two three");
    edit.SetSelectionStart({5, 1});
    edit.SetSelectionEnd({9, 1});
    Run(ecDeleteChar);
    EXPECT_EQ(edit.Text(), "one three");
    Run(ecUndo);
    EXPECT_EQ(edit.SelectedText(), "two ");
    Run(ecRedo);
    EXPECT_EQ(edit.Text(), "one three");
}

TEST_F(UndoReplay, LineBreakUndoneAfterTheCaretMoved) {
    edit.SetText("foo   bar");
    edit.SetCaretPos({5, 1});
    Run(ecLineBreak);
    EXPECT_EQ(edit.Text(), "foo\r\n  bar");
    edit.SetCaretPos({1, 1});
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "foo   bar") << "the blanks trimmed before the break come back";
    edit.SetCaretPos({1, 1});
    Run(ecRedo);
    EXPECT_EQ(edit.Text(), "foo\r\n  bar") << "redo breaks where the break was";
}

TEST_F(UndoReplay, OverwriteUndoAndRedoReplaceTheSameCharacter) {
    edit.SetText("abc");
    edit.SetInsertMode(false);
    edit.SetCaretPos({2, 1});
    Run(ecChar, "X");
    RoundTrip("abc", "aXc");
    Run(ecUndo);
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "abc");
    edit.SetText("ab c");
    edit.SetCaretPos({4, 1});
    Run(ecChar, " ");
    RoundTrip("ab c", "ab"); // the trimmed blank before it comes back too
}

// Removing a selection that ends its line trims the blank before it (and its record holds
// the blank); the caret still goes to the selection's begin, and undo selects what was
// selected.
TEST_F(UndoReplay, ASelectionEndingItsLineKeepsItsBegin) {
    for (const TqvEditorCommand remove : {ecDeleteChar, ecDeleteLastChar, ecCut, ecNone}) {
        edit.SetText("hello world");
        edit.SetSelectionStart({7, 1});
        edit.SetSelectionEnd({12, 1});
        if (remove != ecNone) Run(remove);
        Run(ecChar, "J");
        EXPECT_EQ(edit.Text(), "hello J") << CommandToText(remove);
        while (edit.CanUndo())
            Run(ecUndo);
        EXPECT_EQ(edit.Text(), "hello world");
        EXPECT_EQ(edit.SelectedText(), "world") << CommandToText(remove);
        while (edit.CanRedo())
            Run(ecRedo);
        EXPECT_EQ(edit.Text(), "hello J");
    }
}

TEST_F(UndoReplay, CapacityAndEmptyLists) {
    edit.SetText("");
    Run(ecUndo);
    Run(ecRedo);
    EXPECT_EQ(edit.Text(), "");
    for (int i = 0; i < 11; ++i)
        Run(ecChar, "x");
    EXPECT_EQ(edit.UndoList().Count(), 10);
    for (int i = 0; i < 11; ++i)
        Run(ecUndo);
    EXPECT_EQ(edit.Text(), "x") << "11 undos take back the 10 changes kept";
    edit.SetMaxUndo(-1);
    EXPECT_EQ(edit.MaxUndo(), 10) << "negative values are ignored";
    edit.SetMaxUndo(3);
    EXPECT_EQ(edit.RedoList().Count(), 3);
    EXPECT_EQ(edit.RedoList().MaxUndo(), 3);
}

TEST_F(UndoReplay, ANewEditEmptiesTheRedoList) {
    edit.SetText("abc");
    edit.SetCaretPos({4, 1});
    Run(ecChar, "1");
    Run(ecChar, "2");
    Run(ecUndo);
    ASSERT_TRUE(edit.CanRedo());
    edit.SetCaretPos({1, 1});
    Run(ecChar, "Z");
    EXPECT_FALSE(edit.CanRedo()) << "its positions were taken before this edit";
    Run(ecRedo);
    EXPECT_EQ(edit.Text(), "Zabc1");
}

TEST_F(UndoReplay, ModifiedAndOnChangeFollowRecords) {
    edit.SetText("abc");
    int changes = 0;
    TqvStatusChanges status = 0;
    edit.OnChange =
        TNotifyEvent::fromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &changes);
    edit.OnStatusChange = TqvStatusChangeEvent::fromFunction(
        [](void* s, TObject*, TqvStatusChanges c) { *static_cast<TqvStatusChanges*>(s) |= c; },
        &status);
    EXPECT_FALSE(edit.Modified());
    edit.LockUndo();
    Run(ecChar, "a");
    EXPECT_FALSE(edit.Modified()) << "locked: nothing recorded";
    EXPECT_EQ(changes, 0);
    edit.UnlockUndo();
    Run(ecChar, "b");
    EXPECT_TRUE(edit.Modified());
    EXPECT_TRUE(status & scModified);
    EXPECT_EQ(changes, 1);
    Run(ecUndo);
    EXPECT_EQ(changes, 2) << "the redo record counts too";
    edit.ClearUndo();
    EXPECT_FALSE(edit.CanUndo() || edit.CanRedo());
    edit.SetText("new");
    EXPECT_TRUE(edit.Modified()) << "nothing in the editor clears it";
}

TEST_F(UndoReplay, ReplacingTheTextClearsBothLists) {
    edit.SetText("abc");
    Run(ecChar, "x");
    Run(ecChar, "y");
    Run(ecUndo);
    edit.SetText("other");
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.CanRedo());
}

TEST_F(UndoReplay, LineSelectionReplacedAndUndone) {
    edit.SetText("l1\nl2\nl3\nl4");
    edit.SetSelectionMode(smLine);
    edit.SetSelectionStart({2, 2});
    edit.SetSelectionEnd({1, 3});
    Run(ecChar, "N");
    EXPECT_EQ(edit.Text(), "l1\r\nNl4");
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "l1\r\nl2\r\nl3\r\nl4");
    EXPECT_EQ(edit.SelectionMode(), smLine) << "the mode is given back";
}

} // namespace
} // namespace ondrex::test
