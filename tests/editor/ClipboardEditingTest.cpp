// Copy, cut and paste through the system clipboard (offscreen: kept in the process): the
// private block keeps column and line blocks what they were, plain text pastes as a stream.

#include "EditorTestSupport.h"

#include "platform/Clipboard.h"

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

} // namespace
} // namespace ondrex::test
