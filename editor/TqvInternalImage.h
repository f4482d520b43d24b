#pragma once
// The built-in bookmark pictures: one strip of ten numbered pictures that every instance
// shares. The strip is made on the first creation and freed with the last instance.

#include "platform/Geometry.h"

#include <memory>

namespace ondrex {

class TBitmap;
class TCanvas;

class TqvInternalImage {
public:
    TqvInternalImage();
    ~TqvInternalImage();
    TqvInternalImage(const TqvInternalImage&) = delete;
    TqvInternalImage& operator=(const TqvInternalImage&) = delete;

    static constexpr int Count = 10;
    int Width() const;  // of one picture
    int Height() const; // of the strip and every picture
    const TBitmap& Strip() const { return *strip_; }

    // Where picture `index` goes for a line of lineHeight pixels whose top-left is (x, y):
    // the part of the strip to copy and its destination. A line lower than the picture
    // gets the picture's middle band; a taller one the whole picture, centred. False for an
    // index outside 0..Count-1 or an empty line.
    bool Placement(int index, int x, int y, int lineHeight, TRect& source, TPoint& dest) const;
    void Draw(TCanvas& canvas, int index, int x, int y, int lineHeight) const;

private:
    std::shared_ptr<const TBitmap> strip_;
};

} // namespace ondrex
