// The list view under the mouse and keyboard: selection, hover selection, activation,
// check boxes, the header's clicks, resizing and dragging, label editing, owner data.

#include "platform/LabelEditor.h"
#include "platform/ListView.h"
#include "platform/testing/TestListView.h"

#include <gtest/gtest.h>

using namespace ondrex;

namespace {

// Records the notifications a derived control receives.
class TProbeListView : public TListView {
public:
    std::vector<std::string> Log;
    bool AllowHot = true;
    int RedirectHot = -2;

    void HoverNow() { HoverTimeElapsed(); }

protected:
    void ColumnClicked(int column) override {
        Log.push_back("click " + std::to_string(column));
        TListView::ColumnClicked(column);
    }
    void ItemActivate() override { Log.push_back("activate"); }
    bool HotTrackItem(int& index, int, TPoint) override {
        if (RedirectHot != -2) index = RedirectHot;
        return AllowHot;
    }
    void HeaderEndDrag() override { Log.push_back("dragged"); }
    void EndLabelEdit(int index, const std::string* text) override {
        Log.push_back("end " + std::to_string(index) + (text ? " " + *text : " cancelled"));
        TListView::EndLabelEdit(index, text);
    }
    void GetDispInfo(TLVDispInfo& info) override {
        ++DispInfoCalls;
        info.Text = "row " + std::to_string(info.Item) + "." + std::to_string(info.SubItem);
    }
    void CacheHint(const TLVCacheHint& hint) override {
        Log.push_back("hint " + std::to_string(hint.From) + "-" + std::to_string(hint.To));
    }
    int FindItem(TLVFindInfo& info) override {
        Log.push_back("find " + info.Text + " from " + std::to_string(info.Start));
        return 42;
    }

public:
    int DispInfoCalls = 0;
};

void Fill(TCustomListView& view, int rows) {
    view.Columns().Add()->SetWidth(100);
    view.Columns().Add()->SetWidth(150);
    for (int i = 0; i < rows; ++i) {
        TListItem* item = view.Items().Add();
        item->SetCaption("item" + std::to_string(i));
        item->AddSubItem("sub" + std::to_string(i));
    }
}

} // namespace

TEST(ListViewMouse, ClicksSelectRowsAndHeaderClicksOnlyWithColumnClick) {
    TProbeListView view;
    TTestListView test(view);
    Fill(view, 5);
    test.Click(test.RowPoint(2));
    EXPECT_EQ(view.ItemIndex(), 2);
    EXPECT_EQ(view.FocusedIndex(), 2);
    // A sub-item cell is a row only with full-row selection.
    test.Click(test.CellPoint(3, 1));
    EXPECT_EQ(view.ItemIndex(), -1);
    view.SetRowSelect(true);
    test.Click(test.CellPoint(3, 1));
    EXPECT_EQ(view.ItemIndex(), 3);
    test.Click(test.HeaderPoint(1));
    view.SetColumnClick(false);
    test.Click(test.HeaderPoint(0));
    EXPECT_EQ(view.Log, (std::vector<std::string>{"click 1"}));
}

TEST(ListViewMouse, MultiSelectWithShiftAndCtrl) {
    TProbeListView view;
    TTestListView test(view);
    Fill(view, 6);
    view.SetMultiSelect(true);
    test.Click(test.RowPoint(1));
    test.Click(test.RowPoint(4), ssShift);
    EXPECT_EQ(view.SelCount(), 4);
    test.Click(test.RowPoint(2), ssCtrl);
    EXPECT_EQ(view.SelCount(), 3);
    EXPECT_FALSE(view.IsSelected(2));
    test.Click({10, 190}); // below the rows: clears
    EXPECT_EQ(view.SelCount(), 0);
}

TEST(ListViewMouse, HoverSelectionWaitsForTheHoverTimeAndCanBeRedirected) {
    TProbeListView view;
    TTestListView test(view);
    Fill(view, 5);
    view.SetHotTrack(true);
    view.SetHoverTime(50);
    test.Hover(test.RowPoint(3));
    EXPECT_EQ(view.HotItem(), 3);
    EXPECT_EQ(view.ItemIndex(), -1);
    view.HoverNow();
    EXPECT_EQ(view.ItemIndex(), 3);
    view.RedirectHot = 1;
    test.Hover(test.RowPoint(4));
    EXPECT_EQ(view.HotItem(), 1);
    view.AllowHot = false;
    view.RedirectHot = -2;
    test.Hover(test.RowPoint(0));
    EXPECT_EQ(view.HotItem(), 1);
    view.AllowHot = true;
    test.Host().SendMouseLeave();
    EXPECT_EQ(view.HotItem(), -1);
    view.HoverNow(); // nothing hot: nothing changes
    EXPECT_EQ(view.ItemIndex(), 3);
}

TEST(ListViewMouse, ActivationByDoubleClickOneClickOrSecondClick) {
    TProbeListView view;
    TTestListView test(view);
    Fill(view, 3);
    test.DoubleClick(test.RowPoint(0));
    EXPECT_EQ(view.Log, (std::vector<std::string>{"activate"}));
    view.Log.clear();
    view.SetExtendedStyle(0, LVS_EX_TWOCLICKACTIVATE);
    test.Click(test.RowPoint(1));
    test.Click(test.RowPoint(1));
    EXPECT_EQ(view.Log, (std::vector<std::string>{"activate"}));
    view.Log.clear();
    view.SetExtendedStyle(0, LVS_EX_ONECLICKACTIVATE);
    test.Click(test.RowPoint(2));
    EXPECT_EQ(view.Log, (std::vector<std::string>{"activate"}));
    test.Hover(test.RowPoint(2));
    EXPECT_EQ(test.Host().CursorAt(test.RowPoint(2).X, test.RowPoint(2).Y), crHandPoint);
}

TEST(ListViewMouse, CheckBoxesToggleByClickAndSpace) {
    TListView view;
    TTestListView test(view);
    Fill(view, 2);
    view.SetCheckboxes(true);
    const TRect cell = view.CellRect(1, 0);
    test.Click({cell.Left + 6, (cell.Top + cell.Bottom) / 2});
    EXPECT_TRUE(view.Items()[1]->Checked());
    EXPECT_EQ(view.ItemIndex(), -1); // the box is not the row
    test.Key(VK_SPACE);
    EXPECT_FALSE(view.Items()[1]->Checked());
}

TEST(ListViewHeader, DividersResizeAndDoubleClickFits) {
    TListView view;
    TTestListView test(view);
    Fill(view, 2);
    const int edge = view.HeaderItemRect(0).Right;
    EXPECT_EQ(test.Host().CursorAt(edge, 5), crHSplit);
    test.Drag({edge, 5}, {edge + 30, 5});
    EXPECT_EQ(view.Columns()[0]->Width(), 130);
    const int edge2 = view.HeaderItemRect(0).Right;
    test.DoubleClick({edge2, 5});
    EXPECT_EQ(view.Columns()[0]->Width(), 5 * 8 + 12); // "item0": five cells and margins
}

TEST(ListViewHeader, DraggingMovesAColumnOnlyWithHeaderDragDrop) {
    TProbeListView view;
    TTestListView test(view);
    Fill(view, 1);
    view.Columns().Add()->SetWidth(60);
    const TPoint from = test.HeaderPoint(0);
    const TPoint to = {view.HeaderItemRect(2).Right - 5, from.Y};
    test.Drag(from, to);
    EXPECT_EQ(view.ColumnOrder(), (std::vector<int>{0, 1, 2}));
    view.SetExtendedStyle(LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
    view.Log.clear();
    test.Drag(from, to);
    EXPECT_EQ(view.ColumnOrder(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(view.Log, (std::vector<std::string>{"dragged"}));
}

TEST(ListViewKeys, NavigationMovesSelectionAndScrolls) {
    TListView view;
    TTestListView test(view, 400, 19 + 17 * 5); // five rows fit
    Fill(view, 20);
    test.Key(VK_DOWN);
    EXPECT_EQ(view.ItemIndex(), 0);
    for (int row = 1; row <= 5; ++row) // the fifth row is the last one shown whole
        test.Key(VK_DOWN);
    EXPECT_EQ(view.ItemIndex(), 5);
    EXPECT_EQ(view.TopIndex(), 1);
    test.Key(VK_END);
    EXPECT_EQ(view.ItemIndex(), 19);
    EXPECT_EQ(view.TopIndex(), 15);
    test.Key(VK_PRIOR);
    EXPECT_EQ(view.ItemIndex(), 15);
    test.Key(VK_PRIOR);
    EXPECT_EQ(view.ItemIndex(), 11);
    EXPECT_EQ(view.TopIndex(), 11);
    test.Key(VK_HOME);
    EXPECT_EQ(view.ItemIndex(), 0);
    test.Type("item1"); // incremental search, case-insensitive
    EXPECT_EQ(view.ItemIndex(), 1);
    test.Host().SendMouseWheel(0, -120, 10, 40);
    EXPECT_EQ(view.TopIndex(), 3);
}

TEST(ListViewEdit, CaptionEditCommitsThroughOnEditedOrCancels) {
    TProbeListView view;
    TTestListView test(view);
    Fill(view, 3);
    struct TUpper {
        void Edited(TObject*, TListItem*, std::string& s) {
            for (char& c : s)
                c = char(std::toupper(static_cast<unsigned char>(c)));
        }
    } upper;
    view.OnEdited = TLVEditedEvent::bind<&TUpper::Edited>(&upper);
    test.Click(test.RowPoint(1));
    test.Key(VK_F1 + 1);
    ASSERT_TRUE(view.IsEditing());
    EXPECT_EQ(view.Editor()->Text(), "item1");
    view.Editor()->SetText("renamed");
    view.EndEditing(true);
    EXPECT_EQ(view.Items()[1]->Caption(), "RENAMED");
    // A second click on the selected row's caption edits too; Escape-like end cancels.
    test.Click(test.RowPoint(1));
    ASSERT_TRUE(view.IsEditing());
    view.Editor()->SetText("lost");
    view.EndEditing(false);
    EXPECT_EQ(view.Items()[1]->Caption(), "RENAMED");
    EXPECT_EQ(view.Log, (std::vector<std::string>{"end 1 renamed", "end 1 cancelled"}));
    view.SetReadOnly(true);
    EXPECT_FALSE(view.EditCaption(0));
}

TEST(ListViewEdit, DeletingTheEditedRowCancelsTheEdit) {
    TProbeListView view;
    TTestListView test(view);
    Fill(view, 3);
    ASSERT_TRUE(view.EditCaption(2));
    view.Items().Delete(2);
    EXPECT_FALSE(view.IsEditing());
    EXPECT_EQ(view.Log, (std::vector<std::string>{"end 2 cancelled"}));
}

TEST(ListViewOwnerData, PaintAsksOnlyForVisibleRowsAndSearchAsksTheOwner) {
    TProbeListView view;
    TTestListView test(view, 400, 19 + 17 * 5);
    view.Columns().Add()->SetWidth(100);
    view.Columns().Add()->SetWidth(100);
    view.SetOwnerData(true);
    view.SetItemCount(1'000'000);
    EXPECT_EQ(view.ItemCount(), 1'000'000);
    EXPECT_EQ(view.Items().Count(), 0);
    view.SetTopIndex(999'995);
    view.DispInfoCalls = 0;
    const TRecordingCanvas& canvas = test.PaintAll();
    EXPECT_LE(view.DispInfoCalls, 5 * 2 * 2); // texts, plus a row's state and image
    bool drawn = false;
    for (const TDrawCall& call : canvas.CallsOf(TDrawKind::DrawText))
        drawn = drawn || call.Text == "row 999999.1";
    EXPECT_TRUE(drawn);
    EXPECT_EQ(view.Log.front(), "hint 999995-999999");
    view.SetFocusedIndex(10);
    test.Type("a");
    EXPECT_EQ(view.Log.back(), "find a from 11");
    EXPECT_EQ(view.ItemIndex(), 42);
}
