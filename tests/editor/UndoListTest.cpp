// TUndoList on its own: capacity, order, the empty answer, locking.

#include "editor/TUndoList.h"

#include <gtest/gtest.h>

namespace ondrex::test {
namespace {

void Add(TUndoList& list, int n) {
    list.AddChange(urInsert, {n, 1}, {n + 1, 1}, std::to_string(n), smNormal);
}

TEST(UndoList, KeepsTheNewestUpToItsCapacity) {
    TUndoList list;
    EXPECT_EQ(list.MaxUndo(), 10);
    for (int i = 1; i <= 11; ++i)
        Add(list, i);
    EXPECT_EQ(list.Count(), 10) << "the eleventh change drops the oldest";
    TUndoItem item;
    EXPECT_EQ(list.GetChange(item), urInsert);
    EXPECT_EQ(item.Text, "11");
    EXPECT_EQ(item.Start, (TPoint{11, 1}));
    list.SetMaxUndo(3);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Peek(2).Text, "8") << "lowering keeps the newest";
    list.SetMaxUndo(0);
    Add(list, 42);
    EXPECT_EQ(list.Count(), 1) << "capacity 0 still keeps the newest record";
    EXPECT_EQ(list.Peek().Text, "42");
}

TEST(UndoList, EmptyListAnswersNoneAndLeavesTheOutputs) {
    TUndoList list;
    EXPECT_EQ(list.PeekReason(), urNone);
    TUndoItem item{urPaste, {5, 5}, {6, 6}, "kept", smLine, {}};
    EXPECT_EQ(list.GetChange(item), urNone);
    EXPECT_EQ(item.Text, "kept");
    EXPECT_EQ(item.Reason, urPaste);
    list.AddChange(urLineBreak, {1, 1}, {1, 1}, {}, smNormal);
    EXPECT_EQ(list.PeekReason(), urLineBreak);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(UndoList, LockedListRecordsNothingAndRaisesNothing) {
    TUndoList list;
    int added = 0;
    list.OnAdded =
        TNotifyEvent::fromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &added);
    list.Lock();
    list.Lock();
    Add(list, 1);
    EXPECT_EQ(list.Count(), 0);
    list.Unlock(); // not counted
    Add(list, 2);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(added, 1);
}

TEST(UndoList, ScopedLockGivesBackThePreviousState) {
    TUndoList a, b;
    b.Lock();
    {
        TUndoLock outer(a, b);
        { TUndoLock inner(a, b); }
        EXPECT_TRUE(a.Locked()) << "an inner lock keeps the outer one";
    }
    EXPECT_FALSE(a.Locked());
    EXPECT_TRUE(b.Locked()) << "b was locked before";
}

} // namespace
} // namespace ondrex::test
