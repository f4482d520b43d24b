#pragma once
// TControlHost: the window side of a TCustomControl. It turns the messages of a real window
// (TQtControlHost) or of a test (TTestControlHost) into the control's handlers and keeps the
// state behind the control's services: caret, scroll bars, capture, dragging of the
// control's own content. Subclasses supply the window itself.
//
// Every Send... catches what the control throws and hands it to the application's exception
// handler, so a failing handler shows its message and the program goes on.

#include "platform/Control.h"

#include <string>
#include <vector>

namespace ondrex {

struct TCaretState {
    bool Created = false;
    int Width = 0;
    int Height = 0;
    int X = 0;
    int Y = 0;
    int HideCount = 0; // created hidden: 1

    bool Shown() const { return Created && HideCount == 0; }
    TRect Rect() const { return Bounds(X, Y, Width, Height); }
    bool operator==(const TCaretState&) const = default;
};

struct TScrollBarState {
    TScrollInfo Info;
    bool DisableNoScroll = false;
    bool Hidden = true; // until the first SetScrollInfo

    bool Visible() const { return !Hidden && (Info.Needed() || DisableNoScroll); }
    bool Enabled() const { return Visible() && Info.Needed(); }
};

class TControlHost {
public:
    explicit TControlHost(TCustomControl& control);
    virtual ~TControlHost();
    TControlHost(const TControlHost&) = delete;
    TControlHost& operator=(const TControlHost&) = delete;

    // The hosted control; null once it was destroyed before its host.
    TCustomControl* Control() const { return control_; }

    // ---- Messages to the control --------------------------------------------------------
    void SendPaint(TCanvas& canvas, const TRect& clip);
    void SendKeyDown(std::uint16_t key, TShiftState shift); // Escape also cancels a drag
    void SendKeyUp(std::uint16_t key, TShiftState shift);
    void SendChar(const std::string& character);
    // The result text, then one SendChar per character of it.
    void SendImeResult(const std::string& text);
    void SendMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void SendMouseMove(TShiftState shift, int x, int y);
    void SendMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // The second press of a double-click: DblClick, then MouseDown with ssDouble.
    void SendDoubleClick(TMouseButton button, TShiftState shift, int x, int y);
    bool SendMouseWheel(TShiftState shift, int delta, int x, int y);
    void SendMouseEnter();
    void SendMouseLeave();
    void SendFocusIn();
    void SendFocusOut();
    void SendResize();
    void SendScroll(TScrollBarKind bar, int code, int pos);
    // Ignored unless the control called DragAcceptFiles(true).
    void SendDropFiles(int x, int y, const std::vector<std::string>& files);
    // Whether Tab is input for the control (else it moves the focus on).
    bool WantsTab(TShiftState shift);
    // The shape to show at a client point (crDefault resolved to the arrow).
    TCursor CursorAt(int x, int y);

    // ---- State kept for the control -----------------------------------------------------
    const TCaretState& Caret() const { return caret_; }
    const TScrollBarState& ScrollBar(TScrollBarKind bar) const;
    bool MouseCapture() const { return captured_; }
    bool Dragging() const { return dragging_; }
    bool AcceptsFiles() const { return acceptFiles_; }
    TPoint ImeCompositionPos() const { return imePos_; }
    // True while the caret should be drawn: shown, and the control has the focus.
    bool CaretDrawn() const;

    // ---- Services (TCustomControl forwards here) ----------------------------------------
    virtual TSize ClientSize() const = 0;
    virtual void SetBounds(const TRect& bounds) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetEnabled(bool) {}
    // Whether one of the application's windows is the active one.
    virtual bool ApplicationActive() const { return true; }
    virtual void InvalidateRect(const TRect& rect, bool erase) = 0;
    virtual void Update() = 0;
    virtual void ScrollWindow(int dx, int dy, const TRect& area) = 0;
    virtual void SetFocus() = 0;
    virtual bool Focused() const = 0;
    virtual TPoint CursorPos() const = 0;
    virtual TPoint ClientToScreen(TPoint p) const = 0;
    virtual TShiftState KeyboardState() const = 0;
    virtual int SystemMetric(int index) const;
    virtual int WheelScrollLines() const;

    void CreateCaret(int width, int height);
    void DestroyCaret();
    void ShowCaret();
    void HideCaret();
    void SetCaretPos(int x, int y);
    void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info, bool disableNoScroll);
    void ShowScrollBar(TScrollBarKind bar, bool show);
    void SetCapture();
    void ReleaseCapture();
    void BeginDrag();
    void DragAcceptFiles(bool accept);
    void SetImeCompositionPos(TPoint p);
    // The control's Cursor property changed.
    void CursorChanged();

protected:
    // Hooks for the window: called after the state above changed.
    virtual void CaretChanged(const TCaretState& before) = 0;
    virtual void ScrollBarChanged(TScrollBarKind bar) = 0;
    virtual void CaptureChanged() {}
    virtual void ShowCursor(TCursor cursor) = 0;
    virtual void AcceptFilesChanged() {}
    // A mouse message arrived at this client point.
    virtual void PointerAt(int, int) {}

private:
    friend class TCustomControl;
    template <class F> void Guard(F&& deliver);
    void DragMove(TShiftState shift, int x, int y);
    void FinishDrag(bool drop, int x, int y);

    TCustomControl* control_;
    TCaretState caret_;
    TScrollBarState bars_[2];
    bool captured_ = false;
    bool dragging_ = false;
    bool dragInside_ = false;
    bool dragAccepted_ = false;
    bool clicked_ = false;
    bool acceptFiles_ = false;
    TPoint imePos_;
    TCursor shownCursor_ = crArrow;
};

} // namespace ondrex
