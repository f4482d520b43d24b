// Copy, cut and paste through the system clipboard (offscreen: kept in the process): the
// private block keeps column and line blocks what they were, plain text pastes as a stream.

#include "EditorTestSupport.h"

#include "platform/Clipboard.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/testing/TestClipboard.h"

namespace ondrex::test {
namespace {

class ClipboardEditing : public EditorTest {
protected:
    ClipboardEditing() {
        SizeFor(40, 10);
        Clipboard().Clear();
    }
    void Run(TqvEditorCommand command) { edit.ExecuteCommand(command, {}, nullptr); }
    void Select(TSelectionMode mode, TPoint from, TPoint to) {
        edit.SetSelectionMode(mode);
        edit.SetSelectionStart(from);
        edit.SetSelectionEnd(to);
    }
    const TClipFormat block = RegisterClipboardFormat("qvEdit Control Block Type");
};

TEST_F(ClipboardEditing, CopyPutsTextAndTheBlockType) {
    edit.SetText("abcdef\nghijkl");
    Select(smColumn, {2, 1}, {4, 2});
    Run(ecCopy);
    EXPECT_EQ(Clipboard().AsText(), "bc\r\nhi");
    EXPECT_EQ(Clipboard().GetBuffer(block), std::string("\x01"
                                                        "bc\r\nhi\0",
                                                        8));
    EXPECT_TRUE(edit.CanPaste());
    edit.SetSelectionStart({1, 1});
    Run(ecCopy);
    EXPECT_EQ(Clipboard().AsText(), "bc\r\nhi") << "nothing selected: the clipboard stays";
}

TEST_F(ClipboardEditing, AColumnBlockPastesBackAsAColumn) {
    edit.SetText("abcdef\nghijkl\nmnopqr");
    Select(smColumn, {2, 1}, {4, 2});
    Run(ecCopy);
    edit.SetSelectionMode(smNormal);
    edit.SetCaretPos({5, 2});
    edit.SetSelectionStart({5, 2});
    Run(ecPaste);
    EXPECT_EQ(edit.Text(), "abcdef\r\nghijbckl\r\nmnophiqr");
    EXPECT_EQ(edit.CaretPos(), (TPoint{5, 3})) << "below the block (the last line), at its left";
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "abcdef\r\nghijkl\r\nmnopqr");
}

TEST_F(ClipboardEditing, AColumnPastedBelowTheTextAddsLinesThatUndoTakesBack) {
    edit.SetText("ab\ncd");
    Clipboard().SetBuffer(block, std::string("\x01"
                                             "1\r\n2\r\n3\0",
                                             9));
    edit.SetCaretPos({2, 2});
    Run(ecPaste);
    EXPECT_EQ(edit.Text(), "ab\r\nc1d\r\n 2\r\n 3");
    while (edit.CanUndo())
        Run(ecUndo);
    EXPECT_EQ(edit.Text(), "ab\r\ncd");
}

TEST_F(ClipboardEditing, LineBlocksPasteAsWholeLines) {
    edit.SetText("l1\nl2\nl3");
    Select(smLine, {2, 1}, {1, 2});
    Run(ecCopy);
    EXPECT_EQ(Clipboard().AsText(), "l1\r\nl2\r\n");
    edit.SetSelectionStart({2, 3});
    edit.SetCaretPos({2, 3});
    Run(ecPaste);
    EXPECT_EQ(edit.Text(), "l1\r\nl2\r\nl1\r\nl2\r\nl3");
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "l1\r\nl2\r\nl3");
    Run(ecRedo);
    EXPECT_EQ(edit.LineCount(), 5);
}

TEST_F(ClipboardEditing, PlainTextFromAnotherProgramPastesAsAStream) {
    edit.SetText("abc\ndef");
    edit.SetSelectionMode(smColumn);
    Clipboard().SetAsText("X\nY");
    edit.SetCaretPos({2, 1});
    edit.SetSelectionStart({2, 1});
    Run(ecPaste);
    EXPECT_EQ(edit.Text(), "aX\r\nYbc\r\ndef");
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "abc\r\ndef");
}

// What is pasted goes in as given, the blanks and tabs that end its lines included, as a
// stream and as a column block; undo takes back exactly that.
TEST_F(ClipboardEditing, PastedTrailingBlanksAndTabsStay) {
    edit.SetText("xy\nz");
    Clipboard().SetAsText("a  \r\nb\t");
    edit.SetCaretPos({3, 1});
    Run(ecPaste);
    EXPECT_EQ(edit.Text(), "xya  \r\nb\t\r\nz");
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "xy\r\nz");
    Clipboard().SetBuffer(block, std::string("\x01"
                                             "1 \r\n2\t\0",
                                             8));
    edit.SetCaretPos({3, 1});
    Run(ecPaste);
    EXPECT_EQ(edit.Text(), "xy1 \r\nz 2\t");
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "xy\r\nz");
}

TEST_F(ClipboardEditing, PasteOverASelectionIsOneStepAndKeepsNulBytes) {
    edit.SetText(std::string("a\0b cd", 6));
    Select(smNormal, {1, 1}, {4, 1});
    Run(ecCopy);
    Select(smNormal, {5, 1}, {7, 1});
    Run(ecPaste);
    EXPECT_EQ(edit.Text(), std::string("a\0b a\0b", 7)) << "a NUL inside the block is text";
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), std::string("a\0b cd", 6));
}

TEST_F(ClipboardEditing, CutIsOneUndoableDeletion) {
    edit.SetText("hello world");
    Select(smNormal, {1, 1}, {7, 1});
    Run(ecCut);
    EXPECT_EQ(edit.Text(), "world");
    EXPECT_EQ(Clipboard().AsText(), "hello ");
    EXPECT_EQ(edit.UndoList().Count(), 1);
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "hello world");
}

TEST_F(ClipboardEditing, AMalformedBlockIsAPasteFailure) {
    edit.SetText("abc");
    Clipboard().SetBuffer(block, std::string("\x07xyz", 4));
    try {
        edit.PasteFromClipboard();
        FAIL() << "no error";
    } catch (const EqvEditError& e) {
        EXPECT_STREQ(e.what(), "Clipboard paste operation failed.");
    }
    EXPECT_EQ(edit.Text(), "abc");
}

TEST_F(ClipboardEditing, TenMegabytesPasteAndUndo) {
    std::string big;
    while (big.size() < 10'000'000)
        big += "Function Foo(a, b) ' some text to make a line\r\n";
    Clipboard().SetAsText(big);
    edit.SetText("x");
    Run(ecPaste);
    EXPECT_EQ(edit.Text().size(), big.size() + 1);
    Run(ecUndo);
    EXPECT_EQ(edit.Text(), "x");
}

// A clipboard that refuses is reported in the editor's words, and the text stays as it was:
// a cut whose copy failed deletes nothing.
TEST_F(ClipboardEditing, ARefusingClipboardIsReportedAndLosesNothing) {
    TScopedTestClipboard clipboard;
    const auto failure = [&](TqvEditorCommand command) -> std::string {
        try {
            Run(command);
        } catch (const EqvEditError& e) {
            return e.what();
        }
        return "no error";
    };
    edit.SetText("hello world");
    Select(smNormal, {1, 1}, {7, 1});
    clipboard.Fake().RefuseWrites = true;
    EXPECT_EQ(failure(ecCopy), "Clipboard copy operation failed");
    EXPECT_EQ(failure(ecCut), "Clipboard copy operation failed");
    EXPECT_EQ(edit.Text(), "hello world");
    EXPECT_EQ(edit.UndoList().Count(), 0);
    EXPECT_EQ(edit.SelectedText(), "hello ");

    clipboard.Fake().RefuseWrites = false;
    Run(ecCopy);
    EXPECT_EQ(Clipboard().AsText(), "hello ");
    clipboard.Fake().RefuseReads = true;
    edit.SetCaretPos({6, 1});
    edit.SetSelectionStart({6, 1});
    EXPECT_EQ(failure(ecPaste), "Clipboard paste operation failed.");
    EXPECT_EQ(edit.Text(), "hello world");
    clipboard.Fake().RefuseReads = false;
    Run(ecPaste);
    EXPECT_EQ(edit.Text(), "hellohello  world");
}

TEST_F(ClipboardEditing, AFailedCopyByKeystrokeShowsItsMessage) {
    TScopedTestClipboard clipboard;
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    clipboard.Fake().RefuseWrites = true;
    edit.SetText("abc");
    Select(smNormal, {1, 1}, {3, 1});
    host.SendKeyDown('C', ssCtrl);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "Clipboard copy operation failed");
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::mtError);
    SetDialogs(nullptr);
}

// The copy is one buffer: the plain text is the block without its mode byte and final NUL,
// and both are published by one Close.
TEST_F(ClipboardEditing, CopyPublishesTextAndBlockFromOneBufferAtOnce) {
    TScopedTestClipboard clipboard;
    edit.SetText("one\ntwo");
    Select(smLine, {1, 1}, {1, 2});
    Run(ecCopy);
    EXPECT_EQ(clipboard.Fake().Publishes, 1);
    const TClipData& text = clipboard.Fake().Content.at(CF_TEXT);
    const TClipData& blockData = clipboard.Fake().Content.at(block);
    EXPECT_EQ(text.Buffer, blockData.Buffer);
    EXPECT_EQ(text.View(), "one\r\ntwo");
    EXPECT_EQ(blockData.View(), std::string("\x02one\r\ntwo\0", 10));
}

} // namespace
} // namespace ondrex::test
