// The markup renderer on a recording canvas: cells of 6 x 10 pixels for the 10-pixel font
// the tests start from, so positions can be counted in characters.

#include "controls/HtmlMarkup.h"
#include "platform/Bitmap.h"
#include "platform/ImageList.h"
#include "platform/SystemColors.h"
#include "platform/testing/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace ondrex;

namespace {

constexpr int kCell = 6;
constexpr int kLine = 10;

struct Markup : ::testing::Test {
    TRecordingCanvas canvas;
    TMarkupResult result;

    Markup() {
        canvas.Font.SetName("Tahoma");
        canvas.Font.SetHeight(kLine);
        canvas.Font.SetColor(clBlack);
        canvas.Brush.Color = clWhite;
    }

    bool Draw(std::string_view text, TRect rect = {0, 0, 200, 100}, TMarkupRequest request = {}) {
        return RenderMarkup(canvas, text, rect, request, result);
    }
    int Measure(std::string_view text, int width = 200) {
        TMarkupRequest request;
        request.MeasureOnly = true;
        RenderMarkup(canvas, text, {0, 0, width, 1000}, request, result);
        return result.Height;
    }
    bool Test(std::string_view text, int x, int y, TRect rect = {0, 0, 200, 100}) {
        TMarkupRequest request;
        request.TestOnly = true;
        request.TestX = x;
        request.TestY = y;
        const bool onLink = RenderMarkup(canvas, text, rect, request, result);
        EXPECT_TRUE(canvas.CallsOf(TDrawKind::DrawText).empty()) << "a hit test draws nothing";
        return onLink;
    }
    std::vector<TDrawCall> Words() const { return canvas.CallsOf(TDrawKind::DrawText); }
};

} // namespace

TEST_F(Markup, TagsSwitchStylesOnAndOffAndLeaveThePlainText) {
    Draw("<B>Bold </B>plain");
    const auto words = Words();
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].Text, "Bold ");
    EXPECT_EQ(words[0].FontStyle, fsBold);
    EXPECT_EQ(words[1].Text, "plain");
    EXPECT_EQ(words[1].FontStyle, 0);
    EXPECT_EQ(words[1].Rect.Left, 5 * kCell);
    EXPECT_EQ(result.PlainText, "Bold plain");
    EXPECT_EQ(result.Width, 10 * kCell);

    canvas.Calls.clear();
    Draw("<i><u>a</u></i>b");
    EXPECT_EQ(Words()[0].FontStyle, fsItalic | fsUnderline);
    EXPECT_EQ(Words()[1].FontStyle, 0);
}

TEST_F(Markup, StylesStayInForceAcrossLineBreaks) {
    Draw("<B>a<BR>b</B>c");
    const auto words = Words();
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1].Text, "b");
    EXPECT_EQ(words[1].Rect.Top, kLine);
    EXPECT_EQ(words[1].FontStyle, fsBold);
    EXPECT_EQ(words[2].FontStyle, 0);
    EXPECT_EQ(result.PlainText, "a\rbc");
}

TEST_F(Markup, WordsWrapAtTheRectangleWidth) {
    EXPECT_EQ(Measure("aaa bbb ccc", 50), 2 * kLine);
    EXPECT_EQ(result.Width, 7 * kCell); // the trailing blank does not count
    EXPECT_EQ(result.PlainText, "aaa bbb ccc");
    // A line must stay below the width: a word ending exactly at the edge goes below.
    EXPECT_EQ(Measure("aaa bbb", 7 * kCell + 1), kLine);
    EXPECT_EQ(Measure("aaa bbb", 7 * kCell), 2 * kLine);
    // A word wider than the line gets a line of its own.
    EXPECT_EQ(Measure("ab " + std::string(20, 'x') + " cd", 50), 3 * kLine);
    EXPECT_EQ(result.Width, 20 * kCell);
    // An empty item is one line high.
    EXPECT_EQ(Measure(""), kLine);
    EXPECT_EQ(Measure("a<BR>b"), 2 * kLine);
}

TEST_F(Markup, ParagraphAlignmentHoldsForTheFollowingLines) {
    Draw("<P align=\"right\">ab<BR>cd", {0, 0, 100, 100});
    ASSERT_EQ(Words().size(), 2u);
    EXPECT_EQ(Words()[0].Rect.Left, 100 - 2 * kCell);
    EXPECT_EQ(Words()[1].Rect.Left, 100 - 2 * kCell);
    canvas.Calls.clear();
    Draw("<p center>ab</p>cd<BR><P left>ef", {0, 0, 100, 100});
    ASSERT_EQ(Words().size(), 3u);
    EXPECT_EQ(Words()[0].Rect.Left, (100 - 2 * kCell) / 2);
    EXPECT_EQ(Words()[1].Rect.Top, kLine); // </P> ends the line
    EXPECT_EQ(Words()[1].Rect.Left, (100 - 2 * kCell) / 2);
    EXPECT_EQ(Words()[2].Rect.Left, 0);
}

TEST_F(Markup, FontTagsChangeFaceColourAndSizeUntilClosed) {
    Draw("<font face=\"Arial\" color=\"clred\" size=\"20\">big</font>small");
    const auto words = Words();
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].FontName, "Arial");
    EXPECT_EQ(words[0].Color, RGB(255, 0, 0));
    EXPECT_EQ(words[0].FontHeight, -27);
    EXPECT_EQ(words[1].FontName, "Tahoma");
    EXPECT_EQ(words[1].Color, clBlack);
    EXPECT_EQ(words[1].FontHeight, kLine);
    EXPECT_EQ(result.Height, 27); // the tallest word sets the line
}

TEST_F(Markup, FontBackgroundShowsBehindTheTextAndItsValueFeedsAColourBeforeIt) {
    // "color" is read at its first occurrence, which is inside "bgcolor".
    Draw("<font bgcolor=\"clred\" color=\"clblue\">x</font>y");
    ASSERT_EQ(Words().size(), 2u);
    EXPECT_EQ(Words()[0].Color, RGB(255, 0, 0));
    EXPECT_EQ(Words()[0].BkColor, RGB(255, 0, 0));
    EXPECT_EQ(Words()[1].BkColor, clNone);
    // "bgcolor" alone leaves the text colour alone.
    canvas.Calls.clear();
    Draw("<font bgcolor=\"clyellow\">x");
    EXPECT_EQ(Words()[0].Color, clBlack);
    EXPECT_EQ(Words()[0].BkColor, RGB(255, 255, 0));
}

TEST_F(Markup, ASizeThatIsNoNumberStillDrawsTheItem) {
    Draw("<font size=\"big\" color=\"clred\">word</font> more");
    ASSERT_EQ(Words().size(), 3u);
    EXPECT_EQ(Words()[0].FontHeight, kLine);
    EXPECT_EQ(Words()[0].Color, RGB(255, 0, 0));
    EXPECT_EQ(result.PlainText, "word more");
    // Absurd sizes are kept within reason rather than overflowing the layout.
    canvas.Calls.clear();
    Draw("<font size=\"2000000000\">w", {0, 0, 100, 100000});
    EXPECT_EQ(Words()[0].FontHeight, -667);
}

TEST_F(Markup, ATagWithoutItsCloseDropsOnlyItselfAndWhatFollows) {
    Draw("kept <b dropped");
    ASSERT_EQ(Words().size(), 1u);
    EXPECT_EQ(Words()[0].Text, "kept ");
    EXPECT_EQ(Words()[0].FontStyle, 0);
    EXPECT_EQ(result.PlainText, "kept ");
    Draw("<hr");
    EXPECT_EQ(result.Height, kLine);
    EXPECT_TRUE(canvas.CallsOf(TDrawKind::Line).empty());
}

TEST_F(Markup, LinksAreDrawnInTheLinkColourAndFoundUnderThePoint) {
    const std::string item = "see <A HREF=\"mailto:x@y\">mail</A> now";
    TMarkupRequest request;
    request.LinkColor = clLime;
    Draw(item, {0, 0, 200, 100}, request);
    ASSERT_EQ(Words().size(), 4u);
    EXPECT_EQ(Words()[1].Text, "mail");
    EXPECT_EQ(Words()[1].Color, clLime);
    EXPECT_EQ(Words()[1].FontStyle, fsUnderline);
    EXPECT_EQ(Words()[3].Color, clBlack);
    EXPECT_EQ(Words()[3].FontStyle, 0);
    canvas.Calls.clear();

    EXPECT_TRUE(Test(item, 5 * kCell, 5));
    EXPECT_EQ(result.LinkTarget, "mailto:x@y");
    EXPECT_FALSE(Test(item, 2 * kCell, 5));  // "see"
    EXPECT_FALSE(Test(item, 9 * kCell, 5));  // "now"
    EXPECT_FALSE(Test(item, 5 * kCell, 15)); // below the line
    EXPECT_TRUE(result.LinkTarget.empty());
    // A link keeps its target across a line break, and an unquoted href has none.
    EXPECT_TRUE(Test("<a href=\"t\">x<br>yy", kCell, 15));
    EXPECT_EQ(result.LinkTarget, "t");
    EXPECT_TRUE(Test("<a href=t>x", 3, 5));
    EXPECT_EQ(result.LinkTarget, "");
}

TEST_F(Markup, HitTestsFollowTheAlignment) {
    const std::string item = "<P right><a href=\"t\">go</a>";
    EXPECT_TRUE(Test(item, 100 - kCell, 5, {0, 0, 100, 20}));
    EXPECT_FALSE(Test(item, kCell, 5, {0, 0, 100, 20}));
}

TEST_F(Markup, LinesBeyondTheRectangleAreLeftOutUnlessMeasuring) {
    Draw("a<BR>b<BR>c", {0, 0, 100, 16});
    ASSERT_EQ(Words().size(), 1u);
    EXPECT_EQ(Words()[0].Text, "a");
    EXPECT_EQ(Measure("a<BR>b<BR>c"), 3 * kLine);
}

TEST_F(Markup, RulesIndentsAndBodyColour) {
    Draw("a<HR>b", {0, 0, 100, 100});
    const auto lines = canvas.CallsOf(TDrawKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{0, kLine + 1}, {100, kLine + 1}}));
    EXPECT_EQ(lines[0].Color, clBlack);
    EXPECT_EQ(Words()[1].Rect.Top, kLine);

    canvas.Calls.clear();
    Draw("a<IND x=\"30\">b<ind x=\"2\">c<ind x=\"wide\">d");
    EXPECT_EQ(Words()[1].Rect.Left, 30);
    EXPECT_EQ(Words()[2].Rect.Left, 30 + kCell); // an indent left of the text is ignored
    EXPECT_EQ(Words()[3].Rect.Left, 30 + 2 * kCell);

    canvas.Calls.clear();
    Draw("<BODY bgcolor=\"#00FF00\">x", {0, 0, 50, 20});
    const auto fills = canvas.CallsOf(TDrawKind::Rectangle);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].Rect, (TRect{0, 0, 50, 20}));
    EXPECT_EQ(fills[0].BkColor, RGB(0, 255, 0));
    EXPECT_EQ(fills[0].Color, RGB(0, 255, 0));
}

TEST_F(Markup, TheCanvasIsLeftAsItWas) {
    canvas.Pen.Color = clPurple;
    canvas.BkMode = TBkMode::bkOpaque;
    Draw("<BODY bgcolor=\"clred\"><font face=\"X\" size=\"30\" color=\"clred\"><b>a<hr>b");
    EXPECT_EQ(canvas.Font.Name(), "Tahoma");
    EXPECT_EQ(canvas.Font.Height(), kLine);
    EXPECT_EQ(canvas.Font.Style(), 0);
    EXPECT_EQ(canvas.Brush.Color, clWhite);
    EXPECT_EQ(canvas.Pen.Color, clPurple);
    EXPECT_EQ(canvas.BkMode, TBkMode::bkOpaque);
}

struct MarkupImages : Markup {
    TImageList list{8, 12};
    TMarkupRequest request;
    MarkupImages() {
        list.Add(TBitmap(8, 12));
        request.Images = &list;
    }
};

TEST_F(MarkupImages, ImageListPicturesTakeRoomInTheLine) {
    Draw("x<IMG src=\"idx:0\">y", {0, 0, 200, 100}, request);
    const auto pictures = canvas.CallsOf(TDrawKind::Bitmap);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].Points[0], (TPoint{kCell, 0}));
    EXPECT_EQ(Words()[1].Rect.Left, kCell + 8);
    EXPECT_EQ(result.Height, 12);
    // Without an image list the picture is nothing.
    canvas.Calls.clear();
    Draw("x<IMG src=\"idx:0\">y");
    EXPECT_TRUE(canvas.CallsOf(TDrawKind::Bitmap).empty());
    EXPECT_EQ(Words()[1].Rect.Left, kCell);
}

TEST_F(MarkupImages, APictureThatDoesNotFitEndsTheItem) {
    Draw("abc<IMG src=\"idx:0\">def", {0, 0, 20, 100}, request);
    ASSERT_EQ(Words().size(), 1u);
    EXPECT_EQ(result.PlainText, "abc");
}

TEST_F(MarkupImages, PictureFilesThatCannotBeLoadedStillDrawTheItem) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string missing = (dir / "ondrex-no-such-picture.png").string();
    const std::string notAPicture =
        (dir / ("ondrex-markup-" + std::to_string(getpid()) + ".txt")).string();
    {
        std::FILE* f = std::fopen(notAPicture.c_str(), "w");
        std::fputs("text", f);
        std::fclose(f);
    }
    for (const std::string& path : {missing, notAPicture, dir.string(), std::string("/dev/zero")}) {
        canvas.Calls.clear();
        Draw("a<IMG src=\"file://" + path + "\">b");
        ASSERT_EQ(Words().size(), 2u) << path;
        EXPECT_EQ(Words()[1].Rect.Left, kCell) << path;
    }
    std::filesystem::remove(notAPicture);
}

TEST_F(MarkupImages, PictureFilesAreDrawnAtTheirSize) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("ondrex-markup-" + std::to_string(getpid()) + ".png"))
                                 .string();
    TBitmap(5, 14).SaveToFile(path);
    Draw("a<IMG src=\"file://" + path + "\">b<img src=\"res://x\">c");
    std::filesystem::remove(path);
    ASSERT_EQ(canvas.CallsOf(TDrawKind::Bitmap).size(), 1u);
    EXPECT_EQ(canvas.CallsOf(TDrawKind::Bitmap)[0].Rect, (TRect{kCell, 0, kCell + 5, 14}));
    EXPECT_EQ(Words()[1].Rect.Left, kCell + 5);
    EXPECT_EQ(Words()[2].Rect.Left, 2 * kCell + 5); // res:// takes no room
    EXPECT_EQ(result.Height, 14);
}
