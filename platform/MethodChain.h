#pragma once
// A multicast list of handlers. Handlers are bound methods that compare equal when receiver
// and member are equal, so Remove finds what Add stored; a handler added with its listener's
// bindings leaves the chain by itself when the listener goes. An exception handler may let
// firing go on after a failing handler; without one the failure ends the firing.

#include "platform/Event.h"
#include "platform/Object.h"

#include <exception>
#include <stdexcept>
#include <string>

namespace ondrex {

class EqvMethodChain : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// (sender = the chain, the error, continue flag preset to true)
using TqvExceptionEvent = TEvent<TObject*, const std::exception&, bool&>;

class TqvMethodChain : public TObject {
public:
    void Add(const TNotifyEvent& handler) { handlers_.Add(handler); }
    void Add(const TNotifyEvent& handler, TEventBindings& owner) { handlers_.Add(handler, owner); }
    // Removes every entry equal to the handler.
    void Remove(const TNotifyEvent& handler) { handlers_.Remove(handler); }
    int Count() const { return handlers_.Count(); }

    // Calls the handlers in order of addition. One added during firing waits for the next
    // firing; one removed during firing (or whose listener went) is not called any more.
    void Fire();

    TqvExceptionEvent ExceptionHandler;

    std::string ClassName() const override { return "TqvMethodChain"; }

protected:
    virtual void CallMethod(const TNotifyEvent& handler) = 0;
    // Answers whether firing goes on.
    virtual bool DoHandleException(const std::exception& error);

private:
    TEventList<TObject*> handlers_;
};

// Every handler receives the owner as its sender.
class TqvNotifyEventChain : public TqvMethodChain {
public:
    explicit TqvNotifyEventChain(TObject* owner) : owner_(owner) {}
    TObject* Owner() const { return owner_; }

    std::string ClassName() const override { return "TqvNotifyEventChain"; }

protected:
    void CallMethod(const TNotifyEvent& handler) override { handler(owner_); }

private:
    TObject* owner_;
};

} // namespace ondrex
