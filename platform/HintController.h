#pragma once
// THintController: the application's hint machinery. Hosts report where the pointer is; after
// HintPause over a control with a hint (HintShortPause when a hint was just showing for a
// neighbour) the hint is shown in a window of the application's HintWindowClass, and hidden
// after the hide pause, on a click or key, or when the pointer leaves. Plain Qt widgets with
// a tooltip take part too: their tooltips come through here instead of Qt's own.

#include "platform/Geometry.h"
#include "platform/Timer.h"

#include <memory>
#include <string>

namespace ondrex {

class TApplication;
class TCustomControl;
class THintWindow;

class THintController {
public:
    explicit THintController(TApplication& app);
    ~THintController();

    // The pointer is over `control` at `screenPos`.
    void MouseMove(TCustomControl* control, TPoint screenPos);
    // The pointer is over something identified by `source` whose hint is `hint` (may be
    // empty), covering `screenRect`.
    void MouseMoveOver(const void* source, TCustomControl* control, const std::string& hint,
                       const TRect& screenRect, TPoint screenPos);
    void MouseLeave(const void* source);
    // A click or a key press: hide, and show nothing more until the pointer moves on.
    void Cancel();
    // A control is going away: forget it.
    void ControlGone(const TCustomControl* control);
    // Frees the hint window (the next hint makes one of the current HintWindowClass).
    void ReleaseWindow();

    THintWindow* Window() const { return window_.get(); }
    bool Showing() const;
    // True while a pause before a hint is running.
    bool Pending() const { return showTimer_.Enabled(); }

private:
    void ShowTick(TObject*);
    void HideTick(TObject*);
    void Hide();

    TApplication& app_;
    TTimer showTimer_;
    TTimer hideTimer_;
    std::unique_ptr<THintWindow> window_;
    const void* source_ = nullptr;
    TCustomControl* control_ = nullptr;
    std::string hint_;
    TRect rect_;
    TPoint pos_;
    bool active_ = false; // a hint was shown and the pointer has not left the hinted area
};

} // namespace ondrex
