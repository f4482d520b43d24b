// The message delivery and the window state every host shares, driven through the test host.

#include "platform/Application.h"
#include "platform/Canvas.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/testing/TestControlHost.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ondrex;

namespace {

// Logs every handler call as a short line.
class TProbe : public TCustomControl {
public:
    std::vector<std::string> Log;
    bool AcceptDrag = true;
    bool ThrowOnKey = false;

protected:
    void Paint(TCanvas& canvas, const TRect& clip) override {
        canvas.Brush.Color = clRed;
        canvas.FillRect(clip);
    }
    void KeyDown(std::uint16_t& key, TShiftState) override {
        if (ThrowOnKey) throw std::runtime_error("Shortcut already exists");
        Log.push_back("key " + std::to_string(key));
    }
    void KeyPress(std::string& ch) override { Log.push_back("char " + ch); }
    void ImeResult(const std::string& text) override { Log.push_back("ime " + text); }
    void MouseDown(TMouseButton, TShiftState shift, int x, int y) override {
        Log.push_back(std::string(shift & ssDouble ? "down2 " : "down ") + std::to_string(x) + "," +
                      std::to_string(y));
    }
    void MouseUp(TMouseButton, TShiftState, int, int) override { Log.push_back("up"); }
    void MouseMove(TShiftState, int x, int) override { Log.push_back("move " + std::to_string(x)); }
    void Click() override { Log.push_back("click"); }
    void DblClick(int, int) override { Log.push_back("dblclick"); }
    void Resize() override { Log.push_back("resize " + std::to_string(ClientWidth())); }
    void DragOver(TObject* source, int x, int, TDragState state, bool& accept) override {
        static const char* names[] = {"enter", "leave", "move"};
        Log.push_back(std::string("drag ") + names[int(state)] + " " + std::to_string(x) +
                      (source == this ? " self" : ""));
        accept = AcceptDrag;
    }
    void DragDrop(TObject*, int x, int) override { Log.push_back("drop " + std::to_string(x)); }
    void EndDrag(TObject* target, int, int) override {
        Log.push_back(target ? "end dropped" : "end cancelled");
    }
    void DropFiles(int, int, const std::vector<std::string>& files) override {
        Log.push_back("files " + std::to_string(files.size()));
    }
    TCursor CursorAt(int x, int) override { return x < 10 ? crHandPoint : crDefault; }
};

struct ControlHostTest : ::testing::Test {
    TProbe control;
    TTestControlHost host{control};
    void SetUp() override {
        control.SetBounds(0, 0, 100, 50);
        control.Log.clear();
    }
};

} // namespace

TEST_F(ControlHostTest, CaretHidingIsCountedAndDrawnOnlyWithFocus) {
    control.CreateCaret(2, 12);
    EXPECT_FALSE(host.Caret().Shown()); // created hidden
    control.ShowCaret();
    EXPECT_TRUE(host.Caret().Shown());
    control.HideCaret();
    control.HideCaret();
    control.ShowCaret();
    EXPECT_FALSE(host.Caret().Shown());
    control.ShowCaret();
    control.ShowCaret(); // showing a shown caret changes nothing
    control.HideCaret();
    EXPECT_FALSE(host.Caret().Shown());
    control.ShowCaret();
    control.SetCaretPos(30, 4);
    EXPECT_EQ(host.Caret().Rect(), Bounds(30, 4, 2, 12));
    EXPECT_FALSE(host.CaretDrawn());
    host.Focus();
    EXPECT_TRUE(host.CaretDrawn());
    control.DestroyCaret();
    EXPECT_FALSE(host.CaretDrawn());
}

TEST_F(ControlHostTest, ScrollBarsClampAndHideOrDisableWhenNotNeeded) {
    control.SetScrollInfo(TScrollBarKind::sbVertical, {1, 119, 20, 500}, true);
    const TScrollBarState& v = host.ScrollBar(TScrollBarKind::sbVertical);
    EXPECT_EQ(v.Info.Pos, 100); // 119 - 20 + 1
    EXPECT_TRUE(v.Enabled());
    control.SetScrollInfo(TScrollBarKind::sbVertical, {1, 10, 20, 5}, true);
    EXPECT_EQ(v.Info.Pos, 1);
    EXPECT_TRUE(v.Visible());
    EXPECT_FALSE(v.Enabled());
    control.SetScrollInfo(TScrollBarKind::sbVertical, {1, 10, 20, 5}, false);
    EXPECT_FALSE(v.Visible());
    EXPECT_FALSE(host.ScrollBar(TScrollBarKind::sbHorizontal).Visible()); // never set
}

TEST_F(ControlHostTest, VisibleBarsTakeClientSpaceAndResize) {
    host.ScrollBarSize = 17;
    control.SetScrollInfo(TScrollBarKind::sbVertical, {0, 100, 10, 0}, true);
    EXPECT_EQ(control.ClientWidth(), 83);
    EXPECT_EQ(control.Log.back(), "resize 83");
}

TEST_F(ControlHostTest, MouseClicksAndDoubleClicksArriveInWindowsOrder) {
    host.SendMouseDown(TMouseButton::mbLeft, ssLeft, 5, 6);
    host.SendMouseUp(TMouseButton::mbLeft, 0, 5, 6);
    host.SendDoubleClick(TMouseButton::mbLeft, ssLeft, 5, 6);
    host.SendMouseUp(TMouseButton::mbLeft, 0, 500, 6); // released outside: no click
    EXPECT_EQ(control.Log,
              (std::vector<std::string>{"down 5,6", "click", "up", "dblclick", "down2 5,6", "up"}));
}

TEST_F(ControlHostTest, SetCursorAsksTheControlAndDefaultMeansArrow) {
    host.SendMouseMove(0, 3, 3);
    EXPECT_EQ(host.ShownCursor, crHandPoint);
    host.SendMouseMove(0, 30, 3);
    EXPECT_EQ(host.ShownCursor, crArrow);
    control.SetCursor(crIBeam);
    host.SetPointer({40, 3});
    control.SetCursor(crIBeam);
    EXPECT_EQ(host.CursorAt(40, 3), crArrow); // the probe's CursorAt ignores Cursor
}

TEST_F(ControlHostTest, DraggingOwnContentReportsEnterMoveLeaveAndDrop) {
    host.SendMouseMove(ssLeft, 20, 5); // BeginDrag starts where the pointer is
    control.Log.clear();
    control.BeginDrag();
    EXPECT_TRUE(control.Dragging());
    EXPECT_TRUE(control.MouseCapture());
    host.SendMouseMove(ssLeft, 30, 5);
    host.SendMouseMove(ssLeft, 300, 5); // left the window
    EXPECT_EQ(host.ShownCursor, crNoDrop);
    host.SendMouseMove(ssLeft, 40, 5);
    EXPECT_EQ(host.ShownCursor, crDrag);
    host.SendMouseUp(TMouseButton::mbLeft, 0, 40, 5);
    EXPECT_FALSE(control.Dragging());
    EXPECT_FALSE(control.MouseCapture());
    EXPECT_EQ(control.Log, (std::vector<std::string>{"drag enter 20 self", "drag move 30 self",
                                                     "drag leave 300 self", "drag enter 40 self",
                                                     "drop 40", "end dropped"}));
}

TEST_F(ControlHostTest, RefusedOrEscapedDragsEndWithoutDrop) {
    control.AcceptDrag = false;
    control.BeginDrag();
    host.SendMouseUp(TMouseButton::mbLeft, 0, 0, 0);
    EXPECT_EQ(control.Log.back(), "end cancelled");
    control.AcceptDrag = true;
    control.Log.clear();
    control.BeginDrag();
    host.SendKeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"drag enter 0 self", "drag leave 0 self",
                                                     "end cancelled"}));
}

TEST_F(ControlHostTest, FilesArriveOnlyWhenAccepted) {
    host.SendDropFiles(1, 1, {"/tmp/a.asp"});
    EXPECT_TRUE(control.Log.empty());
    control.DragAcceptFiles(true);
    host.SendDropFiles(1, 1, {"/tmp/a.asp", "/tmp/b.js"});
    EXPECT_EQ(control.Log, (std::vector<std::string>{"files 2"}));
}

TEST_F(ControlHostTest, InputMethodResultIsFollowedByItsCharacters) {
    host.SendImeResult("a\xC3\xA9");
    EXPECT_EQ(control.Log, (std::vector<std::string>{"ime a\xC3\xA9", "char a", "char \xC3\xA9"}));
}

TEST_F(ControlHostTest, PaintCoversTheInvalidAreaOnly) {
    control.InvalidateRect({10, 10, 20, 20}, false);
    control.InvalidateRect({15, 0, 30, 12}, true);
    control.InvalidateRect({90, 40, 200, 200}, false); // clipped to the client area
    EXPECT_EQ(host.Invalidations.back(), (TRect{90, 40, 100, 50}));
    control.Update();
    ASSERT_NE(host.LastPaint(), nullptr);
    const auto fills = host.LastPaint()->CallsOf(TDrawKind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].Rect, (TRect{10, 0, 100, 50}));
    EXPECT_TRUE(host.InvalidRect().IsEmpty());
    control.Update(); // nothing left to paint
    EXPECT_EQ(host.PaintCount, 1);
}

TEST_F(ControlHostTest, ScrollingInvalidatesOnlyWhatWasUncovered) {
    control.ScrollWindow(0, -13);
    EXPECT_EQ(host.Scrolls.back(), (TScrollWindowCall{0, -13, {0, 0, 100, 50}}));
    EXPECT_EQ(host.InvalidRect(), (TRect{0, 37, 100, 50}));
}

TEST_F(ControlHostTest, AThrowingHandlerShowsItsMessageAndTheProgramGoesOn) {
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    control.ThrowOnKey = true;
    host.SendKeyDown('A', 0);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "Shortcut already exists");
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::mtError);
    control.ThrowOnKey = false;
    host.SendKeyDown('B', 0);
    EXPECT_EQ(control.Log.back(), "key 66");
}

TEST_F(ControlHostTest, OnExceptionReplacesTheMessageBox) {
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    static std::string seen;
    Application().OnException = TExceptionEvent::fromFunction(
        [](void*, TObject*, const std::exception& e) { seen = e.what(); });
    control.ThrowOnKey = true;
    host.SendKeyDown('A', 0);
    Application().OnException = {};
    EXPECT_EQ(seen, "Shortcut already exists");
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST(ControlWithoutHost, ServicesDoNothingAndBoundsAreKept) {
    TProbe control;
    EXPECT_FALSE(control.HandleAllocated());
    control.SetBounds(5, 6, 70, 80);
    control.Invalidate();
    control.CreateCaret(1, 1);
    EXPECT_EQ(control.ClientWidth(), 70);
    EXPECT_FALSE(control.Focused());
    {
        TTestControlHost host(control);
        EXPECT_TRUE(control.HandleAllocated());
        EXPECT_EQ(control.ClientHeight(), 80);
    }
    EXPECT_FALSE(control.HandleAllocated());
}
