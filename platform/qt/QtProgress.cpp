#include "platform/qt/QtProgress.h"

#include "platform/Application.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtText.h"

#include <QApplication>

namespace ondrex {

namespace {

constexpr int kSteps = 1000; // the dialog's range: a step count may not fit in an int
constexpr auto kPumpInterval = std::chrono::milliseconds(20);

} // namespace

namespace {

// The dialog needs the application, and is the first member made.
QWidget* activeWindow() {
    qt::ensureApplication();
    return QApplication::activeWindow();
}

} // namespace

TQtProgress::TQtProgress(const std::string& text, std::size_t total)
    : dialog_(qt::ToQString(text), QStringLiteral("Cancel"), 0, kSteps, activeWindow()),
      total_(total) {
    dialog_.setWindowTitle(qt::ToQString(Application().Title));
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(0);
    dialog_.setAutoReset(false);
    dialog_.setAutoClose(false);
    dialog_.setValue(0); // shows it
    QCoreApplication::processEvents();
    lastPump_ = std::chrono::steady_clock::now();
}

bool TQtProgress::Advance(std::size_t done) {
    const auto now = std::chrono::steady_clock::now();
    if (done < total_ && now - lastPump_ < kPumpInterval) return !dialog_.wasCanceled();
    const double part = total_ ? double(std::min(done, total_)) / double(total_) : 1.0;
    dialog_.setValue(static_cast<int>(part * kSteps));
    QCoreApplication::processEvents();
    lastPump_ = std::chrono::steady_clock::now();
    return !dialog_.wasCanceled();
}

} // namespace ondrex
