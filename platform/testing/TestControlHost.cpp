#include "platform/testing/TestControlHost.h"

#include "platform/SystemMetrics.h"

namespace ondrex {

TTestControlHost::TTestControlHost(TCustomControl& control)
    : TControlHost(control), metrics_{{SM_CXSCREEN, 1024}, {SM_CYSCREEN, 768}, {SM_CXVSCROLL, 17},
                                      {SM_CYHSCROLL, 17},  {SM_CXDRAG, 4},     {SM_CYDRAG, 4},
                                      {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4}} {
    lastClient_ = ClientSize();
}

TTestControlHost::~TTestControlHost() = default;

void TTestControlHost::ClearRecords() {
    Invalidations.clear();
    Scrolls.clear();
    UpdateCalls = 0;
    PaintCount = 0;
}

TSize TTestControlHost::ClientSize() const {
    const TCustomControl* c = Control();
    if (!c) return {};
    const int w =
        c->Width() - (ScrollBar(TScrollBarKind::sbVertical).Visible() ? ScrollBarSize : 0);
    const int h =
        c->Height() - (ScrollBar(TScrollBarKind::sbHorizontal).Visible() ? ScrollBarSize : 0);
    return {std::max(w, 0), std::max(h, 0)};
}

void TTestControlHost::SetBounds(const TRect&) {
    const TSize size = ClientSize();
    if (size == lastClient_) return;
    lastClient_ = size;
    SendResize();
}

void TTestControlHost::ScrollBarChanged(TScrollBarKind) {
    SetBounds({});
}

void TTestControlHost::SetVisible(bool) {}

void TTestControlHost::InvalidateRect(const TRect& rect, bool) {
    const TSize size = ClientSize();
    const TRect r = rect.Intersect({0, 0, size.cx, size.cy});
    if (r.IsEmpty()) return;
    Invalidations.push_back(r);
    invalid_ = invalid_.Union(r);
}

void TTestControlHost::Update() {
    ++UpdateCalls;
    if (!invalid_.IsEmpty()) Paint();
}

void TTestControlHost::ScrollWindow(int dx, int dy, const TRect& area) {
    Scrolls.push_back({dx, dy, area});
    // What the scroll uncovered needs painting; the test host keeps no pixels to move.
    const TRect moved = area.Offset(dx, dy).Intersect(area);
    if (moved.IsEmpty() || dx != 0) {
        InvalidateRect(area, false);
        return;
    }
    InvalidateRect(dy > 0 ? TRect{area.Left, area.Top, area.Right, moved.Top}
                          : TRect{area.Left, moved.Bottom, area.Right, area.Bottom},
                   false);
}

TRecordingCanvas& TTestControlHost::Paint() {
    return PaintArea(invalid_);
}

TRecordingCanvas& TTestControlHost::PaintAll() {
    const TSize size = ClientSize();
    return PaintArea({0, 0, size.cx, size.cy});
}

TRecordingCanvas& TTestControlHost::PaintArea(TRect area) {
    const TSize size = ClientSize();
    lastPaint_ = std::make_unique<TRecordingCanvas>(TRect{0, 0, size.cx, size.cy});
    invalid_ = {};
    if (area.IsEmpty()) return *lastPaint_;
    lastPaint_->IntersectClipRect(area);
    ++PaintCount;
    SendPaint(*lastPaint_, lastPaint_->ClipRect());
    return *lastPaint_;
}

void TTestControlHost::Focus() {
    if (focused_) return;
    focused_ = true;
    SendFocusIn();
}

void TTestControlHost::Blur() {
    if (!focused_) return;
    focused_ = false;
    SendFocusOut();
}

void TTestControlHost::SetFocus() {
    Focus();
}

TPoint TTestControlHost::ClientToScreen(TPoint p) const {
    const TCustomControl* c = Control();
    const TPoint origin = c ? TPoint{c->Left(), c->Top()} : TPoint{};
    return {p.X + origin.X + screenOrigin_.X, p.Y + origin.Y + screenOrigin_.Y};
}

int TTestControlHost::SystemMetric(int index) const {
    const auto it = metrics_.find(index);
    return it == metrics_.end() ? 0 : it->second;
}

} // namespace ondrex
