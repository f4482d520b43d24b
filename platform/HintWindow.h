#pragma once
// THintWindow: the window the application shows hints in, and the base of custom hint
// windows (a subclass overrides CalcHintRect, ActivateHint and Paint and is installed as
// the application's HintWindowClass). The plain one is a pale box with a frame and the
// word-wrapped text.
//
// The window is a borderless top-level window that stays on top and never takes the focus;
// it is made on the first ActivateHint unless a host (a test's) was attached before. Its
// bounds are screen pixels.

#include "platform/Control.h"
#include "platform/Font.h"
#include "platform/SystemColors.h"

#include <memory>
#include <string>

namespace ondrex {

class THintWindow : public TCustomControl {
public:
    THintWindow();
    ~THintWindow() override;

    std::string ClassName() const override { return "THintWindow"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TColor Color = clInfoBk;
    TFont Font;

    // The window's size for a hint: the wrapped text's extent at `maxWidth` pixels plus the
    // margins, at (0, 0).
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
    // Shows the hint at `rect` (screen pixels), moved back onto the screen when it sticks
    // out, on top of other windows and without taking the focus.
    virtual void ActivateHint(const TRect& rect, const std::string& hint);
    // Hides the window (it may be shown again by ActivateHint).
    void ReleaseHandle();

    // A canvas for measuring outside a paint; its Font is set to the window's Font.
    TCanvas& Canvas();

protected:
    void Paint(TCanvas& canvas, const TRect& clip) override;
    // Makes the window when none is attached yet.
    void EnsureHandle();

private:
    std::string caption_;
    std::unique_ptr<TCanvas> measure_;
    std::unique_ptr<TControlHost> ownHost_;
};

// How the toolkit makes a hint's own window (borderless, on top, never focused); it installs
// this at start-up. Without one, a hint that has no host attached throws std::logic_error.
using THintHostFactory = std::unique_ptr<TControlHost> (*)(TCustomControl& hint);
void SetHintHostFactory(THintHostFactory factory);

} // namespace ondrex
