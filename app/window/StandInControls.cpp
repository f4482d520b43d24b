// Toolkit list views in the places of ListView2 and ListView1, until our own list views take
// them over (WindowControls.h chooses).

#include "app/window/Glyphs.h"
#include "app/window/WindowControls.h"

#include <QAbstractTableModel>
#include <QCursor>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTimer>

namespace ondrex::window {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Two text columns over rows kept elsewhere; `text(row, column)` reads them.
class TTwoColumnModel : public QAbstractTableModel {
public:
    TTwoColumnModel(QString first, QString second, QObject* parent)
        : QAbstractTableModel(parent), headers_{std::move(first), std::move(second)} {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : count_; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
            return headers_[section];
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= count_) return {};
        if (role == Qt::DisplayRole) return qs(text(index.row(), index.column()));
        if (role == Qt::DecorationRole && index.column() == 0) return decoration(index.row());
        return {};
    }

    void setCount(int count) {
        if (count == count_) return;
        if (count > count_) {
            beginInsertRows({}, count_, count - 1);
            count_ = count;
            endInsertRows();
        } else {
            beginResetModel();
            count_ = count;
            endResetModel();
        }
    }
    int count() const { return count_; }
    virtual std::string_view text(int row, int column) const = 0;
    virtual QVariant decoration(int) const { return {}; }

private:
    QString headers_[2];
    int count_ = 0;
};

class TResultsModel : public TTwoColumnModel {
public:
    explicit TResultsModel(QObject* parent) : TTwoColumnModel("Type", "Name", parent) {
        for (int i = 0; i < 4; ++i)
            images_[i] = StateImage(i);
    }
    const std::vector<TScanRow>* rows = nullptr;
    std::string_view text(int row, int column) const override {
        const TScanRow& r = (*rows)[std::size_t(row)];
        return column == 0 ? r.caption : std::string_view(r.name);
    }
    QVariant decoration(int row) const override {
        return images_[std::clamp((*rows)[std::size_t(row)].image, 0, 3)];
    }

private:
    QPixmap images_[4];
};

class TInfoModel : public TTwoColumnModel {
public:
    explicit TInfoModel(QObject* parent) : TTwoColumnModel("Info", "Value", parent) {}
    std::vector<TInfoRow> rows;
    std::string_view text(int row, int column) const override {
        const TInfoRow& r = rows[std::size_t(row)];
        return column == 0 ? r.caption : r.value;
    }
};

QTableView* makeReportView(QWidget* parent, QAbstractItemModel* model, int width0, int width1) {
    auto* view = new QTableView(parent);
    model->setParent(view);
    view->setModel(model);
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFrameShape(QFrame::NoFrame);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setSectionsClickable(false);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->setColumnWidth(0, width0);
    view->setColumnWidth(1, width1);
    return view;
}

class TStandInResults : public TResultsList {
public:
    explicit TStandInResults(QWidget* parent)
        : model_(new TResultsModel(nullptr)), view_(makeReportView(parent, model_, 75, 250)) {
        view_->setObjectName("ListView2");
        view_->setAccessibleName("Results");
        selected_ =
            QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged,
                             [this](const QModelIndex& current, const QModelIndex&) {
                                 if (current.isValid() && OnSelected) OnSelected(current.row());
                             });
        // The results list selects the row the pointer rests on.
        view_->setMouseTracking(true);
        hover_ = new QTimer(view_);
        hover_->setSingleShot(true);
        hover_->setInterval(400);
        QObject::connect(view_, &QAbstractItemView::entered, hover_, [this](const QModelIndex& i) {
            hovered_ = i.row();
            hover_->start();
        });
        QObject::connect(hover_, &QTimer::timeout, view_, [this] {
            const QModelIndex under =
                view_->indexAt(view_->viewport()->mapFromGlobal(QCursor::pos()));
            if (under.isValid() && under.row() == hovered_ && hovered_ < model_->count())
                Select(hovered_);
        });
    }
    ~TStandInResults() override { QObject::disconnect(selected_); }
    QWidget* Widget() override { return view_; }
    void Clear() override {
        model_->setCount(0);
        model_->rows = nullptr;
    }
    void Append(const std::vector<TScanRow>& rows, std::size_t) override {
        model_->rows = &rows;
        model_->setCount(int(rows.size()));
    }
    int RowCount() const override { return model_->count(); }
    std::pair<std::string, std::string> Row(int row) const override {
        return {std::string(model_->text(row, 0)), std::string(model_->text(row, 1))};
    }
    void Select(int row) override { view_->setCurrentIndex(model_->index(row, 0)); }

private:
    TResultsModel* model_;
    QTableView* view_;
    QTimer* hover_;
    int hovered_ = -1;
    QMetaObject::Connection selected_;
};

class TStandInInfo : public TInfoList {
public:
    explicit TStandInInfo(QWidget* parent)
        : model_(new TInfoModel(nullptr)), view_(makeReportView(parent, model_, 200, 300)) {
        view_->setObjectName("ListView1");
        view_->setAccessibleName("Information");
    }
    QWidget* Widget() override { return view_; }
    void SetRows(const std::vector<TInfoRow>& rows) override {
        model_->setCount(0);
        model_->rows = rows;
        model_->setCount(int(rows.size()));
    }
    std::vector<TInfoRow> Rows() const override { return model_->rows; }

private:
    TInfoModel* model_;
    QTableView* view_;
};

} // namespace

std::unique_ptr<TResultsList> MakeResultsList(QWidget* parent) {
    return std::make_unique<TStandInResults>(parent);
}

std::unique_ptr<TInfoList> MakeInfoList(QWidget* parent) {
    return std::make_unique<TStandInInfo>(parent);
}

} // namespace ondrex::window
