#pragma once
// Bound method pointers: a receiver plus one of its member functions. Two events compare
// equal when they name the same receiver and the same member, so a handler added to a
// chain can be found and removed again. An unset event is not raised.

#include "platform/Object.h"

#include <utility>

namespace ondrex {

template <class... Args> class TEvent {
public:
    using Thunk = void (*)(void* receiver, Args... args);

    TEvent() = default;

    // TEvent<int>::bind<&Editor::LineDeleted>(editor)
    template <auto Method, class Receiver> static TEvent bind(Receiver* receiver) {
        return TEvent(receiver, [](void* r, Args... args) {
            (static_cast<Receiver*>(r)->*Method)(std::forward<Args>(args)...);
        });
    }

    // A free function with a context pointer, for code that has no receiver object.
    static TEvent fromFunction(Thunk function, void* context = nullptr) {
        return TEvent(context, function);
    }

    explicit operator bool() const { return thunk_ != nullptr; }
    bool operator==(const TEvent& other) const = default;

    void operator()(Args... args) const {
        if (thunk_) thunk_(receiver_, std::forward<Args>(args)...);
    }

    void* receiver() const { return receiver_; }

private:
    TEvent(void* receiver, Thunk thunk) : receiver_(receiver), thunk_(thunk) {}

    void* receiver_ = nullptr;
    Thunk thunk_ = nullptr;
};

// The common "sender only" notification.
using TNotifyEvent = TEvent<TObject*>;

} // namespace ondrex
