#include "platform/Canvas.h"

#include "platform/Bitmap.h"

namespace ondrex {

TCanvas::~TCanvas() = default;

void TCanvas::Save() {
    saved_.push_back({Font, Brush, Pen, BkMode, BkColor, PenPos, clip_});
}

void TCanvas::Restore() {
    if (saved_.empty()) return;
    TState& s = saved_.back();
    Font = s.Font;
    Brush = s.Brush;
    Pen = s.Pen;
    BkMode = s.BkMode;
    BkColor = s.BkColor;
    PenPos = s.PenPos;
    const bool clipChanged = !(clip_ == s.Clip);
    clip_ = s.Clip;
    saved_.pop_back();
    if (clipChanged) ClipChanged();
}

void TCanvas::IntersectClipRect(const TRect& r) {
    clip_ = clip_.Intersect(r);
    ClipChanged();
}

void TCanvas::LineTo(int x, int y) {
    const TPoint points[2] = {PenPos, {x, y}};
    Polyline(points);
    PenPos = {x, y};
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    const TRect whole{0, 0, bitmap.Width(), bitmap.Height()};
    if (!bitmap.Transparent || bitmap.Empty()) {
        DrawBitmap(x, y, bitmap, whole);
        return;
    }
    const TColor key = bitmap.TransparentColor == clNone ? bitmap.Pixel(0, bitmap.Height() - 1)
                                                         : bitmap.TransparentColor;
    TBitmap keyed(bitmap);
    for (int py = 0; py < keyed.Height(); ++py)
        for (int px = 0; px < keyed.Width(); ++px)
            if (keyed.Pixel(px, py) == key) keyed.ScanLine(py)[px] = 0;
    DrawBitmap(x, y, keyed, whole);
}

} // namespace ondrex
