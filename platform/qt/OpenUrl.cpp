#include "platform/OpenUrl.h"

#include "platform/qt/QtApplication.h"

#include <QDesktopServices>
#include <QUrl>

namespace ondrex {

namespace {

TUrlHandlerOverride::THandler& Override() {
    static TUrlHandlerOverride::THandler handler;
    return handler;
}

} // namespace

TUrlHandlerOverride::TUrlHandlerOverride(THandler handler)
    : previous_(std::exchange(Override(), std::move(handler))) {}

TUrlHandlerOverride::~TUrlHandlerOverride() {
    Override() = std::move(previous_);
}

bool OpenUrl(const std::string& url) {
    const QUrl qurl(QString::fromUtf8(url.data(), qsizetype(url.size())), QUrl::StrictMode);
    if (!qurl.isValid() || qurl.scheme().isEmpty()) return false;
    if (Override()) return Override()(url);
    qt::ensureApplication();
    return QDesktopServices::openUrl(qurl);
}

} // namespace ondrex
