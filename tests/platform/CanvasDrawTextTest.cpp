// DrawText's layout, on the recording canvas's fixed 8 x 13 cells.

#include "platform/testing/RecordingCanvas.h"

#include <gtest/gtest.h>

using namespace ondrex;

namespace {

// Keeps the text outputs a DrawText is made of.
class TPieces : public TRecordingCanvas {
public:
    TPieces() { Font = TFont("Courier New", -13); }
    struct TPiece {
        TPoint At;
        std::string Text;
        unsigned Options;
    };
    std::vector<TPiece> Pieces;
    void ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                    std::span<const int> advances) override {
        Pieces.push_back({{x, y}, std::string(text), options});
        TRecordingCanvas::ExtTextOut(x, y, options, rect, text, advances);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const TPiece& p : Pieces)
            out.push_back(p.Text);
        return out;
    }
};

using Lines = std::vector<std::string>;

} // namespace

TEST(DrawTextLayout, CalcRectMeasuresWithoutDrawing) {
    TPieces c;
    TRect r{10, 20, 500, 500};
    EXPECT_EQ(c.DrawText("Hello", r, DT_SINGLELINE | DT_CALCRECT), 13);
    EXPECT_EQ(r, (TRect{10, 20, 50, 33}));
    EXPECT_TRUE(c.Pieces.empty());
    EXPECT_TRUE(c.Calls.empty());

    TRect two{0, 0, 500, 0};
    EXPECT_EQ(c.DrawText("ab\r\nabcd\nx", two, DT_CALCRECT), 3 * 13);
    EXPECT_EQ(two, (TRect{0, 0, 32, 39}));
}

TEST(DrawTextLayout, WordBreakWrapsAtBlanksAndKeepsLongWordsWhole) {
    TPieces c;
    TRect r{0, 0, 60, 100};
    EXPECT_EQ(c.DrawText("aaa bbb ccc", r, DT_WORDBREAK), 26);
    EXPECT_EQ(c.Texts(), (Lines{"aaa bbb", "ccc"}));
    EXPECT_EQ(c.Pieces[1].At, (TPoint{0, 13}));

    c.Pieces.clear();
    TRect narrow{0, 0, 30, 100};
    c.DrawText("a verylongword b", narrow, DT_WORDBREAK);
    EXPECT_EQ(c.Texts(), (Lines{"a", "verylongword", "b"}));

    // The flat hint's measure: the box shrinks to the widest line.
    TRect hint{0, 0, 178, 0};
    c.DrawText("one two three four five six seven eight nine", hint,
               DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_LE(hint.Width(), 178);
    EXPECT_EQ(hint.Height(), 3 * 13);
}

TEST(DrawTextLayout, LineBreaksAndSingleLine) {
    TPieces c;
    TRect r{0, 0, 200, 100};
    c.DrawText("one\r\ntwo\rthree\n\nfive", r, 0);
    EXPECT_EQ(c.Texts(), (Lines{"one", "two", "three", "", "five"}));
    EXPECT_EQ(c.Pieces[4].At.Y, 4 * 13);

    c.Pieces.clear();
    c.DrawText("one\ntwo", r, DT_SINGLELINE);
    EXPECT_EQ(c.Texts(), (Lines{"one\ntwo"}));
}

TEST(DrawTextLayout, AlignmentAndVerticalPlacement) {
    TPieces c;
    TRect r{0, 0, 100, 33};
    c.DrawText("abcd", r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(c.Pieces.back().At, (TPoint{68, 10}));
    c.DrawText("abcd", r, DT_CENTER | DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(c.Pieces.back().At, (TPoint{34, 20}));
    c.DrawText("abcd", r, DT_LEFT | DT_VCENTER); // vertical placement needs a single line
    EXPECT_EQ(c.Pieces.back().At, (TPoint{0, 0}));
    EXPECT_EQ(c.Pieces.back().Options, unsigned(ETO_CLIPPED));
    c.DrawText("abcd", r, DT_NOCLIP);
    EXPECT_EQ(c.Pieces.back().Options, 0u);
}

TEST(DrawTextLayout, EndEllipsisCutsToFit) {
    TPieces c;
    TRect r{0, 0, 50, 13};
    c.DrawText("abcdefghij", r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(c.Texts(), (Lines{"abc..."}));
    TRect measured = r;
    c.DrawText("abcdefghij", measured, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_EQ(measured.Width(), 48);

    c.Pieces.clear();
    c.DrawText("abcdef", r, DT_SINGLELINE | DT_END_ELLIPSIS); // 48 pixels: fits
    EXPECT_EQ(c.Texts(), (Lines{"abcdef"}));

    c.Pieces.clear();
    TRect tiny{0, 0, 10, 13};
    c.DrawText("\xC3\xA9\xC3\xA9\xC3\xA9", tiny, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(c.Texts(), (Lines{"..."})); // never cut inside a character

    c.Pieces.clear();
    TRect mixed{0, 0, 64, 13}; // room for 5 cells and "..."
    c.DrawText("a\xF0\x9F\x98\x80"
               "bcdefgh",
               mixed, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(c.Texts(), (Lines{"a\xF0\x9F\x98\x80..."}));

    c.Pieces.clear();
    const std::string longCell(100000, 'x');
    c.DrawText(longCell, r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(c.Texts(), (Lines{"xxx..."}));
}

TEST(DrawTextLayout, AcceleratorPrefixes) {
    TPieces c;
    c.Font.SetColor(clRed);
    TRect r{0, 0, 200, 13};
    c.DrawText("Include &Dim && more", r, 0);
    EXPECT_EQ(c.Texts(), (Lines{"Include Dim & more"}));
    // The underline is drawn, but as part of the one recorded DrawText.
    ASSERT_EQ(c.Calls.size(), 1u);
    EXPECT_EQ(c.Calls[0].Kind, TDrawKind::DrawText);
    EXPECT_EQ(c.Calls[0].Text, "Include &Dim && more");

    TRect r2 = r;
    struct TFills : TRecordingCanvas {
        std::vector<TRect> Fills;
        void FillRect(const TRect& rect) override { Fills.push_back(rect); }
    } fills;
    fills.Font = TFont("Courier New", -13);
    fills.DrawText("&File", r2, 0);
    ASSERT_EQ(fills.Fills.size(), 1u);
    EXPECT_EQ(fills.Fills[0].Left, 0);
    EXPECT_EQ(fills.Fills[0].Width(), 8);
    fills.DrawText("x&&y &z", r2, DT_NOPREFIX);
    EXPECT_EQ(fills.Fills.size(), 1u);
    TRect calc = r;
    fills.DrawText("&&&a&", calc, DT_CALCRECT); // "&a": the last "&" stands alone
    EXPECT_EQ(calc.Width(), 2 * 8);
    EXPECT_EQ(fills.Fills.size(), 1u);
}

TEST(DrawTextLayout, ExpandTabsToEightAverageWidths) {
    TPieces c;
    TRect r{0, 0, 300, 13};
    c.DrawText("a\tbc\td", r, DT_EXPANDTABS);
    ASSERT_EQ(c.Texts(), (Lines{"a", "bc", "d"}));
    EXPECT_EQ(c.Pieces[1].At.X, 64);
    EXPECT_EQ(c.Pieces[2].At.X, 128);
    TRect calc = r;
    c.DrawText("a\tbc\td", calc, DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(calc.Width(), 136);
}
