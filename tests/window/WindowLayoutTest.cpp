// The window as the form sets it up: the context menu, the status bar at the opening size,
// the lists' settings and the screen it fills.

#include "WindowTestSupport.h"

#include "controls/TExtListView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>

namespace ondrex::window {
namespace {

void OpeningSize(Tfrm_Ondrex& w) {
    w.showNormal();
    w.setGeometry(88, 108, 600, 444);
    QApplication::processEvents();
}

// A right click as the desktop delivers it: press, the context-menu request, release.
void RightClick(QWidget* viewport, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &request);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

TEST_F(WindowTest, ARightClickOpensTheContextMenuOverTheSelectionItKeeps) {
    Start(file);
    TqvCustomEdit& memo = w->memo1();
    memo.SetSelectionStart({1, 9});
    memo.SetSelectionEnd({9, 9});
    auto* viewport = static_cast<QAbstractScrollArea*>(w->MemoWidget())->viewport();
    RightClick(viewport, QPoint(memo.RowColumnToPixels({4, 12}).X + 2,
                                memo.RowColumnToPixels({4, 12}).Y + 2));

    QMenu* shown = nullptr;
    for (QMenu* menu : w->findChildren<QMenu*>())
        if (menu->isVisible()) shown = menu;
    ASSERT_TRUE(shown);
    QStringList items;
    for (const QAction* action : shown->actions())
        items << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(items, (QStringList{"-", "Copy ", "Cut", "Paste", "-"}));
    EXPECT_EQ(memo.SelectionStart(), (TPoint{1, 9}));
    EXPECT_EQ(memo.SelectionEnd(), (TPoint{9, 9}));
    shown->close();

    // With a modifier held the press is an ordinary one: the caret moves, the selection goes.
    QMouseEvent shifted(QEvent::MouseButtonPress, QPointF(60, 5), QPointF(), Qt::RightButton,
                        Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(viewport, &shifted);
    EXPECT_FALSE(memo.HasSelection());
}

TEST_F(WindowTest, AtTheOpeningSizeStatusPanelsKeepTheirWidthsAndTheClockHasNoZone) {
    Start(file);
    OpeningSize(*w);
    const QList<QLabel*> panels = w->findChild<QStatusBar*>("StatusBar1")->findChildren<QLabel*>();
    ASSERT_EQ(panels.size(), 5);
    const int widths[5] = {200, 100, 50, 50, 50};
    for (int i = 0; i < 5; ++i) {
        const QLabel* panel = panels[i];
        EXPECT_GE(panel->width(), widths[i]) << i;
        EXPECT_GE(panel->contentsRect().width(),
                  panel->fontMetrics().horizontalAdvance(panel->text()))
            << panel->text().toStdString();
    }
    const QString clock = w->StatusTexts()[4];
    EXPECT_FALSE(clock.isEmpty());
    EXPECT_FALSE(clock.contains(QDateTime::currentDateTime().timeZoneAbbreviation()))
        << clock.toStdString();
}

TEST_F(WindowTest, TheListsAreSetUpAsTheFormSaysAndTheBlockInformationShowsWhole) {
    Start(file);
    const TExtListView& results = w->ListView2().View();
    EXPECT_EQ(results.ExtendedStyle(), 0x0129u);
    EXPECT_TRUE(results.ShowSortArrows());
    EXPECT_TRUE(results.ReverseSortArrows());
    EXPECT_EQ(results.AutoSortStyle(), TAutoSortStyle::assDefault);
    EXPECT_TRUE(results.HideSelection());
    EXPECT_FALSE(results.ColumnClick());
    TExtListView& info = w->ListView1().View();
    EXPECT_EQ(info.ExtendedStyle(), 0x0129u);
    EXPECT_TRUE(info.ReadOnly());

    OpeningSize(*w);
    w->ListView2().Select(0);
    ASSERT_EQ(w->ListView1().Rows().size(), 8u);
    EXPECT_GE(info.VisibleRowCount(), 8);
}

// Where no window manager maximises it (a bare X server), the window takes the screen's
// available area itself.
TEST_F(WindowTest, TheWindowFillsTheScreensAvailableArea) {
    Start(file);
    const QRect area = w->screen()->availableGeometry();
    EXPECT_TRUE(WaitUntil(
        [&] {
            return w->frameGeometry().width() >= area.width() &&
                   w->frameGeometry().height() >= area.height();
        },
        3000))
        << w->frameGeometry().width() << "x" << w->frameGeometry().height();
}

} // namespace
} // namespace ondrex::window
