#include "platform/Timer.h"

#include "platform/Application.h"
#include "platform/qt/QtApplication.h"

#include <QTimer>

namespace ondrex {

struct TTimer::TImpl {
    QTimer timer;
};

TTimer::TTimer() : impl_(std::make_unique<TImpl>()) {
    qt::ensureApplication();
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Tick(); });
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int milliseconds) {
    if (interval_ == milliseconds) return;
    interval_ = milliseconds;
    Restart();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Restart();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = handler;
    Restart();
}

bool TTimer::Running() const {
    return impl_->timer.isActive();
}

void TTimer::Restart() {
    impl_->timer.stop();
    if (enabled_ && interval_ > 0 && onTimer_) impl_->timer.start(interval_);
}

void TTimer::Tick() {
    try {
        onTimer_(this);
    } catch (const std::exception& e) {
        Application().HandleException(e);
    } catch (...) {
        Application().HandleUnknownException();
    }
}

} // namespace ondrex
