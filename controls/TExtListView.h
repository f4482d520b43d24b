#pragma once
// TCustomExtListView / TExtListView: the enhanced list view with the extended list-view
// styles as a set, images in column headers (ColumnsFormat), header drag-and-drop column
// order saved with the other settings, hover time, an owner-data ("virtual") mode whose
// rows are asked for through events, hot-track, marquee and item-activate events, and a
// version check against the platform list view.
//
// A stored column order is always repaired to a permutation of the columns before the list
// view gets it (RepairColumnOrder).

#include "controls/TCustomEnhListView.h"

#include <stdexcept>
#include <vector>

namespace ondrex {

// The extended styles; each constant is its own bit of the set (bit i is element i).
enum TLVExtendedStyle : unsigned {
    lvxGridLines = 1u << 0,
    lvxSubItemImages = 1u << 1,
    lvxCheckboxes = 1u << 2,
    lvxTrackSelect = 1u << 3,
    lvxHeaderDragDrop = 1u << 4,
    lvxFullRowSelect = 1u << 5,
    lvxOneClickActivate = 1u << 6,
    lvxTwoClickActivate = 1u << 7,
    lvxFlatScrollBar = 1u << 8,
    lvxUnderlineHot = 1u << 9,
    lvxUnderlineCold = 1u << 10,
};
using TLVExtendedStyles = unsigned;

// The list-view styles (LVS_EX_*) of a set, and back (bits outside the table dropped).
unsigned ExtendedStylesToBits(TLVExtendedStyles styles);
TLVExtendedStyles BitsToExtendedStyles(unsigned bits);

// `stored` made a permutation of 0..count-1: its valid entries (in range, first
// occurrence) in order, then the missing columns ascending.
std::vector<int> RepairColumnOrder(const std::vector<int>& stored, int count);

class EELVException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EELVOldComCtl : public EELVException {
public:
    using EELVException::EELVException;
};

enum class TColumnImageAlign : std::uint8_t { ciaLeftOfText, ciaRightOfText };

class TExtListColumns;

class TExtListColumn {
public:
    int Index() const { return index_; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    TColumnImageAlign ImageAlignment() const { return imageAlignment_; }
    void SetImageAlignment(TColumnImageAlign alignment);
    void Assign(const TExtListColumn& other);

private:
    friend class TExtListColumns;
    explicit TExtListColumn(TExtListColumns& owner) : owner_(&owner) {}

    TExtListColumns* owner_;
    int index_ = 0;
    int imageIndex_ = -1;
    TColumnImageAlign imageAlignment_ = TColumnImageAlign::ciaRightOfText;
};

class TCustomExtListView;

class TExtListColumns {
public:
    explicit TExtListColumns(TCustomExtListView* owner) : owner_(owner) {}
    TExtListColumns(const TExtListColumns&) = delete;
    TExtListColumns& operator=(const TExtListColumns&) = delete;

    int Count() const { return int(items_.size()); }
    TExtListColumn* Item(int index) const;
    TExtListColumn* operator[](int index) const { return Item(index); }
    TExtListColumn* Add();
    void Clear();
    // Becomes a copy of `other` (cleared first).
    void Assign(const TExtListColumns& other);

private:
    friend class TExtListColumn;
    void Changed();

    TCustomExtListView* owner_;
    std::vector<std::unique_ptr<TExtListColumn>> items_;
};

class TExtLVSaveSettings : public TEnhLVSaveSettings {
public:
    std::string ClassName() const override { return "TExtLVSaveSettings"; }
    bool SaveColumnOrder = true;
};

// Whether `have` is at least the version asked for (the first differing part decides).
bool VersionAtLeast(const TListViewVersion& have, int major, int minor, int release, int build);

// The text, image, param, state and indent flags (LVIF_* bits of the same rank).
using TLVVMMaskItems = unsigned;

using TLVMarqueeBeginEvent = TEvent<TObject*, bool&>;
// Sender, in-out row, sub-item, pointer, in-out allow.
using TLVHotTrackEvent = TEvent<TObject*, int&, int, TPoint, bool&>;
// Sender, row, sub-item, mask, in-out image, param, state, indent, text.
using TLVVMGetItemInfoEvent = TEvent<TObject*, int, int, TLVVMMaskItems, int&, std::intptr_t&,
                                     unsigned&, int&, std::string&>;
using TLVVMCacheHintEvent = TEvent<TObject*, TLVCacheHint&>;
// Sender, in-out search, in-out found row (preset -1).
using TLVVMFindItemEvent = TEvent<TObject*, TLVFindInfo&, int&>;
using TLVVMStateChangedEvent = TEvent<TObject*, TLVStateChange&>;

class TCustomExtListView : public TCustomEnhListView {
public:
    TCustomExtListView();
    ~TCustomExtListView() override;

    std::string ClassName() const override { return "TCustomExtListView"; }

    void Loaded() override;

    TLVExtendedStyles ExtendedStyles() const;
    void SetExtendedStyles(TLVExtendedStyles styles);

    bool VirtualMode() const { return OwnerData(); }
    void SetVirtualMode(bool on);
    void SetVirtualItemCount(int count, unsigned flags);
    int VirtualItemCount() const { return virtualItemCount_; }
    unsigned VirtualItemCountFlags() const { return virtualItemCountFlags_; }

    // The order of the columns; false (array untouched) when `count` is not the column
    // count.
    bool GetColumnOrder(int count, int* array);
    // Stores a repaired copy of the first `count` entries and applies it.
    void SetColumnOrder(int count, const int* array);
    using TCustomListView::SetColumnOrder;

    void SetSmallImages(TImageList* images) override;
    void SetShowSortArrows(bool show) override;
    TExtListColumns& ColumnsFormat() { return columnsFormat_; }
    void SetColumnsFormat(const TExtListColumns& format) { columnsFormat_.Assign(format); }
    void ApplyColumnFormat(int index);
    void ApplyColumnFormats();

    bool RequireComCtlUpdate() const { return requireComCtlUpdate_; }
    // Raises EELVOldComCtl when on and the platform list view is older than 4.70.
    void SetRequireComCtlUpdate(bool on);
    bool CheckComCtlVersion(int major, int minor, int release, int build) const;

    TExtLVSaveSettings& SaveSettings() override { return saveSettings_; }
    bool WriteSettings() override;
    bool ReadSettings() override;

    int ActualColumnIndex(int index) override;
    TListColumn* GetActualColumn(int position) override;
    std::string GetSubItemText(int index, int subItem) override;

    TLVMarqueeBeginEvent OnMarqueeBegin;
    TNotifyEvent OnItemActivate;
    TLVHotTrackEvent OnHotTrack;
    TLVVMGetItemInfoEvent OnVMGetItemInfo;
    TLVVMCacheHintEvent OnVMCacheHint;
    TLVVMFindItemEvent OnVMFindItem;
    TLVVMStateChangedEvent OnVMStateChanged;

protected:
    std::string VersionText() const override { return "TExtListView v3.50"; }
    bool HeaderArrowShown(int index) override;
    bool HeaderImage(int index, int& image, bool& rightOfText) override;
    void DoDrawItem(TCanvas& canvas, int index, TRect rect, unsigned state, bool& defaultDrawing,
                    bool& fullRowSelect) override;
    void HeaderBeginTrack(int column) override;

    bool MarqueeBegin() override;
    void ItemActivate() override;
    bool HotTrackItem(int& index, int subItem, TPoint where) override;
    void GetDispInfo(TLVDispInfo& info) override;
    void CacheHint(const TLVCacheHint& hint) override;
    int FindItem(TLVFindInfo& info) override;
    void StateChanged(const TLVStateChange& change) override;

private:
    std::vector<int> CurrentOrder();

    std::vector<int> storedOrder_;
    TExtListColumns columnsFormat_;
    TExtLVSaveSettings saveSettings_;
    bool requireComCtlUpdate_ = false;
    int virtualItemCount_ = 0;
    unsigned virtualItemCountFlags_ = 0;
};

class TExtListView : public TCustomExtListView {
public:
    std::string ClassName() const override { return "TExtListView"; }
};

} // namespace ondrex
