#include "platform/testing/RecordingCanvas.h"

#include "platform/Bitmap.h"
#include "platform/SystemColors.h"

#include <cstdlib>

namespace ondrex {

TRecordingCanvas::TRecordingCanvas(const TRect& surface) : surface_(surface) {
    SetInitialClip(surface);
}

void TRecordingCanvas::SetCellSize(int width, int height) {
    cellWidth_ = width;
    cellHeight_ = height;
}

int TRecordingCanvas::CellHeight() const {
    if (cellHeight_ > 0) return cellHeight_;
    const int h = std::abs(Font.Height());
    return h > 0 ? h : 13;
}

int TRecordingCanvas::CellWidth() const {
    return cellWidth_ > 0 ? cellWidth_ : (CellHeight() * 6 + 5) / 10;
}

std::vector<TDrawCall> TRecordingCanvas::CallsOf(TDrawKind kind) const {
    std::vector<TDrawCall> out;
    for (const TDrawCall& call : Calls)
        if (call.Kind == kind) out.push_back(call);
    return out;
}

TDrawCall TRecordingCanvas::Record(TDrawKind kind, TColor color) const {
    TDrawCall call;
    call.Kind = kind;
    call.Color = ColorToRGB(color);
    call.FontName = Font.Name();
    call.FontHeight = Font.Height();
    call.FontStyle = Font.Style();
    call.Clip = ClipRect();
    return call;
}

void TRecordingCanvas::Push(TDrawCall call) {
    // The pieces a DrawText is made of are not recorded on their own.
    if (drawTextDepth_ == 0) Calls.push_back(std::move(call));
}

TColor TRecordingCanvas::BrushColor() const {
    return Brush.Style == TBrushStyle::bsClear ? clNone : Brush.Color;
}

TColor TRecordingCanvas::PenColor() const {
    return Pen.Style == TPenStyle::psClear ? clNone : Pen.Color;
}

void TRecordingCanvas::FillRect(const TRect& r) {
    TDrawCall call = Record(TDrawKind::FillRect, BrushColor());
    call.Rect = r;
    Push(std::move(call));
}

void TRecordingCanvas::FrameRect(const TRect& r) {
    TDrawCall call = Record(TDrawKind::FrameRect, Brush.Color);
    call.Rect = r;
    Push(std::move(call));
}

void TRecordingCanvas::Rectangle(const TRect& r) {
    TDrawCall call = Record(TDrawKind::Rectangle, PenColor());
    call.Rect = r;
    call.BkColor = ColorToRGB(BrushColor());
    Push(std::move(call));
}

void TRecordingCanvas::Polyline(std::span<const TPoint> points) {
    TDrawCall call = Record(points.size() == 2 ? TDrawKind::Line : TDrawKind::Polyline, PenColor());
    call.Points.assign(points.begin(), points.end());
    Push(std::move(call));
}

void TRecordingCanvas::SetPixel(int x, int y, TColor color) {
    TDrawCall call = Record(TDrawKind::Pixel, color);
    call.Points = {{x, y}};
    Push(std::move(call));
    if (ClipRect().Contains({x, y})) pixels_[{x, y}] = ColorToRGB(color);
}

TColor TRecordingCanvas::GetPixel(int x, int y) const {
    const auto it = pixels_.find({x, y});
    return it == pixels_.end() ? clNone : it->second;
}

void TRecordingCanvas::DrawFocusRect(const TRect& r) {
    TDrawCall call = Record(TDrawKind::FocusRect, clNone);
    call.Rect = r;
    Push(std::move(call));
}

TTextMetric TRecordingCanvas::GetTextMetrics() {
    TTextMetric tm;
    tm.Height = CellHeight();
    tm.Descent = tm.Height / 5;
    tm.Ascent = tm.Height - tm.Descent;
    tm.AveCharWidth = tm.MaxCharWidth = CellWidth();
    tm.Weight = Font.Weight();
    tm.FixedPitch = true;
    tm.Charset = Font.Charset();
    return tm;
}

bool TRecordingCanvas::GetCharABCWidths(char32_t, TABC& abc) {
    abc = {0, CellWidth(), 0};
    return true;
}

TSize TRecordingCanvas::TextExtent(std::string_view text) {
    return {int(text.size()) * CellWidth(), CellHeight()};
}

void TRecordingCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* rect,
                                  std::string_view text, std::span<const int> advances) {
    TDrawCall call = Record(TDrawKind::Text, Font.Color());
    const TSize extent = TextExtent(text);
    call.Rect = rect ? *rect : TRect{x, y, x + extent.cx, y + extent.cy};
    call.Points = {{x, y}};
    call.Text = std::string(text);
    call.Advances.assign(advances.begin(), advances.end());
    call.Flags = options;
    const bool opaque = (rect && (options & ETO_OPAQUE)) || BkMode == TBkMode::bkOpaque;
    call.BkColor = opaque ? ColorToRGB(BkColor) : clNone;
    Push(std::move(call));
}

int TRecordingCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
    if (!(flags & DT_CALCRECT)) {
        TDrawCall call = Record(TDrawKind::DrawText, Font.Color());
        call.Rect = rect;
        call.Text = std::string(text);
        call.Flags = flags;
        call.BkColor = BkMode == TBkMode::bkOpaque ? ColorToRGB(BkColor) : clNone;
        Push(std::move(call));
    }
    ++drawTextDepth_;
    const int height = TCanvas::DrawText(text, rect, flags);
    --drawTextDepth_;
    return height;
}

void TRecordingCanvas::DrawBitmap(int x, int y, const TBitmap&, const TRect& source) {
    TDrawCall call = Record(TDrawKind::Bitmap, clNone);
    call.Rect = {x, y, x + source.Width(), y + source.Height()};
    call.Points = {{x, y}};
    Push(std::move(call));
}

} // namespace ondrex
