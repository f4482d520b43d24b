// ListView2 and ListView1: our extended list view in a host window each.

#include "app/window/ControlAccessible.h"
#include "app/window/Glyphs.h"
#include "app/window/WindowControls.h"
#include "controls/TExtListView.h"
#include "platform/ImageList.h"
#include "platform/SystemMetrics.h"
#include "platform/qt/QtControlHost.h"

#include <QImage>

#include <algorithm>

namespace ondrex::window {

namespace {

// The results' state images (Dim, Sub, Function and Call, If) in a list view's image list.
void AddStateImages(TImageList& images) {
    for (int i = 0; i < 4; ++i) {
        const QImage picture = StateImage(i).toImage().convertToFormat(QImage::Format_ARGB32);
        TBitmap bitmap(picture.width(), picture.height());
        for (int y = 0; y < picture.height(); ++y)
            std::copy_n(reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y)),
                        picture.width(), bitmap.ScanLine(y));
        images.Add(bitmap);
    }
}

void AddColumn(TExtListView& view, const char* caption, int width) {
    TListColumn* column = view.Columns().Add();
    column->SetCaption(caption);
    column->SetWidth(width);
}

// A report list of two columns with grid lines and whole rows selected, on screen in
// `parent` under `name`, answering assistive technology as a table called `accessibleName`.
class THostedList {
protected:
    THostedList(QWidget* parent, const char* name, const char* accessibleName,
                TLVExtendedStyles styles) {
        view_.SetExtendedStyles(styles | lvxGridLines | lvxFullRowSelect | lvxFlatScrollBar);
        view_.SetColumnClick(false);
        view_.Font() = TFont("Tahoma", -11); // the window's font
        host_ = std::make_unique<TQtControlHost>(view_, parent);
        QWidget* widget = Widget();
        widget->setObjectName(name);
        MakeListAccessible(widget, view_);
        widget->setAccessibleName(accessibleName);
    }
    QWidget* Widget() const { return static_cast<QWidget*>(host_->Widget()); }
    // The height that shows a header and `rows` rows whole, with room for a horizontal
    // scroll bar.
    int HeightFor(int rows) {
        return view_.HeaderHeight() + rows * view_.RowHeight() + view_.SystemMetric(SM_CYHSCROLL);
    }

    TExtListView view_;
    std::unique_ptr<TQtControlHost> host_;
};

class TExtResults : public TResultsList, THostedList {
public:
    explicit TExtResults(QWidget* parent)
        : THostedList(parent, "ListView2", "Results", lvxTrackSelect) {
        AddColumn(view_, "Type", 75);
        AddColumn(view_, "Name", 250);
        // The header is drawn by the sort-arrow painter; no column sorts, so no arrow shows.
        view_.SetShowSortArrows(true);
        view_.SetAutoSortStyle(TAutoSortStyle::assDefault);
        view_.SetReverseSortArrows(true);
        AddStateImages(states_);
        view_.SetStateImages(&states_);
        view_.SetReadOnly(true);
        // Scans list hundreds of thousands of rows: they stay in the scan and are read
        // when painted.
        view_.SetVirtualMode(true);
        view_.OnVMGetItemInfo = TLVVMGetItemInfoEvent::bind<&TExtResults::GetItemInfo>(this);
        view_.OnVMStateChanged = TLVVMStateChangedEvent::bind<&TExtResults::StateChanged>(this);
        view_.Loaded();
    }
    ~TExtResults() override {
        view_.OnVMStateChanged = {};
        view_.SetStateImages(nullptr);
    }

    QWidget* Widget() override { return THostedList::Widget(); }
    TExtListView& View() override { return view_; }
    void Clear() override {
        view_.SetVirtualItemCount(0, 0);
        rows_ = nullptr;
    }
    void Append(const std::vector<TScanRow>& rows, std::size_t) override {
        rows_ = &rows;
        view_.SetVirtualItemCount(int(rows.size()), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    }
    int RowCount() const override { return view_.ItemCount(); }
    std::pair<std::string, std::string> Row(int row) const override {
        const TScanRow& r = (*rows_)[std::size_t(row)];
        return {std::string(r.caption), r.name};
    }
    void Select(int row) override { view_.SetItemIndex(row); }
    QRect RowRect(int row) override {
        const TRect r = view_.ItemRect(row);
        return QRect(r.Left, r.Top, r.Width(), r.Height());
    }

private:
    void GetItemInfo(TObject*, int row, int subItem, TLVVMMaskItems mask, int&, std::intptr_t&,
                     unsigned& state, int&, std::string& text) {
        if (!rows_ || row < 0 || std::size_t(row) >= rows_->size()) return;
        const TScanRow& r = (*rows_)[std::size_t(row)];
        if (mask & LVIF_TEXT) text = subItem == 0 ? std::string(r.caption) : r.name;
        // State images are numbered from 1 in bits 12..15.
        if (mask & LVIF_STATE) state = unsigned(std::clamp(r.image, 0, 3) + 1) << 12;
    }
    void StateChanged(TObject*, TLVStateChange& change) {
        const bool selected = change.NewState & LVIS_SELECTED;
        if (selected && !(change.OldState & LVIS_SELECTED) && OnSelected) OnSelected(change.From);
    }

    TImageList states_{16, 16};
    const std::vector<TScanRow>* rows_ = nullptr;
};

class TExtInfo : public TInfoList, THostedList {
public:
    explicit TExtInfo(QWidget* parent)
        : THostedList(parent, "ListView1", "Information", lvxTrackSelect) {
        AddColumn(view_, "Info", 200);
        AddColumn(view_, "Value", 300);
        view_.SetReadOnly(true);
        view_.Loaded();
    }

    QWidget* Widget() override { return THostedList::Widget(); }
    TExtListView& View() override { return view_; }
    int HeightFor(int rows) override { return THostedList::HeightFor(rows); }
    void SetRows(const std::vector<TInfoRow>& rows) override {
        TListItems& items = view_.Items();
        items.BeginUpdate();
        items.Clear();
        for (const TInfoRow& row : rows) {
            TListItem* item = items.Add();
            item->SetCaption(row.caption);
            item->AddSubItem(row.value);
        }
        items.EndUpdate();
    }
    std::vector<TInfoRow> Rows() const override {
        std::vector<TInfoRow> rows;
        const TListItems& items = view_.Items();
        for (int i = 0; i < items.Count(); ++i)
            rows.push_back({items[i]->Caption(), items[i]->SubItem(0)});
        return rows;
    }
};

} // namespace

std::unique_ptr<TResultsList> MakeResultsList(QWidget* parent) {
    return std::make_unique<TExtResults>(parent);
}

std::unique_ptr<TInfoList> MakeInfoList(QWidget* parent) {
    return std::make_unique<TExtInfo>(parent);
}

} // namespace ondrex::window
