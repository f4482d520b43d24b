#pragma once
// Bound method pointers: a receiver plus one of its member functions. Two events compare
// equal when they name the same receiver and the same member, so a handler added to a
// chain can be found and removed again. An unset event is not raised.
//
// A listener that binds through its TEventBindings cannot be called after it is gone: the
// bindings empty every slot they own when they are cleared or destroyed, and a slot that goes
// first (its object destroyed, or another handler assigned to it) drops out of the bindings.
// A copy of a bound slot is a plain, unowned value; moving a slot carries the ownership along,
// so lists of handlers may grow and shrink.

#include "platform/Object.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ondrex {

class TEventBindings;

// The part of every event that does not depend on its arguments.
class TEventSlot {
public:
    explicit operator bool() const { return thunk_ != nullptr; }
    void* receiver() const { return receiver_; }

protected:
    using TErasedThunk = void (*)();

    TEventSlot() = default;
    TEventSlot(void* receiver, TErasedThunk thunk) : receiver_(receiver), thunk_(thunk) {}
    TEventSlot(const TEventSlot& other) noexcept
        : receiver_(other.receiver_), thunk_(other.thunk_) {}
    TEventSlot(TEventSlot&& other) noexcept : receiver_(other.receiver_), thunk_(other.thunk_) {
        TakeOwnerOf(other);
    }
    TEventSlot& operator=(const TEventSlot& other) noexcept;
    TEventSlot& operator=(TEventSlot&& other) noexcept;
    ~TEventSlot() { Disown(); }

    bool SameTarget(const TEventSlot& other) const {
        return receiver_ == other.receiver_ && thunk_ == other.thunk_;
    }
    TErasedThunk thunk() const { return thunk_; }

private:
    friend class TEventBindings;

    void Disown() noexcept;
    void TakeOwnerOf(TEventSlot& other) noexcept;
    void Empty() noexcept {
        receiver_ = nullptr;
        thunk_ = nullptr;
    }

    void* receiver_ = nullptr;
    TErasedThunk thunk_ = nullptr;
    TEventBindings* owner_ = nullptr;
};

template <class... Args> class TEvent : public TEventSlot {
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

    bool operator==(const TEvent& other) const { return SameTarget(other); }

    void operator()(Args... args) const {
        if (const TErasedThunk erased = thunk())
            reinterpret_cast<Thunk>(erased)(receiver(), std::forward<Args>(args)...);
    }

private:
    TEvent(void* receiver, Thunk thunk)
        : TEventSlot(receiver, reinterpret_cast<TErasedThunk>(thunk)) {}
};

// The common "sender only" notification.
using TNotifyEvent = TEvent<TObject*>;

// Every binding one listener made. Keep it as a member of the listener (or of whatever part
// of it the bindings serve) and the listener can never be called once it is gone.
class TEventBindings {
public:
    TEventBindings() = default;
    TEventBindings(const TEventBindings&) = delete;
    TEventBindings& operator=(const TEventBindings&) = delete;
    ~TEventBindings() { Clear(); }

    // slot = receiver->*Method, owned by these bindings.
    template <auto Method, class Receiver, class... Args>
    void Bind(TEvent<Args...>& slot, Receiver* receiver) {
        slot = TEvent<Args...>::template bind<Method>(receiver);
        Adopt(slot);
    }

    // Takes ownership of what the slot holds now (an entry just added to a list, say).
    void Adopt(TEventSlot& slot) {
        if (slot.owner_ == this) return;
        slots_.push_back(&slot);
        slot.Disown();
        slot.owner_ = this;
    }

    // Empties every slot still owned; the slots themselves stay where they are.
    void Clear() noexcept {
        for (TEventSlot* slot : std::exchange(slots_, {})) {
            slot->owner_ = nullptr;
            slot->Empty();
        }
    }

    int Count() const { return static_cast<int>(slots_.size()); }

private:
    friend class TEventSlot;

    void Forget(TEventSlot* slot) noexcept { std::erase(slots_, slot); }
    void Moved(TEventSlot* from, TEventSlot* to) noexcept {
        std::replace(slots_.begin(), slots_.end(), from, to);
    }

    std::vector<TEventSlot*> slots_;
};

inline void TEventSlot::Disown() noexcept {
    if (owner_) std::exchange(owner_, nullptr)->Forget(this);
}

inline void TEventSlot::TakeOwnerOf(TEventSlot& other) noexcept {
    owner_ = std::exchange(other.owner_, nullptr);
    if (owner_) owner_->Moved(&other, this);
    other.Empty();
}

// Assigning the handler the slot already holds keeps its owner; anything else replaces it.
inline TEventSlot& TEventSlot::operator=(const TEventSlot& other) noexcept {
    if (SameTarget(other)) return *this;
    Disown();
    receiver_ = other.receiver_;
    thunk_ = other.thunk_;
    return *this;
}

inline TEventSlot& TEventSlot::operator=(TEventSlot&& other) noexcept {
    if (this == &other) return *this;
    if (!other.owner_) return *this = static_cast<const TEventSlot&>(other);
    Disown();
    receiver_ = other.receiver_;
    thunk_ = other.thunk_;
    TakeOwnerOf(other);
    return *this;
}

// Handlers in order of addition. Entries whose bindings went are skipped, and dropped at the
// next Add.
template <class... Args> class TEventList {
public:
    using Handler = TEvent<Args...>;

    TEventList() = default;
    // A copy would call listeners that never asked this list for anything.
    TEventList(const TEventList&) = delete;
    TEventList& operator=(const TEventList&) = delete;

    void Add(const Handler& handler) { Append(handler); }
    // The entry belongs to `owner`: it leaves the list when `owner` is cleared or destroyed.
    void Add(const Handler& handler, TEventBindings& owner) { owner.Adopt(Append(handler)); }
    // Removes every entry equal to the handler.
    void Remove(const Handler& handler) { std::erase(handlers_, handler); }
    bool Contains(const Handler& handler) const {
        return std::find(handlers_.begin(), handlers_.end(), handler) != handlers_.end();
    }
    int Count() const {
        return static_cast<int>(std::count_if(handlers_.begin(), handlers_.end(),
                                              [](const Handler& h) { return bool(h); }));
    }

    // Calls `call` for each handler present when calling starts and still present when its
    // turn comes (one removed, or whose listener went, meanwhile is not called), for as long
    // as `call` answers true.
    template <class Call> void ForEach(Call&& call) const {
        const std::vector<Handler> snapshot(handlers_.begin(), handlers_.end());
        for (const Handler& handler : snapshot)
            if (handler && Contains(handler) && !call(handler)) return;
    }

private:
    Handler& Append(const Handler& handler) {
        std::erase_if(handlers_, [](const Handler& h) { return !h; });
        return handlers_.emplace_back(handler);
    }

    std::vector<Handler> handlers_;
};

} // namespace ondrex
