#include "controls/HtmlMarkupImage.h"

#include "controls/HtmlMarkupTags.h"
#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "platform/SystemImageList.h"

#include <filesystem>
#include <system_error>

namespace ondrex {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

} // namespace

TMarkupImage::TMarkupImage(std::string_view src, const TImageList* images) {
    if (StartsWith(src, "idx:")) {
        const std::optional<int> index = ParseMarkupInteger(src.substr(4));
        if (images && index) UseList(*images, *index, ILD_NORMAL);
    } else if (StartsWith(src, "ssys:") || StartsWith(src, "lsys:")) {
        const std::string_view rest = src.substr(5);
        const std::optional<int> index = ParseMarkupInteger(rest);
        UseList(SystemImageList(src[0] == 's'), index ? *index : SystemIconIndex(std::string(rest)),
                ILD_TRANSPARENT);
    } else if (StartsWith(src, "file://")) {
        LoadFile(std::string(src.substr(7)));
    }
}

void TMarkupImage::UseList(const TImageList& list, int index, unsigned style) {
    list_ = &list;
    index_ = index;
    style_ = style;
    width_ = list.Width();
    height_ = list.Height();
}

void TMarkupImage::LoadFile(const std::string& path) {
    // Only plain files: a device or a pipe named here would never finish reading.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return;
    try {
        bitmap_.LoadFromFile(path);
    } catch (const EInvalidGraphic&) {
        return;
    }
    width_ = bitmap_.Width();
    height_ = bitmap_.Height();
}

void TMarkupImage::Draw(TCanvas& canvas, int x, int y) const {
    if (list_)
        list_->Draw(canvas, x, y, index_, style_, true);
    else if (!bitmap_.Empty())
        canvas.Draw(x, y, bitmap_);
}

} // namespace ondrex
