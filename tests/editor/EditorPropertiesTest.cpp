// Published properties and their effects: fonts and the fixed-pitch rule, options, the
// gutter, text access, clearing, the scroll hint and the detaching on destruction.

#include "EditorTestSupport.h"

#include "highlighters/jxPHPSyn.h"
#include "platform/Application.h"
#include "platform/HintWindow.h"

#include <memory>
#include <string>

namespace ondrex::test {
namespace {

class EditorProperties : public EditorTest {
protected:
    EditorProperties() { SizeFor(40, 20); }
};

TEST_F(EditorProperties, DefaultsMatchTheComponent) {
    EXPECT_EQ(edit.Options(), 963);
    EXPECT_EQ(edit.Font().Name(), "Courier New");
    EXPECT_EQ(edit.Font().Size(), 10);
    EXPECT_EQ(edit.TabWidth(), 8);
    EXPECT_EQ(edit.RightEdge(), 80);
    EXPECT_EQ(edit.RightEdgeColor(), 12632256u);
    EXPECT_EQ(edit.MaxColumn(), 1024);
    EXPECT_EQ(edit.ScrollBars(), ssBoth);
    EXPECT_EQ(edit.BorderStyle(), bsSingle);
    EXPECT_EQ(edit.InsertCaret(), ctVerticalLine);
    EXPECT_EQ(edit.OverwriteCaret(), ctBlock);
    EXPECT_TRUE(edit.InsertMode());
    EXPECT_FALSE(edit.ReadOnly());
    EXPECT_FALSE(edit.WantTabs());
    EXPECT_EQ(edit.MaxUndo(), 10);
    EXPECT_EQ(edit.Keystrokes().Count(), 79);
    EXPECT_EQ(edit.LineCount(), 1);
    EXPECT_EQ(edit.Text(), "");
    EXPECT_EQ(edit.Cursor(), crIBeam);
}

TEST_F(EditorProperties, TabWidthIsClamped) {
    edit.SetTabWidth(-4);
    EXPECT_EQ(edit.TabWidth(), 0);
    edit.SetTabWidth(1000);
    EXPECT_EQ(edit.TabWidth(), 256);
}

// Faces the recording screen reports as proportional.
class ProportionalScreen : public TRecordingCanvas {
public:
    TTextMetric GetTextMetrics() override {
        TTextMetric tm = TRecordingCanvas::GetTextMetrics();
        if (Font.Name() == "Arial") {
            tm.FixedPitch = false;
            tm.MaxCharWidth = tm.AveCharWidth * 2;
        }
        return tm;
    }
};

TEST_F(EditorProperties, ProportionalFontGivesOnlySizeStyleAndColour) {
    GetFontsInfoManager().SetScreenCanvas(std::make_unique<ProportionalScreen>());
    TFont arial("Arial", -20, fsItalic);
    arial.SetColor(clRed);
    edit.SetFont(arial);
    EXPECT_EQ(edit.Font().Name(), "Courier New");
    EXPECT_EQ(edit.Font().Height(), -20);
    EXPECT_EQ(edit.Font().Style(), fsItalic);
    EXPECT_EQ(edit.Font().Color(), clRed);
    EXPECT_EQ(edit.Font().Pitch(), TFontPitch::fpFixed);
    EXPECT_EQ(edit.LineHeight(), 20);
    EXPECT_EQ(edit.CharWidth(), 12);
    EXPECT_EQ(edit.VisibleLines(), 20 * kLineHeight / 20) << "the visible area follows";

    TFont mono("Liberation Mono", -13);
    edit.SetFont(mono);
    EXPECT_EQ(edit.Font().Name(), "Liberation Mono");
}

TEST_F(EditorProperties, FontChangeResizesTheNumberedGutter) {
    edit.Gutter().SetShowLineNumbers(true);
    EXPECT_EQ(edit.GutterWidth(), 16 + 2 + 4 * 8 + 2);
    edit.SetFont(TFont("Courier New", -20));
    EXPECT_EQ(edit.GutterWidth(), 16 + 2 + 4 * 12 + 2);
}

TEST_F(EditorProperties, GutterChangeOfSameWidthRepaintsOnlyTheStrip) {
    host.ClearRecords();
    edit.Gutter().SetColor(clRed);
    ASSERT_EQ(host.Invalidations.size(), 1u);
    EXPECT_EQ(host.Invalidations[0], (TRect{0, 0, 30, 20 * kLineHeight}));
    edit.Gutter().SetWidth(50);
    EXPECT_EQ(edit.GutterWidth(), 50);
    EXPECT_EQ(edit.TextOffset(), 52);
    EXPECT_EQ(edit.VisibleColumns(), (352 - 52) / 8);
    edit.Gutter().SetVisible(false);
    EXPECT_EQ(edit.GutterWidth(), 0);
}

TEST_F(EditorProperties, TextAndCurrentLine) {
    edit.SetText("alpha\r\nbeta\rgamma\n");
    EXPECT_EQ(edit.LineCount(), 3);
    EXPECT_EQ(edit.Text(), "alpha\r\nbeta\r\ngamma");
    edit.SetCaretPos({1, 2});
    EXPECT_EQ(edit.CurrentLineText(), "beta");
    edit.SetCurrentLineText("BETA");
    EXPECT_EQ(edit.Lines().Get(1), "BETA");
    edit.SetText("");
    EXPECT_EQ(edit.LineCount(), 1) << "never without a line";
}

TEST_F(EditorProperties, LinesAreCopiedEvenWithoutAWindow) {
    TqvCustomEdit windowless;
    TqvEditList source;
    source.Add("one");
    source.Add("two");
    windowless.SetLines(source);
    EXPECT_EQ(windowless.Text(), "one\r\ntwo");
}

TEST_F(EditorProperties, ClearingResetsCaretSelectionAndView) {
    FillLines(100);
    edit.SetCaretPos({5, 60});
    edit.SetLeftColumn(7);
    edit.Lines().Clear();
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 1}));
    EXPECT_EQ(edit.TopLine(), 1);
    EXPECT_EQ(edit.LeftColumn(), 1);
    EXPECT_EQ(edit.SelectionStart(), (TPoint{1, 1}));
    EXPECT_EQ(edit.LineCount(), 1);
}

TEST_F(EditorProperties, ChangingLinesCollapsesTheSelectionAtTheCaret) {
    FillLines(10);
    edit.SetCaretPos({3, 4});
    edit.Lines().Put(0, "changed");
    EXPECT_EQ(edit.SelectionStart(), (TPoint{3, 4}));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{3, 4}));
}

TEST_F(EditorProperties, DropFilesOptionSwitchesTheWindowsAcceptance) {
    EXPECT_FALSE(host.AcceptsFiles());
    edit.SetOptions(edit.Options() | qveoDropFiles);
    EXPECT_TRUE(host.AcceptsFiles());
    std::vector<std::string> got;
    edit.OnDropFiles = TqvDropFilesEvent::fromFunction(
        [](void* out, TObject*, int, int, const std::vector<std::string>& files) {
            *static_cast<std::vector<std::string>*>(out) = files;
        },
        &got);
    host.SendDropFiles(5, 6, {"/tmp/a.php"});
    EXPECT_EQ(got, (std::vector<std::string>{"/tmp/a.php"}));
    edit.SetOptions(edit.Options() & ~qveoDropFiles);
    EXPECT_FALSE(host.AcceptsFiles());
}

TEST_F(EditorProperties, GutterShowsItsOwnCursor) {
    edit.Gutter().SetCursor(crHandPoint);
    EXPECT_EQ(host.CursorAt(5, 5), crHandPoint);
    EXPECT_EQ(host.CursorAt(100, 5), crIBeam);
}

class RecordingHint : public THintWindow {
public:
    TRect CalcHintRect(int, const std::string&) override { return {0, 0, 80, 20}; }
    void ActivateHint(const TRect& rect, const std::string& hint) override {
        shownAt = rect;
        text = hint;
        SetVisible(true);
    }
    TRect shownAt;
    std::string text;
};

TEST_F(EditorProperties, ScrollHintFollowsTheTrackedThumb) {
    RecordingHint* hint = nullptr;
    Application().HintWindowClass = [&hint] {
        auto window = std::make_unique<RecordingHint>();
        hint = window.get();
        return window;
    };
    FillLines(100);
    host.SetScreenOrigin({100, 200});
    host.SendScroll(TScrollBarKind::sbVertical, SB_THUMBTRACK, 42);
    Application().HintWindowClass = nullptr;
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text, "TopLine: 42");
    EXPECT_EQ(hint->shownAt, (TRect{100 + 352 - 80 - 4, 210, 100 + 352 - 4, 230}));
    host.SendScroll(TScrollBarKind::sbVertical, SB_ENDSCROLL, 0);
    EXPECT_FALSE(hint->Visible());

    edit.SetOptions(edit.Options() & ~qveoShowScrollHint);
    host.SendScroll(TScrollBarKind::sbVertical, SB_THUMBTRACK, 10);
    EXPECT_EQ(hint->text, "TopLine: 42");
}

TEST_F(EditorProperties, DestroyedEditorLeavesTheHighlighterUnhooked) {
    TjxPHPSyn php;
    {
        TqvCustomEdit other;
        other.SetHighLighter(&php);
    }
    php.KeyAttri->SetForeground(clRed); // would call into the freed editor
    SUCCEED();
}

} // namespace
} // namespace ondrex::test
