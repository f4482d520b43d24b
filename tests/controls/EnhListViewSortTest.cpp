// Sorting in the enhanced list view: the update counter, re-sorting, column clicks in both
// modes, the event comparison (also one that answers at random) and the direction.

#include "controls/TExtListView.h"
#include "platform/LabelEditor.h"
#include "platform/testing/TestListView.h"

#include <gtest/gtest.h>

#include <random>

using namespace ondrex;

namespace {

const TFormatSettings kUs{'/', ':', "M/d/yyyy", "AM", "PM"};

struct TSortLog {
    std::vector<std::string> Events;
    void Begin(TObject*, int column, bool ascending) {
        Events.push_back("sort " + std::to_string(column) + (ascending ? " up" : " down"));
    }
};

class EnhSort : public ::testing::Test {
protected:
    EnhSort() : test(view) {
        view.SetSortFormat(kUs);
        view.Columns().Add()->SetCaption("Value");
        view.Columns().Add()->SetCaption("Name");
        view.OnSortBegin = TLVSortStatusEvent::bind<&TSortLog::Begin>(&log);
    }

    void Add(const std::string& caption, const std::string& name = {}) {
        TListItem* item = view.Items().Add();
        item->SetCaption(caption);
        item->AddSubItem(name);
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> out;
        for (int i = 0; i < view.Items().Count(); ++i)
            out.emplace_back(view.Items()[i]->Text(column));
        return out;
    }

    TExtListView view;
    TTestListView test;
    TSortLog log;
};

} // namespace

TEST_F(EnhSort, NothingSortsBeforeLoadedAndBulkAddsSortOnceAtTheEnd) {
    view.SetAutoColumnSort(TAutoColumnSort::acsSort);
    view.SetCurrentSortColumn(0);
    EXPECT_EQ(view.UpdateCount(), 1);
    Add("3");
    EXPECT_TRUE(log.Events.empty());
    EXPECT_TRUE(view.ResortPending());
    view.Loaded();
    EXPECT_EQ(view.UpdateCount(), 0);
    log.Events.clear();
    view.BeginUpdate();
    for (const char* v : {"40", "9", "1/2/2003", "12/31/2002", "12:30", "09:15", "abc"}) Add(v);
    EXPECT_TRUE(log.Events.empty());
    view.EndUpdate();
    EXPECT_EQ(log.Events, (std::vector<std::string>{"sort 0 up"}));
    // Times are small date values; numbers among numbers; the rest as text.
    EXPECT_EQ(Column(0), (std::vector<std::string>{"09:15", "12:30", "12/31/2002", "1/2/2003",
                                                   "3", "9", "40", "abc"}));
}

TEST_F(EnhSort, EndUpdateWithoutBeginStillResortsAndNeverGoesBelowZero) {
    view.Loaded();
    view.SetAutoColumnSort(TAutoColumnSort::acsSort);
    view.SetCurrentSortColumn(0);
    view.BeginUpdate();
    Add("b");
    Add("a");
    view.EndUpdate();
    view.EndUpdate();
    EXPECT_EQ(view.UpdateCount(), 0);
    view.BeginUpdate();
    Add("0");
    view.EndUpdate();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"0", "a", "b"}));
}

TEST_F(EnhSort, ColumnClicksToggleInToggleModeAndKeepTheDirectionOtherwise) {
    view.Loaded(); // the sort column is now 0
    for (const char* v : {"b", "c", "a"}) Add(v, std::string("n") + v);
    view.SetAutoColumnSort(TAutoColumnSort::acsSortToggle);
    view.SetAutoSortAscending(true);
    test.Click(test.HeaderPoint(1)); // a new column: the AutoSortAscending direction
    EXPECT_EQ(Column(1), (std::vector<std::string>{"na", "nb", "nc"}));
    EXPECT_EQ(view.CurrentSortColumn(), 1);
    test.Click(test.HeaderPoint(1)); // the same column again: reversed
    EXPECT_EQ(Column(1), (std::vector<std::string>{"nc", "nb", "na"}));
    EXPECT_FALSE(view.CurrentSortAscending());
    test.Click(test.HeaderPoint(0));
    EXPECT_TRUE(view.CurrentSortAscending());
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b", "c"}));
    view.SetAutoColumnSort(TAutoColumnSort::acsSort);
    view.SetCurrentSortAscending(false);
    test.Click(test.HeaderPoint(0)); // sorts in the current direction, no toggling
    EXPECT_FALSE(view.CurrentSortAscending());
    EXPECT_EQ(Column(0), (std::vector<std::string>{"c", "b", "a"}));
    view.SetColumnClick(false); // no header buttons: no clicks, no sorts
    log.Events.clear();
    test.Click(test.HeaderPoint(1));
    EXPECT_TRUE(log.Events.empty());
}

TEST_F(EnhSort, DefaultStyleComparesTextAndDescendingKeepsEqualRowsInOrder) {
    view.Loaded();
    for (const char* v : {"9", "10", "x", "x"}) Add(v);
    view.Items()[2]->SetSubItem(0, "first");
    view.Items()[3]->SetSubItem(0, "second");
    view.SetAutoSortStyle(TAutoSortStyle::assDefault);
    view.SortColumn(0, true);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"10", "9", "x", "x"}));
    view.SetAutoSortStyle(TAutoSortStyle::assSmart);
    view.SortColumn(0, false);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"x", "x", "10", "9"}));
    EXPECT_EQ(Column(1)[0], "first");
}

TEST_F(EnhSort, TheSortEventDecidesAndMayAnswerAnything) {
    view.Loaded();
    for (int i = 0; i < 200; ++i) Add(std::to_string(i));
    struct TRandom {
        std::mt19937 random{9};
        int Column = -9;
        void Compare(TObject*, TListItem*, TListItem*, int column, int& result) {
            Column = column;
            result = int(random() % 5) - 2;
        }
    } handler;
    view.OnSortItems = TLVSortItemsEvent::bind<&TRandom::Compare>(&handler);
    view.SortColumn(1, true);
    EXPECT_EQ(handler.Column, 0); // the sub-item index: column - 1
    EXPECT_EQ(view.Items().Count(), 200);
    std::vector<std::string> values = Column(0);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(std::unique(values.begin(), values.end()), values.end());
    // With a handler, re-sorting needs no auto-sort mode.
    log.Events.clear();
    view.Resort();
    EXPECT_EQ(log.Events.size(), 1u);
}

TEST_F(EnhSort, InsertAndAcceptedEditResortAndACancelledEditIsReported) {
    view.Loaded();
    view.SetAutoColumnSort(TAutoColumnSort::acsSort);
    view.SetCurrentSortColumn(0);
    Add("m");
    Add("c");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"c", "m"}));
    struct TCancel {
        TListItem* Item = nullptr;
        void Canceled(TObject*, TListItem* item) { Item = item; }
    } cancel;
    view.OnEditCanceled = TLVEditCanceled::bind<&TCancel::Canceled>(&cancel);
    ASSERT_TRUE(view.EditCaption(0));
    view.Editor()->SetText("z");
    view.EndEditing(true);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"m", "z"}));
    ASSERT_TRUE(view.EditCaption(0));
    view.EndEditing(false);
    EXPECT_EQ(cancel.Item, view.Items()[0]);
}
