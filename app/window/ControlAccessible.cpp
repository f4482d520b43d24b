#include "app/window/ControlAccessible.h"

#include "app/window/AccessibleFactory.h"
#include "controls/TFlatCheckBox.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

#include <utility>

namespace ondrex::window {

namespace {

QHash<QObject*, TAccessibleMaker>& makers() {
    static QHash<QObject*, TAccessibleMaker> map;
    return map;
}

TAccessibleAnnouncer announcer = nullptr;

QAccessibleInterface* factory(const QString&, QObject* object) {
    const auto it = makers().constFind(object);
    return it == makers().constEnd() ? nullptr : (*it)(static_cast<QWidget*>(object));
}

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

// The press action clicks once the action has returned: a click that opens a modal dialog
// would otherwise keep the caller (a screen reader waiting for its answer) until the dialog
// closes.
class TButtonAccessible : public QAccessibleWidget {
public:
    explicit TButtonAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name != pressAction() || !widget()->isEnabled()) return;
        QMetaObject::invokeMethod(static_cast<QAbstractButton*>(widget()), &QAbstractButton::click,
                                  Qt::QueuedConnection);
    }
};

} // namespace

void RegisterAccessible(QWidget* widget, TAccessibleMaker maker) {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
    makers().insert(widget, std::move(maker));
    QObject::connect(widget, &QObject::destroyed, [widget] { makers().remove(widget); });
}

bool Announcing() {
    return announcer || QAccessible::isActive();
}

void Announce(QAccessibleEvent& event) {
    if (announcer)
        announcer(&event);
    else
        QAccessible::updateAccessibility(&event);
}

TAccessibleAnnouncer SetAccessibleAnnouncer(TAccessibleAnnouncer next) {
    return std::exchange(announcer, next);
}

void MakeCheckBoxAccessible(QWidget* widget, TFlatCheckBox& box) {
    RegisterAccessible(widget, [&box](QWidget* w) { return new TCheckBoxAccessible(w, box); });
}

void MakeButtonAccessible(QAbstractButton* button) {
    RegisterAccessible(button, [](QWidget* w) { return new TButtonAccessible(w); });
}

} // namespace ondrex::window
