// The application's hint machinery: pauses, the hint-window class, OnShowHint, hiding, and
// Qt widgets' tooltips taking the same path.

#include "platform/Application.h"
#include "platform/HintController.h"
#include "platform/HintWindow.h"
#include "platform/testing/TestControlHost.h"

#include <QApplication>
#include <QEnterEvent>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace ondrex;

namespace {

// Remembers where it was asked to appear.
class TProbeHint : public THintWindow {
public:
    static inline int Activations = 0;
    static inline TRect LastRect;
    void ActivateHint(const TRect& rect, const std::string& hint) override {
        ++Activations;
        LastRect = rect;
        THintWindow::ActivateHint(rect, hint);
    }
};

template <class F> bool PumpUntil(F done, int ms = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done() && std::chrono::steady_clock::now() < end) {
        Application().ProcessMessagesNow();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

struct HintsTest : ::testing::Test {
    TCustomControl button;
    TTestControlHost host{button};
    THintController& hints = Application().Hints();

    void SetUp() override {
        Application().HintWindowClass = [] { return std::make_unique<TProbeHint>(); };
        hints.ReleaseWindow();
        Application().HintPause = 20;
        Application().HintShortPause = 1;
        Application().HintHidePause = 5000;
        button.SetBounds(0, 0, 40, 40);
        button.SetHint("Find function / Sub");
        host.SetScreenOrigin({100, 200});
        TProbeHint::Activations = 0;
    }
    void TearDown() override {
        hints.ReleaseWindow();
        Application().OnShowHint = {};
        Application().HintWindowClass = {};
    }
    bool Shown() const { return hints.Showing(); }
};

} // namespace

TEST_F(HintsTest, AppearsAfterThePauseBelowThePointerInTheCurrentClass) {
    host.SendMouseMove(0, 5, 6);
    EXPECT_TRUE(hints.Pending());
    EXPECT_FALSE(Shown());
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }));
    EXPECT_EQ(TProbeHint::Activations, 1);
    EXPECT_EQ(hints.Window()->Caption(), "Find function / Sub");
    EXPECT_EQ(TProbeHint::LastRect.Left, 105);
    EXPECT_EQ(TProbeHint::LastRect.Top, 226); // 20 pixels below the pointer
    host.SendMouseMove(0, 7, 6);              // moving within the control keeps it
    EXPECT_TRUE(Shown());
    host.SendMouseDown(TMouseButton::mbLeft, ssLeft, 7, 6);
    EXPECT_FALSE(Shown());
}

TEST_F(HintsTest, NeighbourWaitsOnlyTheShortPause) {
    TCustomControl other;
    TTestControlHost otherHost(other);
    other.SetHint("Quit program");
    host.SendMouseMove(0, 5, 5);
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }));
    Application().HintPause = 60'000; // a full pause would never end within the test
    host.SendMouseLeave();
    EXPECT_FALSE(Shown());
    otherHost.SendMouseMove(0, 5, 5);
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }));
    EXPECT_EQ(hints.Window()->Caption(), "Quit program");
}

TEST_F(HintsTest, HidesAfterTheDisplayTime) {
    Application().HintHidePause = 30;
    host.SendMouseMove(0, 5, 5);
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }));
    EXPECT_TRUE(PumpUntil([&] { return !Shown(); }));
}

TEST_F(HintsTest, OnShowHintMayRewriteOrRefuse) {
    Application().OnShowHint =
        TShowHintEvent::fromFunction([](void*, std::string& text, bool& canShow, THintInfo& info) {
            canShow = text != "secret";
            text = "<" + text + ">";
            info.HintPos = {10, 10};
        });
    host.SendMouseMove(0, 5, 5);
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }));
    EXPECT_EQ(hints.Window()->Caption(), "<Find function / Sub>");
    EXPECT_EQ(TProbeHint::LastRect.Left, 10);
    hints.Cancel();
    TCustomControl secret;
    TTestControlHost secretHost(secret);
    secret.SetHint("secret");
    secretHost.SendMouseMove(0, 1, 1);
    EXPECT_FALSE(PumpUntil([&] { return Shown(); }, 150));
}

TEST_F(HintsTest, NothingWhenHintsAreOffOrTheControlHasNone) {
    button.SetShowHint(false);
    host.SendMouseMove(0, 5, 5);
    EXPECT_FALSE(hints.Pending());
    button.SetShowHint(true);
    Application().SetShowHint(false);
    host.SendMouseLeave();
    host.SendMouseMove(0, 5, 5);
    EXPECT_FALSE(hints.Pending());
    Application().SetShowHint(true);
}

TEST_F(HintsTest, QtWidgetTooltipsGoThroughTheHintWindowClass) {
    QWidget widget;
    widget.setToolTip("Parse Selected files");
    widget.resize(30, 30);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(&widget, &enter);
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }));
    EXPECT_EQ(hints.Window()->Caption(), "Parse Selected files");
    QEvent tooltip(QEvent::ToolTip);
    QApplication::sendEvent(&widget, &tooltip);
    EXPECT_FALSE(QToolTip::isVisible()); // Qt's own tooltip never shows
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
    EXPECT_FALSE(Shown());
}

TEST(HintWindow, WrapsLongHintsAtTheMaximumWidth) {
    THintWindow window;
    const TRect one = window.CalcHintRect(1000, "Print whole document");
    EXPECT_GT(one.Width(), 6);
    const TRect wrapped = window.CalcHintRect(
        100, "Toggle read/write and readonly flag of document and some more words");
    EXPECT_LE(wrapped.Width(), 106);
    EXPECT_GT(wrapped.Height(), 2 * (one.Height() - 2));
}
