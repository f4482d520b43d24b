// The toolkit's clipboard. Our own copies are rendered when a program asks for them rather
// than converted up front: a 50 MB copy stays one buffer instead of growing a UTF-16 twin
// and a byte-array twin beside it, and a paste back into this process gets the bytes as
// they were copied (binary bytes, NUL and CR LF included).

#include "platform/Clipboard.h"
#include "platform/CodePage.h"

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace ondrex {

namespace {

const QString kTextMime = QStringLiteral("text/plain");

QString MimeType(TClipFormat format) {
    if (format == CF_TEXT) return kTextMime;
    const std::string name = ClipboardFormatName(format);
    if (name.empty()) return {};
    return QStringLiteral("application/x-ondrex-") + QString::fromUtf8(name);
}

std::string WithLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') out += text[i];
    return out;
}

class TClipMimeData : public QMimeData {
public:
    explicit TClipMimeData(TClipFormats formats) : formats_(std::move(formats)) {}

    QStringList formats() const override {
        QStringList mimes;
        for (const auto& [format, data] : formats_)
            mimes << MimeType(format);
        return mimes;
    }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

    const TClipData* Find(TClipFormat format) const {
        const auto it = formats_.find(format);
        return it == formats_.end() ? nullptr : &it->second;
    }

protected:
    // Qt converts these bytes to a string where a program asks for one. Text for other
    // programs ends its lines with LF, as text does on this system.
    QVariant retrieveData(const QString& mime, QMetaType) const override {
        for (const auto& [format, data] : formats_) {
            if (MimeType(format) != mime) continue;
            const std::string_view bytes = data.View();
            if (format != CF_TEXT) return QByteArray(bytes.data(), qsizetype(bytes.size()));
            const std::string text = WithLfLineEnds(bytes);
            if (ActiveCodePage() == TCodePage::Utf8)
                return QByteArray(text.data(), qsizetype(text.size()));
            const std::string utf8 = ToUtf8(ActiveCodePage(), text);
            return QByteArray(utf8.data(), qsizetype(utf8.size()));
        }
        return {};
    }

private:
    TClipFormats formats_;
};

class TQtClipboard : public TClipboardSystem {
public:
    bool Publish(TClipFormats formats) override {
        QClipboard* clipboard = Board();
        if (formats.empty()) {
            clipboard->clear();
            return true;
        }
        auto* data = new TClipMimeData(std::move(formats));
        const QStringList wanted = data->formats();
        clipboard->setMimeData(data);
        const QMimeData* now = clipboard->mimeData();
        for (const QString& mime : wanted)
            if (!now || !now->hasFormat(mime)) return false;
        return true;
    }

    bool HasFormat(TClipFormat format) const override {
        const QMimeData* data = Board()->mimeData();
        const QString mime = MimeType(format);
        return data && !mime.isEmpty() &&
               (format == CF_TEXT ? data->hasText() : data->hasFormat(mime));
    }

    std::optional<std::string> Read(TClipFormat format) const override {
        if (!HasFormat(format)) return {};
        const QMimeData* data = Board()->mimeData();
        if (const auto* ours = dynamic_cast<const TClipMimeData*>(data))
            if (const TClipData* found = ours->Find(format)) return std::string(found->View());
        if (format == CF_TEXT) return qt::FromQString(data->text());
        const QByteArray bytes = data->data(MimeType(format));
        return std::string(bytes.constData(), std::size_t(bytes.size()));
    }

private:
    static QClipboard* Board() {
        qt::ensureApplication();
        return QGuiApplication::clipboard();
    }
};

} // namespace

std::unique_ptr<TClipboardSystem> MakeSystemClipboard() {
    return std::make_unique<TQtClipboard>();
}

} // namespace ondrex
