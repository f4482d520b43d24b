#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"

#include <gtest/gtest.h>

using namespace ondrex;

TEST(Font, SettersNotifyOnlyOnChange) {
    struct Counter : TObject {
        int changes = 0;
        void Changed(TObject*) { ++changes; }
    } counter;
    TFont font;
    font.OnChange = TNotifyEvent::bind<&Counter::Changed>(&counter);
    font.SetName("Courier New");
    font.SetName("Courier New");
    font.SetStyle(fsBold | fsItalic);
    font.SetColor(clRed);
    font.SetHeight(font.Height());
    EXPECT_EQ(counter.changes, 3);
    EXPECT_EQ(font.Weight(), FW_BOLD);
    font.SetWeight(FW_NORMAL);
    EXPECT_EQ(font.Style(), fsItalic);
}

TEST(Font, PointsAndPixelsAt96Dpi) {
    TFont font;
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
}

TEST(Font, SameFontIgnoresColourAndCopiesKeepTheirOwnHandler) {
    TFont a("Courier New", -13), b("Courier New", -13);
    b.SetColor(clBlue);
    EXPECT_TRUE(a.SameFont(b));
    b.SetStyle(fsUnderline);
    EXPECT_FALSE(a.SameFont(b));
    int changes = 0;
    a.OnChange =
        TNotifyEvent::fromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &changes);
    a = b;
    a = b;
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(a.SameFont(b));
    const TFont copy(a);
    EXPECT_FALSE(copy.OnChange);
}

TEST(Font, ClassicFacesResolveToInstalledFaces) {
    EXPECT_EQ(ResolveFontFamily("Courier New"), "Liberation Mono");
    EXPECT_EQ(ResolveFontFamily("Tahoma"), "Liberation Sans");
    EXPECT_EQ(ResolveFontFamily("MS Sans Serif"), "Liberation Sans");
}

// The editor's font: every style must keep the same fixed cell.
TEST(FontMetrics, CourierNew13IsFixedPitch) {
    auto canvas = CreateScreenCanvas();
    canvas->Font = TFont("Courier New", -13);
    const TTextMetric tm = canvas->GetTextMetrics();
    EXPECT_TRUE(tm.FixedPitch);
    EXPECT_EQ(tm.AveCharWidth, 8);
    EXPECT_GE(tm.Height, 14);
    EXPECT_LE(tm.Height, 16);
    EXPECT_EQ(tm.Ascent + tm.Descent, tm.Height);
    EXPECT_GE(tm.InternalLeading, 0);
    EXPECT_EQ(tm.Overhang, 0);

    TABC abc;
    ASSERT_TRUE(canvas->GetCharABCWidths(U'M', abc));
    EXPECT_EQ(abc.Advance(), tm.AveCharWidth);
    EXPECT_GT(abc.B, 0);
    EXPECT_EQ(canvas->TextWidth("Mil.i"), 5 * tm.AveCharWidth);

    for (TFontStyles style :
         {TFontStyles(fsBold), TFontStyles(fsItalic), TFontStyles(fsBold | fsItalic)}) {
        canvas->Font.SetStyle(style);
        ASSERT_TRUE(canvas->GetCharABCWidths(U'M', abc));
        EXPECT_EQ(abc.Advance(), tm.AveCharWidth) << "style " << int(style);
        EXPECT_EQ(canvas->GetTextMetrics().Height, tm.Height) << "style " << int(style);
    }
}

TEST(FontMetrics, ProportionalFaceAndCellHeight) {
    auto canvas = CreateScreenCanvas();
    canvas->Font = TFont("Tahoma", -11);
    const TTextMetric tm = canvas->GetTextMetrics();
    EXPECT_FALSE(tm.FixedPitch);
    EXPECT_LT(canvas->TextWidth("iiii"), canvas->TextWidth("WWWW"));
    EXPECT_GE(tm.MaxCharWidth, tm.AveCharWidth);

    // A positive height asks for the cell height.
    canvas->Font = TFont("Courier New", 20);
    EXPECT_NEAR(canvas->GetTextMetrics().Height, 20, 1);
}

TEST(FontMetrics, MultiByteCharacterMeasuresAsOneGlyph) {
    auto canvas = CreateScreenCanvas();
    canvas->Font = TFont("Courier New", -13);
    EXPECT_EQ(canvas->TextWidth("\xC3\xA9"), canvas->TextWidth("e")); // é in UTF-8
}
