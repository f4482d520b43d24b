#include "platform/Bitmap.h"
#include "platform/testing/RecordingCanvas.h"
#include "platform/SystemColors.h"

#include <gtest/gtest.h>

using namespace ondrex;

TEST(RecordingCanvas, TextOutputKeepsColoursFontAndGeometry) {
    TRecordingCanvas c;
    c.Font = TFont("Courier New", -13, fsBold);
    c.Font.SetColor(clYellow);
    c.BkColor = clBlue;
    const TRect row{30, 15, 200, 30};
    const int advances[] = {8, 8, 8};
    c.ExtTextOut(30, 15, ETO_OPAQUE | ETO_CLIPPED, &row, "Dim", advances);

    ASSERT_EQ(c.Calls.size(), 1u);
    const TDrawCall& call = c.Calls[0];
    EXPECT_EQ(call.Kind, TDrawKind::Text);
    EXPECT_EQ(call.Text, "Dim");
    EXPECT_EQ(call.Color, clYellow);
    EXPECT_EQ(call.BkColor, clBlue);
    EXPECT_EQ(call.Rect, row);
    EXPECT_EQ(call.Points, (std::vector<TPoint>{{30, 15}}));
    EXPECT_EQ(call.Advances, (std::vector<int>{8, 8, 8}));
    EXPECT_EQ(call.Flags, unsigned(ETO_OPAQUE | ETO_CLIPPED));
    EXPECT_EQ(call.FontName, "Courier New");
    EXPECT_EQ(call.FontStyle, fsBold);

    c.BkMode = TBkMode::bkTransparent;
    c.Font.SetColor(clHighlightText);
    c.TextOut(0, 0, "ab");
    EXPECT_EQ(c.Calls[1].BkColor, clNone);
    EXPECT_EQ(c.Calls[1].Color, clWhite); // system colours are recorded resolved
    EXPECT_EQ(c.Calls[1].Rect, (TRect{0, 0, 16, 13}));
}

TEST(RecordingCanvas, ShapesWithTheirColours) {
    TRecordingCanvas c({0, 0, 100, 50});
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, 10, 10});
    c.Brush.Style = TBrushStyle::bsClear;
    c.FillRect({0, 0, 10, 10});
    c.Pen.Color = clRed;
    c.MoveTo(1, 2);
    c.LineTo(3, 4);
    const TPoint arrow[] = {{0, 0}, {0, 6}, {1, 6}};
    c.Polyline(arrow);
    c.SetPixel(5, 5, clGreen);
    c.DrawFocusRect({1, 1, 5, 5});
    TBitmap picture(4, 3);
    c.Draw(7, 8, picture);

    ASSERT_EQ(c.Calls.size(), 7u);
    EXPECT_EQ(c.Calls[0].Color, RGB(212, 208, 200));
    EXPECT_EQ(c.Calls[1].Color, clNone);
    EXPECT_EQ(c.Calls[2].Kind, TDrawKind::Line);
    EXPECT_EQ(c.Calls[2].Points, (std::vector<TPoint>{{1, 2}, {3, 4}}));
    EXPECT_EQ(c.Calls[2].Color, clRed);
    EXPECT_EQ(c.Calls[3].Kind, TDrawKind::Polyline);
    EXPECT_EQ(c.Calls[3].Points.size(), 3u);
    EXPECT_EQ(c.GetPixel(5, 5), clGreen);
    EXPECT_EQ(c.GetPixel(6, 5), clNone);
    EXPECT_EQ(c.Calls[5].Kind, TDrawKind::FocusRect);
    EXPECT_EQ(c.Calls[6].Rect, (TRect{7, 8, 11, 11}));
    EXPECT_EQ(c.CallsOf(TDrawKind::Pixel).size(), 1u);
    EXPECT_EQ(c.Calls[0].Clip, (TRect{0, 0, 100, 50}));
}

TEST(RecordingCanvas, FixedCellMetrics) {
    TRecordingCanvas c;
    c.Font = TFont("Courier New", -13);
    const TTextMetric tm = c.GetTextMetrics();
    EXPECT_EQ(tm.Height, 13);
    EXPECT_EQ(tm.AveCharWidth, 8);
    EXPECT_TRUE(tm.FixedPitch);
    TABC abc;
    EXPECT_TRUE(c.GetCharABCWidths(U'M', abc));
    EXPECT_EQ(abc.Advance(), 8);
    EXPECT_EQ(c.TextExtent("\xC3\xA9z"), (TSize{24, 13})); // a cell per byte

    c.SetCellSize(7, 16);
    EXPECT_EQ(c.TextExtent("ab"), (TSize{14, 16}));
    EXPECT_EQ(c.GetTextMetrics().Ascent + c.GetTextMetrics().Descent, 16);
}

TEST(RecordingCanvas, SaveRestoreAndClip) {
    TRecordingCanvas c({0, 0, 100, 100});
    c.Save();
    c.Font.SetName("Tahoma");
    c.Brush.Color = clRed;
    c.IntersectClipRect({10, 10, 20, 20});
    c.FillRect({0, 0, 5, 5});
    EXPECT_EQ(c.Calls.back().Clip, (TRect{10, 10, 20, 20}));
    c.Restore();
    EXPECT_EQ(c.Font.Name(), "MS Sans Serif");
    EXPECT_EQ(c.Brush.Color, clWhite);
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 100, 100}));
    c.SetPixel(15, 15, clRed);
    c.IntersectClipRect({0, 0, 5, 5});
    c.SetPixel(50, 50, clRed); // recorded, but clipped away
    EXPECT_EQ(c.GetPixel(50, 50), clNone);
}
