#pragma once
// A component is an object that others keep pointers to (a highlighter attached to editors,
// an image list drawn by controls). It tells them when it goes away, so they can drop the
// pointer instead of reading freed memory later.

#include "platform/Event.h"
#include "platform/Object.h"

namespace ondrex {

class TComponent : public TObject {
public:
    TComponent() = default;
    // A copy is a new component: nobody has asked it for anything yet.
    TComponent(const TComponent&) : TObject() {}
    TComponent& operator=(const TComponent&) { return *this; }
    ~TComponent() override;

    // Calls `receiver` with this component as sender when it is destroyed, for as long as
    // `owner` (the listener's bindings) holds the binding. By then the component is partly
    // destroyed: the receiver may compare the sender and drop its pointers, nothing more.
    // Watching changes nothing of the component, so a reader holding it const may watch too.
    void FreeNotification(const TNotifyEvent& receiver, TEventBindings& owner) const {
        freeNotice_.Add(receiver, owner);
    }

    std::string ClassName() const override { return "TComponent"; }

private:
    mutable TEventList<TObject*> freeNotice_;
};

inline TComponent::~TComponent() {
    freeNotice_.ForEach([this](const TNotifyEvent& receiver) {
        receiver(this);
        return true;
    });
}

} // namespace ondrex
