#include "platform/Clipboard.h"

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <map>

namespace ondrex {

namespace {

std::map<std::string, TClipFormat>& Formats() {
    static std::map<std::string, TClipFormat> formats;
    return formats;
}

QString MimeType(TClipFormat format) {
    if (format == CF_TEXT) return QStringLiteral("text/plain");
    for (const auto& [name, number] : Formats())
        if (number == format)
            return QStringLiteral("application/x-ondrex-") + QString::fromUtf8(name);
    return {};
}

} // namespace

TClipFormat RegisterClipboardFormat(const std::string& name) {
    auto [it, added] = Formats().try_emplace(name, 0xC000 + TClipFormat(Formats().size()));
    return it->second;
}

struct TClipboard::TImpl {
    std::unique_ptr<QMimeData> pending;
};

TClipboard::TClipboard() : impl_(std::make_unique<TImpl>()) {}
TClipboard::~TClipboard() = default;

void TClipboard::Open() {
    qt::ensureApplication();
    if (openCount_++ == 0) {
        emptied_ = false;
        impl_->pending.reset();
    }
}

void TClipboard::Close() {
    if (openCount_ == 0) throw EClipboardError("The clipboard is not open");
    if (--openCount_ > 0 || !emptied_) return;
    std::unique_ptr<QMimeData> data = std::move(impl_->pending);
    const QStringList formats = data->formats();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data.release());
    const QMimeData* now = clipboard->mimeData();
    for (const QString& f : formats)
        if (!now || !now->hasFormat(f)) throw EClipboardError("Cannot write to the clipboard");
}

void TClipboard::Clear() {
    BeginWrite();
    Close();
}

void TClipboard::BeginWrite() {
    Open();
    if (!emptied_) {
        emptied_ = true;
        impl_->pending = std::make_unique<QMimeData>();
    }
}

bool TClipboard::HasFormat(TClipFormat format) const {
    qt::ensureApplication();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QString mime = MimeType(format);
    return data && !mime.isEmpty() && (format == CF_TEXT ? data->hasText() : data->hasFormat(mime));
}

std::string TClipboard::AsText() const {
    qt::ensureApplication();
    return qt::FromQString(QGuiApplication::clipboard()->text());
}

void TClipboard::SetAsText(const std::string& text) {
    BeginWrite();
    impl_->pending->setText(qt::ToQString(text));
    Close();
}

void TClipboard::SetBuffer(TClipFormat format, const std::string& data) {
    if (format == CF_TEXT) {
        SetAsText(data);
        return;
    }
    const QString mime = MimeType(format);
    if (mime.isEmpty()) throw EClipboardError("Unknown clipboard format " + std::to_string(format));
    BeginWrite();
    impl_->pending->setData(mime, QByteArray(data.data(), qsizetype(data.size())));
    Close();
}

std::optional<std::string> TClipboard::GetBuffer(TClipFormat format) const {
    if (!HasFormat(format)) return {};
    if (format == CF_TEXT) return AsText();
    const QByteArray bytes = QGuiApplication::clipboard()->mimeData()->data(MimeType(format));
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

TClipboard& Clipboard() {
    static TClipboard clipboard;
    return clipboard;
}

} // namespace ondrex
