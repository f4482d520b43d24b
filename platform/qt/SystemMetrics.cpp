#include "platform/SystemMetrics.h"

#include "platform/qt/QtApplication.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>

#include <algorithm>

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

TRect ScreenRectAt(TPoint p) {
    qt::ensureApplication();
    const QPoint point(p.X, p.Y);
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen) {
        // Off every screen: the one nearest to the point.
        int best = -1;
        for (const QScreen* s : QGuiApplication::screens()) {
            const QRect g = s->geometry();
            const int dx = std::max({g.left() - point.x(), 0, point.x() - g.right()});
            const int dy = std::max({g.top() - point.y(), 0, point.y() - g.bottom()});
            if (best < 0 || dx + dy < best) {
                best = dx + dy;
                screen = s;
            }
        }
    }
    if (!screen) return {0, 0, 1024, 768};
    const QRect g = screen->geometry();
    return Bounds(g.x(), g.y(), g.width(), g.height());
}

} // namespace ondrex
