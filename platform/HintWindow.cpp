#include "platform/HintWindow.h"

#include "platform/Canvas.h"
#include "platform/ControlHost.h"
#include "platform/SystemMetrics.h"

#include <algorithm>
#include <stdexcept>

namespace ondrex {

namespace {
constexpr unsigned kHintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

THintHostFactory& HostFactory() {
    static THintHostFactory factory = nullptr;
    return factory;
}
} // namespace

void SetHintHostFactory(THintHostFactory factory) {
    HostFactory() = factory;
}

THintWindow::THintWindow() : Font("Tahoma", -11) {
    Font.SetColor(clInfoText);
    SetVisible(false);
}

THintWindow::~THintWindow() = default;

void THintWindow::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Invalidate();
}

TCanvas& THintWindow::Canvas() {
    if (!measure_) measure_ = CreateScreenCanvas();
    measure_->Font = Font;
    return *measure_;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    TRect r{0, 0, maxWidth, 0};
    Canvas().DrawText(hint, r, kHintTextFlags | DT_CALCRECT);
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::EnsureHandle() {
    if (HandleAllocated()) return;
    if (!HostFactory()) throw std::logic_error("no hint window: no toolkit is linked in");
    ownHost_ = HostFactory()(*this);
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
    SetCaption(hint);
    EnsureHandle();
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    TRect r = rect;
    if (r.Right > screenW) r = r.Offset(screenW - r.Right, 0);
    if (r.Bottom > screenH) r = r.Offset(0, screenH - r.Bottom);
    r = r.Offset(std::max(0, -r.Left), std::max(0, -r.Top));
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetVisible(true);
    Repaint();
}

void THintWindow::ReleaseHandle() {
    SetVisible(false);
}

void THintWindow::Paint(TCanvas& canvas, const TRect&) {
    const TRect client = ClientRect();
    canvas.Brush.Color = Color;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.FillRect(client);
    canvas.Brush.Color = clWindowFrame;
    canvas.FrameRect(client);
    canvas.Font = Font;
    canvas.BkMode = TBkMode::bkTransparent;
    TRect text{client.Left + 2, client.Top + 2, client.Right, client.Bottom};
    canvas.DrawText(caption_, text, kHintTextFlags);
}

} // namespace ondrex
