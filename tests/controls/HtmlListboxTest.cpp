// The HTML list box in a test host: items measured and painted on recording canvases with
// cells of 6 x 10 pixels, mouse and keys sent as a window would.

#include "controls/THTMListbox.h"
#include "platform/Bitmap.h"
#include "platform/ImageList.h"
#include "platform/OpenUrl.h"
#include "platform/SystemColors.h"
#include "platform/testing/TestControlHost.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ondrex;

namespace {

constexpr int kCell = 6;
constexpr int kLine = 10;

class TListbox : public THTMListbox {
protected:
    std::unique_ptr<TCanvas> CreateMeasureCanvas() override {
        return std::make_unique<TRecordingCanvas>();
    }
};

struct Listbox : ::testing::Test {
    TListbox list;
    std::unique_ptr<TTestControlHost> host;
    std::vector<std::string> opened;
    TUrlHandlerOverride desktop{[this](const std::string& url) {
        opened.push_back(url);
        return true;
    }};
    std::vector<std::string> anchors;

    Listbox() {
        list.Font.SetHeight(kLine);
        list.SetBorderStyle(TBorderStyle::bsNone);
        list.SetBounds(0, 0, 120, 64);
        host = std::make_unique<TTestControlHost>(list);
        list.OnAnchorClick = TAnchorClick::fromFunction(
            [](void* self, TObject*, int index, const std::string& target) {
                static_cast<Listbox*>(self)->anchors.push_back("click " + std::to_string(index) +
                                                               " " + target);
            },
            this);
        list.OnAnchorEnter = TAnchorClick::fromFunction(
            [](void* self, TObject*, int index, const std::string& target) {
                static_cast<Listbox*>(self)->anchors.push_back("enter " + std::to_string(index) +
                                                               " " + target);
            },
            this);
    }

    void Fill(std::initializer_list<const char*> items) {
        for (const char* item : items)
            list.Items().Add(item);
    }
    void Click(int x, int y, TShiftState shift = 0) {
        host->SendMouseDown(TMouseButton::mbLeft, shift | ssLeft, x, y);
        host->SendMouseUp(TMouseButton::mbLeft, shift, x, y);
    }
    void Key(std::uint16_t key, TShiftState shift = 0) { host->SendKeyDown(key, shift); }
};

} // namespace

TEST_F(Listbox, KeepsItemsInOrderWithTheirData) {
    Fill({"one", "two"});
    int data = 0;
    list.Items().SetObjects(1, &data);
    list.Items().Insert(0, "zero");
    EXPECT_EQ(list.Items().Count(), 3);
    EXPECT_EQ(list.Items()[2], "two");
    EXPECT_EQ(list.Items().Objects(2), &data);
    list.SetItemIndex(2);
    list.Items().Put(2, "TWO");
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(list.Items().Objects(2), &data);
    list.Items().Delete(0);
    EXPECT_EQ(list.ItemIndex(), 1); // follows its item
    list.Items().Delete(1);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_THROW(list.Items()[5], std::out_of_range);
    EXPECT_THROW(list.Items().Delete(-1), std::out_of_range);
    EXPECT_THROW(list.Items().Insert(3, "x"), std::out_of_range);
    list.SetItemIndex(7);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.Items().Clear();
    EXPECT_EQ(list.Items().Count(), 0);
}

TEST_F(Listbox, SortedListsPlaceItemsWhateverTheirCase) {
    Fill({"beta", "Alpha"});
    list.SetItemIndex(0);
    list.SetSorted(true);
    EXPECT_EQ(list.Items()[0], "Alpha");
    EXPECT_EQ(list.ItemIndex(), 1);         // still "beta"
    EXPECT_EQ(list.Items().Add("BETA"), 1); // equal but for case: byte order
    EXPECT_EQ(list.Items().Add("al"), 0);
}

TEST_F(Listbox, MultilineItemsAreAsHighAsTheirWrappedText) {
    Fill({"a<BR>b", "one line"});
    EXPECT_EQ(list.ItemHeightOf(0), 16);
    list.SetMultiline(true);
    EXPECT_EQ(list.ItemHeightOf(0), 2 * kLine + 4);
    EXPECT_EQ(list.ItemHeightOf(1), kLine + 4);
    // Narrower, the second item wraps.
    list.SetBounds(0, 0, 40, 64);
    EXPECT_EQ(list.ItemHeightOf(1), 2 * kLine + 4);
    list.Items().Add("x<br>y<br>z");
    EXPECT_EQ(list.ItemHeightOf(2), 3 * kLine + 4);
    EXPECT_EQ(list.ItemRect(1), (TRect{0, 24, 40, 48}));
    EXPECT_EQ(list.ItemAtPos(5, 30), 1);
    EXPECT_EQ(list.ItemAtPos(5, 63), 2);
    list.SetMultiline(false);
    EXPECT_EQ(list.ItemHeightOf(2), 16);
}

TEST_F(Listbox, PaintsSelectedItemsInTheHighlightColours) {
    Fill({"<a href=\"x\">link</a>", "<a href=\"x\">link</a>"});
    list.SetURLColor(clRed);
    list.SetItemIndex(1);
    host->Focus();
    TRecordingCanvas& canvas = host->PaintAll();
    const auto backgrounds = canvas.CallsOf(TDrawKind::Rectangle);
    ASSERT_EQ(backgrounds.size(), 2u);
    EXPECT_EQ(backgrounds[0].BkColor, ColorToRGB(clWindow));
    EXPECT_EQ(backgrounds[1].BkColor, ColorToRGB(clHighlight));
    EXPECT_EQ(backgrounds[1].Rect, (TRect{0, 16, 120, 32}));
    const auto words = canvas.CallsOf(TDrawKind::DrawText);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].Color, clRed);
    EXPECT_EQ(words[1].Color, ColorToRGB(clHighlightText));
    const auto focus = canvas.CallsOf(TDrawKind::FocusRect);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].Rect, backgrounds[1].Rect);
    // Below the items, the list's colour.
    EXPECT_EQ(canvas.CallsOf(TDrawKind::FillRect).back().Rect, (TRect{0, 32, 120, 64}));
}

TEST_F(Listbox, SingleLineItemsDrawOnlyTheLinesThatFit) {
    Fill({"first<BR>second"});
    TRecordingCanvas& canvas = host->PaintAll();
    const auto words = canvas.CallsOf(TDrawKind::DrawText);
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].Text, "first");
    EXPECT_EQ(words[0].Clip, (TRect{0, 0, 120, 16})); // kept inside its item
}

TEST_F(Listbox, ClickingALinkOpensItOrReportsItInsteadOfSelecting) {
    Fill({"plain", "<a href=\"mailto:me@example.org\">mail</a>", "go <a href=\"next\">on</a>",
          "<a href=\"https://example.org\">web</a>"});
    int downs = 0;
    list.OnMouseDown = TMouseEvent::fromFunction(
        [](void* n, TObject*, TMouseButton, TShiftState, int, int) { ++*static_cast<int*>(n); },
        &downs);
    Click(kCell, 16 + 5);
    Click(4 * kCell, 32 + 5);
    Click(kCell, 48 + 5);
    EXPECT_EQ(opened, (std::vector<std::string>{"mailto:me@example.org", "https://example.org"}));
    EXPECT_EQ(anchors, (std::vector<std::string>{"click 2 next"}));
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(downs, 0);
    // Beside a link, the ordinary click.
    Click(kCell, 32 + 5);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(downs, 1);
}

TEST_F(Listbox, HoveringALinkReportsItAndShowsTheHand) {
    Fill({"go <a href=\"next\">on</a>"});
    host->SendMouseMove(0, 4 * kCell, 5);
    EXPECT_EQ(host->ShownCursor, crHandPoint);
    host->SendMouseMove(0, 4 * kCell + 1, 5);
    EXPECT_EQ(anchors, (std::vector<std::string>{"enter 0 next", "enter 0 next"}));
    host->SendMouseMove(0, 40, 40); // over no item: unchanged
    EXPECT_EQ(host->ShownCursor, crHandPoint);
    host->SendMouseMove(0, kCell, 5);
    EXPECT_EQ(host->ShownCursor, crArrow);
    EXPECT_EQ(anchors.size(), 2u);
}

TEST_F(Listbox, KeysMoveTheSelectionAndScrollItIntoView) {
    for (int i = 0; i < 10; ++i)
        list.Items().Add("item " + std::to_string(i));
    int clicks = 0;
    list.OnClick =
        TNotifyEvent::fromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &clicks);
    Key(VK_DOWN);
    EXPECT_EQ(list.ItemIndex(), 0);
    Key(VK_END);
    EXPECT_EQ(list.ItemIndex(), 9);
    EXPECT_EQ(list.TopIndex(), 6); // four 16-pixel items fit in 64
    EXPECT_EQ(host->ScrollBar(TScrollBarKind::sbVertical).Info.MaxPos(), 6);
    Key(VK_PRIOR);
    EXPECT_EQ(list.ItemIndex(), 6);
    Key(VK_HOME);
    EXPECT_EQ(list.TopIndex(), 0);
    EXPECT_EQ(clicks, 4);
    Key(VK_UP);
    EXPECT_EQ(clicks, 4); // nothing changed
    host->SendScroll(TScrollBarKind::sbVertical, SB_BOTTOM, 0);
    EXPECT_EQ(list.TopIndex(), 6);
    host->SendMouseWheel(0, 120, 5, 5);
    EXPECT_EQ(list.TopIndex(), 3);
    EXPECT_EQ(list.ItemAtPos(5, 5), 3);
}

TEST_F(Listbox, ExtendedSelectionTakesRangesAndToggles) {
    Fill({"a", "b", "c", "d"});
    list.SetMultiSelect(true);
    Click(5, 5);
    Click(5, 16 * 2 + 5, ssShift);
    EXPECT_EQ(list.SelCount(), 3);
    Click(5, 16 + 5, ssCtrl);
    EXPECT_FALSE(list.Selected(1));
    EXPECT_EQ(list.SelCount(), 2);
    Key(VK_DOWN, ssShift);
    EXPECT_TRUE(list.Selected(2));
    Click(5, 16 * 3 + 5);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_EQ(list.ItemIndex(), 3);
}

TEST_F(Listbox, DropsItsImageListWhenTheListIsDestroyed) {
    list.SetMultiline(true);
    Fill({"<img src=\"idx:0\">x"});
    auto images = std::make_unique<TImageList>(8, 30);
    images->Add(TBitmap(8, 30));
    TImageList other(4, 4);
    list.SetImages(images.get());
    EXPECT_EQ(list.ItemHeightOf(0), 30 + 4);
    EXPECT_EQ(host->PaintAll().CallsOf(TDrawKind::Bitmap).size(), 1u);

    images.reset();
    EXPECT_EQ(list.Images(), nullptr);
    EXPECT_EQ(list.ItemHeightOf(0), kLine + 4);
    EXPECT_TRUE(host->PaintAll().CallsOf(TDrawKind::Bitmap).empty());

    // A list given up before it goes is no longer listened to.
    auto old = std::make_unique<TImageList>();
    list.SetImages(old.get());
    list.SetImages(&other);
    old.reset();
    EXPECT_EQ(list.Images(), &other);
}
