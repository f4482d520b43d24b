#pragma once
// A strip of equally sized images with their masks, drawn by index: transparently, over a
// background colour, blended with a selection colour, as the bare mask, greyed for a
// disabled control, or with an overlay image on top.

#include "platform/Bitmap.h"
#include "platform/Component.h"
#include "platform/Event.h"

#include <vector>

namespace ondrex {

class TCanvas;

// Drawing styles.
enum : unsigned {
    ILD_NORMAL = 0x0000,      // over BkColor when set, else transparent
    ILD_TRANSPARENT = 0x0001, // masked-out pixels are left alone
    ILD_BLEND25 = 0x0002,
    ILD_FOCUS = ILD_BLEND25,
    ILD_BLEND50 = 0x0004,
    ILD_SELECTED = ILD_BLEND50, // the image blended half with BlendColor
    ILD_MASK = 0x0010,          // the mask only: black where the image is, white elsewhere
    ILD_OVERLAYMASK = 0x0F00,
};
constexpr unsigned INDEXTOOVERLAYMASK(int overlay) {
    return unsigned(overlay) << 8;
}

class TImageList : public TComponent {
public:
    explicit TImageList(int width = 16, int height = 16);

    std::string ClassName() const override { return "TImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return int(images_.size()); }
    // Changing the size removes all images.
    void SetSize(int width, int height);

    // Adds the strip `image` cut into Width()-wide images (a last partial one is dropped).
    // Pixels are transparent where `mask` is white (non-black) or, without a mask, where the
    // image itself is transparent. Returns the index of the first image added, -1 when none.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    // As Add, with the pixels of `maskColor` transparent (clNone: bottom-left pixel's colour).
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Delete(int index); // out of range: nothing happens
    void Clear();

    // Image `image` drawn above another when its style carries INDEXTOOVERLAYMASK(overlay),
    // overlay 1..4. False for a bad index.
    bool SetOverlayImage(int image, int overlay);

    TColor BkColor = clNone;                // background for ILD_NORMAL
    TColor BlendColor = clSystemColor | 13; // the highlight colour

    // Draws image `index` at (x, y); an index out of range draws nothing. A disabled image
    // is drawn greyed: its shape embossed in the button highlight and shadow colours.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const {
        Draw(canvas, x, y, index, ILD_NORMAL, enabled);
    }
    void Draw(TCanvas& canvas, int x, int y, int index, unsigned style, bool enabled) const;

    // The composed picture of image `index` (transparent pixels have alpha 0); empty when
    // out of range.
    TBitmap Image(int index) const;

    // Raised after images were added, removed or the size changed.
    TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }
    TBitmap Render(int index, unsigned style) const;

    int width_;
    int height_;
    std::vector<TBitmap> images_; // alpha 0 where masked out
    int overlays_[4] = {-1, -1, -1, -1};
};

} // namespace ondrex
