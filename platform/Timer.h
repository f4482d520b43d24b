#pragma once
// TTimer: raises OnTimer every Interval milliseconds while Enabled, from the message loop
// (so also inside ProcessMessages). It runs only with Enabled, an Interval above 0 and a
// handler set; changing any of these starts the interval afresh. An exception thrown by the
// handler goes to the application's exception handler and the timer keeps running.

#include "platform/Event.h"
#include "platform/Object.h"

#include <memory>

namespace ondrex {

class TTimer : public TObject {
public:
    TTimer();
    ~TTimer() override;
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    std::string ClassName() const override { return "TTimer"; }

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TNotifyEvent OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

    // True while the timer is counting towards a tick.
    bool Running() const;

private:
    struct TImpl;
    void Restart();
    void Tick();

    int interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    std::unique_ptr<TImpl> impl_;
};

} // namespace ondrex
