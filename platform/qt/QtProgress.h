#pragma once
// TQtProgress: a modal progress dialog with Cancel over the active window. It shows at once
// and lets the event loop run as the work advances, so every window keeps painting.

#include "platform/Progress.h"

#include <QProgressDialog>

#include <chrono>
#include <string>

namespace ondrex {

class TQtProgress : public TProgress {
public:
    TQtProgress(const std::string& text, std::size_t total);
    bool Advance(std::size_t done) override;

private:
    QProgressDialog dialog_;
    std::size_t total_;
    std::chrono::steady_clock::time_point lastPump_;
};

} // namespace ondrex
