// Bookmarks: one per number and one per line, the placing hook, jumping, and the marker
// keys that work only while the bookmark keys are enabled.

#include "EditorTestSupport.h"

namespace ondrex::test {
namespace {

class EditorBookmarks : public EditorTest {
protected:
    EditorBookmarks() {
        SizeFor(40, 20);
        FillLines(30);
    }
    int MarkCount() { return edit.Marks().Count(); }
};

TEST_F(EditorBookmarks, SettingOnALineReplacesItsOtherBookmark) {
    edit.SetBookmark(5, 2, 10);
    edit.SetBookmark(3, 4, 10);
    EXPECT_EQ(edit.Bookmark(5), nullptr);
    ASSERT_NE(edit.Bookmark(3), nullptr);
    EXPECT_EQ(MarkCount(), 1);

    edit.SetBookmark(3, 1, 20);
    EXPECT_EQ(MarkCount(), 1) << "setting it elsewhere moves it";
    const TMark& mark = *edit.Bookmark(3);
    EXPECT_EQ(mark.Line(), 20);
    EXPECT_EQ(mark.Column(), 1);
    EXPECT_EQ(mark.BookmarkNumber(), 3);
    EXPECT_EQ(mark.ImageIndex(), 3);
    EXPECT_TRUE(mark.Visible());
    EXPECT_TRUE(mark.InternalImage()) << "no image list: the built-in pictures";
}

TEST_F(EditorBookmarks, OutOfRangeRequestsDoNothing) {
    edit.SetBookmark(10, 1, 1);
    edit.SetBookmark(-1, 1, 1);
    edit.SetBookmark(1, 1, 0);
    edit.SetBookmark(1, 1, 31);
    EXPECT_EQ(MarkCount(), 0);
    edit.ClearBookmark(11);
    edit.ClearBookmark(-5);
    edit.SetCaretPos({2, 2});
    edit.GotoBookmark(4);
    edit.GotoBookmark(-1);
    EXPECT_EQ(edit.CaretPos(), (TPoint{2, 2}));
}

TEST_F(EditorBookmarks, GotoPutsTheCaretAtTheRememberedColumn) {
    edit.SetOptions(edit.Options() & ~qveoScrollPastEol);
    edit.SetBookmark(7, 99, 25);
    edit.GotoBookmark(7);
    EXPECT_EQ(edit.CaretPos(), (TPoint{7, 25})) << "the column is clamped to the line";
    EXPECT_EQ(edit.TopLine(), 6);
}

TEST_F(EditorBookmarks, PlacingHookMayRefuseOrMoveTheMark) {
    edit.OnPlaceBookmark = TqvPlaceMarkEvent::fromFunction(
        [](void*, TObject*, TMark*& mark) {
            if (mark->BookmarkNumber() == 1)
                mark = nullptr;
            else
                mark->SetLine(3);
        },
        nullptr);
    edit.SetBookmark(1, 1, 5);
    EXPECT_EQ(edit.Bookmark(1), nullptr);
    EXPECT_EQ(MarkCount(), 0);
    edit.SetBookmark(0, 1, 8);
    edit.SetBookmark(2, 1, 9);
    ASSERT_NE(edit.Bookmark(2), nullptr);
    EXPECT_EQ(edit.Bookmark(2)->Line(), 3);
    EXPECT_EQ(edit.Bookmark(0), nullptr) << "one bookmark per line, counted where it lands";
}

TEST_F(EditorBookmarks, ClearingRemovesAndRepaintsTheGutter) {
    edit.SetBookmark(4, 1, 2);
    host.ClearRecords();
    edit.ClearBookmark(4);
    EXPECT_EQ(MarkCount(), 0);
    EXPECT_EQ(edit.Bookmark(4), nullptr);
    ASSERT_FALSE(host.Invalidations.empty());
    EXPECT_EQ(host.Invalidations.back(), (TRect{0, 0, 30, 20 * kLineHeight}));
}

TEST_F(EditorBookmarks, MarkRemovedFromTheListLeavesNoBookmarkBehind) {
    edit.SetBookmark(6, 1, 4);
    edit.Marks().Remove(edit.Bookmark(6));
    EXPECT_EQ(edit.Bookmark(6), nullptr);
    edit.GotoBookmark(6);
    EXPECT_EQ(edit.CaretPos(), (TPoint{1, 1}));
}

TEST_F(EditorBookmarks, UndoingALineBreakKeepsTheMarkOnTheBrokenLine) {
    edit.SetBookmark(0, 1, 5);
    edit.SetBookmark(1, 1, 6);
    edit.SetCaretPos({3, 5});
    edit.ExecuteCommand(ecLineBreak, {}, nullptr);
    EXPECT_EQ(edit.Bookmark(0)->Line(), 5);
    EXPECT_EQ(edit.Bookmark(1)->Line(), 7);
    edit.ExecuteCommand(ecUndo, {}, nullptr);
    EXPECT_EQ(edit.Bookmark(0)->Line(), 5) << "the broken line's mark stays";
    EXPECT_EQ(edit.Bookmark(1)->Line(), 6);
}

TEST_F(EditorBookmarks, MarkerKeysToggleAndJump) {
    edit.SetCaretPos({3, 12});
    host.SendKeyDown('3', ssCtrl | ssShift);
    ASSERT_NE(edit.Bookmark(3), nullptr);
    EXPECT_EQ(edit.Bookmark(3)->Line(), 12);

    edit.SetCaretPos({1, 1});
    host.SendKeyDown('3', ssCtrl);
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 12}));
    host.SendKeyDown('3', ssCtrl | ssShift);
    EXPECT_EQ(edit.Bookmark(3), nullptr) << "again on its own line: removed";

    edit.BookMarkOptions().SetEnableKeys(false);
    host.SendKeyDown('3', ssCtrl | ssShift);
    EXPECT_EQ(edit.Bookmark(3), nullptr);
    edit.SetBookmark(3, 1, 2);
    host.SendKeyDown('3', ssCtrl);
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 12}));
}

} // namespace
} // namespace ondrex::test
