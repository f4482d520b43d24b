#pragma once
// THTMListbox: a list box whose item strings carry the small markup of HtmlMarkup.h, each
// item drawn by the markup renderer. Clicking a link opens it when it is a web or mail
// address (through the desktop, never a shell) and raises OnAnchorClick otherwise; moving
// over a link raises OnAnchorEnter and shows the hand pointer. Items are ItemHeight pixels
// high, or, with Multiline, as high as their text wrapped to the list's width.
//
// Items scroll by whole items. With MultiSelect every item has its own selected flag and
// ItemIndex is the item with the focus; ExtendedSelect adds Shift and Ctrl ranges.

#include "platform/Control.h"
#include "platform/Font.h"

#include <memory>
#include <string>
#include <vector>

namespace ondrex {

class TCanvas;
class TImageList;
class THTMListbox;

// Sender, item index, link target.
using TAnchorClick = TEvent<TObject*, int, const std::string&>;

enum class TBorderStyle { bsNone, bsSingle };

// The item strings, with one data slot each. An index outside the list throws
// std::out_of_range "List index out of bounds (N)".
class THTMListboxItems {
public:
    int Count() const;
    const std::string& operator[](int index) const;
    // Appends, or inserts at its sorted place when the list box is Sorted; the index it got.
    int Add(const std::string& text);
    void Insert(int index, const std::string& text);
    void Delete(int index);
    void Clear();
    // Replaces the text; the data slot and the selection stay.
    void Put(int index, const std::string& text);
    void* Objects(int index) const;
    void SetObjects(int index, void* data);

private:
    friend class THTMListbox;
    explicit THTMListboxItems(THTMListbox& owner) : owner_(owner) {}
    THTMListbox& owner_;
};

class THTMListbox : public TCustomControl {
public:
    THTMListbox();
    ~THTMListbox() override;

    std::string ClassName() const override { return "THTMListbox"; }

    THTMListboxItems& Items() { return items_; }
    const THTMListboxItems& Items() const { return items_; }

    // The selected item (single selection) or the item with the focus; -1 for none. An
    // index outside the items selects none. The item is scrolled into view.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    // Items selected; -1 without MultiSelect.
    int SelCount() const;

    // The first item shown.
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    // The item at a client point; -1 when there is none.
    int ItemAtPos(int x, int y) const;
    // Where item `index` is drawn (client pixels); empty when it is scrolled out of view.
    TRect ItemRect(int index) const;
    int ItemHeightOf(int index) const;

    // Kept at least 1.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool multiline);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool extended) { extendedSelect_ = extended; }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor color);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    // Not owned; dropped when the image list is destroyed.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

    // The items' font; a change re-measures and repaints.
    TFont Font;

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;

protected:
    void Paint(TCanvas& canvas, const TRect& clip) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    bool MouseWheel(TShiftState shift, int delta, int x, int y) override;
    void FocusIn() override;
    void FocusOut() override;
    void Resize() override;
    TCursor CursorAt(int x, int y) override;
    void Scroll(TScrollBarKind bar, int code, int pos) override;

    // The canvas items are measured and hit-tested on outside a paint.
    virtual std::unique_ptr<TCanvas> CreateMeasureCanvas();

private:
    friend class THTMListboxItems;
    struct TItem {
        std::string Text;
        void* Data = nullptr;
        int Height = 0; // measured, used with Multiline
        bool Selected = false;
    };

    TItem& At(int index);
    const TItem& At(int index) const;
    void InsertItem(int index, const std::string& text);
    void DeleteItem(int index);
    void ClearItems();
    void PutItem(int index, const std::string& text);
    int SortedPosition(const std::string& text) const;

    TCanvas& MeasureCanvas();
    int MeasureItem(const std::string& text);
    void RemeasureAll();
    void FontChanged(TObject*);
    void ImagesFreed(TObject* sender);

    TRect ItemsArea() const;
    int MaxTopIndex() const;
    // Items wholly in view from the top one; at least 1.
    int PageItems() const;
    void UpdateScrollBar();
    void MakeVisible(int index);
    void InvalidateItem(int index);
    void DrawItem(TCanvas& canvas, int index, const TRect& rect);
    // The link under a client point: its item and target.
    bool LinkAt(int x, int y, int& index, std::string& target);
    void SelectFromMouse(int index, TShiftState shift);
    void MoveFocusTo(int index, TShiftState shift);
    void SelectRange(int from, int to);

    THTMListboxItems items_{*this};
    std::vector<TItem> list_;
    int itemIndex_ = -1;
    int anchor_ = -1;
    int topIndex_ = 0;
    int itemHeight_ = 16;
    bool multiline_ = false;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool sorted_ = false;
    bool remeasuring_ = false;
    TColor color_;
    TColor urlColor_;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    TImageList* images_ = nullptr;
    TEventBindings imagesNotice_;
    TCursor linkCursor_ = crDefault;
    std::unique_ptr<TCanvas> measure_;
};

} // namespace ondrex
