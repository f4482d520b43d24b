#include "platform/SystemImageList.h"

#include "platform/qt/QtApplication.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QStyle>

#include <cstring>
#include <map>

namespace ondrex {

namespace {

constexpr int kSmall = 16;
constexpr int kLarge = 32;
const QString kFolderType = "inode/directory";
const QString kFileType = "application/octet-stream";

TBitmap ToBitmap(const QIcon& icon, int size) {
    TBitmap bitmap(size, size);
    const QImage image = icon.pixmap(size, size)
                             .toImage()
                             .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        std::uint32_t* row = bitmap.ScanLine(y);
        std::fill(row, row + size, 0u); // transparent where the icon has no pixels
        if (y < image.height())
            std::memcpy(row, image.constScanLine(y), std::size_t(image.width()) * 4);
    }
    return bitmap;
}

class TSystemIcons {
public:
    TSystemIcons() : small_(kSmall, kSmall), large_(kLarge, kLarge) {
        qt::ensureApplication();
        Index(kFileType);
        Index(kFolderType);
    }

    TImageList& List(bool small) { return small ? small_ : large_; }

    int Index(const QString& type) {
        const auto found = indices_.find(type);
        if (found != indices_.end()) return found->second;
        const QIcon icon = IconFor(type);
        small_.Add(ToBitmap(icon, kSmall));
        large_.Add(ToBitmap(icon, kLarge));
        return indices_[type] = large_.Count() - 1;
    }

private:
    // The icon theme's picture of the type, else the style's plain file or folder.
    static QIcon IconFor(const QString& type) {
        const QMimeType mime = QMimeDatabase().mimeTypeForName(type);
        QIcon icon = QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName()));
        if (icon.isNull())
            icon = QApplication::style()->standardIcon(type == kFolderType ? QStyle::SP_DirIcon
                                                                           : QStyle::SP_FileIcon);
        return icon;
    }

    TImageList small_;
    TImageList large_;
    std::map<QString, int> indices_;
};

TSystemIcons& Icons() {
    static TSystemIcons icons;
    return icons;
}

} // namespace

TImageList& SystemImageList(bool small) {
    return Icons().List(small);
}

int SystemIconIndex(const std::string& path) {
    TSystemIcons& icons = Icons();
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    QMimeDatabase types;
    if (info.exists())
        return icons.Index(info.isDir() ? kFolderType : types.mimeTypeForFile(info).name());
    return icons.Index(types.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name());
}

} // namespace ondrex
