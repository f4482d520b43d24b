#pragma once
// The picture of an <IMG src="..."> tag of list-box markup:
//   idx:N           image N of the list box's image list (when it has one)
//   ssys:X, lsys:X  the desktop's small or large icon, X an icon index or a path
//   file://PATH     a picture file (BMP, PNG, ...)
//   res://...       recognised; nothing to show
// Anything that cannot be had (no list, a file that is missing or no picture) is an empty
// picture of size 0, so the item around it is still drawn.

#include "platform/Bitmap.h"

#include <string_view>

namespace ondrex {

class TCanvas;
class TImageList;

class TMarkupImage {
public:
    TMarkupImage(std::string_view src, const TImageList* images);

    int Width() const { return width_; }
    int Height() const { return height_; }
    void Draw(TCanvas& canvas, int x, int y) const;

private:
    void UseList(const TImageList& list, int index, unsigned style);
    void LoadFile(const std::string& path);

    const TImageList* list_ = nullptr;
    int index_ = -1;
    unsigned style_ = 0;
    TBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace ondrex
