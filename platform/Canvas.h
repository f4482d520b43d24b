#pragma once
// The drawing surface every control paints on: GDI-like state (font, brush, pen, background
// mode and colour, pen position, clip rectangle) plus the drawing operations the controls
// use. TQtCanvas draws into a widget or an image; TRecordingCanvas keeps the calls as data
// for tests and measures text with fixed cells, without Qt.
//
// Text is bytes in the process code page (platform/CodePage.h). Text is drawn in
// Font.Color(); in the opaque background mode its cells are first filled with BkColor.
// Colours may be system colours (resolved when drawn); a colour of clNone draws nothing.
// Lines and rectangles follow GDI: a line excludes its end point, Right/Bottom are outside.

#include "platform/Color.h"
#include "platform/DrawTextFlags.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace ondrex {

class TBitmap;

enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };
enum class TPenStyle : std::uint8_t { psSolid, psDot, psClear };
enum class TBkMode : std::uint8_t { bkTransparent, bkOpaque };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    // When set, fills tile this picture (aligned to the canvas origin) instead of Color.
    // Not owned; must outlive its use.
    const TBitmap* Bitmap = nullptr;
    bool operator==(const TBrush&) const = default;
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    bool operator==(const TPen&) const = default;
};

class TCanvas {
public:
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas();

    // ---- State (read when a drawing call is made) ----
    TFont Font;
    TBrush Brush;
    TPen Pen;
    TBkMode BkMode = TBkMode::bkOpaque;
    TColor BkColor = clWhite;
    TPoint PenPos;

    // Pushes / pops the state above together with the clip rectangle. Restore without a
    // matching Save does nothing.
    void Save();
    void Restore();

    // The area drawing may touch: the paint's invalid rectangle (or the whole surface),
    // narrowed by IntersectClipRect until the matching Restore.
    TRect ClipRect() const { return clip_; }
    void IntersectClipRect(const TRect& r);

    // ---- Shapes ----
    virtual void FillRect(const TRect& r) = 0;  // with the brush
    virtual void FrameRect(const TRect& r) = 0; // 1-pixel border with the brush colour
    virtual void Rectangle(const TRect& r) = 0; // pen outline, brush inside
    void MoveTo(int x, int y) { PenPos = {x, y}; }
    void LineTo(int x, int y);                                 // pen; end point not drawn
    virtual void Polyline(std::span<const TPoint> points) = 0; // pen; last point not drawn
    virtual void SetPixel(int x, int y, TColor color) = 0;
    // clNone outside the surface, or on a surface that cannot be read back (a window).
    virtual TColor GetPixel(int x, int y) const = 0;
    // The dotted outline of a keyboard focus; drawing it twice removes it.
    virtual void DrawFocusRect(const TRect& r) = 0;

    // ---- Text ----
    virtual TTextMetric GetTextMetrics() = 0; // of Font
    // False when the font has no such widths for the character (code point).
    virtual bool GetCharABCWidths(char32_t ch, TABC& abc) = 0;
    virtual TSize TextExtent(std::string_view text) = 0;
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // Text whose top-left corner is (x, y).
    void TextOut(int x, int y, std::string_view text) { ExtTextOut(x, y, 0, nullptr, text, {}); }
    // Text at (x, y). `options`: ETO_OPAQUE fills *rect with BkColor first (whatever the
    // background mode), ETO_CLIPPED keeps the text inside *rect. `advances`, when given,
    // holds one advance per byte: a character of n bytes advances by the sum of its n
    // entries and its glyph starts at its first byte's position.
    virtual void ExtTextOut(int x, int y, unsigned options, const TRect* rect,
                            std::string_view text, std::span<const int> advances) = 0;
    // Formatted text in `rect` (flags in DrawTextFlags.h). Returns the height of the text.
    // With DT_CALCRECT nothing is drawn and `rect` becomes the text's extent: Left and Top
    // stay, Right and Bottom move (a wrapped text takes the width of its widest line).
    virtual int DrawText(std::string_view text, TRect& rect, unsigned flags);

    // ---- Pictures ----
    // Copies `source` (a part of the bitmap) to (x, y), blending by its alpha channel.
    virtual void DrawBitmap(int x, int y, const TBitmap& bitmap, const TRect& source) = 0;
    // The whole bitmap; when the bitmap is Transparent its TransparentColor is left out.
    void Draw(int x, int y, const TBitmap& bitmap);

protected:
    // Applies a new clip rectangle after IntersectClipRect/Restore (already stored).
    virtual void ClipChanged() {}
    void SetInitialClip(const TRect& r) { clip_ = r; }

private:
    struct TState {
        TFont Font;
        TBrush Brush;
        TPen Pen;
        TBkMode BkMode;
        TColor BkColor;
        TPoint PenPos;
        TRect Clip;
    };
    std::vector<TState> saved_;
    TRect clip_;
};

// A canvas over a small off-screen image, for measuring text outside a paint.
std::unique_ptr<TCanvas> CreateScreenCanvas();

} // namespace ondrex
