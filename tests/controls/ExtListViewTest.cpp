// The extended list view: the style set, the owner-drawn header with arrows and column
// images, reordered columns, owner-drawn rows, the virtual mode and the notifications.

#include "controls/TExtListView.h"
#include "platform/ImageList.h"
#include "platform/SystemColors.h"
#include "platform/testing/TestListView.h"

#include <gtest/gtest.h>

using namespace ondrex;

namespace {

void Columns(TExtListView& view) {
    view.Columns().Add()->SetCaption("Type");
    view.Columns()[0]->SetWidth(75);
    view.Columns().Add()->SetCaption("Name");
    view.Columns()[1]->SetWidth(250);
}

std::vector<TDrawCall> HeaderCalls(const TRecordingCanvas& canvas, TDrawKind kind) {
    std::vector<TDrawCall> calls;
    for (const TDrawCall& call : canvas.CallsOf(kind))
        if (call.Rect.Bottom <= 19 && call.Rect.Top >= 0) calls.push_back(call);
    return calls;
}

const TDrawCall* Text(const std::vector<TDrawCall>& calls, const std::string& text) {
    for (const TDrawCall& call : calls)
        if (call.Text == text) return &call;
    return nullptr;
}

} // namespace

TEST(ExtListViewStyles, UnderlinesBringOneClickActivationAndTheWindowsSetIs0x0129) {
    TExtListView view;
    view.SetExtendedStyles(lvxUnderlineHot);
    EXPECT_EQ(view.ExtendedStyles(), lvxOneClickActivate | lvxUnderlineHot);
    view.SetExtendedStyles(lvxUnderlineHot | lvxTwoClickActivate);
    EXPECT_EQ(view.ExtendedStyles(), lvxUnderlineHot | lvxTwoClickActivate);
    view.SetExtendedStyles(lvxUnderlineCold);
    EXPECT_EQ(view.ExtendedStyles(), lvxOneClickActivate | lvxUnderlineCold);
    view.SetExtendedStyles(lvxGridLines | lvxTrackSelect | lvxFullRowSelect | lvxFlatScrollBar);
    EXPECT_EQ(view.ExtendedStyle(), 0x0129u);
    EXPECT_EQ(BitsToExtendedStyles(0xFFFF), 0x7FFu); // bits outside the table dropped
}

TEST(ExtListViewHeader, ArrowsOnlyWhenSortingCanHappenCaptionsAlwaysDrawn) {
    TExtListView view;
    TTestListView test(view, 400, 100);
    Columns(view);
    view.SetShowSortArrows(true);
    view.SetReverseSortArrows(true);
    view.Loaded();
    ASSERT_TRUE(view.HeaderItemOwnerDraw(0));
    // No auto sort, no sort event: no arrow, captions 4 pixels in (plus the 2 of the frame).
    TRecordingCanvas& canvas = test.PaintAll();
    EXPECT_TRUE(HeaderCalls(canvas, TDrawKind::Bitmap).empty());
    const auto texts = HeaderCalls(canvas, TDrawKind::DrawText);
    const TDrawCall* type = Text(texts, "Type");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Rect.Left, 2 + 4);
    view.SetAutoColumnSort(TAutoColumnSort::acsSort);
    const auto arrows = HeaderCalls(test.PaintAll(), TDrawKind::Bitmap);
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].Rect.Left, 2 + 4 + 4 * 8 + 8); // after the caption "Type"
    EXPECT_LT(arrows[0].Rect.Right, 75);
}

TEST(ExtListViewHeader, ReversedArrowsSwapThePictures) {
    TExtListView view;
    TTestListView test(view);
    view.SetShowSortArrows(true);
    const TBitmap* up = view.SortUpBitmap();
    ASSERT_NE(up, nullptr);
    const int s = up->Width();
    ASSERT_EQ(s, 8); // text height 13: 14 - 6
    // The upward picture has its shadow along the bottom; the downward its light on top.
    EXPECT_EQ(up->Pixel(1, s - 1), ColorToRGB(clBtnShadow));
    view.SetReverseSortArrows(true);
    EXPECT_EQ(view.SortUpBitmap()->Pixel(1, 0), ColorToRGB(clBtnHighlight));
    view.SetShowSortArrows(false);
    EXPECT_EQ(view.SortUpBitmap(), nullptr);
}

TEST(ExtListViewHeader, ColumnImagesOnlyWithinTheImageList) {
    TExtListView view;
    TTestListView test(view, 400, 100);
    Columns(view);
    TImageList images(16, 16);
    images.Add(TBitmap(32, 16));
    view.SetSmallImages(&images);
    view.SetShowSortArrows(true);
    view.ColumnsFormat().Add()->SetImageIndex(1);
    view.ColumnsFormat().Add()->SetImageIndex(2); // beyond the two images
    view.ColumnsFormat()[0]->SetImageAlignment(TColumnImageAlign::ciaLeftOfText);
    const auto pictures = HeaderCalls(test.PaintAll(), TDrawKind::Bitmap);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].Rect.Left, 2 + 4); // left of "Type", which moved right by 16 + 4
    // Without owner drawing the formats go to the control's own header items.
    view.SetShowSortArrows(false);
    EXPECT_EQ(view.Columns()[0]->Format() & LVCFMT_IMAGE, unsigned(LVCFMT_IMAGE));
    EXPECT_EQ(view.Columns()[0]->ImageIndex(), 1);
}

TEST(ExtListViewColumns, ReorderedColumnsMapPositionsAndTexts) {
    TExtListView view;
    Columns(view);
    view.Columns().Add()->SetCaption("Extra");
    TListItem* item = view.Items().Add();
    item->SetCaption("cap");
    item->AddSubItem("one");
    item->AddSubItem("two");
    const int order[] = {2, 0, 1};
    view.SetColumnOrder(3, order);
    EXPECT_EQ(view.ActualColumnIndex(0), 1);
    EXPECT_EQ(view.ActualColumnIndex(7), 0);
    EXPECT_EQ(view.GetActualColumn(0)->Caption(), "Extra");
    EXPECT_EQ(view.GetActualColumn(3), nullptr);
    EXPECT_EQ(view.GetSubItemText(0, -1), "two");
    EXPECT_EQ(view.GetSubItemText(0, 0), "cap");
    EXPECT_EQ(view.GetSubItemText(0, 1), "one");
    EXPECT_EQ(view.GetSubItemText(0, 5), "");
    EXPECT_EQ(view.GetSubItemText(3, 0), "");
    int out[3] = {};
    EXPECT_FALSE(view.GetColumnOrder(2, out));
    EXPECT_TRUE(view.GetColumnOrder(3, out));
    EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{2, 0, 1}));
}

TEST(ExtListViewOwnerDraw, EventsMeasureDrawAndSkipDefaults) {
    TExtListView view;
    TTestListView test(view, 400, 19 + 3 * 20);
    Columns(view);
    for (const char* v : {"a", "b"}) {
        TListItem* item = view.Items().Add();
        item->SetCaption(v);
        item->AddSubItem(std::string("sub ") + v);
    }
    struct TDraw {
        std::vector<std::string> Log;
        void Measure(TObject*, unsigned& h) { h = 20; }
        void Item(TObject*, TCanvas&, int index, TRect, unsigned, bool& def, bool& full) {
            Log.push_back("item " + std::to_string(index) + (full ? " full" : ""));
            def = index != 1; // row 1 is drawn by the handler alone
        }
        void Sub(TObject*, TCanvas&, int index, int sub, TRect r, unsigned, bool& def) {
            def = sub >= 0; // with a handler the default drawing must be asked for
            Log.push_back("cell " + std::to_string(index) + "," + std::to_string(sub) + " at " +
                          std::to_string(r.Left));
        }
    } draw;
    view.OnMeasureItem = TLVMeasureItemEvent::bind<&TDraw::Measure>(&draw);
    view.OnDrawItem = TLVDrawItemEvent::bind<&TDraw::Item>(&draw);
    view.OnDrawSubItem = TLVDrawSubItemEvent::bind<&TDraw::Sub>(&draw);
    view.SetExtendedStyles(lvxFullRowSelect);
    view.SetStyle(TLVStyle::lvOwnerDrawFixed);
    EXPECT_EQ(view.RowHeight(), 20);
    const TRecordingCanvas& canvas = test.PaintAll();
    EXPECT_EQ(draw.Log, (std::vector<std::string>{"item 0 full", "cell 0,-1 at 4",
                                                  "cell 0,0 at 77", "item 1 full"}));
    std::vector<std::string> texts;
    for (const TDrawCall& call : canvas.CallsOf(TDrawKind::DrawText))
        if (call.Rect.Top >= 19) texts.push_back(call.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"sub a"}));
}

TEST(ExtListViewVirtual, RowsComeFromTheEventWithinTheBuffer) {
    TExtListView view;
    TTestListView test(view, 400, 19 + 17 * 3);
    Columns(view);
    view.Items().Add()->SetCaption("dropped");
    view.SetVirtualMode(true);
    EXPECT_EQ(view.Items().Count(), 0);
    view.SetVirtualItemCount(500, LVSICF_NOSCROLL);
    EXPECT_EQ(view.ItemCount(), 500);
    struct TData {
        std::vector<std::pair<int, int>> Cache;
        void Get(TObject*, int item, int sub, TLVVMMaskItems mask, int&, std::intptr_t&,
                 unsigned&, int&, std::string& text) {
            if (mask & LVIF_TEXT) text = std::string(2000, 'x') + std::to_string(item * 10 + sub);
        }
        void Hint(TObject*, TLVCacheHint& hint) { Cache.emplace_back(hint.From, hint.To); }
    } data;
    view.OnVMGetItemInfo = TLVVMGetItemInfoEvent::bind<&TData::Get>(&data);
    view.OnVMCacheHint = TLVVMCacheHintEvent::bind<&TData::Hint>(&data);
    EXPECT_EQ(view.ItemText(3, 1).size(), 1023u); // cut to the buffer, terminator included
    test.PaintAll();
    EXPECT_EQ(data.Cache, (std::vector<std::pair<int, int>>{{0, 2}}));
}

TEST(ExtListViewEvents, HotTrackActivateAndMarquee) {
    TExtListView view;
    TTestListView test(view);
    Columns(view);
    for (int i = 0; i < 5; ++i) view.Items().Add()->SetCaption("r" + std::to_string(i));
    struct TEvents {
        int Activations = 0;
        bool AllowMarquee = false;
        void Hot(TObject*, int& index, int, TPoint, bool& allow) {
            if (index == 4) allow = false;
            if (index == 3) index = 0;
        }
        void Activate(TObject*) { ++Activations; }
        void Marquee(TObject*, bool& can) { can = AllowMarquee; }
    } events;
    view.OnHotTrack = TLVHotTrackEvent::bind<&TEvents::Hot>(&events);
    view.OnItemActivate = TNotifyEvent::bind<&TEvents::Activate>(&events);
    view.OnMarqueeBegin = TLVMarqueeBeginEvent::bind<&TEvents::Marquee>(&events);
    view.SetExtendedStyles(lvxTrackSelect);
    test.Hover(test.RowPoint(3));
    EXPECT_EQ(view.HotItem(), 0);
    test.Hover(test.RowPoint(4));
    EXPECT_EQ(view.HotItem(), 0);
    test.DoubleClick(test.RowPoint(2));
    EXPECT_EQ(events.Activations, 1);
    view.SetMultiSelect(true);
    test.Drag({10, 150}, {10, 20}); // from below the rows up to the first
    EXPECT_EQ(view.SelCount(), 0);
    events.AllowMarquee = true;
    test.Drag({10, 150}, {10, 20});
    EXPECT_EQ(view.SelCount(), 5);
}

TEST(ExtListViewVersion, TheVersionCheckComparesPartByPart) {
    EXPECT_TRUE(VersionAtLeast({4, 70, 0, 0}, 4, 70, 0, 0));
    EXPECT_FALSE(VersionAtLeast({4, 69, 99, 99}, 4, 70, 0, 0));
    EXPECT_TRUE(VersionAtLeast({5, 0, 0, 0}, 4, 70, 0, 0));
    TExtListView view;
    EXPECT_NO_THROW(view.SetRequireComCtlUpdate(true));
    EXPECT_TRUE(view.RequireComCtlUpdate());
    EXPECT_FALSE(view.CheckComCtlVersion(99, 0, 0, 0));
    EXPECT_EQ(view.Version(), "TExtListView v3.50");
}
