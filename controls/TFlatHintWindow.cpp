#include "controls/TFlatHintWindow.h"

#include "controls/TFlatHint.h"
#include "platform/Canvas.h"
#include "platform/SystemMetrics.h"

#include <algorithm>

namespace ondrex {

namespace {

constexpr int kStripWidth = 14;
constexpr int kExtraWidth = 22; // strip, frame and text margins
constexpr int kExtraHeight = 6;
constexpr unsigned kTextFlags = DT_WORDBREAK | DT_NOPREFIX;

constexpr TPoint kArrowOutline[18] = {{0, 0}, {0, 6}, {1, 6}, {1, 0}, {6, 0}, {6, 1},
                                      {2, 1}, {2, 4}, {5, 7}, {6, 7}, {3, 4}, {3, 3},
                                      {6, 6}, {7, 6}, {3, 2}, {4, 2}, {7, 5}, {7, 6}};

bool StripOnLeft(int arrowPosition) {
    return arrowPosition == apBelowRight || arrowPosition == apAboveRight;
}

bool Below(int arrowPosition) {
    return arrowPosition == apBelowLeft || arrowPosition == apBelowRight;
}

} // namespace

int FlatHintArrowPosition(TPoint pointer, const TRect& screen) {
    const int midX = screen.Left + screen.Width() / 2;
    const int midY = screen.Top + screen.Height() / 2;
    if (Rect(screen.Left, screen.Top, midX, midY).Contains(pointer)) return apBelowRight;
    if (Rect(midX, screen.Top, screen.Right, midY).Contains(pointer)) return apBelowLeft;
    if (Rect(screen.Left, midY, midX, screen.Bottom).Contains(pointer)) return apAboveRight;
    return apAboveLeft;
}

TRect FlatHintWindowRect(int arrowPosition, TPoint pointer, TSize size) {
    // Right-below opens further off so the pointer's own arrow does not cover the text.
    const int gap = arrowPosition == apBelowRight ? 12 : 5;
    const int left = StripOnLeft(arrowPosition) ? pointer.X + gap : pointer.X - size.cx - gap;
    const int top = Below(arrowPosition) ? pointer.Y + gap : pointer.Y - size.cy - gap;
    return Bounds(left, top, size.cx, size.cy);
}

TFlatHintParts FlatHintParts(int arrowPosition, const TRect& client) {
    const TRect inner = client.Inflate(-1, -1);
    TFlatHintParts parts;
    if (StripOnLeft(arrowPosition)) {
        parts.Strip = {inner.Left, inner.Top, inner.Left + kStripWidth, inner.Bottom};
        parts.TextArea = {parts.Strip.Right, inner.Top, inner.Right, inner.Bottom};
    } else {
        parts.Strip = {inner.Right - kStripWidth, inner.Top, inner.Right, inner.Bottom};
        parts.TextArea = {inner.Left, inner.Top, parts.Strip.Left, inner.Bottom};
    }
    // The arrow's head sits in the strip's corner nearest the pointer.
    const int sx = StripOnLeft(arrowPosition) ? 1 : -1;
    const int sy = Below(arrowPosition) ? 1 : -1;
    parts.ArrowPoint = {sx > 0 ? parts.Strip.Left + 2 : parts.Strip.Right - 3,
                        sy > 0 ? parts.Strip.Top + 2 : parts.Strip.Bottom - 3};
    for (std::size_t i = 0; i < parts.Arrow.size(); ++i)
        parts.Arrow[i] = {parts.ArrowPoint.X + sx * kArrowOutline[i].X,
                          parts.ArrowPoint.Y + sy * kArrowOutline[i].Y};
    return parts;
}

void TFlatHintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
    const TPoint pointer = GetCursorPos();
    ActivateHintAt(rect, hint, pointer, ScreenRectAt(pointer));
}

void TFlatHintWindow::ActivateHintAt(const TRect& rect, const std::string& hint, TPoint pointer,
                                     const TRect& screen) {
    const TFlatHint* flat = TFlatHint::Current();
    if (!flat) {
        style_.reset();
        THintWindow::ActivateHint(rect, hint);
        return;
    }
    style_ = TStyle{flat->ColorBackground, flat->ColorBorder,  flat->ColorArrowBackground,
                    flat->ColorArrow,      flat->MaxHintWidth, flat->Font};
    SetCaption(hint);
    TCanvas& canvas = Canvas();
    canvas.Font = style_->Font;
    TRect text{rect.Left, rect.Top, rect.Left + std::max(style_->MaxHintWidth - kExtraWidth, 1),
               rect.Top};
    canvas.DrawText(hint, text, DT_CALCRECT | kTextFlags);
    const TSize size{text.Width() + kExtraWidth, text.Height() + kExtraHeight};
    arrowPosition_ = FlatHintArrowPosition(pointer, screen);
    const TRect bounds = FlatHintWindowRect(arrowPosition_, pointer, size);
    EnsureHandle();
    SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    SetVisible(true);
    Repaint();
}

void TFlatHintWindow::Paint(TCanvas& canvas, const TRect& clip) {
    if (!style_) {
        THintWindow::Paint(canvas, clip);
        return;
    }
    const TRect client = ClientRect();
    const TFlatHintParts parts = FlatHintParts(arrowPosition_, client);
    arrowPoint_ = parts.ArrowPoint;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = style_->ArrowBackground;
    canvas.FillRect(parts.Strip);
    canvas.Brush.Color = style_->Background;
    canvas.FillRect(parts.TextArea);
    canvas.Brush.Color = style_->Border;
    canvas.FrameRect(client);
    canvas.Pen = {style_->Arrow, 1, TPenStyle::psSolid};
    canvas.Polyline(parts.Arrow);
    canvas.BkMode = TBkMode::bkTransparent;
    canvas.Font = style_->Font;
    TRect text = parts.TextArea.Inflate(-3, -1);
    canvas.DrawText(Caption(), text, kTextFlags);
}

} // namespace ondrex
