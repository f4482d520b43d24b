#pragma once
// TQtControlHost: a TCustomControl on screen. One Qt widget with a client area and two
// scroll bars turns Qt's events into the control's handlers (keys as virtual-key codes,
// mouse in client pixels, wheel in 120ths of a notch, scroll-bar requests) and carries out
// its services (caret drawn over the paint and blinking while focused, invalidation,
// scrolling of pixels, capture, files dropped from other programs, input-method results).
// Qt stays inside: the widget is handed out only as an opaque pointer.

#include "platform/Bitmap.h"
#include "platform/ControlHost.h"

namespace ondrex {

class TQtControlHost : public TControlHost {
public:
    // `parentWidget`: the QWidget to sit in, or null for a top-level window. A `popup` is a
    // top-level hint window: frameless, on top, never activated. The control's bounds and
    // visibility are applied at once.
    explicit TQtControlHost(TCustomControl& control, void* parentWidget = nullptr,
                            bool popup = false);
    ~TQtControlHost() override;

    // The QWidget*, for platform code that places or grabs the window.
    void* Widget() const;
    // The client area as painted now (pending paints done first), caret included.
    TBitmap Grab() const;

    TSize ClientSize() const override;
    void SetBounds(const TRect& bounds) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    bool ApplicationActive() const override;
    void InvalidateRect(const TRect& rect, bool erase) override;
    void Update() override;
    void ScrollWindow(int dx, int dy, const TRect& area) override;
    void SetFocus() override;
    bool Focused() const override;
    TPoint CursorPos() const override;
    TPoint ClientToScreen(TPoint p) const override;
    TShiftState KeyboardState() const override;

protected:
    void CaretChanged(const TCaretState& before) override;
    void ScrollBarChanged(TScrollBarKind bar) override;
    void CaptureChanged() override;
    void ShowCursor(TCursor cursor) override;

private:
    class TWidget;
    TWidget* widget_; // owned, unless a parent widget deleted it first
};

} // namespace ondrex
