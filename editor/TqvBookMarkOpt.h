#pragma once
// How the editor shows bookmarks in its gutter and whether the bookmark keys work.

#include "platform/Event.h"
#include "platform/Object.h"

namespace ondrex {

class TImageList;

class TqvBookMarkOpt : public TObject {
public:
    explicit TqvBookMarkOpt(TObject* owner) : owner_(owner) {}
    std::string ClassName() const override { return "TqvBookMarkOpt"; }

    TObject* Owner() const { return owner_; }

    // None means the built-in pictures. A list set here is dropped when it is destroyed, so
    // no dangling list is ever drawn.
    TImageList* BookmarkImages() const { return bookmarkImages_; }
    void SetBookmarkImages(TImageList* value);
    // Drops the list if it is the one set.
    void ImageListDestroyed(const TImageList* list);

    // Changing it repaints nothing, so it announces no change.
    bool EnableKeys() const { return enableKeys_; }
    void SetEnableKeys(bool value) { enableKeys_ = value; }

    bool GlyphsVisible() const { return glyphsVisible_; }
    void SetGlyphsVisible(bool value);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int value);
    int Xoffset() const { return xoffset_; }
    void SetXoffset(int value);

    TNotifyEvent OnChange;

private:
    template <class T> void Change(T& field, T value);
    void BookmarkImagesFreed(TObject* sender);

    TObject* owner_;
    TImageList* bookmarkImages_ = nullptr;
    bool enableKeys_ = true;
    bool glyphsVisible_ = true;
    int leftMargin_ = 2;
    int xoffset_ = 12;
    TEventBindings imageBindings_;
};

} // namespace ondrex
