// A small custom control in a real (offscreen) Qt window: Qt events in, handlers called,
// pixels of a grab out.

#include "platform/Canvas.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtControlHost.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace ondrex;

namespace {

// Paints its background and a 10-pixel blue box at every left click; R turns the
// background red.
class TBoxes : public TCustomControl {
public:
    TColor Background = clWhite;
    std::vector<TPoint> Clicks;
    std::vector<std::string> Log;

protected:
    void Paint(TCanvas& canvas, const TRect&) override {
        canvas.Brush.Color = Background;
        canvas.FillRect(ClientRect());
        canvas.Brush.Color = clBlue;
        for (TPoint p : Clicks)
            canvas.FillRect(Bounds(p.X - 5, p.Y - 5, 10, 10));
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        if (button == TMouseButton::mbLeft && (shift & ssLeft)) Clicks.push_back({x, y});
        Invalidate();
    }
    void KeyDown(std::uint16_t& key, TShiftState shift) override {
        Log.push_back("key " + std::to_string(key) + " shift " + std::to_string(shift));
        if (key == 'R') Background = clRed;
        Invalidate();
    }
    void KeyPress(std::string& ch) override { Log.push_back("char " + ch); }
    bool MouseWheel(TShiftState, int delta, int, int) override {
        Log.push_back("wheel " + std::to_string(delta));
        return true;
    }
    void Scroll(TScrollBarKind, int code, int pos) override {
        Log.push_back("scroll " + std::to_string(code) + " " + std::to_string(pos));
    }
    void Resize() override { Log.push_back("resize " + std::to_string(ClientWidth())); }
    void DblClick(int x, int y) override {
        Log.push_back("dblclick " + std::to_string(x) + "," + std::to_string(y));
    }
    void ImeResult(const std::string& text) override { Log.push_back("ime " + text); }
    void DropFiles(int x, int, const std::vector<std::string>& files) override {
        Log.push_back("files at " + std::to_string(x) + ": " + files.at(0));
    }
};

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

struct QtHostTest : ::testing::Test {
    TBoxes control;
    std::unique_ptr<TQtControlHost> host;
    QAbstractScrollArea* widget = nullptr;

    void SetUp() override {
        qt::ensureApplication();
        control.SetBounds(0, 0, 120, 80);
        host = std::make_unique<TQtControlHost>(control);
        widget = static_cast<QAbstractScrollArea*>(host->Widget());
        widget->show();
        QApplication::processEvents();
        control.Log.clear();
    }

    void Click(int x, int y) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, y),
                          widget->mapToGlobal(QPointF(x, y)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(x, y),
                            widget->mapToGlobal(QPointF(x, y)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(widget->viewport(), &release);
    }
};

} // namespace

TEST_F(QtHostTest, EventsReachTheControlAndItsPaintReachesThePixels) {
    Click(30, 40);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_R, Qt::ShiftModifier, "R");
    QApplication::sendEvent(widget, &key);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"key 82 shift 1", "char R"}));

    const QImage image = widget->grab().toImage();
    EXPECT_EQ(At(image, 30, 40), QColor(0, 0, 255));
    EXPECT_EQ(At(image, 25, 35), QColor(0, 0, 255));
    EXPECT_EQ(At(image, 24, 40), QColor(255, 0, 0));
    EXPECT_EQ(At(image, 100, 70), QColor(255, 0, 0));
}

TEST_F(QtHostTest, CaretIsDrawnInvertedOverThePaintWhileFocused) {
    control.CreateCaret(2, 12);
    control.SetCaretPos(60, 10);
    control.ShowCaret();
    control.SetFocus();
    QApplication::processEvents();
    if (!control.Focused()) GTEST_SKIP() << "the offscreen platform gave no keyboard focus";
    const QImage image = widget->grab().toImage();
    EXPECT_EQ(At(image, 60, 10), QColor(0, 0, 0)); // white inverted
    EXPECT_EQ(At(image, 61, 21), QColor(0, 0, 0));
    EXPECT_EQ(At(image, 62, 10), QColor(255, 255, 255));
    EXPECT_EQ(At(image, 60, 22), QColor(255, 255, 255));
}

TEST_F(QtHostTest, WheelAndScrollBarRequestsArriveAsMessages) {
    QWheelEvent wheel(QPointF(10, 10), widget->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget->viewport(), &wheel);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"wheel -120"}));

    control.SetScrollInfo(TScrollBarKind::sbVertical, {1, 119, 20, 1}, true);
    QApplication::processEvents();
    QScrollBar* bar = widget->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->maximum(), 100);
    ASSERT_FALSE(control.Log.empty());
    EXPECT_EQ(control.Log.back(), "resize " + std::to_string(control.ClientWidth()));
    EXPECT_LT(control.ClientWidth(), 120); // the bar took its room

    control.Log.clear();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"scroll 3 21", "scroll 8 0"}));
    EXPECT_EQ(bar->value(), 1); // the control did not move it

    control.SetScrollInfo(TScrollBarKind::sbVertical, {1, 10, 20, 1}, true);
    EXPECT_FALSE(bar->isEnabled());
    control.SetScrollInfo(TScrollBarKind::sbVertical, {1, 10, 20, 1}, false);
    QApplication::processEvents();
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(QtHostTest, DoubleClicksInputMethodTextAndDroppedFilesArrive) {
    const QPointF at(12, 14);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget->viewport(), &dbl);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"dblclick 12,14"}));
    EXPECT_EQ(control.Clicks.size(), 1u); // the MouseDown with ssDouble that follows

    control.Log.clear();
    QInputMethodEvent ime;
    ime.setCommitString(QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    QApplication::sendEvent(widget, &ime);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"ime \xC3\xA9t\xC3\xA9", "char \xC3\xA9",
                                                     "char t", "char \xC3\xA9"}));

    control.Log.clear();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/page.asp")});
    // Qt delivers a drop only to the widget that accepted the drag's entry.
    const auto dropAt = [&](int x, int y) {
        QDragEnterEvent enter(QPoint(x, y), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget->viewport(), &enter);
        QDropEvent drop(QPointF(x, y), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget->viewport(), &drop);
    };
    dropAt(7, 7);
    EXPECT_TRUE(control.Log.empty()); // files are not accepted yet
    control.DragAcceptFiles(true);
    dropAt(7, 7);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"files at 7: /tmp/page.asp"}));
}
