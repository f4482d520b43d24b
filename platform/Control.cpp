#include "platform/Control.h"

#include "platform/ControlHost.h"
#include "platform/SystemMetrics.h"

namespace ondrex {

TCustomControl::TCustomControl() = default;

TCustomControl::~TCustomControl() {
    if (host_) host_->control_ = nullptr;
}

void TCustomControl::SetBounds(int left, int top, int width, int height) {
    bounds_ = Bounds(left, top, std::max(width, 0), std::max(height, 0));
    if (host_) host_->SetBounds(bounds_);
}

void TCustomControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (host_) host_->SetVisible(visible);
}

void TCustomControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (host_) host_->SetEnabled(enabled);
    EnabledChanged();
}

int TCustomControl::ClientWidth() const {
    return host_ ? host_->ClientSize().cx : Width();
}

int TCustomControl::ClientHeight() const {
    return host_ ? host_->ClientSize().cy : Height();
}

void TCustomControl::SetCursor(TCursor cursor) {
    if (cursor_ == cursor) return;
    cursor_ = cursor;
    if (host_) host_->CursorChanged();
}

void TCustomControl::CreateCaret(int width, int height) {
    if (host_) host_->CreateCaret(width, height);
}
void TCustomControl::DestroyCaret() {
    if (host_) host_->DestroyCaret();
}
void TCustomControl::ShowCaret() {
    if (host_) host_->ShowCaret();
}
void TCustomControl::HideCaret() {
    if (host_) host_->HideCaret();
}
void TCustomControl::SetCaretPos(int x, int y) {
    if (host_) host_->SetCaretPos(x, y);
}

void TCustomControl::Invalidate() {
    InvalidateRect(ClientRect(), false);
}

void TCustomControl::InvalidateRect(const TRect& rect, bool erase) {
    if (host_) host_->InvalidateRect(rect, erase);
}

void TCustomControl::Update() {
    if (host_) host_->Update();
}

void TCustomControl::Repaint() {
    Invalidate();
    Update();
}

void TCustomControl::ScrollWindow(int dx, int dy) {
    ScrollWindow(dx, dy, ClientRect());
}

void TCustomControl::ScrollWindow(int dx, int dy, const TRect& area) {
    if (host_) host_->ScrollWindow(dx, dy, area);
}

void TCustomControl::SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info,
                                   bool disableNoScroll) {
    if (host_) host_->SetScrollInfo(bar, info, disableNoScroll);
}

TScrollInfo TCustomControl::GetScrollInfo(TScrollBarKind bar) const {
    return host_ ? host_->ScrollBar(bar).Info : TScrollInfo{};
}

void TCustomControl::ShowScrollBar(TScrollBarKind bar, bool show) {
    if (host_) host_->ShowScrollBar(bar, show);
}

void TCustomControl::SetFocus() {
    if (host_) host_->SetFocus();
}
bool TCustomControl::Focused() const {
    return host_ && host_->Focused();
}

void TCustomControl::SetCapture() {
    if (host_) host_->SetCapture();
}
void TCustomControl::ReleaseCapture() {
    if (host_) host_->ReleaseCapture();
}
bool TCustomControl::MouseCapture() const {
    return host_ && host_->MouseCapture();
}

TPoint TCustomControl::CursorPos() const {
    return host_ ? host_->CursorPos() : ScreenToClient(GetCursorPos());
}

bool TCustomControl::ApplicationActive() const {
    return host_ && host_->ApplicationActive();
}

TPoint TCustomControl::ClientToScreen(TPoint p) const {
    return host_ ? host_->ClientToScreen(p) : TPoint{p.X + Left(), p.Y + Top()};
}

TPoint TCustomControl::ScreenToClient(TPoint p) const {
    const TPoint origin = ClientToScreen({0, 0});
    return {p.X - origin.X, p.Y - origin.Y};
}

TShiftState TCustomControl::KeyboardState() const {
    return host_ ? host_->KeyboardState() : TShiftState{0};
}

void TCustomControl::BeginDrag() {
    if (host_) host_->BeginDrag();
}
bool TCustomControl::Dragging() const {
    return host_ && host_->Dragging();
}

void TCustomControl::DragAcceptFiles(bool accept) {
    if (host_) host_->DragAcceptFiles(accept);
}

void TCustomControl::SetImeCompositionPos(TPoint p) {
    if (host_) host_->SetImeCompositionPos(p);
}

int TCustomControl::SystemMetric(int index) const {
    return host_ ? host_->SystemMetric(index) : GetSystemMetrics(index);
}

int TCustomControl::WheelScrollLines() const {
    return host_ ? host_->WheelScrollLines() : ondrex::WheelScrollLines();
}

// ---- Default handlers ------------------------------------------------------------------

void TCustomControl::Paint(TCanvas&, const TRect&) {}
void TCustomControl::KeyDown(std::uint16_t& key, TShiftState shift) {
    OnKeyDown(this, key, shift);
}
void TCustomControl::KeyUp(std::uint16_t& key, TShiftState shift) {
    OnKeyUp(this, key, shift);
}
void TCustomControl::KeyPress(std::string& character) {
    OnKeyPress(this, character);
}
void TCustomControl::ImeResult(const std::string&) {}
void TCustomControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseDown(this, button, shift, x, y);
}
void TCustomControl::MouseMove(TShiftState shift, int x, int y) {
    OnMouseMove(this, shift, x, y);
}
void TCustomControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseUp(this, button, shift, x, y);
}
void TCustomControl::Click() {
    OnClick(this);
}
void TCustomControl::DblClick(int, int) {
    OnDblClick(this);
}
bool TCustomControl::MouseWheel(TShiftState, int, int, int) {
    return false;
}
void TCustomControl::MouseEnter() {
    OnMouseEnter(this);
}
void TCustomControl::MouseLeave() {
    OnMouseLeave(this);
}
void TCustomControl::FocusIn() {
    OnEnter(this);
}
void TCustomControl::FocusOut() {
    OnExit(this);
}
void TCustomControl::Resize() {
    OnResize(this);
}
TCursor TCustomControl::CursorAt(int, int) {
    return cursor_;
}
bool TCustomControl::WantsTab(TShiftState) {
    return false;
}
void TCustomControl::Scroll(TScrollBarKind, int, int) {}

void TCustomControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = static_cast<bool>(OnDragOver);
    OnDragOver(this, source, x, y, state, accept);
}

void TCustomControl::DragDrop(TObject* source, int x, int y) {
    OnDragDrop(this, source, x, y);
}
void TCustomControl::EndDrag(TObject* target, int x, int y) {
    OnEndDrag(this, target, x, y);
}
void TCustomControl::DropFiles(int, int, const std::vector<std::string>&) {}

} // namespace ondrex
