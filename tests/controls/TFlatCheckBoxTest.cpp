// The flat check box: what it paints in each state, how mouse, focus and keys toggle it,
// the shared hover tracking and the derived colours.

#include "controls/TFlatCheckBox.h"
#include "platform/SystemColors.h"
#include "platform/Timer.h"
#include "platform/testing/TestControlHost.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ondrex;

namespace {

constexpr TColor kFace = 0xE1EAEB;
const TRect kSquare = Rect(1, 3, 12, 14);

struct FlatCheckBoxTest : ::testing::Test {
    TFlatCheckBox box;
    TTestControlHost host{box};
    int clicks = 0;

    void SetUp() override {
        box.SetCaption("Include Dim statements");
        box.OnClick = TNotifyEvent::fromFunction(
            [](void* self, TObject*) { ++static_cast<FlatCheckBoxTest*>(self)->clicks; }, this);
    }

    // The colour the square was last filled with.
    TColor SquareFill() {
        const TRecordingCanvas& canvas = host.PaintAll();
        for (const TDrawCall& call : canvas.CallsOf(TDrawKind::FillRect))
            if (call.Rect == box.CheckRect()) return call.Color;
        return clNone;
    }

    void Click(int x = 5, int y = 5) {
        host.SendMouseDown(TMouseButton::mbLeft, ssLeft, x, y);
        host.SendMouseUp(TMouseButton::mbLeft, 0, x, y);
    }
};

} // namespace

TEST_F(FlatCheckBoxTest, PaintsTheSquareBorderAndCaption) {
    EXPECT_EQ(box.Width(), 121);
    EXPECT_EQ(box.Height(), 17);
    const TRecordingCanvas& canvas = host.PaintAll();
    const auto fills = canvas.CallsOf(TDrawKind::FillRect);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].Rect, box.ClientRect()); // the background
    EXPECT_EQ(fills[0].Color, kFace);
    EXPECT_EQ(fills[1].Rect, kSquare);
    EXPECT_EQ(fills[1].Color, kFace);
    const auto frames = canvas.CallsOf(TDrawKind::FrameRect);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Rect, kSquare);
    EXPECT_EQ(frames[0].Color, 0x8396A0u);
    EXPECT_TRUE(canvas.CallsOf(TDrawKind::Line).empty()); // no tick
    const auto texts = canvas.CallsOf(TDrawKind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "Include Dim statements");
    EXPECT_EQ(texts[0].Rect, Rect(16, 1, 120, 16));
    EXPECT_EQ(texts[0].Flags, unsigned(DT_WORDBREAK));
    EXPECT_EQ(texts[0].Color, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(texts[0].BkColor, clNone); // transparent
}

TEST_F(FlatCheckBoxTest, TickIsSixStrokesInTheCheckColour) {
    box.SetChecked(true);
    box.SetColorCheck(clNavy);
    const TRecordingCanvas& canvas = host.PaintAll();
    const auto lines = canvas.CallsOf(TDrawKind::Line);
    ASSERT_EQ(lines.size(), 6u);
    const TPoint expected[6][2] = {{{3, 7}, {7, 11}}, {{3, 8}, {6, 11}}, {{3, 9}, {6, 12}},
                                   {{9, 5}, {5, 9}},  {{9, 6}, {5, 10}}, {{9, 7}, {6, 10}}};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(lines[i].Points[0], expected[i][0]) << i;
        EXPECT_EQ(lines[i].Points[1], expected[i][1]) << i;
        EXPECT_EQ(lines[i].Color, clNavy) << i;
    }
    // The frame comes last, over the fill and the tick.
    EXPECT_EQ(canvas.Calls[canvas.Calls.size() - 2].Kind, TDrawKind::FrameRect);
}

TEST_F(FlatCheckBoxTest, RightLayoutPutsTheSquareRightAndAlignsTheCaptionRight) {
    box.SetLayout(TCheckBoxLayout::checkboxRight);
    box.SetChecked(true);
    EXPECT_EQ(box.CheckRect(), Rect(109, 3, 120, 14)); // x = 109..119
    const TRecordingCanvas& canvas = host.PaintAll();
    EXPECT_EQ(canvas.CallsOf(TDrawKind::FrameRect)[0].Rect, box.CheckRect());
    EXPECT_EQ(canvas.CallsOf(TDrawKind::Line)[0].Points[0], (TPoint{111, 7}));
    const TDrawCall text = canvas.CallsOf(TDrawKind::DrawText)[0];
    EXPECT_EQ(text.Rect, Rect(1, 1, 105, 16)); // x = 1..104
    EXPECT_EQ(text.Flags, unsigned(DT_WORDBREAK | DT_RIGHT));
}

TEST_F(FlatCheckBoxTest, DisabledBoxGreysItsTickEmbossesItsCaptionAndIgnoresClicks) {
    box.SetChecked(true);
    clicks = 0;
    box.SetEnabled(false);
    const TRecordingCanvas& canvas = host.PaintAll();
    for (const TDrawCall& line : canvas.CallsOf(TDrawKind::Line))
        EXPECT_EQ(line.Color, GetSysColor(COLOR_BTNSHADOW));
    const auto texts = canvas.CallsOf(TDrawKind::DrawText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Rect, Rect(17, 2, 121, 17));
    EXPECT_EQ(texts[0].Color, GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(texts[1].Rect, Rect(16, 1, 120, 16));
    EXPECT_EQ(texts[1].Color, GetSysColor(COLOR_BTNSHADOW));

    int downs = 0;
    box.OnMouseDown = TMouseEvent::fromFunction(
        [](void* n, TObject*, TMouseButton, TShiftState, int, int) { ++*static_cast<int*>(n); },
        &downs);
    host.SendMouseMove(0, 5, 5);
    Click();
    EXPECT_TRUE(box.Checked());
    EXPECT_FALSE(box.MouseIn());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(downs, 0);
}

TEST_F(FlatCheckBoxTest, SquareFillShowsHoverFocusAndHeldButton) {
    EXPECT_EQ(SquareFill(), kFace);
    host.SendMouseMove(0, 60, 8);
    EXPECT_TRUE(box.MouseIn());
    EXPECT_EQ(SquareFill(), 0xFFFFFFu);
    host.SendMouseDown(TMouseButton::mbLeft, ssLeft, 60, 8);
    EXPECT_TRUE(box.MouseIsDown());
    EXPECT_TRUE(box.HasFocus()); // the press took the focus
    EXPECT_EQ(SquareFill(), 0xC5D6D9u);
    host.SendMouseUp(TMouseButton::mbLeft, 0, 60, 8);
    host.SendMouseLeave();
    EXPECT_FALSE(box.MouseIn());
    EXPECT_EQ(SquareFill(), 0xFFFFFFu); // still focused
    host.Blur();
    EXPECT_EQ(SquareFill(), kFace);
}

TEST_F(FlatCheckBoxTest, EveryStateChangeRedrawsTheSquareAtOnce) {
    host.ClearRecords();
    host.SendMouseMove(0, 5, 5);
    ASSERT_FALSE(host.Invalidations.empty());
    EXPECT_EQ(host.Invalidations.back(), kSquare);
    EXPECT_GE(host.UpdateCalls, 1);
    ASSERT_NE(host.LastPaint(), nullptr);
    EXPECT_EQ(host.LastPaint()->CallsOf(TDrawKind::FrameRect).size(), 1u);
    host.ClearRecords();
    box.SetChecked(true);
    EXPECT_EQ(host.Invalidations, std::vector<TRect>{kSquare});
    EXPECT_EQ(host.PaintCount, 1);
}

TEST_F(FlatCheckBoxTest, ClickAnywhereTogglesAndRaisesOneOnClick) {
    host.SendMouseMove(0, 80, 10); // over the caption
    Click(80, 10);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 1);
    Click(80, 10);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(FlatCheckBoxTest, OtherButtonsAreIgnoredEntirely) {
    int events = 0;
    const auto count = TMouseEvent::fromFunction(
        [](void* n, TObject*, TMouseButton, TShiftState, int, int) { ++*static_cast<int*>(n); },
        &events);
    box.OnMouseDown = count;
    box.OnMouseUp = count;
    host.SendMouseMove(0, 5, 5);
    host.SendMouseDown(TMouseButton::mbRight, ssRight, 5, 5);
    host.SendMouseUp(TMouseButton::mbRight, 0, 5, 5);
    EXPECT_FALSE(box.Checked());
    EXPECT_FALSE(box.HasFocus());
    EXPECT_EQ(events, 0);
    Click();
    EXPECT_EQ(events, 2);
}

TEST_F(FlatCheckBoxTest, SettingTheSameValueRaisesNothing) {
    box.SetChecked(false);
    EXPECT_EQ(clicks, 0);
    box.SetChecked(true);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
}

TEST_F(FlatCheckBoxTest, PressDragOffAndReleaseStillTogglesThenTheTimerEndsTheHover) {
    host.SendMouseMove(0, 5, 5);
    host.SendMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
    host.SendMouseLeave(); // ignored while the button is held
    EXPECT_TRUE(box.MouseIn());
    host.SendMouseUp(TMouseButton::mbLeft, 0, 300, 5);
    EXPECT_TRUE(box.Checked());
    EXPECT_TRUE(box.MouseIn());
    TTimer* timer = TFlatCheckBox::HoverTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 100);
    timer->OnTimer()(timer);
    EXPECT_FALSE(box.MouseIn());
    EXPECT_EQ(TFlatCheckBox::Tracked(), nullptr);
    EXPECT_FALSE(timer->Enabled());
}

// Only a release while the box has the pointer toggles it: once the pointer has left (the
// leave came before any press), a release reaching the box changes nothing.
TEST_F(FlatCheckBoxTest, AReleaseAfterThePointerLeftLeavesTheBoxUnchecked) {
    host.SendMouseMove(0, 5, 5);
    host.SendMouseLeave();
    EXPECT_FALSE(box.MouseIn());
    host.SendMouseUp(TMouseButton::mbLeft, 0, 300, 5);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 0);
}

TEST_F(FlatCheckBoxTest, TimerKeepsTheHoverWhileThePointerStaysOver) {
    host.SendMouseMove(0, 5, 5);
    TTimer* timer = TFlatCheckBox::HoverTimer();
    timer->OnTimer()(timer);
    EXPECT_TRUE(box.MouseIn());
    EXPECT_EQ(TFlatCheckBox::Tracked(), &box);
}

TEST_F(FlatCheckBoxTest, HoverMovesStraightToTheNextBox) {
    TFlatCheckBox other;
    TTestControlHost otherHost(other);
    host.SendMouseMove(0, 5, 5);
    EXPECT_EQ(TFlatCheckBox::Tracked(), &box);
    otherHost.SendMouseMove(0, 5, 5); // no leave message, no timer tick
    EXPECT_FALSE(box.MouseIn());
    EXPECT_TRUE(other.MouseIn());
    EXPECT_EQ(TFlatCheckBox::Tracked(), &other);
}

TEST_F(FlatCheckBoxTest, NoHoverWhileTheApplicationIsInactive) {
    host.SetApplicationActive(false);
    host.SendMouseMove(0, 5, 5);
    EXPECT_FALSE(box.MouseIn());
    EXPECT_EQ(TFlatCheckBox::Tracked(), nullptr);
}

TEST_F(FlatCheckBoxTest, FocusShowsInTheFillAndRaisesEnterAndExit) {
    int enters = 0;
    box.OnEnter =
        TNotifyEvent::fromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &enters);
    host.SendMouseMove(0, 5, 5);
    host.Focus();
    EXPECT_TRUE(box.HasFocus());
    EXPECT_EQ(enters, 1);
    host.Blur();
    EXPECT_FALSE(box.HasFocus());
    EXPECT_FALSE(box.MouseIn()); // losing the focus ends the hover state too
    host.SendMouseMove(0, 6, 5); // and the next move over the box shows it again
    EXPECT_TRUE(box.MouseIn());
}

TEST_F(FlatCheckBoxTest, SpaceTogglesOnlyWhileFocused) {
    host.SendChar(" ");
    EXPECT_FALSE(box.Checked());
    host.Focus();
    host.SendChar(" ");
    EXPECT_TRUE(box.Checked());
    host.SendChar("x");
    EXPECT_TRUE(box.Checked());
    host.SendChar(" ");
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(FlatCheckBoxTest, AcceleratorFocusesAndToggles) {
    box.SetCaption("Include &Dim statements");
    EXPECT_FALSE(box.DialogChar("x"));
    EXPECT_TRUE(box.DialogChar("d"));
    EXPECT_TRUE(box.HasFocus());
    EXPECT_TRUE(box.Checked());
    box.SetCaption("Fish && &Chips");
    EXPECT_TRUE(box.DialogChar(" ")); // Space while focused
    EXPECT_FALSE(box.Checked());
    EXPECT_TRUE(box.DialogChar("C"));
    EXPECT_TRUE(box.Checked());
    box.SetEnabled(false);
    EXPECT_FALSE(box.DialogChar("c"));
}

TEST_F(FlatCheckBoxTest, DisablingEndsHoverAndHeldState) {
    host.SendMouseMove(0, 5, 5);
    host.SendMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
    box.SetEnabled(false);
    EXPECT_FALSE(box.MouseIn());
    EXPECT_FALSE(box.MouseIsDown());
    EXPECT_EQ(TFlatCheckBox::Tracked(), nullptr);
    EXPECT_FALSE(TFlatCheckBox::HoverTimer()->Enabled());
}

TEST_F(FlatCheckBoxTest, ParentColourAndFontAreTakenUntilSetDirectly) {
    box.ParentColorChanged(clBtnFace);
    EXPECT_EQ(box.Color(), clBtnFace);
    TFont tahoma("Tahoma", -13);
    box.ParentFontChanged(tahoma);
    EXPECT_EQ(box.Font().Name(), "Tahoma");
    box.SetColor(clWhite);
    EXPECT_FALSE(box.ParentColor());
    box.ParentColorChanged(clGray);
    EXPECT_EQ(box.Color(), clWhite);
    box.SetFont(TFont("Courier New", -13));
    box.ParentFontChanged(tahoma);
    EXPECT_EQ(box.Font().Name(), "Courier New");
}

TEST_F(FlatCheckBoxTest, AdvancedColoursFollowTheParentColour) {
    const TColor panel = RGB(100, 140, 180);
    box.ParentColorChanged(panel);
    box.SetColor(clWhite); // ParentColor off
    box.SetUseAdvColors(true);
    EXPECT_TRUE(box.ParentColor());
    EXPECT_EQ(box.Color(), panel);
    EXPECT_EQ(box.ColorFocused(), CalcAdvancedColor(panel, 0, 10, TColorCalcType::lighten));
    EXPECT_EQ(box.ColorDown(), CalcAdvancedColor(panel, 0, 10, TColorCalcType::darken));
    EXPECT_EQ(box.ColorBorder(), CalcAdvancedColor(panel, 0, 50, TColorCalcType::darken));

    box.SetColorFocused(clRed);
    box.SetAdvColorFocused(0); // a zero step leaves that colour as it was
    EXPECT_EQ(box.ColorFocused(), clRed);
    box.SetAdvColorBorder(500); // clamped
    EXPECT_EQ(box.AdvColorBorder(), 100);

    const TColor darker = RGB(40, 60, 80);
    box.ParentColorChanged(darker);
    EXPECT_EQ(box.ColorDown(), CalcAdvancedColor(darker, 0, 10, TColorCalcType::darken));
}

TEST(FlatCheckBoxTracking, SharedTimerLivesWithTheBoxesAndForgetsADestroyedOne) {
    EXPECT_EQ(TFlatCheckBox::HoverTimer(), nullptr);
    {
        auto first = std::make_unique<TFlatCheckBox>();
        TTimer* timer = TFlatCheckBox::HoverTimer();
        ASSERT_NE(timer, nullptr);
        {
            TFlatCheckBox second;
            TTestControlHost host(second);
            host.SendMouseMove(0, 5, 5);
            EXPECT_EQ(TFlatCheckBox::Tracked(), &second);
            EXPECT_EQ(TFlatCheckBox::HoverTimer(), timer);
        }
        EXPECT_EQ(TFlatCheckBox::Tracked(), nullptr);
        EXPECT_FALSE(timer->Enabled());
    }
    EXPECT_EQ(TFlatCheckBox::HoverTimer(), nullptr);
}
