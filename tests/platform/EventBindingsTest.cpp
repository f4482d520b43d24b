// Bindings that cannot dangle: whichever side goes first, nothing is called or written
// through a pointer to the side that is gone (the sanitizer build checks the "nothing").

#include "platform/Component.h"
#include "platform/Event.h"
#include "platform/MethodChain.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace ondrex {
namespace {

struct Emitter : TObject {
    TNotifyEvent OnChange;
    TEvent<TObject*, int> OnIndex;
};

struct Listener {
    Listener(std::vector<int>* log, int id) : log(log), id(id) {}
    std::vector<int>* log;
    int id;
    TEventBindings bindings;
    void Changed(TObject*) { log->push_back(id); }
    void Indexed(TObject*, int index) { log->push_back(id * 100 + index); }
    TNotifyEvent Event() { return TNotifyEvent::bind<&Listener::Changed>(this); }
};

TEST(EventBindings, ListenerGoingFirstEmptiesItsSlots) {
    std::vector<int> log;
    Emitter emitter;
    auto listener = std::make_unique<Listener>(&log, 1);
    listener->bindings.Bind<&Listener::Changed>(emitter.OnChange, listener.get());
    listener->bindings.Bind<&Listener::Indexed>(emitter.OnIndex, listener.get());
    emitter.OnChange(&emitter);
    emitter.OnIndex(&emitter, 7);
    EXPECT_EQ(log, (std::vector<int>{1, 107}));

    listener.reset();
    EXPECT_FALSE(emitter.OnChange);
    EXPECT_FALSE(emitter.OnIndex);
    emitter.OnChange(&emitter);
    EXPECT_EQ(log.size(), 2u);
}

TEST(EventBindings, EmitterGoingFirstLeavesNothingToClear) {
    std::vector<int> log;
    Listener listener{&log, 1};
    auto emitter = std::make_unique<Emitter>();
    listener.bindings.Bind<&Listener::Changed>(emitter->OnChange, &listener);
    EXPECT_EQ(listener.bindings.Count(), 1);
    emitter.reset();
    EXPECT_EQ(listener.bindings.Count(), 0);
    listener.bindings.Clear(); // would write into the freed emitter
}

TEST(EventBindings, AnotherHandlerInTheSlotIsNotTheListenersToClear) {
    std::vector<int> log;
    Emitter emitter;
    Listener other{&log, 2};
    {
        Listener listener{&log, 1};
        listener.bindings.Bind<&Listener::Changed>(emitter.OnChange, &listener);
        // Assigning the same handler again keeps the binding.
        emitter.OnChange = listener.Event();
        EXPECT_EQ(listener.bindings.Count(), 1);
        emitter.OnChange = other.Event();
        EXPECT_EQ(listener.bindings.Count(), 0);
    }
    emitter.OnChange(&emitter);
    EXPECT_EQ(log, (std::vector<int>{2}));
}

TEST(EventBindings, CopyIsUnownedAndMoveCarriesTheBinding) {
    std::vector<int> log;
    Listener listener{&log, 1};
    TNotifyEvent slot;
    listener.bindings.Bind<&Listener::Changed>(slot, &listener);
    const TNotifyEvent copy = slot;
    TNotifyEvent moved = std::move(slot);
    EXPECT_FALSE(slot);
    EXPECT_TRUE(copy == moved);

    listener.bindings.Clear();
    EXPECT_FALSE(moved);
    EXPECT_TRUE(copy); // a plain value: whoever copies a handler answers for it
}

TEST(EventBindings, ListEntriesFollowTheirListenersWhileTheListGrows) {
    std::vector<int> log;
    TEventList<TObject*> list;
    std::vector<std::unique_ptr<Listener>> listeners;
    for (int id = 0; id < 40; ++id) {
        listeners.push_back(std::make_unique<Listener>(&log, id));
        list.Add(listeners.back()->Event(), listeners.back()->bindings);
    }
    // Every second listener goes; the others stay in order of addition.
    for (int id = 0; id < 40; id += 2)
        listeners[id].reset();
    EXPECT_EQ(list.Count(), 20);
    list.ForEach([](const TNotifyEvent& handler) {
        handler(nullptr);
        return true;
    });
    ASSERT_EQ(log.size(), 20u);
    EXPECT_EQ(log.front(), 1);
    EXPECT_EQ(log.back(), 39);

    // Adding drops the empty entries; the survivors keep their bindings.
    Listener late{&log, 99};
    list.Add(late.Event(), late.bindings);
    listeners.clear();
    EXPECT_EQ(list.Count(), 1);
}

struct Destroyer {
    std::unique_ptr<Listener>* victim;
    void Changed(TObject*) { victim->reset(); }
};

TEST(EventBindings, ChainDoesNotCallAListenerDestroyedDuringFiring) {
    std::vector<int> log;
    TObject owner;
    TqvNotifyEventChain chain(&owner);
    auto victim = std::make_unique<Listener>(&log, 1);
    Destroyer destroyer{&victim};
    chain.Add(TNotifyEvent::bind<&Destroyer::Changed>(&destroyer));
    chain.Add(victim->Event(), victim->bindings);
    chain.Fire();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(chain.Count(), 1);
}

TEST(EventBindings, ChainGoingFirstLeavesTheListenerFree) {
    std::vector<int> log;
    Listener listener{&log, 1};
    {
        TObject owner;
        TqvNotifyEventChain chain(&owner);
        chain.Add(listener.Event(), listener.bindings);
        chain.Fire();
    }
    EXPECT_EQ(log, (std::vector<int>{1}));
    EXPECT_EQ(listener.bindings.Count(), 0);
}

struct Watched : TComponent {};

TEST(FreeNotification, TellsEachWatcherStillWatchingWithTheComponentAsSender) {
    std::vector<int> log;
    TObject* sender = nullptr;
    struct SenderLog {
        TObject** sender;
        void Freed(TObject* s) { *sender = s; }
    } senderLog{&sender};
    TEventBindings senderBindings;
    Listener stays{&log, 1};
    auto goes = std::make_unique<Listener>(&log, 2);

    auto component = std::make_unique<Watched>();
    TObject* const identity = component.get();
    component->FreeNotification(TNotifyEvent::bind<&SenderLog::Freed>(&senderLog), senderBindings);
    component->FreeNotification(stays.Event(), stays.bindings);
    component->FreeNotification(goes->Event(), goes->bindings);
    goes.reset();
    component.reset();
    EXPECT_EQ(log, (std::vector<int>{1}));
    EXPECT_EQ(sender, identity);
    EXPECT_EQ(stays.bindings.Count(), 0);
}

TEST(FreeNotification, ACopyHasNoWatchersOfItsOwn) {
    std::vector<int> log;
    Listener listener{&log, 1};
    Watched original;
    original.FreeNotification(listener.Event(), listener.bindings);
    {
        Watched copy = original;
        copy = original;
    }
    EXPECT_TRUE(log.empty());
}

} // namespace
} // namespace ondrex
