#include "platform/HintController.h"

#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/HintWindow.h"
#include "platform/SystemMetrics.h"

namespace ondrex {

namespace {
// The hint opens below the pointer's arrow.
constexpr int kCursorHeight = 20;
} // namespace

THintController::THintController(TApplication& app) : app_(app) {
    showTimer_.SetEnabled(false);
    hideTimer_.SetEnabled(false);
    showTimer_.SetOnTimer(TNotifyEvent::bind<&THintController::ShowTick>(this));
    hideTimer_.SetOnTimer(TNotifyEvent::bind<&THintController::HideTick>(this));
}

THintController::~THintController() = default;

bool THintController::Showing() const {
    return window_ && window_->Visible();
}

void THintController::MouseMove(TCustomControl* control, TPoint screenPos) {
    if (!control) return;
    const std::string hint = control->ShowHint() ? control->Hint() : std::string();
    const TPoint origin = control->ClientToScreen({0, 0});
    const TRect rect = control->ClientRect().Offset(origin.X, origin.Y);
    MouseMoveOver(control, control, hint, rect, screenPos);
}

void THintController::MouseMoveOver(const void* source, TCustomControl* control,
                                    const std::string& hint, const TRect& screenRect,
                                    TPoint screenPos) {
    pos_ = screenPos;
    if (source == source_) return;
    const bool neighbour = active_;
    Hide();
    source_ = source;
    control_ = control;
    hint_ = hint;
    rect_ = screenRect;
    if (hint.empty() || !app_.ShowHint()) {
        active_ = false;
        return;
    }
    showTimer_.SetInterval(std::max(neighbour ? app_.HintShortPause : app_.HintPause, 1));
    showTimer_.SetEnabled(true);
}

void THintController::MouseLeave(const void* source) {
    if (source != source_) return;
    Hide();
    source_ = nullptr;
    control_ = nullptr;
}

void THintController::Cancel() {
    Hide();
    active_ = false;
    hint_.clear();
}

void THintController::ControlGone(const TCustomControl* control) {
    if (control && control_ == control) {
        Cancel();
        source_ = nullptr;
        control_ = nullptr;
    }
}

void THintController::ReleaseWindow() {
    Cancel();
    window_.reset();
}

void THintController::Hide() {
    showTimer_.SetEnabled(false);
    hideTimer_.SetEnabled(false);
    if (window_) window_->ReleaseHandle();
}

void THintController::HideTick(TObject*) {
    Hide();
    active_ = false;
}

void THintController::ShowTick(TObject*) {
    showTimer_.SetEnabled(false);
    if (hint_.empty() || !app_.ShowHint()) return;
    THintInfo info;
    info.HintControl = control_;
    info.CursorPos = pos_;
    info.CursorRect = rect_;
    info.HintPos = {pos_.X, pos_.Y + kCursorHeight};
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = app_.HintColor;
    info.HideTimeout = app_.HintHidePause;
    info.HintStr = hint_;
    bool canShow = true;
    app_.OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty()) return;
    if (!window_)
        window_ = app_.HintWindowClass ? app_.HintWindowClass() : std::make_unique<THintWindow>();
    window_->Color = info.HintColor;
    const TRect r = window_->CalcHintRect(info.HintMaxWidth, info.HintStr);
    window_->ActivateHint(r.Offset(info.HintPos.X, info.HintPos.Y), info.HintStr);
    active_ = true;
    hideTimer_.SetInterval(info.HideTimeout > 0 ? info.HideTimeout : app_.HintHidePause);
    hideTimer_.SetEnabled(true);
}

} // namespace ondrex
