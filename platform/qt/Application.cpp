#include "platform/Application.h"

#include "platform/Dialogs.h"
#include "platform/HintController.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtText.h"

#include <stdexcept>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

namespace ondrex {

namespace {

long long NowMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.elapsed();
}

// Routes the tooltips of plain Qt widgets through our hint machinery.
class TToolTipFilter : public QObject {
public:
    explicit TToolTipFilter(THintController& hints) : hints_(hints) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget) return false;
        switch (event->type()) {
        case QEvent::ToolTip:
            return true;
        case QEvent::Enter: {
            const QRect r(widget->mapToGlobal(QPoint(0, 0)), widget->size());
            const QPoint p = QCursor::pos();
            hints_.MouseMoveOver(widget, nullptr, qt::FromQString(widget->toolTip()),
                                 Bounds(r.x(), r.y(), r.width(), r.height()), {p.x(), p.y()});
            return false;
        }
        case QEvent::Leave:
            hints_.MouseLeave(widget);
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
            hints_.Cancel();
            return false;
        default:
            return false;
        }
    }

private:
    THintController& hints_;
};

} // namespace

TApplication::TApplication() : hints_(std::make_unique<THintController>(*this)) {
    qt::ensureApplication();
    auto* filter = new TToolTipFilter(*hints_);
    filter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

TApplication::~TApplication() = default;

void TApplication::ProcessMessages() {
    const long long now = NowMs();
    if (now - lastPump_ < PumpInterval) return;
    ProcessMessagesNow();
}

void TApplication::ProcessMessagesNow() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    lastPump_ = NowMs();
}

void TApplication::Run() {
    while (!terminated_) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        lastPump_ = NowMs();
    }
    // Freed now: at the process's exit the toolkit is torn down before this object.
    hints_->ReleaseWindow();
}

void TApplication::Terminate() {
    terminated_ = true;
    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::User));
}

void TApplication::HandleException(const std::exception& e) {
    if (OnException) {
        OnException(this, e);
        return;
    }
    ShowException(e);
}

void TApplication::HandleUnknownException() {
    HandleException(std::runtime_error("An unknown error occurred."));
}

void TApplication::ShowException(const std::exception& e) {
    Dialogs().MessageDlg(e.what(), TMsgDlgType::mtError, mbOK, Title);
}

void TApplication::SetShowHint(bool show) {
    if (showHint_ == show) return;
    showHint_ = show;
    hints_->ReleaseWindow();
}

TApplication& Application() {
    static TApplication app;
    return app;
}

} // namespace ondrex
