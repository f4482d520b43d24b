#pragma once
// The data of a report list view: its rows (TListItem in TListItems) and its columns
// (TListColumn in TListColumns). The list view owns both and is told of every change, so
// it can repaint and keep its scroll range.
//
// Memory: a row is one allocation of about 80 bytes plus its texts, which are kept together
// in one string (caption and sub-items, each with its length in front), so a row with a
// short caption and one short sub-item needs no second allocation.

#include "platform/DrawTextFlags.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TCustomListView;
class TListItems;

// Item states, as the list-view control numbers them.
enum : unsigned {
    LVIS_FOCUSED = 0x0001,
    LVIS_SELECTED = 0x0002,
    LVIS_CUT = 0x0004,
    LVIS_DROPHILITED = 0x0008,
};

class TListItem {
public:
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    TCustomListView* ListView() const { return owner_; }
    // The row's position; -1 once it was removed.
    int Index() const { return index_; }

    std::string Caption() const { return std::string(Text(0)); }
    void SetCaption(std::string_view caption) { SetText(0, caption); }

    // Sub-item i is the text of column i + 1.
    int SubItemCount() const;
    std::string SubItem(int i) const { return std::string(Text(i + 1)); }
    void AddSubItem(std::string_view text);
    // Sets sub-item i, adding empty ones before it when needed; a negative i does nothing.
    void SetSubItem(int i, std::string_view text);
    void DeleteSubItem(int i);
    void ClearSubItems();
    // The image shown in sub-item i's cell with sub-item images on; -1 none.
    int SubItemImage(int i) const;
    void SetSubItemImage(int i, int image);

    // Text of column `column` of this row: 0 the caption, i the sub-item i - 1; empty when
    // missing. Valid until the row's texts change.
    std::string_view Text(int column) const;

    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // The state image (index into the state image list; 0 based here); -1 none.
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int index);
    // 0..3 draws that overlay image; -1 none.
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int index);

    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }

    bool Selected() const { return state_ & LVIS_SELECTED; }
    void SetSelected(bool selected);
    bool Focused() const { return state_ & LVIS_FOCUSED; }
    void SetFocused(bool focused);
    bool Cut() const { return state_ & LVIS_CUT; }
    void SetCut(bool cut);
    bool DropTarget() const { return state_ & LVIS_DROPHILITED; }
    void SetDropTarget(bool target);
    unsigned State() const { return state_; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

    // Scrolls the row into view.
    void MakeVisible();
    // Removes the row from its list (and frees it).
    void Delete();

private:
    friend class TListItems;
    friend class TCustomListView;
    explicit TListItem(TCustomListView* owner) : owner_(owner) {}
    void SetText(int column, std::string_view text);
    void Changed();

    TCustomListView* owner_;
    std::string texts_; // per column: a varint length, then the bytes
    void* data_ = nullptr;
    std::unique_ptr<std::vector<int>> subItemImages_; // rare, so kept out of line
    int index_ = -1;
    int imageIndex_ = -1;
    std::int16_t stateIndex_ = -1;
    std::int8_t overlayIndex_ = -1;
    std::uint8_t state_ = 0;
    bool checked_ = false;
};

class TListItems {
public:
    explicit TListItems(TCustomListView* owner) : owner_(owner) {}
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    int Count() const { return int(items_.size()); }
    // Null when out of range.
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }

    TListItem* Add();
    // At `index` (clamped into 0..Count()).
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;

    // Between the two the list view neither repaints nor recomputes its layout per change.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Reorders the rows by `order`, a permutation of 0..Count()-1 (else false, unchanged).
    bool Reorder(const std::vector<int>& order);
    // The rows in order, for sorting: the caller must hand back a permutation of them.
    std::vector<TListItem*> Rows() const;
    void SetRows(std::vector<TListItem*> rows);

private:
    friend class TCustomListView;
    void Renumber(int from);

    TCustomListView* owner_;
    std::vector<std::unique_ptr<TListItem>> items_;
    int updateCount_ = 0;
};

// Column format bits, as the list-view control numbers them.
enum : unsigned {
    LVCFMT_LEFT = 0x0000,
    LVCFMT_RIGHT = 0x0001,
    LVCFMT_CENTER = 0x0002,
    LVCFMT_JUSTIFYMASK = 0x0003,
    LVCFMT_IMAGE = 0x0800,
    LVCFMT_BITMAP_ON_RIGHT = 0x1000,
};

// Special widths: fit the content, or the content and the caption (the last column then
// fills the rest of the window).
constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// The text flag that places a cell's or a header's caption as its column is aligned.
inline unsigned AlignFlags(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taRightJustify:
        return DT_RIGHT;
    case TAlignment::taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

class TListColumns;

class TListColumn {
public:
    int Index() const { return index_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int Width() const { return width_; }
    // LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER measure the column now.
    void SetWidth(int width);
    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment);
    // LVCFMT_* bits: alignment, header image and its side.
    unsigned Format() const { return format_; }
    void SetFormat(unsigned format);
    // The header image (index into the small image list), shown with LVCFMT_IMAGE.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int Tag = 0;

private:
    friend class TListColumns;
    explicit TListColumn(TListColumns& owner) : owner_(&owner) {}
    void Changed(bool layout);

    TListColumns* owner_;
    std::string caption_;
    int index_ = 0;
    int width_ = 50;
    unsigned format_ = LVCFMT_LEFT;
    int imageIndex_ = -1;
};

class TListColumns {
public:
    explicit TListColumns(TCustomListView* owner) : owner_(owner) {}
    TListColumns(const TListColumns&) = delete;
    TListColumns& operator=(const TListColumns&) = delete;

    int Count() const { return int(columns_.size()); }
    TListColumn* Item(int index) const;
    TListColumn* operator[](int index) const { return Item(index); }
    TListColumn* Add();
    void Delete(int index);
    void Clear();

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

private:
    friend class TListColumn;
    friend class TCustomListView;
    void Changed(int index, bool layout);

    TCustomListView* owner_;
    std::vector<std::unique_ptr<TListColumn>> columns_;
    int updateCount_ = 0;
    bool pending_ = false;
};

} // namespace ondrex
