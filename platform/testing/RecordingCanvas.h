#pragma once
// A canvas for tests: keeps every drawing call as data (kind, geometry, text, resolved
// colours, font) and measures text with fixed cells, so painting code runs without a display.
// Cell metrics of a font of pixel height h (|Font.Height()|, 13 when 0): cell height h,
// cell width (6h + 5) / 10 for every byte and style, unless SetCellSize fixes them.

#include "platform/Canvas.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ondrex {

enum class TDrawKind {
    FillRect,
    FrameRect,
    Rectangle,
    Line, // LineTo, or a polyline of two points: Points = {from, to}
    Polyline,
    Pixel,
    FocusRect,
    Text,     // ExtTextOut / TextOut
    DrawText, // one call, however many lines it makes
    Bitmap,
};

struct TDrawCall {
    TDrawKind Kind{};
    TRect Rect;                 // the shape; ExtTextOut's rectangle (or the text's extent);
                                // DrawText's rectangle; a bitmap's destination
    std::vector<TPoint> Points; // lines, polylines, the pixel, the text origin
    std::string Text;
    std::vector<int> Advances;
    unsigned Flags = 0;      // ETO_* or DT_* flags; ILD_* not recorded here
    TColor Color = clNone;   // brush (fills), pen (lines), pixel or text colour; RGB
    TColor BkColor = clNone; // text background when opaque, else clNone; RGB
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle = 0;
    TRect Clip; // the clip rectangle at the time of the call
};

class TRecordingCanvas : public TCanvas {
public:
    // `surface` is the paintable area and the initial clip rectangle.
    explicit TRecordingCanvas(const TRect& surface = {0, 0, 1024, 768});

    std::vector<TDrawCall> Calls;

    // Fixes the cell of every font (0 restores the height-derived cells).
    void SetCellSize(int width, int height);

    // Calls of one kind, in order.
    std::vector<TDrawCall> CallsOf(TDrawKind kind) const;

    void FillRect(const TRect& r) override;
    void FrameRect(const TRect& r) override;
    void Rectangle(const TRect& r) override;
    void Polyline(std::span<const TPoint> points) override;
    void SetPixel(int x, int y, TColor color) override;
    // The last colour set at that point by SetPixel; clNone otherwise.
    TColor GetPixel(int x, int y) const override;
    void DrawFocusRect(const TRect& r) override;
    TTextMetric GetTextMetrics() override;
    bool GetCharABCWidths(char32_t ch, TABC& abc) override;
    TSize TextExtent(std::string_view text) override;
    void ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                    std::span<const int> advances) override;
    int DrawText(std::string_view text, TRect& rect, unsigned flags) override;
    void DrawBitmap(int x, int y, const TBitmap& bitmap, const TRect& source) override;

private:
    TDrawCall Record(TDrawKind kind, TColor color) const;
    void Push(TDrawCall call);
    TColor BrushColor() const;
    TColor PenColor() const;
    int CellWidth() const;
    int CellHeight() const;

    TRect surface_;
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    int drawTextDepth_ = 0;
    std::map<std::pair<int, int>, TColor> pixels_;
};

} // namespace ondrex
