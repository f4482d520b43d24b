#include "platform/ControlHost.h"

#include "platform/Application.h"
#include "platform/CodePage.h"
#include "platform/HintController.h"
#include "platform/SystemMetrics.h"

#include <algorithm>

namespace ondrex {

TControlHost::TControlHost(TCustomControl& control) : control_(&control) {
    control.host_ = this;
}

TControlHost::~TControlHost() {
    Application().Hints().ControlGone(control_);
    if (control_) control_->host_ = nullptr;
}

template <class F> void TControlHost::Guard(F&& deliver) {
    if (!control_) return;
    try {
        deliver(*control_);
    } catch (const std::exception& e) {
        Application().HandleException(e);
    } catch (...) {
        Application().HandleUnknownException();
    }
}

const TScrollBarState& TControlHost::ScrollBar(TScrollBarKind bar) const {
    return bars_[bar == TScrollBarKind::sbVertical ? 1 : 0];
}

bool TControlHost::CaretDrawn() const {
    return caret_.Shown() && Focused();
}

// ---- Messages ------------------------------------------------------------------------

void TControlHost::SendPaint(TCanvas& canvas, const TRect& clip) {
    Guard([&](TCustomControl& c) { c.Paint(canvas, clip); });
}

void TControlHost::SendKeyDown(std::uint16_t key, TShiftState shift) {
    Application().Hints().Cancel();
    if (dragging_ && key == VK_ESCAPE) {
        const TPoint p = CursorPos();
        FinishDrag(false, p.X, p.Y);
        return;
    }
    Guard([&](TCustomControl& c) { c.KeyDown(key, shift); });
}

void TControlHost::SendKeyUp(std::uint16_t key, TShiftState shift) {
    Guard([&](TCustomControl& c) { c.KeyUp(key, shift); });
}

void TControlHost::SendChar(const std::string& character) {
    Guard([&](TCustomControl& c) {
        std::string ch = character;
        c.KeyPress(ch);
    });
}

void TControlHost::SendImeResult(const std::string& text) {
    Guard([&](TCustomControl& c) { c.ImeResult(text); });
    const TCodePage cp = ActiveCodePage();
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t n = CharLength(cp, text, pos);
        SendChar(text.substr(pos, n));
        pos += n;
    }
}

void TControlHost::SendMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    PointerAt(x, y);
    Application().Hints().Cancel();
    if (dragging_) return;
    if (button == TMouseButton::mbLeft) clicked_ = true;
    Guard([&](TCustomControl& c) { c.MouseDown(button, shift, x, y); });
}

void TControlHost::SendMouseMove(TShiftState shift, int x, int y) {
    PointerAt(x, y);
    if (dragging_) {
        DragMove(shift, x, y);
        return;
    }
    if (control_) ShowCursor(CursorAt(x, y));
    Application().Hints().MouseMove(control_, ClientToScreen({x, y}));
    Guard([&](TCustomControl& c) { c.MouseMove(shift, x, y); });
}

void TControlHost::SendMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    PointerAt(x, y);
    if (dragging_) {
        if (button == TMouseButton::mbLeft) FinishDrag(true, x, y);
        return;
    }
    if (button == TMouseButton::mbLeft && clicked_) {
        clicked_ = false;
        const TSize size = ClientSize();
        if (x >= 0 && y >= 0 && x < size.cx && y < size.cy)
            Guard([&](TCustomControl& c) { c.Click(); });
    }
    Guard([&](TCustomControl& c) { c.MouseUp(button, shift, x, y); });
}

void TControlHost::SendDoubleClick(TMouseButton button, TShiftState shift, int x, int y) {
    PointerAt(x, y);
    Application().Hints().Cancel();
    if (dragging_) return;
    Guard([&](TCustomControl& c) { c.DblClick(x, y); });
    Guard([&](TCustomControl& c) { c.MouseDown(button, shift | ssDouble, x, y); });
}

bool TControlHost::SendMouseWheel(TShiftState shift, int delta, int x, int y) {
    bool handled = false;
    Guard([&](TCustomControl& c) { handled = c.MouseWheel(shift, delta, x, y); });
    return handled;
}

void TControlHost::SendMouseEnter() {
    Guard([&](TCustomControl& c) { c.MouseEnter(); });
}

void TControlHost::SendMouseLeave() {
    Application().Hints().MouseLeave(control_);
    Guard([&](TCustomControl& c) { c.MouseLeave(); });
}

void TControlHost::SendFocusIn() {
    Guard([&](TCustomControl& c) { c.FocusIn(); });
}

void TControlHost::SendFocusOut() {
    if (dragging_) {
        const TPoint p = CursorPos();
        FinishDrag(false, p.X, p.Y);
    }
    Guard([&](TCustomControl& c) { c.FocusOut(); });
}

void TControlHost::SendResize() {
    if (control_) {
        const TRect b = control_->bounds_;
        const TSize size = ClientSize();
        if (b.Width() < size.cx || b.Height() < size.cy)
            control_->bounds_ =
                Bounds(b.Left, b.Top, std::max(b.Width(), size.cx), std::max(b.Height(), size.cy));
    }
    Guard([&](TCustomControl& c) { c.Resize(); });
}

void TControlHost::SendScroll(TScrollBarKind bar, int code, int pos) {
    Guard([&](TCustomControl& c) { c.Scroll(bar, code, pos); });
}

void TControlHost::SendDropFiles(int x, int y, const std::vector<std::string>& files) {
    if (!acceptFiles_) return;
    Guard([&](TCustomControl& c) { c.DropFiles(x, y, files); });
}

bool TControlHost::WantsTab(TShiftState shift) {
    bool wants = false;
    Guard([&](TCustomControl& c) { wants = c.WantsTab(shift); });
    return wants;
}

TCursor TControlHost::CursorAt(int x, int y) {
    TCursor cursor = crDefault;
    Guard([&](TCustomControl& c) { cursor = c.CursorAt(x, y); });
    return cursor == crDefault ? crArrow : cursor;
}

// ---- Dragging the control's own content -----------------------------------------------

void TControlHost::BeginDrag() {
    if (dragging_ || !control_) return;
    Application().Hints().Cancel();
    dragging_ = true;
    dragInside_ = false;
    dragAccepted_ = false;
    SetCapture();
    const TPoint p = CursorPos();
    DragMove(KeyboardState(), p.X, p.Y);
}

void TControlHost::DragMove(TShiftState, int x, int y) {
    const TSize size = ClientSize();
    const bool inside = x >= 0 && y >= 0 && x < size.cx && y < size.cy;
    TObject* source = control_;
    if (inside || dragInside_) {
        const TDragState state = !inside        ? TDragState::dsDragLeave
                                 : !dragInside_ ? TDragState::dsDragEnter
                                                : TDragState::dsDragMove;
        bool accept = false;
        Guard([&](TCustomControl& c) { c.DragOver(source, x, y, state, accept); });
        dragAccepted_ = inside && accept;
    }
    dragInside_ = inside;
    if (control_) ShowCursor(dragAccepted_ ? control_->DragCursor() : crNoDrop);
}

void TControlHost::FinishDrag(bool drop, int x, int y) {
    dragging_ = false;
    const bool dropped = drop && dragInside_ && dragAccepted_;
    TObject* source = control_;
    if (!dropped && dragInside_) {
        bool accept = false;
        Guard(
            [&](TCustomControl& c) { c.DragOver(source, x, y, TDragState::dsDragLeave, accept); });
    }
    if (dropped) Guard([&](TCustomControl& c) { c.DragDrop(source, x, y); });
    Guard([&](TCustomControl& c) { c.EndDrag(dropped ? source : nullptr, x, y); });
    ReleaseCapture();
    if (control_) ShowCursor(CursorAt(x, y));
}

// ---- Services --------------------------------------------------------------------------

int TControlHost::SystemMetric(int index) const {
    return GetSystemMetrics(index);
}

int TControlHost::WheelScrollLines() const {
    return ondrex::WheelScrollLines();
}

void TControlHost::CreateCaret(int width, int height) {
    const TCaretState before = caret_;
    caret_ = {true, std::max(width, 1), std::max(height, 1), caret_.X, caret_.Y, 1};
    CaretChanged(before);
}

void TControlHost::DestroyCaret() {
    if (!caret_.Created) return;
    const TCaretState before = caret_;
    caret_.Created = false;
    CaretChanged(before);
}

void TControlHost::ShowCaret() {
    if (!caret_.Created || caret_.HideCount == 0) return;
    const TCaretState before = caret_;
    --caret_.HideCount;
    CaretChanged(before);
}

void TControlHost::HideCaret() {
    if (!caret_.Created) return;
    const TCaretState before = caret_;
    ++caret_.HideCount;
    CaretChanged(before);
}

void TControlHost::SetCaretPos(int x, int y) {
    if (caret_.X == x && caret_.Y == y) return;
    const TCaretState before = caret_;
    caret_.X = x;
    caret_.Y = y;
    CaretChanged(before);
}

void TControlHost::SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info,
                                 bool disableNoScroll) {
    TScrollBarState& state = bars_[bar == TScrollBarKind::sbVertical ? 1 : 0];
    state.Info = info;
    state.Info.Max = std::max(info.Max, info.Min);
    state.Info.Page = std::clamp(info.Page, 0, state.Info.Max - state.Info.Min + 1);
    state.Info.Pos =
        std::clamp(info.Pos, state.Info.Min, std::max(state.Info.Min, state.Info.MaxPos()));
    state.DisableNoScroll = disableNoScroll;
    state.Hidden = false;
    ScrollBarChanged(bar);
}

void TControlHost::ShowScrollBar(TScrollBarKind bar, bool show) {
    bars_[bar == TScrollBarKind::sbVertical ? 1 : 0].Hidden = !show;
    ScrollBarChanged(bar);
}

void TControlHost::SetCapture() {
    if (captured_) return;
    captured_ = true;
    CaptureChanged();
}

void TControlHost::ReleaseCapture() {
    if (!captured_) return;
    captured_ = false;
    CaptureChanged();
}

void TControlHost::DragAcceptFiles(bool accept) {
    if (acceptFiles_ == accept) return;
    acceptFiles_ = accept;
    AcceptFilesChanged();
}

void TControlHost::SetImeCompositionPos(TPoint p) {
    imePos_ = p;
}

void TControlHost::CursorChanged() {
    const TPoint p = CursorPos();
    const TSize size = ClientSize();
    if (!dragging_ && p.X >= 0 && p.Y >= 0 && p.X < size.cx && p.Y < size.cy)
        ShowCursor(CursorAt(p.X, p.Y));
}

} // namespace ondrex
