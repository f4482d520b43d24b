// Column widths, column order and the sort saved in the settings store and read back,
// with malformed values falling back and stored orders repaired to permutations.

#include "controls/TExtListView.h"
#include "platform/BetterRegistry.h"
#include "platform/SettingsStore.h"
#include "platform/testing/TestListView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace ondrex;

namespace {

class ListViewSettings : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("ondrex-lvsettings-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        TSettingsStore::SetDefaultFileName((dir / "registry.ini").string());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    static void Store(const std::string& section, const char* name, const std::string& value) {
        TBetterRegistry registry;
        ASSERT_TRUE(registry.OpenKey("\\Software\\Test\\" + section, true));
        registry.WriteString(name, value);
    }
    static std::string Stored(const std::string& section, const char* name) {
        TBetterRegistry registry;
        return registry.OpenKey("\\Software\\Test\\" + section, false) ? registry.ReadString(name)
                                                                       : "";
    }

    // Three columns 10, 20, 30 wide; settings on.
    static void Setup(TExtListView& view, int columns = 3) {
        for (int i = 0; i < columns; ++i) view.Columns().Add()->SetWidth(10 * (i + 1));
        view.SaveSettings().AutoSave = true;
        view.SaveSettings().RegistryKey = "Software\\Test";
    }
    static std::vector<int> Widths(TExtListView& view) {
        std::vector<int> w;
        for (int i = 0; i < view.Columns().Count(); ++i) w.push_back(view.Columns()[i]->Width());
        return w;
    }

    std::filesystem::path dir;
};

} // namespace

TEST(ColumnOrderRepair, AlwaysGivesAPermutation) {
    EXPECT_EQ(RepairColumnOrder({2}, 3), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(RepairColumnOrder({1, 1, 5}, 3), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(RepairColumnOrder({-1, 2, 0, 1, 0}, 3), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(RepairColumnOrder({}, 2), (std::vector<int>{0, 1}));
    EXPECT_EQ(RepairColumnOrder({0, 1}, 0), (std::vector<int>{}));
}

TEST_F(ListViewSettings, WidthsOrderAndSortSurviveTheControl) {
    {
        TExtListView view;
        Setup(view);
        view.Loaded();
        view.SetColumnOrder({2, 0, 1});
        view.Columns()[2]->SetWidth(99);
        view.SetCurrentSortColumn(1);
        view.SetCurrentSortAscending(false);
    } // written when destroyed
    EXPECT_EQ(Stored("Columns", "Order"), "2,0,1");
    EXPECT_EQ(Stored("Columns", "Sizes"), "99,10,20"); // in display order
    EXPECT_EQ(Stored("Sort", "Ascending"), "0");
    EXPECT_EQ(Stored("Sort", "SortCol"), "1");
    TExtListView again;
    Setup(again);
    again.Loaded();
    EXPECT_EQ(again.ColumnOrder(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(Widths(again), (std::vector<int>{10, 20, 99}));
    EXPECT_EQ(again.CurrentSortColumn(), 1);
    EXPECT_FALSE(again.CurrentSortAscending());
}

TEST_F(ListViewSettings, MalformedSizesKeepTheirColumnsAndEmptySizesChangeNothing) {
    TExtListView view;
    Setup(view);
    Store("Columns", "Sizes", "100,abc,50");
    view.ReadSettings();
    EXPECT_EQ(Widths(view), (std::vector<int>{100, 20, 50}));
    Store("Columns", "Sizes", "");
    view.Columns()[0]->SetWidth(7);
    view.ReadSettings();
    EXPECT_EQ(Widths(view), (std::vector<int>{7, 20, 50}));
}

TEST_F(ListViewSettings, StoredOrdersAreRepairedBeforeTheControlGetsThem) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"2", {2, 0, 1}},        // fewer entries than columns
        {"1,1,9", {1, 0, 2}},    // repeated and out of range
        {"x,2,1", {0, 2, 1}},    // an entry that does not convert counts as 0
        {"", {0, 1, 2}},         // empty: the identity
        {"2,1,0,0,0", {2, 1, 0}} // more entries than columns
    };
    for (const auto& [text, expected] : cases) {
        Store("Columns", "Order", text);
        TExtListView view;
        Setup(view);
        view.SaveSettings().AutoSave = true;
        view.ReadSettings();
        EXPECT_EQ(view.ColumnOrder(), expected) << '"' << text << '"';
        view.SaveSettings().AutoSave = false; // leave the stored value for the next case
    }
}

TEST_F(ListViewSettings, StoredSortColumnIsClampedAndSortsThen) {
    Store("Sort", "SortCol", "7");
    Store("Sort", "Ascending", "yes"); // not an integer: ascending
    TExtListView view;
    Setup(view);
    view.SetAutoColumnSort(TAutoColumnSort::acsSort);
    for (const char* v : {"b", "a"}) {
        TListItem* item = view.Items().Add();
        item->SetCaption(v);
        item->AddSubItem("");
        item->AddSubItem(std::string("z") + v);
    }
    view.Loaded();
    EXPECT_EQ(view.CurrentSortColumn(), 2);
    EXPECT_TRUE(view.CurrentSortAscending());
    EXPECT_EQ(view.Items()[0]->Caption(), "a");

    TExtListView empty;
    empty.SaveSettings().RegistryKey = "Software\\Test";
    empty.ReadSettings();
    EXPECT_EQ(empty.CurrentSortColumn(), 0);
}

TEST_F(ListViewSettings, NothingIsReadOrWrittenWithoutAutoSave) {
    {
        TExtListView view;
        Setup(view);
        view.SaveSettings().AutoSave = false;
        view.Loaded();
        EXPECT_FALSE(view.LoadSettings());
    }
    EXPECT_EQ(Stored("Columns", "Sizes"), "");
}
