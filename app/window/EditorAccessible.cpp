// memo1 as assistive technology reads it: editable text with its caret, its selection and
// where each character is drawn, so a screen reader can follow the caret and a magnifier
// track it.

#include "app/window/AccessibleFactory.h"
#include "app/window/ControlAccessible.h"
#include "editor/TqvCustomEdit.h"

#include <QAbstractScrollArea>
#include <QAccessibleWidget>

#include <algorithm>

namespace ondrex::window {

namespace {

// Offsets count the characters of the lines joined by "\n"; stored columns count bytes.
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
    // The cells the character is drawn in (a tab's up to the next stop, a wide character's
    // two), in screen pixels; empty for an offset outside the text.
    QRect characterRect(int offset) const override {
        const TPoint pos = positionOf(offset);
        if (pos.Y == 0) return {};
        const QString text = line(pos.Y - 1);
        const int index = offset - lineStart(pos.Y - 1);
        const int next = pos.X + (index < text.size() ? bytesOf(text.mid(index, 1)) : 1);
        const TPoint left = memo_.RowColumnToPixels(pos);
        const TPoint right = memo_.RowColumnToPixels({next, pos.Y});
        const QRect client(left.X, left.Y, std::max(right.X - left.X, 1), memo_.LineHeight());
        return QRect(viewport()->mapToGlobal(client.topLeft()), client.size());
    }
    // The character drawn under a screen point; -1 off the text (gutter, past a line's end,
    // below the last line).
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint p = viewport()->mapFromGlobal(point);
        if (p.x() < memo_.GutterWidth() || p.y() < 0) return -1;
        const int row = memo_.TopLine() + p.y() / memo_.LineHeight();
        if (row > memo_.LineCount()) return -1;
        const QString text = line(row - 1);
        const int first = lineStart(row - 1);
        const TPoint near = memo_.PixelsToRowColumn({p.x(), p.y()});
        int index = int(charsIn(row - 1, near.X));
        if (index > 0 && memo_.RowColumnToPixels(positionOf(first + index)).X > p.x()) --index;
        if (index >= text.size()) return -1;
        return first + index;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QWidget* viewport() const { return static_cast<QAbstractScrollArea*>(widget())->viewport(); }
    QString line(int index) const {
        const std::string_view s = memo_.Lines().Get(index);
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    static int bytesOf(const QString& s) { return int(s.toUtf8().size()); }
    QString all() const {
        QString text;
        for (int i = 0; i < memo_.LineCount(); ++i) {
            if (i) text += '\n';
            text += line(i);
        }
        return text;
    }
    int lineStart(int index) const {
        int offset = 0;
        for (int i = 0; i < index; ++i)
            offset += int(line(i).size()) + 1;
        return offset;
    }
    // Characters before a 1-based byte column of line `index`.
    qsizetype charsIn(int index, int column) const {
        const std::string_view s = memo_.Lines().Get(index);
        const std::size_t bytes =
            std::min<std::size_t>(std::size_t(std::max(column - 1, 0)), s.size());
        return QString::fromUtf8(s.data(), qsizetype(bytes)).size();
    }
    // A (column, line) position's character offset.
    int offsetOf(TPoint pos) const {
        const int lines = std::min(pos.Y - 1, memo_.LineCount());
        int offset = lineStart(lines);
        if (pos.Y - 1 < memo_.LineCount()) offset += int(charsIn(pos.Y - 1, pos.X));
        return offset;
    }
    // The (column, line) of a character offset; line 0 when the offset is outside the text.
    TPoint positionOf(int offset) const {
        if (offset < 0) return {0, 0};
        for (int i = 0; i < memo_.LineCount(); ++i) {
            const QString text = line(i);
            if (offset <= text.size()) return {1 + bytesOf(text.left(offset)), i + 1};
            offset -= int(text.size()) + 1;
        }
        return {0, 0};
    }

    TqvCustomEdit& memo_;
};

} // namespace

void MakeEditorAccessible(QWidget* widget, TqvCustomEdit& memo) {
    RegisterAccessible(widget, [&memo](QWidget* w) { return new TEditorAccessible(w, memo); });
}

} // namespace ondrex::window
