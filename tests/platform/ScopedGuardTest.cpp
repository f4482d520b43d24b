// The closing call of a pair runs exactly once however the scope ends, and an error from it
// never hides the error that is already leaving the scope.

#include "platform/ScopedGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ondrex {
namespace {

struct Counter {
    int depth = 0;
    int closes = 0;
    bool failOnClose = false;
    void Open() { ++depth; }
    void Close() {
        --depth;
        ++closes;
        if (failOnClose) throw std::logic_error("close failed");
    }
};
using TCounterScope = TScopedPair<Counter, &Counter::Open, &Counter::Close>;
using TCloseOnly = TScopedPair<Counter, nullptr, &Counter::Close>;

struct Binder {
    const int* bound = nullptr;
    void Bind(const int* value) { bound = value; }
    void Unbind() { bound = nullptr; }
};

TEST(ScopedPair, ClosesOnceOnEveryWayOut) {
    Counter counter;
    {
        TCounterScope outer(counter);
        TCounterScope inner(counter);
        EXPECT_EQ(counter.depth, 2);
    }
    EXPECT_EQ(counter.depth, 0);
    EXPECT_THROW(
        {
            TCounterScope scope(counter);
            throw std::runtime_error("body failed");
        },
        std::runtime_error);
    EXPECT_EQ(counter.depth, 0);
    EXPECT_EQ(counter.closes, 3);
}

TEST(ScopedPair, WithoutAnOpeningCallOnlyTheClosingOneRuns) {
    Counter counter;
    EXPECT_THROW(
        {
            TCloseOnly after(counter);
            throw std::runtime_error("body failed");
        },
        std::runtime_error);
    EXPECT_EQ(counter.depth, -1);
    EXPECT_EQ(counter.closes, 1);
}

TEST(ScopedPair, OpeningCallTakesTheArgumentsGiven) {
    Binder binder;
    const int value = 7;
    {
        TScopedPair<Binder, &Binder::Bind, &Binder::Unbind> scope(binder, &value);
        EXPECT_EQ(binder.bound, &value);
    }
    EXPECT_EQ(binder.bound, nullptr);
}

TEST(ScopedValue, PutsTheOldValueBackHoweverTheScopeEnds) {
    bool quiet = false;
    EXPECT_THROW(
        {
            TScopedValue<bool> scope(quiet, true);
            EXPECT_TRUE(quiet);
            throw std::runtime_error("body failed");
        },
        std::runtime_error);
    EXPECT_FALSE(quiet);
}

TEST(ScopedPair, FailingCloseReachesTheCallerUnlessAnErrorIsAlreadyLeaving) {
    Counter counter;
    counter.failOnClose = true;
    EXPECT_THROW({ TCounterScope scope(counter); }, std::logic_error);
    EXPECT_THROW(
        {
            TCounterScope scope(counter);
            throw std::runtime_error("body failed");
        },
        std::runtime_error);
    EXPECT_EQ(counter.closes, 2);
}

TEST(ScopedPair, ScopeClosedWhileAnotherErrorUnwindsStillReportsItsOwnFailure) {
    // A guard used inside a destructor that runs during unwinding: its own close failure is
    // the first error of its scope, so it is not swallowed.
    struct Cleanup {
        Counter* counter;
        bool caught = false;
        ~Cleanup() {
            try {
                TCounterScope scope(*counter);
            } catch (const std::logic_error&) {
                caught = true;
            }
            EXPECT_TRUE(caught);
        }
    };
    Counter counter;
    counter.failOnClose = true;
    EXPECT_THROW(
        {
            Cleanup cleanup{&counter};
            throw std::runtime_error("outer");
        },
        std::runtime_error);
}

} // namespace
} // namespace ondrex
