#pragma once
// A picture in memory: 32-bit pixels 0xAARRGGBB (alpha 255 = opaque), readable and writable
// without Qt, with a canvas for drawing into it.

#include "platform/Color.h"
#include "platform/Object.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ondrex {

class TCanvas;
class TQtCanvas;

// A picture file or block that cannot be read; the message names the file and the problem.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TBitmap : public TObject {
public:
    TBitmap();
    TBitmap(int width, int height); // opaque white
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap() override;

    std::string ClassName() const override { return "TBitmap"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    // Negative sizes count as 0. The content becomes opaque white. More than 2^26 pixels
    // throws EInvalidGraphic.
    void SetSize(int width, int height);

    // RGB of a pixel (0x00BBGGRR); clNone outside the picture or where fully transparent.
    TColor Pixel(int x, int y) const;
    // Sets an opaque pixel (system colours resolved); outside the picture nothing happens.
    void SetPixel(int x, int y, TColor color);
    // Raw access to row y (Width() pixels of 0xAARRGGBB).
    std::uint32_t* ScanLine(int y) { return pixels_.data() + std::size_t(y) * width_; }
    const std::uint32_t* ScanLine(int y) const { return pixels_.data() + std::size_t(y) * width_; }

    // When Transparent, TCanvas::Draw leaves out the pixels of TransparentColor (clNone:
    // the colour of the bottom-left pixel).
    bool Transparent = false;
    TColor TransparentColor = clNone;

    // Drawing into the picture. The reference stays valid until the size changes or a
    // picture is loaded.
    TCanvas& Canvas();

    // BMP, PNG, XPM and the other formats Qt reads. Throws EInvalidGraphic naming the file
    // and the problem; the bitmap is then unchanged.
    void LoadFromFile(const std::string& path);
    void LoadFromData(const void* data, std::size_t size);
    // PNG. Throws EInvalidGraphic when the file cannot be written.
    void SaveToFile(const std::string& path) const;

private:
    void Assign(int width, int height, std::vector<std::uint32_t> pixels);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::unique_ptr<TQtCanvas> canvas_;
};

} // namespace ondrex
