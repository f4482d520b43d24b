// Timers and the message pump.

#include "platform/Application.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

using namespace ondrex;

namespace {

struct TCounter {
    int ticks = 0;
    bool fail = false;
    void Tick(TObject*) {
        ++ticks;
        if (fail) throw std::runtime_error("tick failed");
    }
};

// Pumps until `done` or two seconds passed.
template <class F> bool PumpUntil(F done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < end) {
        Application().ProcessMessagesNow();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

} // namespace

TEST(Timer, RunsOnlyEnabledWithAnIntervalAndAHandler) {
    TTimer timer;
    TCounter counter;
    EXPECT_FALSE(timer.Running()); // no handler yet
    timer.SetOnTimer(TNotifyEvent::bind<&TCounter::Tick>(&counter));
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(5);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return counter.ticks >= 3; }));
}

TEST(Timer, AFailingHandlerIsReportedAndTheTimerGoesOn) {
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    TTimer timer;
    TCounter counter;
    counter.fail = true;
    timer.SetInterval(2);
    timer.SetOnTimer(TNotifyEvent::bind<&TCounter::Tick>(&counter));
    EXPECT_TRUE(PumpUntil([&] { return counter.ticks >= 2; }));
    timer.SetEnabled(false);
    ASSERT_GE(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[0].Text, "tick failed");
}

TEST(MessagePump, ACallSoonAfterAPumpIsSkipped) {
    TTimer timer;
    TCounter counter;
    timer.SetInterval(1);
    timer.SetOnTimer(TNotifyEvent::bind<&TCounter::Tick>(&counter));
    Application().PumpInterval = 60'000;
    Application().ProcessMessagesNow();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int before = counter.ticks;
    for (int i = 0; i < 1000; ++i)
        Application().ProcessMessages(); // all within the interval
    EXPECT_EQ(counter.ticks, before);
    Application().PumpInterval = 0;
    Application().ProcessMessages();
    EXPECT_GT(counter.ticks, before);
    Application().PumpInterval = 5;
}
