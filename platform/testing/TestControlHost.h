#pragma once
// TTestControlHost: a window without a display, for tests. A test sends it the messages a
// real window would (the Send... calls of TControlHost, plus focus and pointer helpers), and
// it records what the control asks of the window: invalidated rectangles, scrolls, repaints,
// the cursor shown; caret and scroll bars are in TControlHost's state. Paint() runs the
// control's paint on a TRecordingCanvas for the invalid area.
//
// The client area is the control's size less the visible scroll bars (ScrollBarSize each,
// 0 by default so that a test's client size is exactly the control's). System metrics are
// the classic desktop defaults (drag distance 4, three lines per wheel notch, 1024 x 768
// screen) unless a test sets them.

#include "platform/ControlHost.h"
#include "platform/testing/RecordingCanvas.h"

#include <map>
#include <memory>
#include <vector>

namespace ondrex {

struct TScrollWindowCall {
    int Dx = 0;
    int Dy = 0;
    TRect Area;
    bool operator==(const TScrollWindowCall&) const = default;
};

class TTestControlHost : public TControlHost {
public:
    explicit TTestControlHost(TCustomControl& control);
    ~TTestControlHost() override;

    // ---- What the control asked for ----
    std::vector<TRect> Invalidations; // every InvalidateRect, clipped to the client area
    std::vector<TScrollWindowCall> Scrolls;
    int UpdateCalls = 0;
    int PaintCount = 0;
    TCursor ShownCursor = crArrow;
    // Forgets the records above (not the pending invalid area).
    void ClearRecords();
    // The area the next paint covers.
    TRect InvalidRect() const { return invalid_; }

    // Paints the invalid area (nothing when it is empty) and returns the canvas of that
    // paint; PaintAll() paints the whole client area.
    TRecordingCanvas& Paint();
    TRecordingCanvas& PaintAll();
    TRecordingCanvas* LastPaint() const { return lastPaint_.get(); }

    // ---- The environment ----
    void Focus(); // focus in, as if the user clicked into the window
    void Blur();  // focus out
    // The pointer CursorPos() reports; every mouse message sent moves it too.
    void SetPointer(TPoint client) { pointer_ = client; }
    void SetKeyboardState(TShiftState shift) { keyboard_ = shift; }
    void SetScreenOrigin(TPoint p) { screenOrigin_ = p; }
    void SetSystemMetric(int index, int value) { metrics_[index] = value; }
    void SetWheelScrollLines(int lines) { wheelLines_ = lines; }
    void SetApplicationActive(bool active) { appActive_ = active; }
    int ScrollBarSize = 0;

    TSize ClientSize() const override;
    void SetBounds(const TRect& bounds) override;
    void SetVisible(bool visible) override;
    void InvalidateRect(const TRect& rect, bool erase) override;
    void Update() override;
    void ScrollWindow(int dx, int dy, const TRect& area) override;
    void SetFocus() override;
    bool Focused() const override { return focused_; }
    TPoint CursorPos() const override { return pointer_; }
    TPoint ClientToScreen(TPoint p) const override;
    TShiftState KeyboardState() const override { return keyboard_; }
    int SystemMetric(int index) const override;
    int WheelScrollLines() const override { return wheelLines_; }
    bool ApplicationActive() const override { return appActive_; }

protected:
    void CaretChanged(const TCaretState&) override {}
    void ScrollBarChanged(TScrollBarKind bar) override;
    void ShowCursor(TCursor cursor) override { ShownCursor = cursor; }
    void PointerAt(int x, int y) override { pointer_ = {x, y}; }

private:
    TRecordingCanvas& PaintArea(TRect area);

    TRect invalid_;
    TSize lastClient_;
    std::unique_ptr<TRecordingCanvas> lastPaint_;
    bool focused_ = false;
    TPoint pointer_;
    TShiftState keyboard_ = 0;
    TPoint screenOrigin_;
    std::map<int, int> metrics_;
    int wheelLines_ = 3;
    bool appActive_ = true;
};

} // namespace ondrex
