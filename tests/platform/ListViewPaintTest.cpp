// What the list view paints: header, rows with their state images, grid lines, the
// selection band, the hot row, and the owner-drawn rows and header items.

#include "platform/ImageList.h"
#include "platform/ListView.h"
#include "platform/SystemColors.h"
#include "platform/testing/TestListView.h"

#include <gtest/gtest.h>

using namespace ondrex;

namespace {

class TPaintProbe : public TListView {
public:
    std::vector<std::string> Log;

protected:
    void DrawItem(TCanvas&, int index, const TRect& rect, unsigned state) override {
        Log.push_back("item " + std::to_string(index) + " top " + std::to_string(rect.Top) +
                      ((state & ODS_SELECTED) ? " selected" : ""));
    }
    void MeasureItem(int& height) override { height = 30; }
    void DrawHeaderItem(TCanvas&, int column, const TRect& rect, bool) override {
        Log.push_back("header " + std::to_string(column) + " at " + std::to_string(rect.Left));
    }
};

void Fill(TCustomListView& view) {
    view.Columns().Add()->SetCaption("Type");
    view.Columns()[0]->SetWidth(75);
    view.Columns().Add()->SetCaption("Name");
    view.Columns()[1]->SetWidth(250);
    const char* types[] = {"Function", "Sub", "Dim", "If"};
    for (int i = 0; i < 4; ++i) {
        TListItem* item = view.Items().Add();
        item->SetCaption(types[i]);
        item->AddSubItem("name" + std::to_string(i));
        item->SetStateIndex(i == 3 ? -1 : i);
    }
}

const TDrawCall* FindText(const TRecordingCanvas& canvas, const std::string& text) {
    for (const TDrawCall& call : canvas.Calls)
        if (call.Kind == TDrawKind::DrawText && call.Text == text) return &call;
    return nullptr;
}

} // namespace

TEST(ListViewPaint, ReportRowsHeaderGridLinesAndStateImages) {
    TListView view;
    TTestListView test(view, 400, 200);
    TImageList states(16, 16);
    states.Add(TBitmap(16 * 3, 16));
    view.SetStateImages(&states);
    Fill(view);
    view.SetGridLines(true);
    const TRecordingCanvas& canvas = test.PaintAll();

    const TDrawCall* header = FindText(canvas, "Name");
    ASSERT_NE(header, nullptr);
    EXPECT_LT(header->Rect.Top, 19);
    const TDrawCall* name = FindText(canvas, "name2");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->Rect.Top, 19 + 2 * 17);
    EXPECT_EQ(name->Rect.Left, 75 + 4);

    // One state picture per row that has one, at the left of the caption cell.
    std::vector<int> pictureRows;
    for (const TDrawCall& call : canvas.CallsOf(TDrawKind::Bitmap))
        if (call.Rect.Left == 0) pictureRows.push_back((call.Rect.Top - 19) / 17);
    EXPECT_EQ(pictureRows, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(FindText(canvas, "Function")->Rect.Left, 16 + 4);

    // Grid lines: column edges down the window, row bottoms across the columns.
    int vertical = 0, horizontal = 0;
    for (const TDrawCall& call : canvas.CallsOf(TDrawKind::Line)) {
        if (call.Color != ColorToRGB(clBtnFace)) continue;
        if (call.Points[0].X == call.Points[1].X) ++vertical;
        if (call.Points[0].Y == call.Points[1].Y && call.Points[1].X == 325) ++horizontal;
    }
    EXPECT_EQ(vertical, 2);
    EXPECT_EQ(horizontal, (200 - 19) / 17);
}

TEST(ListViewPaint, SelectionBandShowsOnlyWhileFocusedUnlessHideSelectionIsOff) {
    TListView view;
    TTestListView test(view, 400, 200);
    Fill(view);
    view.SetRowSelect(true);
    view.SetItemIndex(1);
    const auto highlightFills = [&] {
        int n = 0;
        for (const TDrawCall& call : test.PaintAll().CallsOf(TDrawKind::FillRect))
            if (call.Color == ColorToRGB(clHighlight) || call.Color == ColorToRGB(clBtnFace))
                if (call.Rect.Top == 19 + 17 && call.Rect.Right == 325) ++n;
        return n;
    };
    EXPECT_EQ(highlightFills(), 0);
    view.SetHideSelection(false);
    EXPECT_EQ(highlightFills(), 1);
    view.SetHideSelection(true);
    test.Host().Focus();
    EXPECT_EQ(highlightFills(), 1);
    EXPECT_EQ(FindText(test.PaintAll(), "name1")->Color, ColorToRGB(clHighlightText));
}

TEST(ListViewPaint, HotRowIsColouredAndUnderlined) {
    TListView view;
    TTestListView test(view, 400, 200);
    Fill(view);
    view.SetExtendedStyle(0, LVS_EX_TRACKSELECT | LVS_EX_UNDERLINEHOT | LVS_EX_ONECLICKACTIVATE);
    test.Hover(test.RowPoint(2));
    const TRecordingCanvas& canvas = test.PaintAll();
    const TDrawCall* hot = FindText(canvas, "Dim");
    const TDrawCall* cold = FindText(canvas, "Sub");
    EXPECT_EQ(hot->Color, ColorToRGB(clSystemColor | COLOR_HOTLIGHT));
    EXPECT_TRUE(hot->FontStyle & fsUnderline);
    EXPECT_FALSE(cold->FontStyle & fsUnderline);
}

TEST(ListViewPaint, OwnerDrawnRowsAndHeaderItems) {
    TPaintProbe view;
    TTestListView test(view, 400, 19 + 30 * 2 + 5);
    Fill(view);
    view.SetOwnerDraw(true);
    view.SetHeaderItemOwnerDraw(1, true);
    view.SetItemIndex(1);
    test.PaintAll();
    EXPECT_EQ(view.Log, (std::vector<std::string>{"item 0 top 19", "item 1 top 49 selected",
                                                  "item 2 top 79", "header 1 at 75"}));
    // The other header item is the control's own.
    EXPECT_NE(FindText(*test.Host().LastPaint(), "Type"), nullptr);
    EXPECT_EQ(FindText(*test.Host().LastPaint(), "Name"), nullptr);
}

TEST(ListViewPaint, ReorderedColumnsAreDrawnInTheirPositions) {
    TListView view;
    TTestListView test(view, 400, 200);
    Fill(view);
    ASSERT_TRUE(view.SetColumnOrder({1, 0}));
    const TRecordingCanvas& canvas = test.PaintAll();
    EXPECT_EQ(FindText(canvas, "name0")->Rect.Left, 4);
    EXPECT_EQ(view.HitTest(260, 19 + 5).SubItem, 0);
}
