// A list view as assistive technology reads it: a table of rows and columns whose every cell
// is an object of its own (text, row, column, selected, where it is drawn), with selection
// changes announced as they happen.

#include "app/window/AccessibleFactory.h"
#include "app/window/ControlAccessible.h"
#include "platform/ListView.h"

#include <QAbstractScrollArea>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace ondrex::window {

namespace {

QWidget* ViewportOf(QWidget* list) {
    return static_cast<QAbstractScrollArea*>(list)->viewport();
}

class TListCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    TListCellAccessible(QAccessibleInterface* table, QWidget* widget, TCustomListView& list,
                        int row, int column)
        : table_(table), widget_(widget), list_(list), row_(row), column_(column) {}

    bool isValid() const override {
        return widget_ && row_ < list_.ItemCount() && column_ < list_.Columns().Count();
    }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return table_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) return {};
        return QString::fromStdString(list_.ItemText(row_, column_));
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const TRect r = list_.CellRect(row_, column_);
        const QRect client(r.Left, r.Top, r.Width(), r.Height());
        return QRect(ViewportOf(widget_)->mapToGlobal(client.topLeft()), client.size());
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.selected = isSelected();
        s.focusable = true;
        s.focused = isValid() && list_.FocusedIndex() == row_ && widget_->hasFocus();
        s.invisible = rect().isEmpty();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return isValid() && list_.IsSelected(row_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return table_; }

private:
    QAccessibleInterface* table_;
    QPointer<QWidget> widget_;
    TCustomListView& list_;
    int row_;
    int column_;
};

// Children are the cells row by row. Cells are made when first asked for and kept (Qt hands
// their ids to assistive technology) until the list shrinks below them.
class TListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    TListAccessible(QWidget* widget, TCustomListView& list)
        : QAccessibleWidget(widget, QAccessible::Table), list_(list) {}
    ~TListAccessible() override { forgetCells(); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        const int columns = columnCount();
        return index < 0 || columns == 0 ? nullptr : cellAt(index / columns, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || child->role() != QAccessible::Cell || child->parent() != this) return -1;
        const auto* cell = static_cast<const TListCellAccessible*>(child);
        return cell->rowIndex() * columnCount() + cell->columnIndex();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint p = ViewportOf(widget())->mapFromGlobal(QPoint(x, y));
        const THitTestInfo hit = list_.HitTest(p.x(), p.y());
        return hit.Item < 0 || hit.SubItem < 0 ? nullptr : cellAt(hit.Item, hit.SubItem);
    }

    int rowCount() const override { return list_.ItemCount(); }
    int columnCount() const override { return list_.Columns().Count(); }
    QString columnDescription(int column) const override {
        const TListColumn* c = list_.Columns().Item(column);
        return c ? QString::fromStdString(c->Caption()) : QString();
    }
    QString rowDescription(int row) const override {
        return QString::fromStdString(list_.ItemText(row, 0));
    }
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
        if (rowCount() < rowsSeen_) forgetCells();
        rowsSeen_ = rowCount();
        const qint64 key = qint64(row) * columnCount() + column;
        if (const auto it = cells_.constFind(key); it != cells_.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* cell = new TListCellAccessible(const_cast<TListAccessible*>(this), widget(), list_,
                                             row, column);
        cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows())
            for (int column = 0; column < columnCount(); ++column)
                cells << cellAt(row, column);
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    int selectedRowCount() const override { return list_.SelCount(); }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (int i = 0; i < list_.ItemCount() && rows.size() < list_.SelCount(); ++i)
            if (list_.IsSelected(i)) rows.append(i);
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return list_.IsSelected(row); }
    bool selectRow(int row) override {
        list_.SetItemIndex(row);
        return list_.IsSelected(row);
    }
    bool unselectRow(int row) override {
        list_.SetItemSelected(row, false);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    void forgetCells() const {
        for (const QAccessible::Id id : std::as_const(cells_))
            QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    TCustomListView& list_;
    mutable QHash<qint64, QAccessible::Id> cells_;
    mutable int rowsSeen_ = 0;
};

// A row's selection changed: its first cell is announced as selected (or no longer) and,
// when selected, as the one with the focus, so a screen reader speaks it.
void AnnounceSelection(QWidget* widget, const TCustomListView& list, int row, bool selected) {
    if (!widget || !Announcing()) return;
    const int child = row * list.Columns().Count();
    QAccessibleEvent change(widget,
                            selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
    change.setChild(child);
    Announce(change);
    if (!selected) return;
    QAccessibleEvent focus(widget, QAccessible::Focus);
    focus.setChild(child);
    Announce(focus);
}

} // namespace

void MakeListAccessible(QWidget* widget, TCustomListView& list) {
    RegisterAccessible(widget, [&list](QWidget* w) { return new TListAccessible(w, list); });
    list.SelectionObserver = [widget = QPointer<QWidget>(widget), &list](int row, bool selected) {
        AnnounceSelection(widget, list, row, selected);
    };
}

} // namespace ondrex::window
