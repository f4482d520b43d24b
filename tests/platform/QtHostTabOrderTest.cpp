// Hosted controls in a real (offscreen) window: Tab walks them in creation order, skipping
// disabled ones, and the focus reaches the control's handlers.

#include "platform/Control.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtControlHost.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace ondrex;

namespace {

class TFocusProbe : public TCustomControl {
public:
    int FocusIns = 0;
    std::string Typed;

protected:
    void FocusIn() override { ++FocusIns; }
    void KeyPress(std::string& ch) override { Typed += ch; }
};

void PressKey(int key, const QString& text = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
}

} // namespace

TEST(QtHostTabOrder, TabSkipsDisabledControlsAndKeysReachTheFocusedOne) {
    qt::ensureApplication();
    QWidget window;
    window.resize(200, 100);
    TFocusProbe first, second, third;
    second.SetEnabled(false);
    TQtControlHost a(first, &window), b(second, &window), c(third, &window);
    for (TFocusProbe* p : {&first, &second, &third})
        p->SetBounds(4, 4 + 20 * (p == &second) + 40 * (p == &third), 120, 17);
    window.show();
    window.activateWindow();
    first.SetFocus();
    QApplication::processEvents();
    if (!first.Focused()) GTEST_SKIP() << "the offscreen platform gave no keyboard focus";
    EXPECT_TRUE(first.ApplicationActive());
    EXPECT_EQ(first.FocusIns, 1);
    PressKey(Qt::Key_Tab);
    EXPECT_TRUE(third.Focused());
    EXPECT_EQ(second.FocusIns, 0);
    PressKey(Qt::Key_Space, " ");
    EXPECT_EQ(third.Typed, " ");
    second.SetEnabled(true);
    PressKey(Qt::Key_Tab); // round to the first, then on to the second
    PressKey(Qt::Key_Tab);
    EXPECT_TRUE(second.Focused());
}
