// Painting into the recording canvas: what is drawn where and in which colours, for the
// gutter, the text area with its token runs, the application's special lines, the right
// margin, the marks and the area below the text, for plain, tabbed and multi-byte lines.

#include "EditorTestSupport.h"

#include "highlighters/jxPHPSyn.h"
#include "highlighters/zkVBSSyn.h"
#include "platform/CodePage.h"
#include "platform/SystemColors.h"

#include <string>
#include <vector>

namespace ondrex::test {
namespace {

class EditorPaint : public EditorTest {
protected:
    static constexpr int kGutter = 30;
    static constexpr int kText = kGutter + 2;

    EditorPaint() { SizeFor(20, 5); } // client 192 x 65

    ~EditorPaint() override { edit.SetHighLighter(nullptr); }

    TRecordingCanvas& PaintArea(const TRect& r) {
        host.PaintAll();
        edit.InvalidateRect(r, false);
        return host.Paint();
    }

    // Text outputs right of the gutter on a row, left to right.
    static std::vector<TDrawCall> RowTexts(const TRecordingCanvas& canvas, int row) {
        std::vector<TDrawCall> out;
        for (const TDrawCall& call : canvas.CallsOf(TDrawKind::Text))
            if (call.Rect.Top == row * kLineHeight && call.Rect.Left >= kText) out.push_back(call);
        return out;
    }

    static std::vector<TDrawCall> Lines(const TRecordingCanvas& canvas, int x) {
        std::vector<TDrawCall> out;
        for (const TDrawCall& call : canvas.CallsOf(TDrawKind::Line))
            if (call.Points[0].X == x) out.push_back(call);
        return out;
    }

    const TColor white = ColorToRGB(clWindow);
    const TColor black = ColorToRGB(clWindowText);
    TzkVbsSyn vbs;
    TjxPHPSyn php;
};

TEST_F(EditorPaint, PlainLineIsOneTextOutputAcrossThePaintedWidth) {
    edit.SetText("hello\nworld");
    TRecordingCanvas& canvas = host.PaintAll();
    const std::vector<TDrawCall> row = RowTexts(canvas, 0);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].Text, "hello");
    EXPECT_EQ(row[0].Rect, Rect(kText, 0, 192, kLineHeight));
    EXPECT_EQ(row[0].Points[0], (TPoint{kText, 0}));
    EXPECT_EQ(row[0].Flags, unsigned(ETO_OPAQUE | ETO_CLIPPED));
    EXPECT_EQ(row[0].Color, black);
    EXPECT_EQ(row[0].BkColor, white);
    EXPECT_EQ(row[0].Advances, std::vector<int>(5, kCharWidth));
    EXPECT_EQ(RowTexts(canvas, 1).size(), 1u);

    // The strip between gutter and text, and the rows below the text, in the background.
    bool strip = false, below = false;
    for (const TDrawCall& fill : canvas.CallsOf(TDrawKind::FillRect)) {
        strip = strip || (fill.Rect == Rect(kGutter, 0, kText, 65) && fill.Color == white);
        below = below || (fill.Rect == Rect(kText, 26, 192, 65) && fill.Color == white);
    }
    EXPECT_TRUE(strip);
    EXPECT_TRUE(below);
}

TEST_F(EditorPaint, GutterHasItsColourAndA3DEdge) {
    edit.SetText("a");
    TRecordingCanvas& canvas = host.PaintAll();
    const std::vector<TDrawCall> fills = canvas.CallsOf(TDrawKind::FillRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].Rect, Rect(0, 0, kGutter, 65));
    EXPECT_EQ(fills[0].Color, ColorToRGB(clBtnFace));
    ASSERT_EQ(Lines(canvas, kGutter - 2).size(), 1u);
    EXPECT_EQ(Lines(canvas, kGutter - 2)[0].Color, ColorToRGB(clBtnHighlight));
    ASSERT_EQ(Lines(canvas, kGutter - 1).size(), 1u);
    EXPECT_EQ(Lines(canvas, kGutter - 1)[0].Color, ColorToRGB(clBtnShadow));
}

TEST_F(EditorPaint, GutterOnlyAndTextOnlyPaintsKeepToTheirSide) {
    edit.Gutter().SetShowLineNumbers(true);
    edit.SetText("first\nsecond\nthird");
    const int gutter = edit.GutterWidth();
    ASSERT_EQ(gutter, 16 + 2 + 4 * kCharWidth + 2);

    TRecordingCanvas& left = PaintArea(Rect(0, 0, gutter - 4, 65));
    std::vector<std::string> texts;
    for (const TDrawCall& call : left.CallsOf(TDrawKind::Text))
        texts.push_back(call.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"   1", "   2", "   3", ""}))
        << "the rows below the text filled";
    const TDrawCall first = left.CallsOf(TDrawKind::Text)[0];
    EXPECT_EQ(first.Points[0], (TPoint{16, 0}));
    EXPECT_EQ(first.BkColor, ColorToRGB(clBtnFace));
    EXPECT_EQ(left.CallsOf(TDrawKind::Text)[3].Rect, Rect(0, 3 * kLineHeight, gutter, 65));

    TRecordingCanvas& right = PaintArea(Rect(gutter + 10, 0, 150, 65));
    for (const TDrawCall& call : right.CallsOf(TDrawKind::Text))
        EXPECT_GE(call.Rect.Left, gutter + 10) << call.Text;
    EXPECT_EQ(right.CallsOf(TDrawKind::Text).size(), 3u);
}

TEST_F(EditorPaint, ClippedPaintDrawsOnlyTheColumnsAndLinesItCovers) {
    FillLines(5, "0123456789abcdef");
    // Columns 3..5 (cells 2..4) of lines 2..3.
    TRecordingCanvas& canvas = PaintArea(Rect(kText + 2 * kCharWidth + 3, kLineHeight + 1,
                                              kText + 5 * kCharWidth - 2, 3 * kLineHeight - 1));
    const std::vector<TDrawCall> texts = canvas.CallsOf(TDrawKind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, "234");
    EXPECT_EQ(texts[0].Points[0], (TPoint{kText + 2 * kCharWidth, kLineHeight}));
    EXPECT_EQ(texts[0].Rect.Left, kText + 2 * kCharWidth + 3);
    EXPECT_EQ(texts[1].Text, "234");
}

TEST_F(EditorPaint, SpecialLineTakesTheApplicationsColoursAcrossTheFullWidth) {
    YellowOnBlueLine marker{2};
    marker.Attach(edit);
    vbs.KeyAttri->SetForeground(clRed);
    vbs.KeyAttri->SetStyle(fsBold);
    edit.SetHighLighter(&vbs);
    edit.SetText("Dim a\nDim b 'note\nc");
    TRecordingCanvas& canvas = host.PaintAll();

    const std::vector<TDrawCall> row = RowTexts(canvas, 1);
    std::vector<std::string> runs;
    for (const TDrawCall& call : row) {
        runs.push_back(call.Text);
        EXPECT_EQ(call.Color, clYellow);
        EXPECT_EQ(call.BkColor, clBlue);
    }
    EXPECT_EQ(runs, (std::vector<std::string>{"Dim ", "b ", "'note", ""}))
        << "the styles still split runs; the colours do not";
    EXPECT_EQ(row[0].FontStyle, fsBold);
    EXPECT_EQ(row[3].Rect, Rect(kText + 11 * kCharWidth, kLineHeight, 192, 26))
        << "the rest of the row is blue too";
    EXPECT_EQ(RowTexts(canvas, 0)[0].Color, clRed) << "other lines keep the token colours";
}

TEST_F(EditorPaint, TokensThatLookAlikeAreMergedIntoOneRun) {
    vbs.KeyAttri->SetForeground(clNavy);
    vbs.KeyAttri->SetStyle(0);
    vbs.IdentifierAttri->SetForeground(clNavy);
    vbs.SpaceAttri->SetForeground(clRed); // blanks show no foreground
    vbs.SpaceAttri->SetStyle(fsItalic);   // nor style
    edit.SetHighLighter(&vbs);
    edit.SetText("Dim x = 1");
    TRecordingCanvas& canvas = host.PaintAll();
    std::vector<std::string> runs;
    for (const TDrawCall& call : RowTexts(canvas, 0))
        runs.push_back(call.Text);
    EXPECT_EQ(runs, (std::vector<std::string>{"Dim x ", "= 1", ""}));

    vbs.IdentifierAttri->SetBackground(clSilver);
    runs.clear();
    for (const TDrawCall& call : RowTexts(host.PaintAll(), 0))
        runs.push_back(call.Text);
    EXPECT_EQ(runs.front(), "Dim ") << "a different background splits the run";
}

TEST_F(EditorPaint, NoColourFallsBackToTheWhiteSpaceBackground) {
    vbs.IdentifierAttri->SetBackground(clNone);
    edit.SetHighLighter(&vbs);
    edit.SetText("x");
    EXPECT_EQ(RowTexts(host.PaintAll(), 0)[0].BkColor, white);
    vbs.SpaceAttri->SetBackground(clAqua);
    TRecordingCanvas& canvas = host.PaintAll();
    EXPECT_EQ(RowTexts(canvas, 0)[0].BkColor, clAqua);
    bool below = false;
    for (const TDrawCall& fill : canvas.CallsOf(TDrawKind::FillRect))
        below = below || (fill.Rect.Top == kLineHeight && fill.Color == clAqua);
    EXPECT_TRUE(below);

    // A white-space attribute of no colour leaves the control's colour, never "no paint".
    vbs.SpaceAttri->SetBackground(clNone);
    EXPECT_EQ(RowTexts(host.PaintAll(), 0)[0].BkColor, white);
}

TEST_F(EditorPaint, LinesStartInTheStateStoredForThem) {
    edit.SetHighLighter(&php);
    php.CommentAttri->SetForeground(clGreen);
    FillLines(10, "x");
    edit.Lines().Put(2, "/* open");
    edit.Lines().Put(8, "done */ $y");
    edit.SetTopLine(5);
    TRecordingCanvas& canvas = host.PaintAll();
    EXPECT_EQ(RowTexts(canvas, 0)[0].Color, clGreen) << "line 5 lies inside the comment";
}

TEST_F(EditorPaint, TextAfterANulByteIsStillShown) {
    edit.SetHighLighter(&vbs);
    edit.SetText(std::string("ab\0cd", 5));
    std::string shown;
    for (const TDrawCall& call : RowTexts(host.PaintAll(), 0))
        shown += call.Text;
    EXPECT_EQ(shown, std::string("ab\0cd", 5));
}

TEST_F(EditorPaint, RightMarginIsDrawnOnlyWhereShownAndInTheClip) {
    edit.SetText("a\nb");
    edit.SetRightEdge(10);
    edit.SetRightEdgeColor(clRed);
    const int x = kText + 10 * kCharWidth;
    TRecordingCanvas& canvas = host.PaintAll();
    const std::vector<TDrawCall> lines = Lines(canvas, x);
    ASSERT_EQ(lines.size(), 3u) << "two rows and the area below";
    EXPECT_EQ(lines[0].Color, clRed);
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{x, 0}, {x, kLineHeight}}));
    EXPECT_EQ(lines[2].Points, (std::vector<TPoint>{{x, 26}, {x, 65}}));

    EXPECT_TRUE(Lines(PaintArea(Rect(kText, 0, x, 65)), x).empty());
    edit.SetRightEdge(0);
    EXPECT_TRUE(host.PaintAll().CallsOf(TDrawKind::Line).size() == 2u) << "only the gutter edge";
}

TEST_F(EditorPaint, MarksStandSideBySideWithBookmarksLast) {
    edit.Gutter().SetWidth(60);
    FillLines(4);
    edit.SetBookmark(3, 1, 2);
    edit.SetBookmark(7, 1, 3);
    auto mark = std::make_unique<TMark>(&edit);
    mark->SetLine(3);
    mark->SetImageIndex(5);
    mark->SetInternalImage(true);
    mark->SetVisible(true);
    edit.Marks().Add(std::move(mark));
    auto bad = std::make_unique<TMark>(&edit);
    bad->SetLine(2);
    bad->SetImageIndex(10); // no such picture
    bad->SetInternalImage(true);
    bad->SetVisible(true);
    edit.Marks().Add(std::move(bad));

    const std::vector<TDrawCall> glyphs = host.PaintAll().CallsOf(TDrawKind::Bitmap);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[0].Points[0], (TPoint{2, 2 * kLineHeight})) << "the plain mark first";
    EXPECT_EQ(glyphs[1].Points[0], (TPoint{2, kLineHeight})) << "bookmark 3 on line 2";
    EXPECT_EQ(glyphs[2].Points[0], (TPoint{2 + 12, 2 * kLineHeight}))
        << "bookmark 7 right of the mark, Xoffset apart";

    edit.BookMarkOptions().SetGlyphsVisible(false);
    EXPECT_TRUE(host.PaintAll().CallsOf(TDrawKind::Bitmap).empty());
}

TEST_F(EditorPaint, TabsAreDrawnWhereTheCaretStands) {
    edit.SetTabWidth(4);
    edit.SetText("a\tb");
    const std::vector<TDrawCall> row = RowTexts(host.PaintAll(), 0);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].Text, "a   b");
    host.Focus();
    edit.SetCaretPos({3, 1}); // before b
    EXPECT_EQ(host.Caret().X, kText + 4 * kCharWidth - 1);
    EXPECT_EQ(edit.RowColumnToPixels({3, 1}).X, kText + 4 * kCharWidth);
    EXPECT_EQ(edit.PixelsToRowColumn({kText + 4 * kCharWidth + 2, 0}).X, 3) << "click on b";
    EXPECT_EQ(edit.PixelsToRowColumn({kText + 2 * kCharWidth + 7, 0}).X, 3)
        << "right half of the tab";
    EXPECT_EQ(edit.PixelsToRowColumn({kText + 2 * kCharWidth, 0}).X, 2) << "left half";
}

TEST_F(EditorPaint, MultiByteCharactersTakeOneCellAndWideOnesTwo) {
    // e-acute, a CJK ideograph, x
    edit.SetText("\xC3\xA9\xE4\xB8\xAD"
                 "x");
    const std::vector<TDrawCall> row = RowTexts(host.PaintAll(), 0);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].Advances, (std::vector<int>{kCharWidth, 0, 2 * kCharWidth, 0, 0, kCharWidth}));
    host.Focus();
    edit.SetCaretPos({6, 1}); // before x
    EXPECT_EQ(host.Caret().X, kText + 3 * kCharWidth - 1);
    EXPECT_EQ(edit.PixelsToRowColumn({kText + 3 * kCharWidth + 1, 0}).X, 6);
    EXPECT_EQ(edit.PixelsToRowColumn({kText + kCharWidth + 2, 0}).X, 3)
        << "left half of the wide character: before it";
}

TEST_F(EditorPaint, ByteOrderMarkIsNotDrawn) {
    edit.SetText("\xEF\xBB\xBF"
                 "abc\nxyz");
    EXPECT_EQ(RowTexts(host.PaintAll(), 0)[0].Text, "abc");
}

TEST_F(EditorPaint, Windows1252BytesAreOneCellEach) {
    SetActiveCodePage(TCodePage::Windows1252);
    edit.SetText("\xE9t\xE9!");
    const std::vector<TDrawCall> row = RowTexts(host.PaintAll(), 0);
    SetActiveCodePage(TCodePage::Utf8);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].Advances, std::vector<int>(4, kCharWidth));
}

TEST_F(EditorPaint, LongLinesAreLaidOutOnlyAsFarAsShown) {
    edit.SetHighLighter(&php);
    edit.SetText("<?php $x = '" + std::string(100000, 'y') + "';");
    std::size_t drawn = 0;
    for (const TDrawCall& call : RowTexts(host.PaintAll(), 0))
        drawn += call.Text.size();
    EXPECT_LE(drawn, 21u);
}

} // namespace
} // namespace ondrex::test

namespace ondrex::test {
namespace {

class EditorPaintSelection : public EditorPaint {
protected:
    void Select(TPoint from, TPoint to, TSelectionMode mode = smNormal) {
        edit.SetSelectionMode(mode);
        edit.SetSelectionStart(from);
        edit.SetSelectionEnd(to);
    }
    // (text, selected) of each text output of a row, fills included as "".
    std::vector<std::pair<std::string, bool>> Parts(int row) {
        std::vector<std::pair<std::string, bool>> parts;
        for (const TDrawCall& call : RowTexts(host.PaintAll(), row))
            parts.push_back({call.Text, call.BkColor == highlight});
        return parts;
    }
    using P = std::vector<std::pair<std::string, bool>>;
    const TColor highlight = ColorToRGB(clHighlight);
};

TEST_F(EditorPaintSelection, NormalSelectionSplitsRowsIntoParts) {
    edit.SetText("abcdefgh\nijklmnop\nqrstuvwx");
    Select({3, 1}, {5, 3});
    EXPECT_EQ(Parts(0), (P{{"ab", false}, {"cdefgh", true}}));
    EXPECT_EQ(Parts(1), (P{{"ijklmnop", true}}));
    EXPECT_EQ(Parts(2), (P{{"qrst", true}, {"uvwx", false}}));
    const std::vector<TDrawCall> first = RowTexts(host.PaintAll(), 0);
    EXPECT_EQ(first[1].Rect, Rect(kText + 2 * kCharWidth, 0, 192, 13))
        << "selected on to the right edge";
    EXPECT_EQ(first[1].Color, ColorToRGB(clHighlightText));
}

TEST_F(EditorPaintSelection, ColumnSelectionCoversTheSameBytesOnEveryLine) {
    edit.SetTabWidth(4);
    edit.SetText("abcdefgh\n\tb\nxy");
    Select({2, 1}, {4, 3}, smColumn);
    EXPECT_EQ(Parts(0), (P{{"a", false}, {"bc", true}, {"defgh", false}}));
    EXPECT_EQ(Parts(1), (P{{"    ", false}, {"b", true}, {"", false}}))
        << "bytes 2..3 of a tabbed line: b and the blank after it";
    EXPECT_EQ(RowTexts(host.PaintAll(), 1)[1].Rect.Right, kText + 6 * kCharWidth);
    EXPECT_EQ(Parts(2), (P{{"x", false}, {"y", true}, {"", false}}));
}

TEST_F(EditorPaintSelection, LineSelectionTakesWholeRows) {
    edit.SetText("abc\ndef\nghi");
    Select({2, 1}, {2, 2}, smLine);
    EXPECT_EQ(Parts(0), (P{{"abc", true}}));
    EXPECT_EQ(Parts(1), (P{{"def", true}}));
    EXPECT_EQ(Parts(2), (P{{"ghi", false}}));
}

TEST_F(EditorPaintSelection, HiddenWhileUnfocusedWithHideSelection) {
    edit.SetText("abcdef");
    Select({2, 1}, {4, 1});
    edit.SetHideSelection(true);
    EXPECT_EQ(Parts(0), (P{{"abcdef", false}}));
    host.Focus();
    EXPECT_EQ(Parts(0), (P{{"a", false}, {"bc", true}, {"def", false}}));
}

TEST_F(EditorPaintSelection, SelectionOnASpecialLineSwapsItsColours) {
    YellowOnBlueLine marker{1};
    marker.Attach(edit);
    edit.SetText("abcdef");
    Select({2, 1}, {4, 1});
    const std::vector<TDrawCall> row = RowTexts(host.PaintAll(), 0);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[1].Text, "bc");
    EXPECT_EQ(row[1].Color, clBlue);
    EXPECT_EQ(row[1].BkColor, clYellow);
    EXPECT_EQ(row[2].BkColor, clBlue);
    EXPECT_EQ(row[2].Rect.Right, 192) << "on to the row's end";
}

} // namespace
} // namespace ondrex::test
