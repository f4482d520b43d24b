// The flat hint: which side of the pointer it opens on, its parts and arrow, wrapping, the
// application settings it installs and the plain look when no TFlatHint exists.

#include "controls/TFlatHint.h"
#include "controls/TFlatHintWindow.h"
#include "platform/Canvas.h"
#include "platform/HintController.h"
#include "platform/SystemColors.h"
#include "platform/testing/TestControlHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using namespace ondrex;

namespace {

const TRect kScreen{0, 0, 1024, 768};

struct FlatHintTest : ::testing::Test {
    std::unique_ptr<TFlatHint> flat = std::make_unique<TFlatHint>();
    TFlatHintWindow window;
    TTestControlHost host{window};

    void TearDown() override {
        flat.reset();
        TApplication& app = Application();
        app.Hints().ReleaseWindow();
        app.HintWindowClass = {};
        app.HintPause = 500;
        app.HintShortPause = 50;
        app.HintHidePause = 2500;
    }

    // The size the window takes for `hint` with the current TFlatHint.
    TSize ExpectedSize(const std::string& hint) {
        std::unique_ptr<TCanvas> canvas = CreateScreenCanvas();
        canvas->Font = flat->Font;
        TRect r{0, 0, flat->MaxHintWidth - 22, 0};
        canvas->DrawText(hint, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return {r.Width() + 22, r.Height() + 6};
    }

    void Show(const std::string& hint, TPoint pointer, const TRect& screen = kScreen) {
        window.ActivateHintAt({}, hint, pointer, screen);
    }
};

} // namespace

TEST(FlatHintGeometry, QuarterOfThePointersScreenChoosesTheSide) {
    EXPECT_EQ(FlatHintArrowPosition({100, 100}, kScreen), apBelowRight);
    EXPECT_EQ(FlatHintArrowPosition({900, 100}, kScreen), apBelowLeft);
    EXPECT_EQ(FlatHintArrowPosition({100, 700}, kScreen), apAboveRight);
    EXPECT_EQ(FlatHintArrowPosition({900, 700}, kScreen), apAboveLeft);
    // The middle lines belong to the right and lower quarters.
    EXPECT_EQ(FlatHintArrowPosition({511, 383}, kScreen), apBelowRight);
    EXPECT_EQ(FlatHintArrowPosition({512, 383}, kScreen), apBelowLeft);
    EXPECT_EQ(FlatHintArrowPosition({511, 384}, kScreen), apAboveRight);
    EXPECT_EQ(FlatHintArrowPosition({512, 384}, kScreen), apAboveLeft);
    // A second screen to the right has quarters of its own.
    const TRect second{1920, 0, 3840, 1080};
    EXPECT_EQ(FlatHintArrowPosition({2000, 100}, second), apBelowRight);
    EXPECT_EQ(FlatHintArrowPosition({3000, 100}, second), apBelowLeft);
    EXPECT_EQ(FlatHintArrowPosition({2000, 1000}, second), apAboveRight);
}

TEST(FlatHintGeometry, WindowOpensOnTheInwardSideOfThePointer) {
    const TPoint p{500, 400};
    const TSize s{80, 20};
    EXPECT_EQ(FlatHintWindowRect(apBelowLeft, p, s), Rect(415, 405, 495, 425));
    EXPECT_EQ(FlatHintWindowRect(apBelowRight, p, s), Rect(512, 412, 592, 432));
    EXPECT_EQ(FlatHintWindowRect(apAboveLeft, p, s), Rect(415, 375, 495, 395));
    EXPECT_EQ(FlatHintWindowRect(apAboveRight, p, s), Rect(505, 375, 585, 395));
}

TEST(FlatHintGeometry, StripTextAreaAndArrowPerSide) {
    const TRect client{0, 0, 100, 30};
    const TFlatHintParts right = FlatHintParts(apBelowRight, client);
    EXPECT_EQ(right.Strip, Rect(1, 1, 15, 29));
    EXPECT_EQ(right.TextArea, Rect(15, 1, 99, 29));
    EXPECT_EQ(right.ArrowPoint, (TPoint{3, 3}));
    // The head at the strip's top-left corner, the shaft towards the lower right.
    EXPECT_EQ(right.Arrow.front(), (TPoint{3, 3}));
    EXPECT_EQ(right.Arrow[1], (TPoint{3, 9}));
    EXPECT_EQ(right.Arrow[4], (TPoint{9, 3}));
    EXPECT_EQ(right.Arrow.back(), (TPoint{10, 9}));

    const TFlatHintParts aboveLeft = FlatHintParts(apAboveLeft, client);
    EXPECT_EQ(aboveLeft.Strip, Rect(85, 1, 99, 29));
    EXPECT_EQ(aboveLeft.TextArea, Rect(1, 1, 85, 29));
    EXPECT_EQ(aboveLeft.ArrowPoint, (TPoint{96, 26}));
    EXPECT_EQ(aboveLeft.Arrow[1], (TPoint{96, 20})); // pointing down-right
    EXPECT_EQ(aboveLeft.Arrow[4], (TPoint{90, 26}));

    EXPECT_EQ(FlatHintParts(apBelowLeft, client).ArrowPoint, (TPoint{96, 3}));
    EXPECT_EQ(FlatHintParts(apAboveRight, client).ArrowPoint, (TPoint{3, 26}));
    for (int position = 0; position < 4; ++position)
        for (TPoint p : FlatHintParts(position, client).Arrow)
            EXPECT_TRUE(FlatHintParts(position, client).Strip.Contains(p)) << position;
}

TEST_F(FlatHintTest, UpperLeftQuarterOpensTwelvePixelsRightAndBelow) {
    Show("Select a file to parse", {100, 120});
    EXPECT_EQ(window.ArrowPosition(), apBelowRight);
    const TSize size = ExpectedSize("Select a file to parse");
    EXPECT_EQ(window.BoundsRect(), Bounds(112, 132, size.cx, size.cy));
    EXPECT_TRUE(window.Visible());
}

TEST_F(FlatHintTest, LowerRightQuarterOpensFivePixelsLeftAndAbove) {
    Show("Quit program", {1000, 700});
    EXPECT_EQ(window.ArrowPosition(), apAboveLeft);
    EXPECT_EQ(window.BoundsRect().Right, 995);
    EXPECT_EQ(window.BoundsRect().Bottom, 695);
}

TEST_F(FlatHintTest, PaintsStripTextAreaFrameArrowAndLiteralAmpersand) {
    flat->ColorArrow = clRed;
    Show("Copy & print", {100, 100});
    const TRecordingCanvas& canvas = host.PaintAll();
    const TFlatHintParts parts = FlatHintParts(apBelowRight, window.ClientRect());
    const auto fills = canvas.CallsOf(TDrawKind::FillRect);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].Rect, parts.Strip);
    EXPECT_EQ(fills[0].Color, 0x53D2FFu);
    EXPECT_EQ(fills[1].Rect, parts.TextArea);
    EXPECT_EQ(fills[1].Color, 0xFFFFFFu);
    const auto frames = canvas.CallsOf(TDrawKind::FrameRect);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Rect, window.ClientRect());
    EXPECT_EQ(frames[0].Color, clBlack);
    const auto arrows = canvas.CallsOf(TDrawKind::Polyline);
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].Points.size(), 18u);
    EXPECT_EQ(arrows[0].Points.front(), window.ArrowPoint());
    EXPECT_EQ(arrows[0].Color, clRed);
    const TDrawCall text = canvas.CallsOf(TDrawKind::DrawText).at(0);
    EXPECT_EQ(text.Text, "Copy & print");
    EXPECT_EQ(text.Flags, unsigned(DT_WORDBREAK | DT_NOPREFIX));
    EXPECT_EQ(text.Rect, parts.TextArea.Inflate(-3, -1));
    EXPECT_EQ(text.BkColor, clNone);
    EXPECT_EQ(text.FontName, "MS Sans Serif");
}

TEST_F(FlatHintTest, LongHintWrapsWithinTheWidthLimit) {
    const std::string longHint = "Toggle read/write and readonly flag of document, then print "
                                 "the whole document on the default printer";
    Show("Print", {100, 100});
    const TRect oneLine = window.BoundsRect();
    Show(longHint, {100, 100});
    EXPECT_LE(window.Width(), flat->MaxHintWidth);
    EXPECT_GT(window.Height(), 2 * (oneLine.Height() - 6));
    flat->MaxHintWidth = 400; // read when the next hint opens
    Show(longHint, {100, 100});
    EXPECT_GT(window.Width(), 200);
    EXPECT_LE(window.Width(), 400);
    // A single word wider than the limit keeps its width.
    flat->MaxHintWidth = 40;
    Show("Unbreakablewordthatisverylong", {100, 100});
    EXPECT_GT(window.Width(), 40);
}

TEST_F(FlatHintTest, ComponentSetsTheApplicationsHintsAndForwardsOnShowHint) {
    TApplication& app = Application();
    EXPECT_EQ(app.HintPause, 500);
    EXPECT_EQ(app.HintShortPause, 25);
    EXPECT_EQ(app.HintHidePause, 5000);
    ASSERT_TRUE(app.HintWindowClass);
    EXPECT_EQ(app.HintWindowClass()->ClassName(), "TFlatHintWindow");

    flat->OnShowHint =
        TShowHintEvent::fromFunction([](void*, std::string& text, bool& canShow, THintInfo&) {
            text += "!";
            canShow = false;
        });
    std::string text = "Quit program";
    bool canShow = true;
    THintInfo info;
    app.OnShowHint(text, canShow, info);
    EXPECT_EQ(text, "Quit program!");
    EXPECT_FALSE(canShow);

    flat.reset(); // the application must not call into the destroyed component
    EXPECT_FALSE(app.OnShowHint);
}

TEST_F(FlatHintTest, WithoutAFlatHintTheWindowLooksPlain) {
    flat.reset();
    window.ActivateHintAt(Bounds(40, 50, 90, 18), "Quit program", {100, 100}, kScreen);
    EXPECT_EQ(window.BoundsRect(), Bounds(40, 50, 90, 18)); // where it was proposed
    const TRecordingCanvas& canvas = host.PaintAll();
    EXPECT_TRUE(canvas.CallsOf(TDrawKind::Polyline).empty());
    ASSERT_EQ(canvas.CallsOf(TDrawKind::FillRect).size(), 1u);
    EXPECT_EQ(canvas.CallsOf(TDrawKind::FillRect)[0].Color, GetSysColor(COLOR_INFOBK));
}

TEST_F(FlatHintTest, ApplicationHintsOpenInTheFlatWindow) {
    TApplication& app = Application();
    app.HintPause = 10;
    TCustomControl button;
    TTestControlHost buttonHost(button);
    button.SetHint("Find function / Sub");
    buttonHost.SendMouseMove(0, 5, 5);
    THintController& hints = app.Hints();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!hints.Showing() && std::chrono::steady_clock::now() < end) {
        app.ProcessMessagesNow();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(hints.Showing());
    EXPECT_EQ(hints.Window()->ClassName(), "TFlatHintWindow");
    EXPECT_EQ(hints.Window()->Caption(), "Find function / Sub");
}
