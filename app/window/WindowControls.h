#pragma once
// The main window's lists and check boxes behind small interfaces, so the window does not
// care which implementation it holds: Make... below chooses it in one place.

#include "app/ScriptScanner.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ondrex {
class TExtListView;
}

namespace ondrex::window {

// ListView2: the results, one row per listed hit (caption, name, state image).
class TResultsList {
public:
    virtual ~TResultsList() = default;
    virtual QWidget* Widget() = 0;
    virtual TExtListView& View() = 0;
    virtual void Clear() = 0;
    // Appends rows [first, rows.size()). The vector is the scan's own and stays alive and
    // unchanged up to the next Clear.
    virtual void Append(const std::vector<TScanRow>& rows, std::size_t first) = 0;
    virtual int RowCount() const = 0;
    // Caption and name of a row, as shown.
    virtual std::pair<std::string, std::string> Row(int row) const = 0;
    // Selects a row as the user would (keyboard, click or hover).
    virtual void Select(int row) = 0;
    // Where a row is shown, in the pixels of the widget's client area (its viewport).
    virtual QRect RowRect(int row) = 0;
    // A row became selected.
    std::function<void(int row)> OnSelected;
};

// ListView1: the information rows (caption, value).
class TInfoList {
public:
    virtual ~TInfoList() = default;
    virtual QWidget* Widget() = 0;
    virtual TExtListView& View() = 0;
    // The height that shows `rows` rows whole.
    virtual int HeightFor(int rows) = 0;
    virtual void SetRows(const std::vector<TInfoRow>& rows) = 0;
    virtual std::vector<TInfoRow> Rows() const = 0;
};

// dimcheck, Checkbox2, Checkbox3.
class TOptionBox {
public:
    virtual ~TOptionBox() = default;
    virtual QWidget* Widget() = 0;
    virtual bool Checked() const = 0;
    // Toggles as a click does and raises OnClick.
    virtual void Click() = 0;
    std::function<void()> OnClick;
};

std::unique_ptr<TResultsList> MakeResultsList(QWidget* parent);
std::unique_ptr<TInfoList> MakeInfoList(QWidget* parent);
std::unique_ptr<TOptionBox> MakeOptionBox(QWidget* parent, const std::string& caption,
                                          bool checked);

} // namespace ondrex::window
