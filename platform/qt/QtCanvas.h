#pragma once
// Internal to platform/: the canvas that paints with a QPainter, on a widget during its
// paint event or on an image. Only platform .cpp files include this header.

#include "platform/Canvas.h"

#include <memory>

class QFont;
class QImage;
class QPaintDevice;
class QRawFont;

namespace ondrex {

namespace qt {
struct TResolvedFont;
}

class TQtCanvas : public TCanvas {
public:
    // Paints on `device` (a QWidget inside its paintEvent, or a QImage). `clip` is the
    // paint's invalid area in device pixels; an empty one means the whole device.
    explicit TQtCanvas(QPaintDevice* device, const TRect& clip = {});
    // Paints on an image it owns from now on.
    explicit TQtCanvas(std::unique_ptr<QImage> image);
    ~TQtCanvas() override;

    void FillRect(const TRect& r) override;
    void FrameRect(const TRect& r) override;
    void Rectangle(const TRect& r) override;
    void Polyline(std::span<const TPoint> points) override;
    void SetPixel(int x, int y, TColor color) override;
    TColor GetPixel(int x, int y) const override;
    void DrawFocusRect(const TRect& r) override;
    TTextMetric GetTextMetrics() override;
    bool GetCharABCWidths(char32_t ch, TABC& abc) override;
    TSize TextExtent(std::string_view text) override;
    void ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                    std::span<const int> advances) override;
    void DrawBitmap(int x, int y, const TBitmap& bitmap, const TRect& source) override;

protected:
    void ClipChanged() override;

private:
    struct TImpl;
    bool AsciiRun(const qt::TResolvedFont& use, int x, std::string_view text,
                  std::span<const int> advances, int& width);
    // The glyphs gathered in the implementation, in one face.
    void DrawGlyphs(const QRawFont& face, const QFont& style, int baseline);
    std::unique_ptr<TImpl> impl_;
};

} // namespace ondrex
