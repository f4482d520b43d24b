#include "app/window/ControlAccessible.h"

#include "controls/TFlatCheckBox.h"
#include "editor/TqvCustomEdit.h"

#include <QAccessibleWidget>
#include <QHash>

#include <QWidget>
#include <functional>

namespace ondrex::window {

namespace {

using TMaker = std::function<QAccessibleInterface*(QWidget*)>;

QHash<QObject*, TMaker>& makers() {
    static QHash<QObject*, TMaker> map;
    return map;
}

class TEditorAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    TEditorAccessible(QWidget* widget, TqvCustomEdit& memo)
        : QAccessibleWidget(widget, QAccessible::EditableText), memo_(memo) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !memo_.ReadOnly();
        s.readOnly = memo_.ReadOnly();
        s.multiLine = true;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return memo_.LineCount() > 20000 ? QString() : all();
        return QAccessibleWidget::text(t);
    }

    // ---- QAccessibleTextInterface: offsets count characters of the lines joined by "\n".
    int characterCount() const override { return int(all().size()); }
    QString text(int start, int end) const override { return all().mid(start, end - start); }
    int cursorPosition() const override { return offsetOf(memo_.CaretPos()); }
    void setCursorPosition(int) override {}
    int selectionCount() const override {
        return memo_.SelectionStart() == memo_.SelectionEnd() ? 0 : 1;
    }
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || selectionCount() == 0) return;
        const int a = offsetOf(memo_.SelectionStart()), b = offsetOf(memo_.SelectionEnd());
        *start = std::min(a, b);
        *end = std::max(a, b);
    }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QString line(int index) const {
        const std::string_view s = memo_.Lines().Get(index);
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    QString all() const {
        QString text;
        for (int i = 0; i < memo_.LineCount(); ++i) {
            if (i) text += '\n';
            text += line(i);
        }
        return text;
    }
    // A (column, line) position's character offset; columns count bytes.
    int offsetOf(TPoint pos) const {
        int offset = 0;
        const int lines = std::min(pos.Y - 1, memo_.LineCount());
        for (int i = 0; i < lines; ++i)
            offset += int(line(i).size()) + 1;
        if (pos.Y - 1 < memo_.LineCount()) {
            const std::string_view s = memo_.Lines().Get(pos.Y - 1);
            const std::size_t bytes = std::min<std::size_t>(std::size_t(pos.X - 1), s.size());
            offset += int(QString::fromUtf8(s.data(), qsizetype(bytes)).size());
        }
        return offset;
    }

    TqvCustomEdit& memo_;
};

class TCheckBoxAccessible : public QAccessibleWidget {
public:
    TCheckBoxAccessible(QWidget* widget, TFlatCheckBox& box)
        : QAccessibleWidget(widget, QAccessible::CheckBox), box_(box) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return QString::fromStdString(box_.Caption());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = box_.Checked();
        return s;
    }
    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        if (name == toggleAction()) box_.SetChecked(!box_.Checked());
    }

private:
    TFlatCheckBox& box_;
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    const auto it = makers().constFind(object);
    return it == makers().constEnd() ? nullptr : (*it)(static_cast<QWidget*>(object));
}

void registerMaker(QWidget* widget, TMaker maker) {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
    makers().insert(widget, std::move(maker));
    QObject::connect(widget, &QObject::destroyed, [widget] { makers().remove(widget); });
}

} // namespace

void MakeEditorAccessible(QWidget* widget, TqvCustomEdit& memo) {
    registerMaker(widget, [&memo](QWidget* w) { return new TEditorAccessible(w, memo); });
}

void MakeCheckBoxAccessible(QWidget* widget, TFlatCheckBox& box) {
    registerMaker(widget, [&box](QWidget* w) { return new TCheckBoxAccessible(w, box); });
}

} // namespace ondrex::window
