#pragma once
// TCustomListView: the list-view control in report view. A header of columns over rows of
// items with sub-items, state and small images, check boxes, grid lines, selection (single
// or multiple), hot tracking with hover selection, one- and two-click activation, label
// editing, keyboard navigation, resizable and draggable header items, owner-drawn rows and
// header items, and an owner-data ("virtual") mode where the rows' data live elsewhere.
//
// It is a TCustomControl like any other: on screen a TQtControlHost holds it (its Widget()
// goes into a Qt layout), in tests a TTestControlHost, so everything here runs without a
// display. What a derived control may want to change is a protected virtual hook named
// after the notification it stands for (column click, hot track, item activate, ...).
//
// Layout: the header is HeaderHeight() pixels at the top of the client area (0 when column
// headers are hidden); rows of RowHeight() follow. The vertical scroll bar counts rows, the
// horizontal one pixels. Columns are shown in ColumnOrder(): position p shows column
// ColumnOrder()[p].

#include "platform/Control.h"
#include "platform/Font.h"
#include "platform/ListItems.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ondrex {

class TBitmap;
class TCanvas;
class TImageList;
class TLabelEditor;
class TTimer;

// Extended styles, as the list-view control numbers them.
enum : unsigned {
    LVS_EX_GRIDLINES = 0x0001,
    LVS_EX_SUBITEMIMAGES = 0x0002,
    LVS_EX_CHECKBOXES = 0x0004,
    LVS_EX_TRACKSELECT = 0x0008,
    LVS_EX_HEADERDRAGDROP = 0x0010,
    LVS_EX_FULLROWSELECT = 0x0020,
    LVS_EX_ONECLICKACTIVATE = 0x0040,
    LVS_EX_TWOCLICKACTIVATE = 0x0080,
    LVS_EX_FLATSB = 0x0100, // kept; the toolkit's scroll bars are already flat
    LVS_EX_UNDERLINEHOT = 0x0800,
    LVS_EX_UNDERLINECOLD = 0x1000,
    LVS_EX_ALL = 0x19FF,
};

// Owner-draw item states.
enum : unsigned {
    ODS_SELECTED = 0x0001,
    ODS_GRAYED = 0x0002,
    ODS_DISABLED = 0x0004,
    ODS_CHECKED = 0x0008,
    ODS_FOCUS = 0x0010,
    ODS_HOTLIGHT = 0x0040,
};

// Flags of SetItemCount in owner-data mode.
enum : unsigned { LVSICF_NOINVALIDATEALL = 0x0001, LVSICF_NOSCROLL = 0x0002 };

// What owner-data rows are asked for (LVIF_* bits).
enum : unsigned {
    LVIF_TEXT = 0x0001,
    LVIF_IMAGE = 0x0002,
    LVIF_PARAM = 0x0004,
    LVIF_STATE = 0x0008,
    LVIF_INDENT = 0x0010,
};

enum class TViewStyle : std::uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TItemChange : std::uint8_t { ctText, ctImage, ctState };

// Where a point lies (THitTestInfo::Flags).
enum : unsigned {
    LVHT_NOWHERE = 0x0001,
    LVHT_ONITEMICON = 0x0002,
    LVHT_ONITEMLABEL = 0x0004,
    LVHT_ONITEMSTATEICON = 0x0008,
    LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON,
    LVHT_ONHEADER = 0x0100,
    LVHT_ONDIVIDER = 0x0200,
};

struct THitTestInfo {
    unsigned Flags = LVHT_NOWHERE;
    int Item = -1;    // row
    int SubItem = -1; // column index (0 the caption) under the point, -1 none
    int Header = -1;  // column index of the header item (or of the divider's left item)
};

// An owner-data row's data, filled by GetDispInfo. Text holds at most TextMax - 1 bytes.
struct TLVDispInfo {
    int Item = -1;
    int SubItem = 0; // 0 the caption, i the sub-item i - 1
    unsigned Mask = 0;
    std::string Text;
    std::size_t TextMax = 1024;
    int Image = -1;
    std::intptr_t Param = 0;
    unsigned State = 0;
    unsigned StateMask = 0;
    int Indent = 0;
};

// Rows about to be painted in owner-data mode.
struct TLVCacheHint {
    int From = 0;
    int To = -1;
};

// An incremental search in owner-data mode: the typed text, where to start, whether the
// search wraps around.
struct TLVFindInfo {
    unsigned Flags = 0;
    std::string Text;
    int Start = 0;
    bool Wrap = true;
};
enum : unsigned { LVFI_STRING = 0x0002, LVFI_PARTIAL = 0x0008, LVFI_WRAP = 0x0020 };

// Rows From..To changed their state from OldState to NewState in owner-data mode.
struct TLVStateChange {
    int From = 0;
    int To = 0;
    unsigned NewState = 0;
    unsigned OldState = 0;
};

// The version of this list-view control, for components that need a minimum one. It
// offers what version 5.82 of the classic common controls offered.
struct TListViewVersion {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
};
constexpr TListViewVersion ListViewControlVersion() {
    return {5, 82, 0, 0};
}

// Sender, item, the change.
using TLVChangeEvent = TEvent<TObject*, TListItem*, TItemChange>;
using TLVColumnClickEvent = TEvent<TObject*, TListColumn*>;
using TLVDeletedEvent = TEvent<TObject*, TListItem*>;
// Sender, item, in-out new caption.
using TLVEditedEvent = TEvent<TObject*, TListItem*, std::string&>;
// Sender, item, in-out allow.
using TLVEditingEvent = TEvent<TObject*, TListItem*, bool&>;
// Sender, item, selected.
using TLVSelectItemEvent = TEvent<TObject*, TListItem*, bool>;

// The comparison of a sort: negative when the first row comes first, positive when the
// second does, 0 when they are equal. It may be inconsistent; the sort stays safe.
using TLVCompare = std::function<int(const TListItem*, const TListItem*)>;

class TCustomListView : public TCustomControl {
public:
    TCustomListView();
    ~TCustomListView() override;

    std::string ClassName() const override { return "TCustomListView"; }

    TListItems& Items() { return items_; }
    const TListItems& Items() const { return items_; }
    TListColumns& Columns() { return columns_; }
    const TListColumns& Columns() const { return columns_; }

    // Only report view is drawn; the other styles are kept for whoever reads them back.
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style) { viewStyle_ = style; }

    // ---- Owner data ----------------------------------------------------------------------
    // In owner-data mode Items() stays empty: the rows are counted by SetItemCount and their
    // texts and images asked for through GetDispInfo. Switching clears every row.
    bool OwnerData() const { return ownerData_; }
    void SetOwnerData(bool ownerData);
    void SetItemCount(int count, unsigned flags = 0);
    // The rows shown: Items().Count(), or the owner-data count.
    int ItemCount() const;

    // ---- Styles --------------------------------------------------------------------------
    unsigned ExtendedStyle() const { return exStyle_; }
    // Sets the styles in `mask` (0: all) to those of `style`.
    void SetExtendedStyle(unsigned mask, unsigned style);
    bool HasExStyle(unsigned style) const { return (exStyle_ & style) != 0; }
    void SetExStyle(unsigned style, bool on) { SetExtendedStyle(style, on ? style : 0u); }
    // Rows drawn by DrawItem (of RowHeight from MeasureItem).
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multi);
    // Captions can be edited in place unless read-only.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Header items act as buttons (and report clicks) when on.
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool on);
    // Selection is drawn only while focused when on.
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide);
    bool ShowColumnHeaders() const { return showHeaders_; }
    void SetShowColumnHeaders(bool show);
    // Milliseconds the pointer rests on a row before hover selection takes it; -1 the
    // desktop's default (400).
    int HoverTime() const { return hoverTime_; }
    void SetHoverTime(int ms) { hoverTime_ = ms; }
    int SelectionMark() const { return selectionMark_; }
    void SetSelectionMark(int index) { selectionMark_ = index; }

    // A disabled list view is drawn greyed and takes no input.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFont& Font() { return font_; }
    // Behind the rows and between them: tiled when set (not owned), else Color().
    const TBitmap* BackgroundBitmap() const { return background_; }
    void SetBackgroundBitmap(const TBitmap* bitmap);

    // Image lists are not owned; a list destroyed while set must be unset first.
    TImageList* SmallImages() const { return smallImages_; }
    virtual void SetSmallImages(TImageList* images);
    TImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TImageList* images);

    // Text measuring outside a paint (tests give a recording canvas with fixed cells).
    void SetMeasureCanvas(std::unique_ptr<TCanvas> canvas);
    TCanvas& MeasureCanvas();

    // ---- Columns and header --------------------------------------------------------------
    std::vector<int> ColumnOrder() const { return order_; }
    // `order` must be a permutation of the column indexes; anything else is refused (false).
    bool SetColumnOrder(const std::vector<int>& order);
    // The column index shown at a position, and the position of a column; -1 out of range.
    int ColumnAtPosition(int position) const;
    int PositionOfColumn(int column) const;
    int HeaderHeight();
    // The header item of a column in client pixels (empty for a bad index).
    TRect HeaderItemRect(int column);
    bool HeaderItemOwnerDraw(int column) const;
    void SetHeaderItemOwnerDraw(int column, bool ownerDraw);
    void InvalidateHeaderItem(int column);
    // Width that fits the column's texts (and the caption with `useHeader`).
    int ContentWidth(int column, bool useHeader);

    // ---- Rows ----------------------------------------------------------------------------
    int RowHeight();
    int TopIndex() const { return top_; }
    void SetTopIndex(int index);
    int HorzOffset() const { return hOffset_; }
    // Rows that fit in the client area entirely.
    int VisibleRowCount();
    void EnsureVisible(int index);
    // The whole row (all columns, scrolled) and one cell; empty for a bad index.
    TRect ItemRect(int index);
    TRect CellRect(int index, int column);
    THitTestInfo HitTest(int x, int y);
    std::string ItemText(int index, int column);

    // ---- Selection and focus -------------------------------------------------------------
    bool IsSelected(int index) const;
    void SetItemSelected(int index, bool selected);
    // The first selected row, and its index (-1 none).
    TListItem* Selected() const;
    int ItemIndex() const;
    // Selects only `index` (-1: nothing), focuses it and makes it visible.
    void SetItemIndex(int index);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    int FocusedIndex() const { return focused_; }
    void SetFocusedIndex(int index);
    TListItem* ItemFocused() const { return items_.Item(focused_); }
    // The row under the pointer with hot tracking on; -1 none.
    int HotItem() const { return hot_; }

    // ---- Sorting -------------------------------------------------------------------------
    // Reorders the rows stably by `compare`; false in owner-data mode.
    bool CustomSort(const TLVCompare& compare);

    // ---- Label editing -------------------------------------------------------------------
    // Starts editing row `index`'s caption (asks CanEdit first); false when refused.
    bool EditCaption(int index);
    bool IsEditing() const;
    // The open editor, null when none.
    TLabelEditor* Editor() const { return editor_.get(); }
    // Ends the editing: accepting commits the editor's text, otherwise it is cancelled.
    void EndEditing(bool accept);

    // Called by the hover timer: the pointer rested on the hot row for the hover time.
    void HoverTimeElapsed();

    // ---- Events --------------------------------------------------------------------------
    TLVChangeEvent OnChange;
    TLVColumnClickEvent OnColumnClick;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;
    TLVEditedEvent OnEdited;
    TLVEditingEvent OnEditing;
    TLVSelectItemEvent OnSelectItem;
    // Told of every row whose selection changed, in either mode, for observers beside the
    // handlers above (assistive technology follows the selection through it).
    std::function<void(int row, bool selected)> SelectionObserver;

protected:
    // ---- Notifications a derived control may take over -----------------------------------
    // A header item was clicked (column clicks on). Raises OnColumnClick.
    virtual void ColumnClicked(int column);
    // A row was added. Raises OnInsert.
    virtual void ItemInserted(TListItem* item);
    // Whether a caption may be edited. Raises OnEditing.
    virtual bool CanEdit(TListItem* item);
    // Editing ended: `text` is the new caption, or null when the edit was cancelled. The
    // default raises OnEdited and sets the caption.
    virtual void EndLabelEdit(int index, const std::string* text);
    // The pointer moved onto row `index` (-1: off the rows); a handler may choose another
    // row. False keeps the hot row as it was.
    virtual bool HotTrackItem(int& index, int subItem, TPoint where);
    // A row was activated (double-click, Enter, or a click with one/two-click activation).
    virtual void ItemActivate() {}
    // A selection band is about to start; false stops it.
    virtual bool MarqueeBegin() { return true; }
    // Owner data: fill `info` for row info.Item.
    virtual void GetDispInfo(TLVDispInfo& info);
    virtual void CacheHint(const TLVCacheHint&) {}
    // Owner data: the row matching `info`, -1 none.
    virtual int FindItem(TLVFindInfo& info);
    virtual void StateChanged(const TLVStateChange&) {}
    // Owner-drawn rows: paint `rect` (the whole row, scrolled).
    virtual void DrawItem(TCanvas&, int /*index*/, const TRect& /*rect*/, unsigned /*state*/) {}
    // The height of owner-drawn rows: starts as the font's height of "Wy" + 1.
    virtual void MeasureItem(int& /*height*/) {}
    // Owner-drawn header items: paint `rect` in full.
    virtual void DrawHeaderItem(TCanvas&, int /*column*/, const TRect& /*rect*/, bool /*pressed*/) {
    }
    // Header item changes: a width changed, a resize is starting, a divider was
    // double-clicked (after the column was fitted), a drag moved a column.
    virtual void HeaderItemChanged(int /*column*/) {}
    virtual void HeaderBeginTrack(int /*column*/) {}
    virtual void HeaderDividerDblClick(int /*column*/) {}
    virtual void HeaderEndDrag() {}

    // ---- TCustomControl ----
    void Paint(TCanvas& canvas, const TRect& clip) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(std::string& character) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick(int x, int y) override;
    bool MouseWheel(TShiftState shift, int delta, int x, int y) override;
    void MouseLeave() override;
    void FocusIn() override;
    void FocusOut() override;
    void Resize() override;
    void Scroll(TScrollBarKind bar, int code, int pos) override;
    TCursor CursorAt(int x, int y) override;

    // The default painters, for derived controls that draw part themselves.
    void PaintRow(TCanvas& canvas, int index, const TRect& row);
    void PaintHeader(TCanvas& canvas);
    void DefaultDrawHeaderItem(TCanvas& canvas, int column, const TRect& rect, bool pressed);
    // The button look of a header item (raised, or sunken while pressed).
    void PaintHeaderFrame(TCanvas& canvas, const TRect& rect, bool pressed);
    // The owner-draw state of a row (ODS_*).
    unsigned ItemDrawState(int index) const;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    // A press being followed until the button is released.
    struct TMouseTrack {
        enum class TMode { Header, Resize, HeaderDrag, Row, Marquee };
        TMode Mode = TMode::Row;
        int Column = -1;
        TPoint Start;
        int StartWidth = 0;
        bool Pressed = false;
        int DropPosition = -1;
        int Row = -1;
        bool EditOnRelease = false;
    };

    // From the item and column stores.
    void SelectionChanging(TListItem& item, bool selected);
    void SelectionChanged(TListItem& item);
    void ItemChanged(TListItem& item, TItemChange change);
    void ItemAdded(TListItem& item);
    void ItemDeleting(TListItem& item);
    void ItemsCleared();
    void ItemsReordered();
    void ItemsUpdated();
    void ColumnsChanged(int column, bool layout);
    void ColumnAdded(int column);
    void ColumnDeleted(int column);

    void LayoutChanged();
    void UpdateScrollBars();
    void InvalidateRow(int index);
    void SetHot(int index);
    void SelectOnly(int index);
    void SelectRange(int from, int to);
    void MoveFocus(int index, TShiftState shift);
    void Activate();
    int TotalColumnWidth() const;
    int ColumnLeft(int column) const; // client x of the column's left edge
    int ColumnAtX(int x) const;
    int DividerAt(int x) const;
    int RowAtY(int y);
    void ToggleChecked(int index);
    int CheckBoxSize();
    int StateSlotWidth();
    void PaintBackground(TCanvas& canvas, const TRect& r);
    void PaintGridLines(TCanvas& canvas, const TRect& area);
    void PaintCell(TCanvas& canvas, int index, int column, const TRect& cell, bool selectedRow);
    void PaintCheckBox(TCanvas& canvas, int x, int y, bool checked);
    void IncrementalSearch(const std::string& character);
    int PressedHeaderItem() const;
    int HeaderDropPosition() const;
    void StartHoverTimer();
    void HoverTick(TObject*);
    void ShiftIndexes(int at, int delta);
    void FocusChanged(int before);
    void SetVirtualState(int index, unsigned mask, unsigned state);
    unsigned VirtualState(int index) const;

    TListItems items_;
    TListColumns columns_;
    TViewStyle viewStyle_ = TViewStyle::vsReport;
    bool ownerData_ = false;
    int virtualCount_ = 0;
    std::vector<std::uint8_t> virtualStates_; // owner data: LVIS_* per row
    unsigned exStyle_ = 0;
    bool ownerDraw_ = false;
    bool multiSelect_ = false;
    bool readOnly_ = false;
    bool columnClick_ = true;
    bool hideSelection_ = true;
    bool showHeaders_ = true;
    bool enabled_ = true;
    int hoverTime_ = -1;
    int selectionMark_ = -1;
    TColor color_;
    TFont font_;
    const TBitmap* background_ = nullptr;
    TImageList* smallImages_ = nullptr;
    TImageList* stateImages_ = nullptr;
    std::unique_ptr<TCanvas> measure_;

    std::vector<int> order_;            // position -> column
    std::vector<bool> headerOwnerDraw_; // by column
    int headerHeight_ = -1;             // -1: measure again
    int rowHeight_ = -1;

    int top_ = 0;
    int hOffset_ = 0;
    int focused_ = -1;
    int hot_ = -1;
    int anchor_ = -1;                     // start of a shift-range selection
    TListItem* singleSelected_ = nullptr; // the selected row without multi-select
    int selectedCount_ = 0;               // selected rows of Items()
    std::unique_ptr<TMouseTrack> track_;
    std::unique_ptr<TTimer> hoverTimer_;
    std::unique_ptr<TLabelEditor> editor_;
    int editIndex_ = -1;
    std::string search_; // incremental search text
    unsigned long long lastSearchKey_ = 0;
    TLVCacheHint lastHint_{0, -1};
};

// TListView: the list view with the framework's usual property names.
class TListView : public TCustomListView {
public:
    std::string ClassName() const override { return "TListView"; }

    bool GridLines() const { return HasExStyle(LVS_EX_GRIDLINES); }
    void SetGridLines(bool on) { SetExStyle(LVS_EX_GRIDLINES, on); }
    bool RowSelect() const { return HasExStyle(LVS_EX_FULLROWSELECT); }
    void SetRowSelect(bool on) { SetExStyle(LVS_EX_FULLROWSELECT, on); }
    bool HotTrack() const { return HasExStyle(LVS_EX_TRACKSELECT); }
    void SetHotTrack(bool on) { SetExStyle(LVS_EX_TRACKSELECT, on); }
    bool Checkboxes() const { return HasExStyle(LVS_EX_CHECKBOXES); }
    void SetCheckboxes(bool on) { SetExStyle(LVS_EX_CHECKBOXES, on); }
    bool FlatScrollBars() const { return HasExStyle(LVS_EX_FLATSB); }
    void SetFlatScrollBars(bool on) { SetExStyle(LVS_EX_FLATSB, on); }
};

} // namespace ondrex
