#include "platform/Bitmap.h"

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtCanvas.h"
#include "platform/SystemColors.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace ondrex {

namespace {

constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26; // 256 MB of pixels

std::uint32_t ToArgb(TColor color) {
    const TColor c = ColorToRGB(color);
    return 0xFF000000 | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) |
           GetBValue(c);
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other)
    : TObject(), Transparent(other.Transparent), TransparentColor(other.TransparentColor),
      width_(other.width_), height_(other.height_), pixels_(other.pixels_) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this == &other) return *this;
    Transparent = other.Transparent;
    TransparentColor = other.TransparentColor;
    Assign(other.width_, other.height_, other.pixels_);
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(int width, int height, std::vector<std::uint32_t> pixels) {
    canvas_.reset(); // it paints on the old pixel buffer
    width_ = width;
    height_ = height;
    pixels_ = std::move(pixels);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (std::int64_t(width) * height > kMaxPixels)
        throw EInvalidGraphic("Picture too large: " + std::to_string(width) + " x " +
                              std::to_string(height) + " pixels");
    Assign(width, height, std::vector<std::uint32_t>(std::size_t(width) * height, kOpaqueWhite));
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    const std::uint32_t p = ScanLine(y)[x];
    if ((p >> 24) == 0) return clNone;
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || color == clNone) return;
    ScanLine(y)[x] = ToArgb(color);
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        // A picture of no pixels still needs a surface to measure text on.
        auto image =
            Empty() ? std::make_unique<QImage>(1, 1, QImage::Format_ARGB32)
                    : std::make_unique<QImage>(reinterpret_cast<uchar*>(pixels_.data()), width_,
                                               height_, width_ * 4, QImage::Format_ARGB32);
        canvas_ = std::make_unique<TQtCanvas>(std::move(image));
    }
    return *canvas_;
}

namespace {

std::vector<std::uint32_t> PixelsOf(const QImage& loaded) {
    const QImage image = loaded.convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> pixels(std::size_t(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(pixels.data() + std::size_t(y) * image.width(), image.constScanLine(y),
                    std::size_t(image.width()) * 4);
    return pixels;
}

} // namespace

void TBitmap::LoadFromFile(const std::string& path) {
    qt::ensureApplication();
    QImageReader reader(QString::fromStdString(path));
    QImage image;
    if (!reader.read(&image))
        throw EInvalidGraphic("Cannot load picture \"" + path +
                              "\": " + reader.errorString().toStdString());
    Assign(image.width(), image.height(), PixelsOf(image));
}

void TBitmap::LoadFromData(const void* data, std::size_t size) {
    qt::ensureApplication();
    QByteArray bytes(static_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    QImage image;
    if (!reader.read(&image))
        throw EInvalidGraphic("Cannot read picture data: " + reader.errorString().toStdString());
    Assign(image.width(), image.height(), PixelsOf(image));
}

void TBitmap::SaveToFile(const std::string& path) const {
    const QImage image(reinterpret_cast<const uchar*>(pixels_.data()), width_, height_, width_ * 4,
                       QImage::Format_ARGB32);
    if (Empty() || !image.save(QString::fromStdString(path), "PNG"))
        throw EInvalidGraphic("Cannot write picture \"" + path + "\"");
}

} // namespace ondrex
