#include "platform/qt/QtControlHost.h"

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtText.h"
#include "platform/SystemMetrics.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <cstring>

namespace ondrex {

namespace {

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

Qt::CursorShape ToQtCursor(TCursor cursor) {
    switch (cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crDrag:
        return Qt::DragMoveCursor;
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

TMouseButton ToButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return TMouseButton::mbLeft;
    }
}

bool Handled(Qt::MouseButton button) {
    return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
}

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.push_back(qt::FromQString(url.toLocalFile()));
    return files;
}

int ScrollCode(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    case QAbstractSlider::SliderMove:
        return SB_THUMBTRACK;
    default:
        return -1;
    }
}

} // namespace

// The one widget class: a scroll area whose viewport is the control's client area.
class TQtControlHost::TWidget : public QAbstractScrollArea {
public:
    TWidget(TQtControlHost& host, QWidget* parent, bool popup)
        : QAbstractScrollArea(parent), host_(&host) {
        if (popup) {
            setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
            setAttribute(Qt::WA_ShowWithoutActivating);
        }
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFocusPolicy(popup ? Qt::NoFocus : Qt::StrongFocus);
        setAttribute(Qt::WA_InputMethodEnabled);
        viewport()->setMouseTracking(true);
        viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
        viewport()->setAutoFillBackground(false);
        viewport()->setAcceptDrops(true);
        viewport()->setCursor(Qt::ArrowCursor);
        connectBar(horizontalScrollBar(), TScrollBarKind::sbHorizontal);
        connectBar(verticalScrollBar(), TScrollBarKind::sbVertical);
        blink_.setInterval(std::max(CaretBlinkTime(), 1));
        QObject::connect(&blink_, &QTimer::timeout, [this] {
            blinkOn_ = !blinkOn_;
            updateCaret(host_->Caret());
        });
    }

    ~TWidget() override {
        if (host_) host_->widget_ = nullptr;
    }

    void detach() { host_ = nullptr; }

    void invalidate(const QRect& r) {
        const QRect clipped = r.intersected(viewport()->rect());
        if (clipped.isEmpty()) return;
        pending_ += clipped;
        viewport()->update(clipped);
    }

    void updateNow() {
        if (pending_.isEmpty()) return;
        const QRegion region = pending_;
        pending_ = QRegion();
        viewport()->repaint(region);
    }

    void updateCaret(const TCaretState& caret) {
        if (caret.Created) invalidate(ToQRect(caret.Rect()));
    }

    // A moved or re-shown caret starts a blink period visible.
    void restartBlink() {
        blinkOn_ = true;
        if (CaretBlinkTime() > 0 && host_ && host_->CaretDrawn())
            blink_.start();
        else
            blink_.stop();
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!host_) return;
        pending_ -= e->region();
        const QRect r = e->rect();
        {
            TQtCanvas canvas(viewport(), Bounds(r.x(), r.y(), r.width(), r.height()));
            host_->SendPaint(canvas, canvas.ClipRect());
        }
        if (host_ && host_->CaretDrawn() && blinkOn_) {
            QPainter p(viewport());
            p.setClipRegion(e->region());
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.fillRect(ToQRect(host_->Caret().Rect()), Qt::white);
        }
    }

    bool viewportEvent(QEvent* e) override {
        if (host_) {
            switch (e->type()) {
            case QEvent::Resize:
                host_->SendResize();
                break;
            case QEvent::Enter:
                host_->SendMouseEnter();
                break;
            case QEvent::Leave:
                host_->SendMouseLeave();
                break;
            default:
                break;
            }
        }
        return QAbstractScrollArea::viewportEvent(e);
    }

    void keyPressEvent(QKeyEvent* e) override {
        if (!host_) return;
        const TShiftState shift = qt::ShiftState(e->modifiers());
        if (const std::uint16_t vk = qt::VirtualKey(e->key(), e->modifiers()))
            host_->SendKeyDown(vk, shift);
        // Alt with a key is a menu accelerator, not typing (AltGr arrives as Ctrl+Alt).
        if (!host_ || ((shift & ssAlt) && !(shift & ssCtrl))) return;
        for (char32_t ch : e->text().toUcs4()) {
            if (!host_) return;
            host_->SendChar(qt::FromQString(QString::fromUcs4(&ch, 1)));
        }
    }

    void keyReleaseEvent(QKeyEvent* e) override {
        if (!host_) return;
        if (const std::uint16_t vk = qt::VirtualKey(e->key(), e->modifiers()))
            host_->SendKeyUp(vk, qt::ShiftState(e->modifiers()));
    }

    bool focusNextPrevChild(bool next) override {
        if (host_ && host_->WantsTab(qt::ShiftState(QGuiApplication::keyboardModifiers())))
            return false;
        return QAbstractScrollArea::focusNextPrevChild(next);
    }

    void inputMethodEvent(QInputMethodEvent* e) override {
        if (host_ && !e->commitString().isEmpty())
            host_->SendImeResult(qt::FromQString(e->commitString()));
        e->accept();
    }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        if (host_ && query == Qt::ImCursorRectangle) {
            const TPoint p = host_->ImeCompositionPos();
            return QRect(p.X, p.Y, 1, std::max(host_->Caret().Height, 1));
        }
        return QAbstractScrollArea::inputMethodQuery(query);
    }

    void mousePressEvent(QMouseEvent* e) override {
        if (host_ && Handled(e->button()))
            host_->SendMouseDown(ToButton(e->button()), shiftOf(e), pos(e).x(), pos(e).y());
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (host_ && Handled(e->button()))
            host_->SendDoubleClick(ToButton(e->button()), shiftOf(e), pos(e).x(), pos(e).y());
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        if (host_) host_->SendMouseMove(shiftOf(e), pos(e).x(), pos(e).y());
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        if (host_ && Handled(e->button()))
            host_->SendMouseUp(ToButton(e->button()), shiftOf(e), pos(e).x(), pos(e).y());
    }

    void wheelEvent(QWheelEvent* e) override {
        const int delta = e->angleDelta().y();
        const QPoint p = e->position().toPoint();
        if (!host_ || delta == 0 ||
            !host_->SendMouseWheel(qt::ShiftState(e->modifiers(), e->buttons()), delta, p.x(),
                                   p.y()))
            e->ignore();
    }

    void focusInEvent(QFocusEvent*) override {
        if (!host_) return;
        host_->SendFocusIn();
        restartBlink();
        updateCaret(host_->Caret());
    }

    void focusOutEvent(QFocusEvent*) override {
        if (!host_) return;
        blink_.stop();
        updateCaret(host_->Caret());
        host_->SendFocusOut();
    }

    void dragEnterEvent(QDragEnterEvent* e) override {
        if (host_ && host_->AcceptsFiles() && !LocalFiles(e->mimeData()).empty())
            e->acceptProposedAction();
    }

    void dragMoveEvent(QDragMoveEvent* e) override {
        if (host_ && host_->AcceptsFiles()) e->acceptProposedAction();
    }

    void dropEvent(QDropEvent* e) override {
        if (!host_ || !host_->AcceptsFiles()) return;
        const QPoint p = e->position().toPoint();
        host_->SendDropFiles(p.x(), p.y(), LocalFiles(e->mimeData()));
        e->acceptProposedAction();
    }

private:
    static QPoint pos(QMouseEvent* e) { return e->position().toPoint(); }
    static TShiftState shiftOf(QMouseEvent* e) {
        return qt::ShiftState(e->modifiers(), e->buttons());
    }

    void connectBar(QScrollBar* bar, TScrollBarKind kind) {
        QObject::connect(bar, &QAbstractSlider::actionTriggered, [this, bar, kind](int action) {
            const int code = ScrollCode(action);
            if (!host_ || code < 0) return;
            host_->SendScroll(kind, code, bar->sliderPosition());
            if (host_ && code != SB_THUMBTRACK) {
                host_->SendScroll(kind, SB_ENDSCROLL, 0);
                if (host_) bar->setSliderPosition(host_->ScrollBar(kind).Info.Pos);
            }
        });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, [this, bar, kind] {
            if (!host_) return;
            host_->SendScroll(kind, SB_THUMBPOSITION, bar->sliderPosition());
            if (host_) host_->SendScroll(kind, SB_ENDSCROLL, 0);
            if (host_) host_->ScrollBarChanged(kind);
        });
    }

    TQtControlHost* host_;
    QRegion pending_;
    QTimer blink_;
    bool blinkOn_ = true;
};

TQtControlHost::TQtControlHost(TCustomControl& control, void* parentWidget, bool popup)
    : TControlHost(control) {
    qt::ensureApplication();
    widget_ = new TWidget(*this, static_cast<QWidget*>(parentWidget), popup);
    const TRect b = control.BoundsRect();
    widget_->setGeometry(ToQRect(b));
    if (control.Cursor() != crDefault) ShowCursor(control.Cursor());
    widget_->setEnabled(control.Enabled());
    widget_->setVisible(control.Visible());
}

TQtControlHost::~TQtControlHost() {
    if (!widget_) return;
    widget_->detach();
    delete widget_;
}

void* TQtControlHost::Widget() const {
    return static_cast<QWidget*>(widget_);
}

TBitmap TQtControlHost::Grab() const {
    if (!widget_) return {};
    const QImage image =
        widget_->viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    TBitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(bitmap.ScanLine(y), image.constScanLine(y), std::size_t(image.width()) * 4);
    return bitmap;
}

TSize TQtControlHost::ClientSize() const {
    if (!widget_) return {};
    const QSize s = widget_->viewport()->size();
    return {s.width(), s.height()};
}

void TQtControlHost::SetBounds(const TRect& bounds) {
    if (widget_) widget_->setGeometry(ToQRect(bounds));
}

void TQtControlHost::SetVisible(bool visible) {
    if (widget_) widget_->setVisible(visible);
}

void TQtControlHost::SetEnabled(bool enabled) {
    if (widget_) widget_->setEnabled(enabled);
}

bool TQtControlHost::ApplicationActive() const {
    return QApplication::activeWindow() != nullptr;
}

void TQtControlHost::InvalidateRect(const TRect& rect, bool) {
    if (widget_) widget_->invalidate(ToQRect(rect));
}

void TQtControlHost::Update() {
    if (widget_) widget_->updateNow();
}

void TQtControlHost::ScrollWindow(int dx, int dy, const TRect& area) {
    if (!widget_) return;
    widget_->viewport()->scroll(dx, dy, ToQRect(area));
    // The caret's pixels moved with the rest: repaint both places.
    if (Caret().Created) {
        widget_->updateCaret(Caret());
        widget_->invalidate(ToQRect(Caret().Rect().Offset(dx, dy)));
    }
}

void TQtControlHost::SetFocus() {
    if (!widget_) return;
    widget_->activateWindow();
    widget_->setFocus(Qt::OtherFocusReason);
}

bool TQtControlHost::Focused() const {
    return widget_ && widget_->hasFocus();
}

TPoint TQtControlHost::CursorPos() const {
    if (!widget_) return {};
    const QPoint p = widget_->viewport()->mapFromGlobal(QCursor::pos());
    return {p.x(), p.y()};
}

TPoint TQtControlHost::ClientToScreen(TPoint p) const {
    if (!widget_) return p;
    const QPoint s = widget_->viewport()->mapToGlobal(QPoint(p.X, p.Y));
    return {s.x(), s.y()};
}

TShiftState TQtControlHost::KeyboardState() const {
    return qt::ShiftState(QGuiApplication::keyboardModifiers());
}

void TQtControlHost::CaretChanged(const TCaretState& before) {
    if (!widget_) return;
    widget_->updateCaret(before);
    widget_->updateCaret(Caret());
    widget_->restartBlink();
}

void TQtControlHost::ScrollBarChanged(TScrollBarKind kind) {
    if (!widget_) return;
    const TScrollBarState& state = ScrollBar(kind);
    QScrollBar* bar = kind == TScrollBarKind::sbVertical ? widget_->verticalScrollBar()
                                                         : widget_->horizontalScrollBar();
    const QSignalBlocker block(bar);
    bar->setRange(state.Info.Min, std::max(state.Info.Min, state.Info.MaxPos()));
    bar->setPageStep(std::max(state.Info.Page, 1));
    bar->setSingleStep(1);
    if (!bar->isSliderDown()) bar->setValue(state.Info.Pos);
    bar->setEnabled(state.Enabled());
    const Qt::ScrollBarPolicy policy =
        state.Visible() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (kind == TScrollBarKind::sbVertical)
        widget_->setVerticalScrollBarPolicy(policy);
    else
        widget_->setHorizontalScrollBarPolicy(policy);
}

void TQtControlHost::CaptureChanged() {
    if (!widget_) return;
    QWidget* viewport = widget_->viewport();
    if (MouseCapture() && viewport->isVisible())
        viewport->grabMouse();
    else if (!MouseCapture() && QWidget::mouseGrabber() == viewport)
        viewport->releaseMouse();
}

void TQtControlHost::ShowCursor(TCursor cursor) {
    if (widget_) widget_->viewport()->setCursor(ToQtCursor(cursor));
}

} // namespace ondrex
