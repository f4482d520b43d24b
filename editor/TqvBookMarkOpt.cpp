#include "editor/TqvBookMarkOpt.h"

namespace ondrex {

template <class T> void TqvBookMarkOpt::Change(T& field, T value) {
    if (field == value) return;
    field = value;
    OnChange(this);
}

void TqvBookMarkOpt::SetBookmarkImages(TImageList* value) {
    Change(bookmarkImages_, value);
}

void TqvBookMarkOpt::ImageListDestroyed(const TImageList* list) {
    if (list && list == bookmarkImages_) SetBookmarkImages(nullptr);
}

void TqvBookMarkOpt::SetGlyphsVisible(bool value) {
    Change(glyphsVisible_, value);
}
void TqvBookMarkOpt::SetLeftMargin(int value) {
    Change(leftMargin_, value);
}
void TqvBookMarkOpt::SetXoffset(int value) {
    Change(xoffset_, value);
}

} // namespace ondrex
