#pragma once
// TFlatHintWindow: the hint window TFlatHint installs. A borderless box with a one-pixel
// frame, the text area and a narrow side strip with a small arrow pointing back at the
// mouse pointer. The hint opens on the side of the pointer that faces the centre of the
// pointer's screen, so it needs no moving back onto the screen.
//
// Look and width limit come from the TFlatHint in use, copied when the hint opens (the
// component may go away while its hint shows). With no TFlatHint the window behaves as the
// plain THintWindow.

#include "platform/Font.h"
#include "platform/HintWindow.h"

#include <array>
#include <optional>

namespace ondrex {

// Where the hint lies relative to the pointer, by the screen quarter holding the pointer.
enum : int {
    apBelowLeft = 0,  // pointer in the top-right quarter; strip on the right
    apBelowRight = 1, // top-left quarter; strip on the left
    apAboveLeft = 2,  // bottom-right quarter; strip on the right
    apAboveRight = 3, // bottom-left quarter; strip on the left
};

// The arrow position for a pointer on `screen`.
int FlatHintArrowPosition(TPoint pointer, const TRect& screen);
// The window of `size` beside the pointer for that arrow position, in screen pixels.
TRect FlatHintWindowRect(int arrowPosition, TPoint pointer, TSize size);

// The parts of a flat hint of client rectangle `client`.
struct TFlatHintParts {
    TRect Strip;
    TRect TextArea;
    TPoint ArrowPoint;
    std::array<TPoint, 18> Arrow; // the outline, as one polyline
};
TFlatHintParts FlatHintParts(int arrowPosition, const TRect& client);

class TFlatHintWindow : public THintWindow {
public:
    TFlatHintWindow() = default;

    std::string ClassName() const override { return "TFlatHintWindow"; }

    int ArrowPosition() const { return arrowPosition_; }
    TPoint ArrowPoint() const { return arrowPoint_; }

    // Opens beside the mouse pointer on the pointer's screen; only rect's top-left is used.
    void ActivateHint(const TRect& rect, const std::string& hint) override;
    // The same with the pointer and its screen given.
    void ActivateHintAt(const TRect& rect, const std::string& hint, TPoint pointer,
                        const TRect& screen);

protected:
    void Paint(TCanvas& canvas, const TRect& clip) override;

private:
    // What is kept of the TFlatHint in use.
    struct TStyle {
        TColor Background;
        TColor Border;
        TColor ArrowBackground;
        TColor Arrow;
        int MaxHintWidth;
        TFont Font;
    };

    std::optional<TStyle> style_; // none: the plain look
    int arrowPosition_ = apBelowRight;
    TPoint arrowPoint_;
};

} // namespace ondrex
