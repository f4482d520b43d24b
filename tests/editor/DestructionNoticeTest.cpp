// What an editor refers to may go before the editor, and the editor before it: either way
// nothing is detached by hand here, and nothing reads freed memory (the sanitizer build
// checks that part).

#include "EditorTestSupport.h"

#include "highlighters/jxPHPSyn.h"
#include "platform/ImageList.h"

#include <memory>

namespace ondrex::test {
namespace {

class DestructionNotice : public EditorTest {
protected:
    DestructionNotice() { SizeFor(40, 10); }
};

TEST_F(DestructionNotice, DestroyedHighlighterIsDroppedAndEditingGoesOn) {
    auto php = std::make_unique<TjxPHPSyn>();
    edit.SetText("<?php\n/* open\nclosed */ $a = 1;");
    edit.SetHighLighter(php.get());
    host.ClearRecords();
    php.reset();
    EXPECT_EQ(edit.HighLighter(), nullptr);
    EXPECT_FALSE(host.Invalidations.empty());

    // Every change below used to rescan range states through the freed highlighter.
    edit.Lines().Add("$x = 2;");
    edit.Lines().Put(1, "/* still open");
    edit.Lines().Insert(0, "<?php");
    edit.Lines().Delete(0);
    edit.SetText("a\nb");
    EXPECT_EQ(edit.LineCount(), 2);

    // A later highlighter is attached afresh; it goes before the editor too.
    TjxPHPSyn next;
    edit.SetHighLighter(&next);
    EXPECT_EQ(edit.HighLighter(), &next);
}

TEST_F(DestructionNotice, DestroyedBookmarkImagesFallBackToTheBuiltInPictures) {
    edit.SetText("a\nb");
    auto images = std::make_unique<TImageList>(11, 14);
    edit.BookMarkOptions().SetBookmarkImages(images.get());
    edit.SetBookmark(1, 1, 1);
    ASSERT_NE(edit.Bookmark(1), nullptr);
    EXPECT_FALSE(edit.Bookmark(1)->InternalImage());
    host.ClearRecords();
    images.reset();
    EXPECT_EQ(edit.BookMarkOptions().BookmarkImages(), nullptr);
    EXPECT_FALSE(host.Invalidations.empty()); // the gutter shows the change
    edit.SetBookmark(2, 1, 2);
    ASSERT_NE(edit.Bookmark(2), nullptr);
    EXPECT_TRUE(edit.Bookmark(2)->InternalImage());
}

TEST(DestructionNoticeOrder, EditorGoingFirstLeavesItsHighlighterAndImagesUntouched) {
    RecordingScreen screen;
    TjxPHPSyn php;
    TImageList images(11, 14);
    {
        TqvCustomEdit first;
        TqvCustomEdit second;
        first.SetHighLighter(&php);
        second.SetHighLighter(&php);
        first.BookMarkOptions().SetBookmarkImages(&images);
    }
    // An attribute change calls every editor still hooked; none is left.
    php.AttributeAt(0)->SetForeground(php.AttributeAt(0)->Foreground() + 1);
}

TEST(DestructionNoticeOrder, SwitchingHighlightersUnhooksFromTheOldOne) {
    RecordingScreen screen;
    TjxPHPSyn php;
    TjxPHPSyn other;
    auto edit = std::make_unique<TqvCustomEdit>();
    edit->SetHighLighter(&php);
    edit->SetHighLighter(&other);
    edit.reset();
    php.AttributeAt(0)->SetForeground(php.AttributeAt(0)->Foreground() + 1);
    other.AttributeAt(0)->SetForeground(other.AttributeAt(0)->Foreground() + 1);
}

} // namespace
} // namespace ondrex::test
