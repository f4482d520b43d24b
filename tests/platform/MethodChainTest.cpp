#include "platform/MethodChain.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace ondrex {
namespace {

struct Receiver {
    std::vector<int>* log;
    int id;
    TObject* lastSender = nullptr;
    void Handle(TObject* sender) {
        lastSender = sender;
        log->push_back(id);
    }
    void Fail(TObject*) {
        log->push_back(-id);
        throw std::runtime_error("handler failed");
    }
};

struct Owner : TObject {};

class MethodChainTest : public ::testing::Test {
protected:
    std::vector<int> log;
    Owner owner;
    TqvNotifyEventChain chain{&owner};
    Receiver a{&log, 1}, b{&log, 2};
    TNotifyEvent handleA = TNotifyEvent::bind<&Receiver::Handle>(&a);
    TNotifyEvent handleB = TNotifyEvent::bind<&Receiver::Handle>(&b);
    TNotifyEvent failA = TNotifyEvent::bind<&Receiver::Fail>(&a);
};

TEST_F(MethodChainTest, FiresInOrderOfAdditionWithTheOwnerAsSender) {
    chain.Add(handleB);
    chain.Add(handleA);
    chain.Fire();
    EXPECT_EQ(log, (std::vector<int>{2, 1}));
    EXPECT_EQ(a.lastSender, &owner);
}

TEST_F(MethodChainTest, RemoveDeletesEveryEqualEntryAndOnlyThose) {
    chain.Add(handleA);
    chain.Add(handleB);
    chain.Add(handleA);
    // Same receiver, other member: not equal.
    chain.Add(failA);
    chain.Remove(failA);
    chain.Remove(handleA);
    EXPECT_EQ(chain.Count(), 1);
    chain.Fire();
    EXPECT_EQ(log, (std::vector<int>{2}));
}

TEST_F(MethodChainTest, WithoutExceptionHandlerTheErrorStopsFiring) {
    chain.Add(failA);
    chain.Add(handleB);
    EXPECT_THROW(chain.Fire(), std::runtime_error);
    EXPECT_EQ(log, (std::vector<int>{-1}));
}

struct Policy {
    bool goOn;
    std::string seen;
    TObject* sender = nullptr;
    void Handle(TObject* s, const std::exception& e, bool& doContinue) {
        sender = s;
        seen = e.what();
        doContinue = goOn;
    }
    void Throw(TObject*, const std::exception&, bool&) { throw std::logic_error("again"); }
};

TEST_F(MethodChainTest, ExceptionHandlerDecidesWhetherFiringGoesOn) {
    chain.Add(failA);
    chain.Add(handleB);
    Policy goOn{true, {}};
    chain.ExceptionHandler = TqvExceptionEvent::bind<&Policy::Handle>(&goOn);
    chain.Fire();
    EXPECT_EQ(log, (std::vector<int>{-1, 2}));
    EXPECT_EQ(goOn.seen, "handler failed");
    EXPECT_EQ(goOn.sender, &chain);

    log.clear();
    Policy stop{false, {}};
    chain.ExceptionHandler = TqvExceptionEvent::bind<&Policy::Handle>(&stop);
    chain.Fire();
    EXPECT_EQ(log, (std::vector<int>{-1}));
}

TEST_F(MethodChainTest, FailingExceptionHandlerRaisesChainError) {
    chain.Add(failA);
    Policy policy{true, {}};
    chain.ExceptionHandler = TqvExceptionEvent::bind<&Policy::Throw>(&policy);
    try {
        chain.Fire();
        FAIL() << "no exception";
    } catch (const EqvMethodChain& e) {
        EXPECT_STREQ(e.what(), "TqvNotifyEventChain.DoHandleException : MUST NOT occur any kind "
                               "of exception in ExceptionHandler");
    }
}

struct SelfRemover {
    TqvMethodChain* chain;
    int calls = 0;
    void Handle(TObject*) {
        ++calls;
        chain->Remove(TNotifyEvent::bind<&SelfRemover::Handle>(this));
    }
};

TEST_F(MethodChainTest, HandlerMayRemoveItselfWhileFiring) {
    SelfRemover remover{&chain};
    chain.Add(TNotifyEvent::bind<&SelfRemover::Handle>(&remover));
    chain.Add(handleB);
    chain.Fire();
    chain.Fire();
    EXPECT_EQ(remover.calls, 1);
    EXPECT_EQ(log, (std::vector<int>{2, 2}));
}

} // namespace
} // namespace ondrex
