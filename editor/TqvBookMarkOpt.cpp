#include "editor/TqvBookMarkOpt.h"

#include "platform/ImageList.h"

namespace ondrex {

template <class T> void TqvBookMarkOpt::Change(T& field, T value) {
    if (field == value) return;
    field = value;
    OnChange(this);
}

void TqvBookMarkOpt::SetBookmarkImages(TImageList* value) {
    if (value == bookmarkImages_) return;
    imageBindings_.Clear();
    if (value)
        value->FreeNotification(TNotifyEvent::bind<&TqvBookMarkOpt::BookmarkImagesFreed>(this),
                                imageBindings_);
    Change(bookmarkImages_, value);
}

void TqvBookMarkOpt::ImageListDestroyed(const TImageList* list) {
    if (list && list == bookmarkImages_) SetBookmarkImages(nullptr);
}

// Only the list set here is watched, so the one going away is that one.
void TqvBookMarkOpt::BookmarkImagesFreed(TObject*) {
    ImageListDestroyed(bookmarkImages_);
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
