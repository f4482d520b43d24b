#include "editor/TMarkList.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace ondrex {
namespace {

// Stands in for the editor: records the gutter rows marks ask to repaint.
class MarkHost : public TMarkOwner {
public:
    MarkHost() { list.OnChange = TNotifyEvent::bind<&MarkHost::ListChanged>(this); }
    TMarkList& Marks() override { return list; }
    void InvalidateGutterLines(int first, int last) override { rows.emplace_back(first, last); }
    void ListChanged(TObject*) { ++listChanges; }

    TMark* Place(int line, bool visible = true) {
        auto mark = std::make_unique<TMark>(this);
        mark->SetLine(line);
        mark->SetVisible(visible);
        TMark* raw = mark.get();
        list.Add(std::move(mark));
        return raw;
    }

    TMarkList list{this};
    std::vector<std::pair<int, int>> rows;
    int listChanges = 0;
};

using Rows = std::vector<std::pair<int, int>>;

TEST(Mark, OwnedOnlyWhileTheListHoldsIt) {
    MarkHost host;
    auto mark = std::make_unique<TMark>(&host);
    EXPECT_EQ(mark->Owner(), nullptr);
    mark->SetVisible(true); // not yet in the list: repaints nothing
    mark->SetLine(4);
    EXPECT_TRUE(host.rows.empty());

    // Made before being added, as a new bookmark is, it still belongs to the editor after.
    TMark* held = mark.get();
    host.list.Add(std::move(mark));
    EXPECT_EQ(held->Owner(), &host);
    held->SetLine(5);
    EXPECT_EQ(host.rows, (Rows{{4, 4}, {5, 5}}));
}

TEST(Mark, VisibleOwnedMarkRepaintsTheRowsItTouches) {
    MarkHost host;
    TMark* mark = host.Place(0, false);
    mark->SetLine(5); // hidden: nothing
    EXPECT_TRUE(host.rows.empty());

    mark->SetVisible(true);
    EXPECT_EQ(host.rows, (Rows{{5, 5}}));
    mark->SetVisible(true); // unchanged
    mark->SetColumn(9);     // columns repaint nothing
    EXPECT_EQ(host.rows.size(), 1u);

    mark->SetLine(8);
    mark->SetImageIndex(3);
    mark->SetInternalImage(true);
    EXPECT_EQ(host.rows, (Rows{{5, 5}, {5, 5}, {8, 8}, {8, 8}, {8, 8}}));
    EXPECT_EQ(mark->Line(), 8);
    EXPECT_EQ(mark->Column(), 9);
    EXPECT_EQ(mark->ImageIndex(), 3);
    EXPECT_TRUE(mark->InternalImage());
}

TEST(Mark, MovingFromLineZeroRepaintsOnlyTheNewRow) {
    MarkHost host;
    TMark* mark = host.Place(0);
    host.rows.clear();
    mark->SetLine(3);
    EXPECT_EQ(host.rows, (Rows{{3, 3}}));
}

TEST(MarkList, AddAndRemoveNotifyAndAnswerIndices) {
    MarkHost host;
    TMark* a = host.Place(1);
    TMark* b = host.Place(2);
    EXPECT_EQ(host.listChanges, 2);
    EXPECT_EQ(host.list.Count(), 2);
    EXPECT_EQ(host.list.Items(1), b);
    EXPECT_EQ(host.list.Owner(), &host);

    EXPECT_EQ(host.list.Remove(a), 0);
    EXPECT_EQ(host.listChanges, 3);
    EXPECT_EQ(host.list.Count(), 1);
    EXPECT_EQ(host.list.IndexOf(b), 0);
    TMark stranger(&host);
    EXPECT_EQ(host.list.Remove(&stranger), -1);
    EXPECT_EQ(host.list.Count(), 1);
}

TEST(MarkList, MarksForALineComeInListOrderAtMostSixteen) {
    MarkHost host;
    std::vector<TMark*> onSeven;
    for (int i = 0; i < 17; ++i) {
        host.Place(3);
        onSeven.push_back(host.Place(7));
    }
    TMarks marks;
    marks.fill(onSeven[0]);
    host.list.GetMarksForLine(7, marks);
    for (std::size_t i = 0; i < marks.size(); ++i)
        EXPECT_EQ(marks[i], onSeven[i]);

    host.list.GetMarksForLine(9, marks);
    for (TMark* m : marks)
        EXPECT_EQ(m, nullptr);

    host.list.Remove(onSeven[0]);
    host.list.GetMarksForLine(7, marks);
    EXPECT_EQ(marks[0], onSeven[1]);
    EXPECT_EQ(marks[15], onSeven[16]);
}

} // namespace
} // namespace ondrex
