#pragma once
// TCustomControl: the base of every windowed control of ours (the editor, the hint window,
// custom-drawn widgets). It knows nothing of the toolkit: a host (TQtControlHost on screen,
// TTestControlHost in tests) owns the real window, delivers messages to the protected
// handlers below and carries out the services the control asks for. A control without a
// host has no window: services do nothing and HandleAllocated() is false.
//
// Coordinates are client pixels unless a name says "screen". Handlers run on the GUI thread;
// an exception escaping one is given to the application's exception handler by the host.

#include "platform/Cursor.h"
#include "platform/Event.h"
#include "platform/Geometry.h"
#include "platform/Keys.h"
#include "platform/Object.h"
#include "platform/ScrollBar.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ondrex {

class TCanvas;
class TControlHost;

enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

using TKeyEvent = TEvent<TObject*, std::uint16_t&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, std::string&>;
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
// Sender, source, X, Y, state, in-out accept.
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
// Sender, source, X, Y.
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
// Sender, target (none when the drag was cancelled or refused), X, Y.
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;

class TCustomControl : public TObject {
public:
    TCustomControl();
    ~TCustomControl() override;
    TCustomControl(const TCustomControl&) = delete;
    TCustomControl& operator=(const TCustomControl&) = delete;

    std::string ClassName() const override { return "TCustomControl"; }

    // ---- The window ---------------------------------------------------------------------
    TControlHost* Host() const { return host_; }
    bool HandleAllocated() const { return host_ != nullptr; }

    // Position in the parent's client pixels (screen pixels for a top-level window) and
    // size; kept while there is no window and applied when a host attaches.
    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    TRect BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // A disabled control still paints but takes neither the focus nor, on screen, the mouse.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The client area: the window without its scroll bars and border.
    int ClientWidth() const;
    int ClientHeight() const;
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

    // The pointer shape over the control when CursorAt() does not say otherwise.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    // Shown while this control's content is dragged and the target accepts.
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor cursor) { dragCursor_ = cursor; }

    // The tooltip shown through the application's hint machinery.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }

    // A context menu is assigned: the host opens it on a right click, and a control may
    // leave its state alone for that click.
    bool HasPopupMenu() const { return hasPopupMenu_; }
    void SetHasPopupMenu(bool assigned) { hasPopupMenu_ = assigned; }

    // ---- Services -----------------------------------------------------------------------
    // One caret per control: created hidden, shown when ShowCaret() has balanced every
    // HideCaret() (hiding counts up, showing counts down to zero). A host draws it only while
    // the control has the focus.
    void CreateCaret(int width, int height);
    void DestroyCaret();
    void ShowCaret();
    void HideCaret();
    void SetCaretPos(int x, int y);

    // Marks an area for the next paint; Update() paints what is marked now, Repaint() all.
    void Invalidate();
    void InvalidateRect(const TRect& rect, bool erase);
    void Update();
    void Repaint();
    // Moves the pixels of the client area (or of `area`) by dx, dy and marks what was
    // uncovered for painting.
    void ScrollWindow(int dx, int dy);
    void ScrollWindow(int dx, int dy, const TRect& area);

    // With disableNoScroll a bar that is not needed stays visible but disabled, otherwise
    // it is hidden. The position is clamped to Min..MaxPos() as stored.
    void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info, bool disableNoScroll);
    TScrollInfo GetScrollInfo(TScrollBarKind bar) const;
    // Hides a bar until the next SetScrollInfo (or shows it again at once).
    void ShowScrollBar(TScrollBarKind bar, bool show);

    void SetFocus();
    bool Focused() const;

    // While captured every mouse message comes here, wherever the pointer is.
    void SetCapture();
    void ReleaseCapture();
    bool MouseCapture() const;

    TPoint CursorPos() const; // the pointer now, in client pixels
    // True while one of the application's windows is the active one.
    bool ApplicationActive() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    // Keyboard modifiers held now (ssShift, ssCtrl, ssAlt).
    TShiftState KeyboardState() const;

    // Starts dragging this control's own content at once: pointer moves then reach
    // DragOver with this control as the source, the release DragDrop (when accepted), and
    // EndDrag finishes; Escape cancels.
    void BeginDrag();
    bool Dragging() const;

    // Lets files dropped from other programs reach DropFiles.
    void DragAcceptFiles(bool accept);
    // Where an input method should open its composition window.
    void SetImeCompositionPos(TPoint p);

    // Desktop measures (SM_CXDRAG, ...) and the wheel setting as the host sees them.
    int SystemMetric(int index) const;
    int WheelScrollLines() const;

    // ---- Events (raised by the default handlers) ----------------------------------------
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

protected:
    // ---- Handlers (the host calls them; the defaults raise the events above) ------------
    // Paint every pixel of `clip` (no background is erased beforehand).
    virtual void Paint(TCanvas& canvas, const TRect& clip);
    // Key codes are virtual-key codes; a handler sets `key` to 0 to consume it.
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift);
    // One typed character: its bytes in the active code page (1 to 4). Sent after the
    // KeyDown of the key that typed it.
    virtual void KeyPress(std::string& character);
    // An input method's result text, in the active code page. One KeyPress per character
    // of it follows at once, as the classic desktop sends, so a control that inserts the
    // whole text here skips that many characters.
    virtual void ImeResult(const std::string& text);
    // `shift` holds the buttons down and, for the second press of a double-click, ssDouble:
    // a double-click arrives as DblClick, then MouseDown with ssDouble.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick(int x, int y);
    // delta: 120 per notch, positive away from the user. Return true when handled.
    virtual bool MouseWheel(TShiftState shift, int delta, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void FocusIn();
    virtual void FocusOut();
    virtual void Resize();
    // After SetEnabled changed the state.
    virtual void EnabledChanged() {}
    // True when the Tab key is input for the control rather than a move to the next one.
    virtual bool WantsTab(TShiftState shift);
    // The pointer shape at a client point (the set-cursor question).
    virtual TCursor CursorAt(int x, int y);
    // A scroll-bar request: SB_LINEUP.. SB_ENDSCROLL; `pos` is the thumb's position for
    // SB_THUMBTRACK and SB_THUMBPOSITION.
    virtual void Scroll(TScrollBarKind bar, int code, int pos);
    // The default accepts when OnDragOver is set and lets it decide.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, int x, int y);
    virtual void EndDrag(TObject* target, int x, int y);
    // Local paths of files dropped from another program (only after DragAcceptFiles).
    virtual void DropFiles(int x, int y, const std::vector<std::string>& files);

private:
    friend class TControlHost;

    TControlHost* host_ = nullptr;
    TRect bounds_{0, 0, 200, 150};
    bool visible_ = true;
    bool enabled_ = true;
    TCursor cursor_ = crDefault;
    TCursor dragCursor_ = crDrag;
    std::string hint_;
    bool showHint_ = true;
    bool hasPopupMenu_ = false;
};

} // namespace ondrex
