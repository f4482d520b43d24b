// The system clipboard (offscreen Qt keeps it in the process).

#include "platform/Clipboard.h"
#include "platform/RichTextBuffer.h"

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
