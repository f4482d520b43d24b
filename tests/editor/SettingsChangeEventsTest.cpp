#include "editor/TqvBookMarkOpt.h"
#include "editor/TqvSelectedColor.h"

#include "platform/ImageList.h"
#include "platform/SystemColors.h"

#include <gtest/gtest.h>

namespace ondrex {
namespace {

struct ChangeCounter {
    void Changed(TObject* sender) {
        last = sender;
        ++count;
    }
    TNotifyEvent Event() { return TNotifyEvent::bind<&ChangeCounter::Changed>(this); }
    TObject* last = nullptr;
    int count = 0;
};

TEST(SelectedColor, DefaultsToTheSystemHighlightAndAnnouncesRealChanges) {
    TqvSelectedColor colors;
    ChangeCounter counter;
    colors.OnChange = counter.Event();
    EXPECT_EQ(colors.Background(), clHighlight);
    EXPECT_EQ(colors.Foreground(), clHighlightText);

    colors.SetBackground(clHighlight);
    colors.SetForeground(clHighlightText);
    EXPECT_EQ(counter.count, 0);
    colors.SetBackground(clNavy);
    colors.SetForeground(clYellow);
    EXPECT_EQ(counter.count, 2);
    EXPECT_EQ(counter.last, &colors);
}

TEST(BookMarkOpt, AnnouncesOnlyRealChangesThatRepaint) {
    TObject editor;
    TqvBookMarkOpt options(&editor);
    ChangeCounter counter;
    options.OnChange = counter.Event();
    options.SetEnableKeys(false); // repaints nothing
    options.SetLeftMargin(2);
    options.SetXoffset(12);
    options.SetGlyphsVisible(true);
    EXPECT_EQ(counter.count, 0);
    EXPECT_FALSE(options.EnableKeys());

    options.SetLeftMargin(4);
    options.SetXoffset(20);
    options.SetGlyphsVisible(false);
    EXPECT_EQ(counter.count, 3);
    EXPECT_EQ(counter.last, &options);
}

TEST(BookMarkOpt, DestroyedImageListIsDropped) {
    TqvBookMarkOpt options(nullptr);
    ChangeCounter counter;
    options.OnChange = counter.Event();
    TImageList mine(11, 14), other(11, 14);
    options.SetBookmarkImages(&mine);
    EXPECT_EQ(counter.count, 1);

    options.ImageListDestroyed(&other);
    EXPECT_EQ(options.BookmarkImages(), &mine);
    options.ImageListDestroyed(&mine);
    EXPECT_EQ(options.BookmarkImages(), nullptr);
    EXPECT_EQ(counter.count, 2); // the gutter repaints without the pictures
}

} // namespace
} // namespace ondrex
