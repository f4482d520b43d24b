#include "platform/ImageList.h"

#include "platform/Canvas.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <span>

namespace ondrex {

namespace {

constexpr std::uint32_t kAlpha = 0xFF000000;

std::uint32_t ToArgb(TColor color) {
    const TColor c = ColorToRGB(color);
    return kAlpha | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) |
           GetBValue(c);
}

// `part` of every channel of p moved towards `with` (0..256).
std::uint32_t Blend(std::uint32_t p, std::uint32_t with, int part) {
    std::uint32_t out = p & kAlpha;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int((p >> shift) & 0xFF), b = int((with >> shift) & 0xFF);
        out |= std::uint32_t(a + (b - a) * part / 256) << shift;
    }
    return out;
}

bool IsDark(std::uint32_t p) {
    const int luma = (int((p >> 16) & 0xFF) * 30 + int((p >> 8) & 0xFF) * 59 + int(p & 0xFF) * 11);
    return luma < 192 * 100;
}

// The dark parts of an image in one colour, everything else transparent: the shape a
// disabled image is embossed with.
TBitmap Silhouette(const TBitmap& image, TColor color) {
    TBitmap out(image);
    const std::uint32_t ink = ToArgb(color);
    for (int y = 0; y < out.Height(); ++y)
        for (std::uint32_t& p : std::span(out.ScanLine(y), std::size_t(out.Width())))
            p = ((p & kAlpha) && IsDark(p)) ? ink : 0;
    return out;
}

} // namespace

TImageList::TImageList(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)) {}

void TImageList::SetSize(int width, int height) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    images_.clear();
    std::fill(std::begin(overlays_), std::end(overlays_), -1);
    Changed();
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
    const int count = image.Width() / width_;
    if (count <= 0) return -1;
    const int first = Count();
    for (int i = 0; i < count; ++i) {
        TBitmap cell(width_, height_);
        for (int y = 0; y < height_; ++y) {
            std::uint32_t* row = cell.ScanLine(y);
            for (int x = 0; x < width_; ++x) {
                const int sx = i * width_ + x;
                const bool inside = y < image.Height();
                const bool masked =
                    inside && mask && mask->Pixel(sx, y) != clBlack && mask->Pixel(sx, y) != clNone;
                row[x] = (inside && !masked) ? image.ScanLine(y)[sx] : 0;
            }
        }
        images_.push_back(std::move(cell));
    }
    Changed();
    return first;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    if (image.Empty()) return -1;
    const TColor key =
        maskColor == clNone ? image.Pixel(0, image.Height() - 1) : ColorToRGB(maskColor);
    TBitmap keyed(image);
    for (int y = 0; y < keyed.Height(); ++y)
        for (int x = 0; x < keyed.Width(); ++x)
            if (keyed.Pixel(x, y) == key) keyed.ScanLine(y)[x] = 0;
    return Add(keyed);
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    images_.erase(images_.begin() + index);
    for (int& overlay : overlays_)
        if (overlay == index)
            overlay = -1;
        else if (overlay > index)
            --overlay;
    Changed();
}

void TImageList::Clear() {
    images_.clear();
    std::fill(std::begin(overlays_), std::end(overlays_), -1);
    Changed();
}

bool TImageList::SetOverlayImage(int image, int overlay) {
    if (image < 0 || image >= Count() || overlay < 1 || overlay > 4) return false;
    overlays_[overlay - 1] = image;
    return true;
}

TBitmap TImageList::Image(int index) const {
    return index >= 0 && index < Count() ? images_[std::size_t(index)] : TBitmap();
}

TBitmap TImageList::Render(int index, unsigned style) const {
    TBitmap out = images_[std::size_t(index)];
    const int overlay = int((style & ILD_OVERLAYMASK) >> 8);
    if (overlay >= 1 && overlays_[overlay - 1] >= 0) {
        const TBitmap& top = images_[std::size_t(overlays_[overlay - 1])];
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (top.ScanLine(y)[x] & kAlpha) out.ScanLine(y)[x] = top.ScanLine(y)[x];
    }
    const bool blend = (style & (ILD_BLEND25 | ILD_BLEND50)) && BlendColor != clNone;
    const int part = (style & ILD_BLEND50) ? 128 : 64;
    const std::uint32_t blendWith = blend ? ToArgb(BlendColor) : 0;
    const bool background = !(style & ILD_TRANSPARENT) && BkColor != clNone;
    const std::uint32_t bk = background ? ToArgb(BkColor) : 0;
    for (int y = 0; y < height_; ++y)
        for (std::uint32_t& p : std::span(out.ScanLine(y), std::size_t(width_))) {
            if (style & ILD_MASK)
                p = (p & kAlpha) ? kAlpha : 0xFFFFFFFF;
            else if (!(p & kAlpha))
                p = bk;
            else if (blend)
                p = Blend(p, blendWith, part);
        }
    return out;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, unsigned style,
                      bool enabled) const {
    if (index < 0 || index >= Count()) return;
    const TRect whole{0, 0, width_, height_};
    if (enabled) {
        canvas.DrawBitmap(x, y, Render(index, style), whole);
        return;
    }
    const TBitmap shape = Render(index, style & ILD_OVERLAYMASK);
    canvas.DrawBitmap(x + 1, y + 1, Silhouette(shape, clBtnHighlight), whole);
    canvas.DrawBitmap(x, y, Silhouette(shape, clBtnShadow), whole);
}

} // namespace ondrex
