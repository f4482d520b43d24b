#pragma once
// The one-line box in which a list view edits a caption in place. On screen it is a real
// text box over the control's window; without one (a test host) it only keeps its text, so
// tests type by SetText and end the edit through the list view.

#include "platform/Font.h"
#include "platform/Geometry.h"

#include <functional>
#include <memory>
#include <string>

namespace ondrex {

class TCustomControl;

class TLabelEditor {
public:
    virtual ~TLabelEditor() = default;

    virtual std::string Text() const { return text_; }
    virtual void SetText(const std::string& text) { text_ = text; }
    TRect Bounds() const { return bounds_; }

    // Shows the box over `bounds` (client pixels of the control) with all text selected.
    virtual void Show(const TRect& bounds, const std::string& text, const TFont&) {
        bounds_ = bounds;
        SetText(text);
    }
    virtual void Hide() {}

    // Raised by the box itself: Enter or leaving it (true, accept), Escape (false).
    std::function<void(bool accept)> OnEnd;

private:
    std::string text_;
    TRect bounds_;
};

// A box for `control`: a real one when the control sits in a Qt window, else the plain one.
std::unique_ptr<TLabelEditor> CreateLabelEditor(TCustomControl& control);

} // namespace ondrex
