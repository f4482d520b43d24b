// The list view's rows and columns: texts, indexes after inserts, deletes and sorts, the
// single selection, column order, and the safe merge sort.

#include "platform/ListView.h"
#include "platform/MergeSort.h"
#include "platform/testing/TestListView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

using namespace ondrex;

namespace {

TListItem* AddRow(TCustomListView& view, const std::string& caption, const std::string& sub = {}) {
    TListItem* item = view.Items().Add();
    item->SetCaption(caption);
    if (!sub.empty()) item->AddSubItem(sub);
    return item;
}

// Every row's Index() is its position and every row is there once.
void ExpectConsistent(const TCustomListView& view) {
    for (int i = 0; i < view.Items().Count(); ++i)
        ASSERT_EQ(view.Items()[i]->Index(), i);
}

// Owner data counted again without invalidating all: only the rows that came or went are
// repainted where they are in view; rows added below a full view repaint nothing, and a
// count that moves the top row repaints all.
TEST(ListItems, ACountedListRepaintsOnlyTheRowsThatChangedInView) {
    TListView view;
    view.SetOwnerData(true);
    TTestListView test(view, 400, 200); // a header of 19 pixels, rows of 17: 11 in view, the
                                        // last one in part
    const TRect all{0, 0, view.ClientWidth(), view.ClientHeight()};
    auto recount = [&](int count, unsigned flags) {
        test.Host().ClearRecords();
        view.SetItemCount(count, flags);
        return test.Host().Invalidations;
    };
    const unsigned keep = LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL;
    // The view repainted from a row's top down.
    const auto below = [&](int top) {
        return std::vector<TRect>{TRect{0, top, all.Right, all.Bottom}};
    };
    EXPECT_EQ(recount(3, keep), below(19));
    EXPECT_EQ(recount(9, keep), below(19 + 3 * 17));
    EXPECT_EQ(recount(10, keep), below(19 + 9 * 17));
    EXPECT_EQ(recount(11, keep), below(19 + 10 * 17));
    EXPECT_EQ(recount(12, keep), std::vector<TRect>{}); // the twelfth row is below the view
    EXPECT_EQ(recount(5000, keep), std::vector<TRect>{});
    EXPECT_EQ(recount(4, keep), below(19 + 4 * 17));
    EXPECT_EQ(recount(6, 0), std::vector<TRect>{all});

    view.SetItemCount(100);
    view.SetTopIndex(50);
    EXPECT_EQ(recount(200, keep), std::vector<TRect>{});
    EXPECT_EQ(recount(60, keep), below(19 + 10 * 17));
    EXPECT_EQ(recount(20, LVSICF_NOINVALIDATEALL), std::vector<TRect>{all}); // the top moved
}

} // namespace

TEST(ListItems, TextsOfEveryLengthAndByteSurviveEdits) {
    TListView view;
    TListItem* item = view.Items().Add();
    const std::string longText(300, 'x'); // a length prefix of two bytes
    const std::string withNul("a\0b", 3);
    item->SetCaption(longText);
    item->SetSubItem(2, withNul); // sub-items 0 and 1 appear empty
    EXPECT_EQ(item->Caption(), longText);
    EXPECT_EQ(item->SubItemCount(), 3);
    EXPECT_EQ(item->SubItem(0), "");
    EXPECT_EQ(item->SubItem(2), withNul);
    item->SetSubItem(0, "first");
    item->SetCaption("short");
    EXPECT_EQ(item->Caption(), "short");
    EXPECT_EQ(item->SubItem(0), "first");
    EXPECT_EQ(item->SubItem(2), withNul);
    item->DeleteSubItem(0);
    EXPECT_EQ(item->SubItemCount(), 2);
    EXPECT_EQ(item->SubItem(1), withNul);
    EXPECT_EQ(item->Text(5), "");
    item->ClearSubItems();
    EXPECT_EQ(item->SubItemCount(), 0);
    EXPECT_EQ(item->Caption(), "short");
}

TEST(ListItems, IndexesFollowInsertsAndDeletes) {
    TListView view;
    TTestListView test(view);
    for (int i = 0; i < 5; ++i)
        AddRow(view, std::to_string(i));
    view.SetItemIndex(3);
    view.Items().Insert(1)->SetCaption("new");
    ExpectConsistent(view);
    EXPECT_EQ(view.ItemIndex(), 4);
    EXPECT_EQ(view.FocusedIndex(), 4);
    EXPECT_EQ(view.Selected()->Caption(), "3");
    view.Items().Delete(0);
    ExpectConsistent(view);
    EXPECT_EQ(view.FocusedIndex(), 3);
    view.Items().Delete(3); // the selected, focused row
    EXPECT_EQ(view.Selected(), nullptr);
    EXPECT_EQ(view.FocusedIndex(), -1);
    EXPECT_EQ(view.SelCount(), 0);

    // A row inserted where the focus is pushes the focused row down and the focus with it.
    view.SetItemIndex(2);
    view.Items().Insert(2)->SetCaption("before");
    ExpectConsistent(view);
    EXPECT_EQ(view.FocusedIndex(), 3);
    EXPECT_EQ(view.ItemFocused(), view.Selected());
}

TEST(ListItems, SingleSelectionMovesAndReportsBothRows) {
    TListView view;
    for (int i = 0; i < 3; ++i)
        AddRow(view, std::to_string(i));
    std::vector<std::string> log;
    struct TLog {
        std::vector<std::string>* log;
        void Select(TObject*, TListItem* item, bool on) {
            log->push_back(item->Caption() + (on ? "+" : "-"));
        }
    } sink{&log};
    view.OnSelectItem = TLVSelectItemEvent::bind<&TLog::Select>(&sink);
    view.Items()[0]->SetSelected(true);
    view.Items()[2]->SetSelected(true);
    EXPECT_EQ(log, (std::vector<std::string>{"0+", "0-", "2+"}));
    EXPECT_EQ(view.SelCount(), 1);
    EXPECT_EQ(view.ItemIndex(), 2);
    view.SetMultiSelect(true);
    view.Items()[1]->SetSelected(true);
    EXPECT_EQ(view.SelCount(), 2);
    view.SetMultiSelect(false); // keeps the first selected row only
    EXPECT_EQ(view.SelCount(), 1);
    EXPECT_EQ(view.ItemIndex(), 1);
}

TEST(ListItems, ClearForgetsEveryRowState) {
    TListView view;
    TTestListView test(view);
    for (int i = 0; i < 50; ++i)
        AddRow(view, std::to_string(i));
    view.SetItemIndex(40);
    EXPECT_GT(view.TopIndex(), 0);
    view.Items().Clear();
    EXPECT_EQ(view.Items().Count(), 0);
    EXPECT_EQ(view.Selected(), nullptr);
    EXPECT_EQ(view.TopIndex(), 0);
    EXPECT_EQ(view.FocusedIndex(), -1);
    AddRow(view, "again")->SetSelected(true);
    EXPECT_EQ(view.SelCount(), 1);
}

TEST(ListColumns, OrderMustBeAPermutation) {
    TListView view;
    for (int i = 0; i < 3; ++i)
        view.Columns().Add()->SetCaption("c" + std::to_string(i));
    EXPECT_EQ(view.ColumnOrder(), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(view.SetColumnOrder({0, 1}));
    EXPECT_FALSE(view.SetColumnOrder({0, 0, 1}));
    EXPECT_FALSE(view.SetColumnOrder({0, 1, 3}));
    EXPECT_FALSE(view.SetColumnOrder({-1, 1, 2}));
    EXPECT_EQ(view.ColumnOrder(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(view.SetColumnOrder({2, 0, 1}));
    EXPECT_EQ(view.PositionOfColumn(2), 0);
    view.Columns().Delete(0); // the order follows: old 2 -> 1, old 1 -> 0
    EXPECT_EQ(view.ColumnOrder(), (std::vector<int>{1, 0}));
}

TEST(ListColumns, AutoSizeFitsTextsAndTheLastColumnFillsTheWindow) {
    TListView view;
    TTestListView test(view, 400);
    view.Columns().Add()->SetCaption("Type");
    view.Columns().Add()->SetCaption("Name");
    AddRow(view, "Function", "x");
    AddRow(view, "If", "y");
    view.Columns()[0]->SetWidth(LVSCW_AUTOSIZE);
    EXPECT_EQ(view.Columns()[0]->Width(), 8 * 8 + 12); // "Function" in 8-pixel cells
    view.Columns()[1]->SetWidth(LVSCW_AUTOSIZE_USEHEADER);
    EXPECT_EQ(view.Columns()[1]->Width(), 400 - 76);
}

TEST(MergeSort, IsStableAndAgreesWithTheLibrary) {
    std::mt19937 random(7);
    std::vector<std::pair<int, int>> values(1000);
    for (int i = 0; i < 1000; ++i)
        values[std::size_t(i)] = {int(random() % 20), i};
    auto expected = values;
    const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(expected.begin(), expected.end(), byKey);
    MergeSort(values, byKey);
    EXPECT_EQ(values, expected);
}

TEST(MergeSort, SurvivesAComparisonThatAnswersAtRandom) {
    std::mt19937 random(11);
    for (int n : {0, 1, 2, 15, 16, 17, 100, 5000}) {
        std::vector<int> values(static_cast<std::size_t>(n));
        std::iota(values.begin(), values.end(), 0);
        MergeSort(values, [&](int, int) { return random() % 2 == 0; });
        std::sort(values.begin(), values.end());
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(values[std::size_t(i)], i);
    }
}

TEST(ListSort, CustomSortKeepsEveryRowWhateverTheComparisonSays) {
    TListView view;
    for (int i = 0; i < 300; ++i)
        AddRow(view, std::to_string(i))->SetData(&view);
    view.Items()[7]->SetSelected(true);
    std::mt19937 random(3);
    EXPECT_TRUE(
        view.CustomSort([&](const TListItem*, const TListItem*) { return int(random() % 3) - 1; }));
    ExpectConsistent(view);
    std::vector<std::string> captions;
    for (int i = 0; i < 300; ++i)
        captions.push_back(view.Items()[i]->Caption());
    std::sort(captions.begin(), captions.end());
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i)
        expected.push_back(std::to_string(i));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(view.Selected()->Caption(), "7");
}

TEST(ListSort, ReorderRefusesWhatIsNotAPermutation) {
    TListView view;
    for (int i = 0; i < 3; ++i)
        AddRow(view, std::to_string(i));
    EXPECT_FALSE(view.Items().Reorder({0, 0, 1}));
    EXPECT_FALSE(view.Items().Reorder({0, 1}));
    EXPECT_TRUE(view.Items().Reorder({2, 0, 1}));
    EXPECT_EQ(view.Items()[0]->Caption(), "2");
    ExpectConsistent(view);
}

TEST(ListItems, BulkAppendInsideAnUpdateTouchesTheWindowOnce) {
    TListView view;
    TTestListView test(view);
    test.Host().ClearRecords();
    view.Items().BeginUpdate();
    for (int i = 0; i < 1000; ++i)
        AddRow(view, "row", std::to_string(i));
    EXPECT_TRUE(test.Host().Invalidations.empty());
    view.Items().EndUpdate();
    EXPECT_EQ(test.Host().Invalidations.size(), 1u);
    EXPECT_EQ(test.Host().ScrollBar(TScrollBarKind::sbVertical).Info.Max, 999);
}
