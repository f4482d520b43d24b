#include "platform/SystemMetrics.h"

#include "platform/qt/QtApplication.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>

namespace ondrex {

int GetSystemMetrics(int index) {
    qt::ensureApplication();
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, 1024, 768);
    switch (index) {
    case SM_CXSCREEN:
        return screen.width();
    case SM_CYSCREEN:
        return screen.height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
        return QGuiApplication::styleHints()->startDragDistance();
    default:
        return 0;
    }
}

int WheelScrollLines() {
    qt::ensureApplication();
    return QApplication::wheelScrollLines();
}

int CaretBlinkTime() {
    qt::ensureApplication();
    return QGuiApplication::styleHints()->cursorFlashTime() / 2;
}

TPoint GetCursorPos() {
    qt::ensureApplication();
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

} // namespace ondrex
