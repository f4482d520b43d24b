// The system clipboard (offscreen Qt keeps it in the process).

#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/RichTextBuffer.h"
#include "platform/testing/TestClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

using namespace ondrex;

TEST(Clipboard, TextAndAPrivateFormatTravelTogether) {
    const TClipFormat block = RegisterClipboardFormat("Ondrex block type");
    EXPECT_GE(block, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("Ondrex block type"), block);
    EXPECT_NE(RegisterClipboardFormat("another"), block);

    TClipboard& c = Clipboard();
    c.Open();
    c.SetAsText("Dim a\r\nDim b");
    c.SetBuffer(block, std::string("\x02\x00", 2));
    EXPECT_TRUE(c.IsOpen());
    c.Close();
    EXPECT_EQ(c.AsText(), "Dim a\r\nDim b");
    EXPECT_EQ(c.GetBuffer(block), std::string("\x02\x00", 2));
    EXPECT_TRUE(c.HasFormat(CF_TEXT));

    // A later write outside Open replaces everything, the private format included.
    c.SetAsText("plain");
    EXPECT_EQ(c.AsText(), "plain");
    EXPECT_FALSE(c.HasFormat(block));
    EXPECT_EQ(c.GetBuffer(block), std::nullopt);
}

TEST(Clipboard, FailuresAreReported) {
    EXPECT_THROW(Clipboard().Close(), EClipboardError);
    EXPECT_THROW(Clipboard().SetBuffer(0xBEEF, "x"), EClipboardError);
    EXPECT_FALSE(Clipboard().IsOpen());
    Clipboard().Clear();
    EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard().AsText(), "");
}

// Our own copy comes back byte for byte (binary bytes and NUL too), while other programs
// read it as text of the active code page.
TEST(Clipboard, OwnCopiesKeepTheirBytesAndOthersReadText) {
    const std::string binary("a\0b\xff\xfe\r\n", 7);
    Clipboard().SetAsText(binary);
    EXPECT_EQ(Clipboard().AsText(), binary);

    const TScopedCodePage windows1252(TCodePage::Windows1252);
    Clipboard().SetAsText("\xab x \xbb");
    const QMimeData* seen = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->text(), QString::fromUtf8("\u00ab x \u00bb"));
    EXPECT_EQ(seen->data("text/plain"), QByteArray("\xc2\xab x \xc2\xbb"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("\u00ab x \u00bb"));

    // Other programs get LF line ends (a lone CR is not a line end of ours to change); a
    // paste back here gets the CR LF as copied.
    Clipboard().SetAsText("Dim a\r\n\r\nx\ry\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Dim a\n\nx\ry\n");
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("text/plain"), "Dim a\n\nx\ry\n");
    EXPECT_EQ(Clipboard().AsText(), "Dim a\r\n\r\nx\ry\r\n");
}

// The opening and closing rules are the clipboard's own, whatever system is behind it.
TEST(Clipboard, OneCloseOnePublishAndARefusalLeavesNothingPending) {
    TScopedTestClipboard test;
    TTestClipboard& fake = test.Fake();
    const TClipFormat block = RegisterClipboardFormat("Ondrex block type");
    TClipboard& c = Clipboard();
    c.Open();
    c.Open();
    c.SetAsText("a");
    c.SetBuffer(block, "b");
    c.Close();
    EXPECT_EQ(fake.Publishes, 0) << "an inner Close publishes nothing";
    c.Close();
    EXPECT_EQ(fake.Publishes, 1);
    EXPECT_EQ(c.AsText(), "a");
    EXPECT_EQ(c.GetBuffer(block), "b");

    c.Open();
    c.Close();
    EXPECT_EQ(fake.Publishes, 1) << "an Open without writes leaves the clipboard alone";
    EXPECT_THROW(c.SetBuffer(0xBEEF, "x"), EClipboardError);
    EXPECT_EQ(fake.Publishes, 1);

    fake.RefuseWrites = true;
    EXPECT_THROW(c.SetAsText("refused"), EClipboardError);
    EXPECT_FALSE(c.IsOpen());
    fake.RefuseWrites = false;
    c.Open();
    c.SetBuffer(block, "only this");
    c.Close();
    EXPECT_FALSE(c.HasFormat(CF_TEXT)) << "the refused text is not carried into the next copy";
    EXPECT_EQ(c.GetBuffer(block), "only this");

    fake.RefuseReads = true;
    EXPECT_THROW(c.GetBuffer(block), EClipboardError);
}

// A slice is clamped to its buffer, so a wrong length never reads past it.
TEST(Clipboard, ASliceStaysInsideItsBuffer) {
    const auto buffer = std::make_shared<const std::string>("\x01text\0", 6);
    EXPECT_EQ(TClipData(buffer, 1, 4).View(), "text");
    EXPECT_EQ(TClipData(buffer, 1, 99).View(), std::string("text\0", 5));
    EXPECT_EQ(TClipData(buffer, 99, 1).View(), "");
}

TEST(RichTextBuffer, CopiesAllItsLinesAndPastesReplacingTheSelection) {
    TRichTextBuffer b;
    b.Add("");
    b.Add("Sub Foo()");
    b.Add("End Sub");
    b.SelectAll();
    b.CopyToClipboard();
    EXPECT_EQ(Clipboard().AsText(), "\r\nSub Foo()\r\nEnd Sub\r\n");

    Clipboard().SetAsText("x\ny\rz");
    b.Clear();
    b.PasteFromClipboard();
    EXPECT_EQ(b.Lines(), (std::vector<std::string>{"x", "y", "z"}));
    b.SetSelection(0, 1);
    b.PasteFromClipboard(); // "x" replaced by the three lines
    EXPECT_EQ(b.Lines(), (std::vector<std::string>{"x", "y", "z", "y", "z"}));

    b.Clear();
    b.SelectAll();
    Clipboard().SetAsText("kept");
    b.CopyToClipboard(); // nothing selected: the clipboard stays as it was
    EXPECT_EQ(Clipboard().AsText(), "kept");
}
