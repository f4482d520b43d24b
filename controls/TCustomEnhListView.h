#pragma once
// TCustomEnhListView: the report list view with sorting by column (a smart comparison that
// recognises dates, times and numbers, or a sort event), an update counter that defers
// sorting during bulk changes, sort arrows in an owner-drawn header, column widths and the
// sort saved in the settings store, owner-drawn rows, cells and header items (each an event
// with a default painter), a background picture and an edit-cancelled event.
//
// Life cycle: construct, set the properties, then call Loaded() (what finishing a form's
// loading did): until then UpdateCount() is 1 and nothing sorts.
//
// Sorting is stable and safe whatever the comparison answers (see platform/MergeSort.h).

#include "controls/SmartCompare.h"
#include "platform/Bitmap.h"
#include "platform/ListView.h"

#include <memory>
#include <string>

namespace ondrex {

enum class TLVStyle : std::uint8_t { lvStandard, lvOwnerDrawFixed };
enum class TAutoColumnSort : std::uint8_t { acsNoSort, acsSort, acsSortToggle };
enum class TAutoSortStyle : std::uint8_t { assSmart, assDefault };

// Control, canvas, header item index, in-out rectangle, pressed, in-out default drawing.
using TLVHDrawItemEvent = TEvent<TObject*, TCanvas&, int, TRect&, bool, bool&>;
// Control, in-out row height.
using TLVMeasureItemEvent = TEvent<TObject*, unsigned&>;
// Control, canvas, row, rectangle, owner-draw state, in-out default drawing, in-out full row.
using TLVDrawItemEvent = TEvent<TObject*, TCanvas&, int, TRect, unsigned, bool&, bool&>;
// Control, canvas, row, sub-item (-1 the caption), rectangle, state, in-out default drawing.
using TLVDrawSubItemEvent = TEvent<TObject*, TCanvas&, int, int, TRect, unsigned, bool&>;
// Control, canvas, row, rectangle, state.
using TLVAfterDrawItemEvent = TEvent<TObject*, TCanvas&, int, TRect, unsigned>;
// Sender, first row, second row, compared sub-item (-1 the caption), in-out result.
using TLVSortItemsEvent = TEvent<TObject*, TListItem*, TListItem*, int, int&>;
// Sender, sort column, ascending.
using TLVSortStatusEvent = TEvent<TObject*, int, bool>;
using TLVEditCanceled = TEvent<TObject*, TListItem*>;

class TEnhLVSaveSettings : public TObject {
public:
    std::string ClassName() const override { return "TEnhLVSaveSettings"; }
    // Read in Loaded(), written when the control is destroyed.
    bool AutoSave = false;
    // Below HKEY_CURRENT_USER.
    std::string RegistryKey;
    bool SaveColumnSizes = true;
    bool SaveCurrentSort = true;
};

class TCustomEnhListView : public TListView {
public:
    // Margins of the default painters.
    static constexpr int TextMargin = 4;
    static constexpr int ImageMargin = 2;

    TCustomEnhListView();
    ~TCustomEnhListView() override;

    std::string ClassName() const override { return "TCustomEnhListView"; }

    // Finishes construction: background, saved settings, default sort, header owner draw.
    virtual void Loaded();
    bool Loading() const { return loading_; }

    // ---- Sorting -------------------------------------------------------------------------
    virtual void SortColumn(int column, bool ascending);
    // Sorts by `column` now; in toggle mode a column that is already the sort column keeps
    // the opposite of `ascending` as its recorded direction.
    virtual void SortColumnToggle(int column, bool ascending);
    virtual void Resort();
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    bool ResortPending() const { return resortPending_; }

    TAutoColumnSort AutoColumnSort() const { return autoColumnSort_; }
    void SetAutoColumnSort(TAutoColumnSort value);
    TAutoSortStyle AutoSortStyle() const { return autoSortStyle_; }
    void SetAutoSortStyle(TAutoSortStyle value);
    bool AutoResort() const { return autoResort_; }
    void SetAutoResort(bool value) { autoResort_ = value; }
    bool AutoSortAscending() const { return autoSortAscending_; }
    void SetAutoSortAscending(bool value);
    int CurrentSortColumn() const { return currentSortColumn_; }
    void SetCurrentSortColumn(int column);
    bool CurrentSortAscending() const { return currentSortAscending_; }
    void SetCurrentSortAscending(bool ascending);
    // Dates in the smart comparison are read in this format (the desktop's by default).
    void SetSortFormat(const TFormatSettings& format) { sortFormat_ = format; }

    // ---- Header arrows -------------------------------------------------------------------
    bool ShowSortArrows() const { return showSortArrows_; }
    virtual void SetShowSortArrows(bool show);
    bool ReverseSortArrows() const { return reverseSortArrows_; }
    void SetReverseSortArrows(bool reverse);
    // Present only while arrows are shown.
    const TBitmap* SortUpBitmap() const { return sortUp_.get(); }
    const TBitmap* SortDownBitmap() const { return sortDown_.get(); }

    // ---- Appearance ----------------------------------------------------------------------
    TLVStyle Style() const { return style_; }
    void SetStyle(TLVStyle style);
    const TBitmap& BackgroundImage() const { return backgroundImage_; }
    void SetBackgroundImage(const TBitmap& picture);
    std::string Version() const { return VersionText(); }
    // Fits every column to its texts (and captions, with `fitHeader`).
    virtual void ResizeColumns(bool fitHeader);
    virtual void InvalidateColumnHeader(int index);
    void SetOnDrawHeader(TLVHDrawItemEvent handler);
    TLVHDrawItemEvent OnDrawHeader() const { return onDrawHeader_; }

    // ---- Settings ------------------------------------------------------------------------
    virtual TEnhLVSaveSettings& SaveSettings() { return saveSettings_; }
    virtual void StoreSettings();
    virtual bool WriteSettings();
    virtual bool LoadSettings();
    virtual bool ReadSettings();

    // ---- Column mapping (reordered columns override these) -------------------------------
    virtual int ActualColumnIndex(int index);
    virtual TListColumn* GetActualColumn(int index);
    virtual std::string GetSubItemText(int index, int subItem);
    // Width of the column shown at display position `position`.
    int ColumnWidthAt(int position);

    // ---- Events --------------------------------------------------------------------------
    TLVMeasureItemEvent OnMeasureItem;
    TLVDrawItemEvent OnDrawItem;
    TLVDrawSubItemEvent OnDrawSubItem;
    TLVAfterDrawItemEvent OnAfterDefaultDrawItem;
    TLVSortItemsEvent OnSortItems;
    TLVSortStatusEvent OnSortBegin;
    TLVSortStatusEvent OnSortFinished;
    TLVEditCanceled OnEditCanceled;

protected:
    // Raisers and painters a derived control may replace.
    virtual void DoSortBegin(int column, bool ascending);
    virtual void DoSortFinished(int column, bool ascending);
    virtual int DoSortItems(TListItem* item1, TListItem* item2, int sortColumn);
    virtual void DoMeasureItem(unsigned& height);
    virtual void DefaultDrawItem(TCanvas& canvas, int index, TRect rect, bool fullRowSelect,
                                 unsigned state);
    virtual void DefaultDrawSubItem(TCanvas& canvas, int index, int subItem, unsigned state,
                                    TRect rect);
    virtual void PaintItem(TCanvas& canvas, int index, TRect rect, bool fullRowSelect,
                           unsigned state);
    virtual void DoDrawSubItem(TCanvas& canvas, int index, int subItem, TRect rect,
                               unsigned state, bool& defaultDrawing);
    virtual void DoDrawItem(TCanvas& canvas, int index, TRect rect, unsigned state,
                            bool& defaultDrawing, bool& fullRowSelect);
    virtual void DoAfterDefaultDrawItem(TCanvas& canvas, int index, TRect rect, unsigned state);
    virtual void DoEditCanceled(TListItem* item);
    virtual void PaintHeaderItem(TCanvas& canvas, int index, TRect rect, bool selected);
    virtual void DoDrawHeader(TCanvas& canvas, int index, TRect& rect, bool selected,
                              bool& defaultDrawing);
    virtual void DefaultDrawHeader(TCanvas& canvas, int index, TRect rect, bool selected);
    virtual void SetHeaderOwnerDraw(bool on);
    virtual void CreateSortArrowBitmaps();
    virtual void ApplyBackground();
    virtual std::string VersionText() const { return "TEnhListView v3.50"; }
    // Whether the header item shows the sort arrow, and the image it shows (none here).
    virtual bool HeaderArrowShown(int index);
    virtual bool HeaderImage(int index, int& image, bool& rightOfText);
    // The header is owner-drawn while this holds.
    bool HeaderOwnerDrawWanted() const;
    bool loading_ = false;
    bool settingsStored_ = false;

    // ---- TCustomListView hooks ----
    void ColumnClicked(int column) override;
    void ItemInserted(TListItem* item) override;
    void EndLabelEdit(int index, const std::string* text) override;
    void DrawItem(TCanvas& canvas, int index, const TRect& rect, unsigned state) override;
    void MeasureItem(int& height) override;
    void DrawHeaderItem(TCanvas& canvas, int column, const TRect& rect, bool pressed) override;
    void HeaderItemChanged(int column) override;
    void HeaderBeginTrack(int column) override;

    // Settings helpers shared with derived controls.
    bool ReadSortSettings();
    bool WriteSortSettings();
    void ReadColumnSizes();
    void WriteColumnSizes();
    std::string SettingsPath(const char* section);
    static std::string ReadSettingsValue(const std::string& key, const char* name);
    static void WriteSettingsValue(const std::string& key, const char* name,
                                   const std::string& value);
    // Parses "a,b,c" into at most `count` elements of `values`; an element that does not
    // convert is left alone, or set to `fallback` when one is given.
    static void ParseList(const std::string& text, std::vector<int>& values,
                          const int* fallback);

private:
    void SortBuiltIn(int sign, int column);

    bool resortPending_ = false;
    int updateCount_ = 1;
    TLVStyle style_ = TLVStyle::lvStandard;
    TAutoColumnSort autoColumnSort_ = TAutoColumnSort::acsNoSort;
    TAutoSortStyle autoSortStyle_ = TAutoSortStyle::assSmart;
    bool autoResort_ = true;
    bool autoSortAscending_ = true;
    bool currentSortAscending_ = true;
    int currentSortColumn_ = -1;
    TEnhLVSaveSettings saveSettings_;
    bool showSortArrows_ = false;
    bool reverseSortArrows_ = false;
    std::unique_ptr<TBitmap> sortUp_;
    std::unique_ptr<TBitmap> sortDown_;
    TBitmap backgroundImage_;
    TLVHDrawItemEvent onDrawHeader_;
    TFormatSettings sortFormat_;
    bool headerBusy_ = false;
};

} // namespace ondrex
