#include "editor/TqvInternalImage.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace ondrex {

namespace {

constexpr int kPictureWidth = 11;
constexpr int kStripHeight = 14;

// A bookmark ribbon with a notched tail: 'k' outline, 'f' fill, '.' transparent.
constexpr std::array<std::string_view, kStripHeight> kRibbon = {
    ".kkkkkkkkk.", ".kfffffffk.", ".kfffffffk.", ".kfffffffk.", ".kfffffffk.",
    ".kfffffffk.", ".kfffffffk.", ".kfffffffk.", ".kfffffffk.", ".kfffffffk.",
    ".kfffffffk.", ".kfffkfffk.", ".kffk.kffk.", ".kkk...kkk.",
};

// 3 x 5 digits, one row per string, drawn inside the ribbon.
constexpr std::array<std::array<std::string_view, 5>, 10> kDigits = {{
    {"###", "#.#", "#.#", "#.#", "###"},
    {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"},
    {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"},
    {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"},
}};
constexpr int kDigitLeft = 4;
constexpr int kDigitTop = 3;

// 0xAARRGGBB, from the classic 16-colour palette.
constexpr std::uint32_t kOutline = 0xFF000000; // black
constexpr std::uint32_t kFill = 0xFF008080;    // teal
constexpr std::uint32_t kDigit = 0xFFFFFFFF;   // white
constexpr std::uint32_t kClear = 0x00000000;

std::shared_ptr<const TBitmap> MakeStrip() {
    auto strip = std::make_shared<TBitmap>(kPictureWidth * TqvInternalImage::Count, kStripHeight);
    for (int y = 0; y < kStripHeight; ++y) {
        std::uint32_t* row = strip->ScanLine(y);
        for (int n = 0; n < TqvInternalImage::Count; ++n) {
            for (int x = 0; x < kPictureWidth; ++x) {
                char c = kRibbon[y][x];
                std::uint32_t pixel = c == 'k' ? kOutline : c == 'f' ? kFill : kClear;
                int dx = x - kDigitLeft, dy = y - kDigitTop;
                if (dx >= 0 && dx < 3 && dy >= 0 && dy < 5 && kDigits[n][dy][dx] == '#')
                    pixel = kDigit;
                row[n * kPictureWidth + x] = pixel;
            }
        }
    }
    return strip;
}

// The strip lives while any instance does.
std::weak_ptr<const TBitmap> sharedStrip;

} // namespace

TqvInternalImage::TqvInternalImage() {
    strip_ = sharedStrip.lock();
    if (!strip_) {
        strip_ = MakeStrip();
        sharedStrip = strip_;
    }
}

TqvInternalImage::~TqvInternalImage() = default;

int TqvInternalImage::Width() const {
    return (strip_->Width() + Count / 2) / Count;
}

int TqvInternalImage::Height() const {
    return strip_->Height();
}

bool TqvInternalImage::Placement(int index, int x, int y, int lineHeight, TRect& source,
                                 TPoint& dest) const {
    if (index < 0 || index >= Count || lineHeight <= 0) return false;
    const int width = Width(), height = Height();
    if (lineHeight < height) {
        int top = (height - lineHeight) / 2;
        source = Bounds(index * width, top, width, lineHeight);
        dest = {x, y};
    } else {
        source = Bounds(index * width, 0, width, height);
        dest = {x, y + (lineHeight - height) / 2};
    }
    return true;
}

void TqvInternalImage::Draw(TCanvas& canvas, int index, int x, int y, int lineHeight) const {
    TRect source;
    TPoint dest;
    if (Placement(index, x, y, lineHeight, source, dest))
        canvas.DrawBitmap(dest.X, dest.Y, *strip_, source);
}

} // namespace ondrex
