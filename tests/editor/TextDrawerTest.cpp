// The font registry shares measured fonts between drawers of equal fonts, per-style fonts
// are made once, and the drawer writes fixed cells; broken call pairs are reported as
// assertion failures naming the unit.

#include "EditorTestSupport.h"

#include "editor/TuzTextDrawer.h"

#include <string>
#include <utility>

namespace ondrex::test {
namespace {

// A screen whose fonts have chosen metrics, with or without ABC widths.
class MetricsCanvas : public TRecordingCanvas {
public:
    TTextMetric GetTextMetrics() override {
        TTextMetric tm = TRecordingCanvas::GetTextMetrics();
        tm.AveCharWidth = 7;
        tm.Overhang = 1;
        tm.Height = -15;
        return tm;
    }
    bool GetCharABCWidths(char32_t, TABC& abc) override {
        abc = {1, 6, 2};
        return haveAbc;
    }
    bool haveAbc = true;
};

class TextDrawer : public ::testing::Test {
protected:
    RecordingScreen screen;
    TFont courier{"Courier New", -13};
};

TEST_F(TextDrawer, EqualFontsShareOneRecord) {
    const int before = GetFontsInfoManager().Count();
    TuzTextDrawer first(0, &courier);
    TFont italic = courier;
    italic.SetStyle(fsItalic | fsUnderline);
    italic.SetColor(clRed);
    {
        TuzTextDrawer second(0, &italic);
        EXPECT_EQ(GetFontsInfoManager().Count(), before + 1) << "italic and colour do not count";
        TFont bold = courier;
        bold.SetStyle(fsBold);
        TuzTextDrawer third(0, &bold);
        EXPECT_EQ(GetFontsInfoManager().Count(), before + 2) << "the weight does";
    }
    EXPECT_EQ(GetFontsInfoManager().Count(), before + 1);
    first.SetBaseFont(&courier);
    EXPECT_EQ(GetFontsInfoManager().Count(), before + 1) << "the same font again adds nothing";
}

TEST_F(TextDrawer, StyleFontsAreMadeOnceAndGivenBackTogether) {
    TuzFontStock stock;
    stock.SetBaseFont(&courier);
    TuzFontStock other;
    other.SetBaseFont(&courier);
    ASSERT_EQ(stock.FontsInfo(), other.FontsInfo());
    EXPECT_EQ(stock.FontsInfo()->RefCount, 2);

    stock.SelectStyle(fsBold);
    const TFont* bold = stock.FontHandle();
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(bold->Weight(), FW_BOLD);
    stock.SelectStyle(0);
    stock.SelectStyle(fsBold);
    EXPECT_EQ(stock.FontHandle(), bold) << "made once";

    stock.GiveBackFontHandles();
    EXPECT_NE(other.FontsInfo()->Slots[fsBold].Handle, nullptr) << "the other stock holds them";
    other.GiveBackFontHandles();
    for (const TuzFontSlot& slot : other.FontsInfo()->Slots)
        EXPECT_EQ(slot.Handle, nullptr);
    other.SelectStyle(fsItalic);
    EXPECT_NE(other.FontHandle(), nullptr) << "made anew";
}

TEST_F(TextDrawer, CellIsTheAdvanceOfMOrTheAverageWidth) {
    auto canvas = std::make_unique<MetricsCanvas>();
    MetricsCanvas& metrics = *canvas;
    GetFontsInfoManager().SetScreenCanvas(std::move(canvas));
    {
        TuzTextDrawer drawer(0, &courier);
        EXPECT_EQ(drawer.CharWidth(), 1 + 6 + 2 + 1) << "A + B + C + overhang";
        EXPECT_EQ(drawer.CharHeight(), 15);
        drawer.SetCharExtra(2);
        EXPECT_EQ(drawer.CharWidth(), 12);
    }
    metrics.haveAbc = false;
    TuzTextDrawer drawer(0, &courier);
    EXPECT_EQ(drawer.CharWidth(), 7) << "no ABC widths: the average, without overhang";
}

TEST_F(TextDrawer, SpacingTableGrowsInStepsOf64) {
    TRecordingCanvas canvas;
    const TRect clip{0, 0, 1000, 20};
    for (auto [length, table] : {std::pair{63, 64}, {64, 128}, {100, 128}}) {
        TuzTextDrawer drawer(0, &courier);
        drawer.BindContext(&canvas);
        drawer.PutTextSpaced(0, 0, ETO_OPAQUE, clip, std::string(std::size_t(length), 'a'));
        drawer.UnbindContext();
        EXPECT_EQ(drawer.SpacingTableLength(), table) << length << " characters";
    }
    const TDrawCall& last = canvas.Calls.back();
    ASSERT_EQ(last.Advances.size(), 100u);
    for (int advance : last.Advances)
        EXPECT_EQ(advance, 8);
    EXPECT_EQ(last.Flags, unsigned(ETO_OPAQUE));
}

TEST_F(TextDrawer, EveryCellKeepsOneWidthAfterTheSpacingChanges) {
    TuzTextDrawer drawer(0, &courier);
    TRecordingCanvas canvas;
    drawer.BindContext(&canvas);
    drawer.PutTextSpaced(0, 0, 0, {0, 0, 900, 20}, "abc");
    drawer.SetCharExtra(3);
    drawer.PutTextSpaced(0, 0, 0, {0, 0, 900, 20}, std::string(70, 'x'));
    drawer.UnbindContext();
    for (int advance : canvas.Calls.back().Advances)
        EXPECT_EQ(advance, 11);
}

TEST_F(TextDrawer, BindingAppliesFontAndColoursAndUnbindingRestoresThem) {
    TuzTextDrawer drawer(0, &courier);
    TRecordingCanvas canvas;
    canvas.BkColor = clGreen;
    drawer.SetForeColor(clYellow);
    drawer.SetBackColor(clBlue);
    drawer.BindContext(&canvas);
    drawer.BindContext(&canvas);
    EXPECT_EQ(canvas.Font.Name(), "Courier New");
    EXPECT_EQ(canvas.Font.Color(), clYellow);
    EXPECT_EQ(canvas.BkColor, clBlue);
    drawer.SetStyle(fsBold);
    EXPECT_EQ(canvas.Font.Style(), fsBold);
    drawer.SetBackColor(clRed);
    EXPECT_EQ(canvas.BkColor, clRed);
    drawer.UnbindContext();
    EXPECT_EQ(drawer.BoundCanvas(), &canvas) << "still nested once";
    drawer.UnbindContext();
    EXPECT_EQ(drawer.BoundCanvas(), nullptr);
    EXPECT_EQ(canvas.BkColor, clGreen);
}

template <class E> std::string MessageOf(auto&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "no exception";
}

TEST_F(TextDrawer, BrokenPairingIsAnAssertionNamingTheUnit) {
    TuzTextDrawer drawer(0, &courier);
    TRecordingCanvas one, two;
    EXPECT_NE(MessageOf<EuzAssertion>([&] { drawer.UnbindContext(); }).find("(uTextDrawer)"),
              std::string::npos);
    EXPECT_THROW(drawer.BindContext(nullptr), EuzAssertion);
    drawer.BindContext(&one);
    EXPECT_THROW(drawer.BindContext(&two), EuzAssertion);
    drawer.UnbindContext();

    TuzFontsInfoManager& manager = GetFontsInfoManager();
    const TFont unshared("Unshared Face", -13);
    TuzFontsInfo* info = manager.FindOrAddFontsInfo(&unshared);
    manager.HoldFontHandles(info);
    manager.HoldFontHandles(info);
    EXPECT_NE(MessageOf<EuzAssertion>([&] {
                  manager.DropFontsInfoRef(info);
              }).find("Call DeactivateFontsInfo before calling this."),
              std::string::npos);
    manager.DeactivateFontsInfo(info);
    manager.DeactivateFontsInfo(info);
    EXPECT_THROW(manager.DeactivateFontsInfo(info), EuzAssertion);
    manager.DropFontsInfoRef(info);

    TuzFontStock stock;
    EXPECT_THROW(stock.SelectStyle(0), EuzAssertion);
    stock.SetBaseFont(&courier);
    EXPECT_THROW(stock.SelectStyle(17), EuzAssertion);
    stock.SelectStyle(16);
}

TEST_F(TextDrawer, MissingFontsAreRefusedWithTheirMessage) {
    TuzTextDrawer drawer(0, &courier);
    EXPECT_EQ(MessageOf<EuzTextDrawerException>([&] { drawer.SetBaseFont(nullptr); }),
              "SetBaseFont: 'Value' must be specified.");
    TuzFontStock stock;
    EXPECT_EQ(MessageOf<EuzFontStockException>([&] { stock.SetBaseFont(nullptr); }),
              "SetBaseFont: 'Value' must be specified.");
}

TEST_F(TextDrawer, EditorTakesItsCellFromTheDrawer) {
    auto canvas = std::make_unique<MetricsCanvas>();
    GetFontsInfoManager().SetScreenCanvas(std::move(canvas));
    TqvCustomEdit edit;
    EXPECT_EQ(edit.CharWidth(), 10);
    EXPECT_EQ(edit.LineHeight(), 15);
    edit.SetExtraLineSpacing(3);
    EXPECT_EQ(edit.LineHeight(), 18);
    edit.SetExtraLineSpacing(-40);
    EXPECT_EQ(edit.LineHeight(), 1) << "never a row of no pixels";
}

} // namespace
} // namespace ondrex::test
