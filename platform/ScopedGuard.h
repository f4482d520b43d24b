#pragma once
// Scoped guards: what a scope changes is put back however the scope ends.
//
// TScopedPair runs paired calls (lock/unlock, begin/end, bind/unbind): the opening call now,
// with the arguments given, the closing call at the end. A null opening call leaves only the
// closing one, for work that must follow a scope however it ends. Name each pair with an alias:
//   using TqvPaintLock = TScopedPair<TqvCustomEdit, &TqvCustomEdit::LockPaint,
//                                    &TqvCustomEdit::UnlockPaint>;
//   TqvPaintLock lock(editor);

#include <exception>
#include <type_traits>
#include <utility>

namespace ondrex {

template <class Object, auto Open, auto Close> class TScopedPair {
public:
    template <class... Args>
    explicit TScopedPair(Object& object, Args&&... args)
        : object_(object), exceptionsAtStart_(std::uncaught_exceptions()) {
        if constexpr (!std::is_null_pointer_v<decltype(Open)>)
            (object_.*Open)(std::forward<Args>(args)...);
    }
    TScopedPair(const TScopedPair&) = delete;
    TScopedPair& operator=(const TScopedPair&) = delete;

    // The closing call may raise (it often fires notifications). It does so to the caller,
    // except while an error already leaves the scope: that first error is the one reported.
    ~TScopedPair() noexcept(false) {
        if (std::uncaught_exceptions() == exceptionsAtStart_) {
            (object_.*Close)();
            return;
        }
        try {
            (object_.*Close)();
        } catch (...) {
        }
    }

private:
    Object& object_;
    int exceptionsAtStart_;
};

// Gives a variable a value for one scope and puts the old one back at the end.
template <class T> class TScopedValue {
public:
    TScopedValue(T& variable, T value) : variable_(variable), saved_(std::move(variable)) {
        variable_ = std::move(value);
    }
    TScopedValue(const TScopedValue&) = delete;
    TScopedValue& operator=(const TScopedValue&) = delete;
    ~TScopedValue() { variable_ = std::move(saved_); }

private:
    T& variable_;
    T saved_;
};

} // namespace ondrex
