#include "app/window/DialogWindow.h"

#include "app/window/Glyphs.h"
#include "platform/Font.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace ondrex::window {

QFont SansSerif8() {
    QFont font(QString::fromStdString(ResolveFontFamily("MS Sans Serif")));
    font.setPointSize(8);
    return font;
}

TDialogWindow::TDialogWindow(QWidget* parent, const QString& caption, QSize clientSize)
    : QDialog(parent) {
    setWindowTitle(caption);
    setFixedSize(clientSize);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAutoFillBackground(true);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setGeometry(8, 8, 97, 129);
    auto* picture = new QLabel(frame);
    picture->setPixmap(DialogPicture());
    picture->setGeometry(8, 8, 81, 113);
}

void TDialogWindow::AddCloseButton(const QString& text, const QRect& button, const QRect& bevel,
                                   bool glyph) {
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(bevel);
    closeButton_ = new QToolButton(this);
    closeButton_->setText(text);
    closeButton_->setAutoRaise(true);
    closeButton_->setGeometry(button);
    closeButton_->setAccessibleName(QString(text).remove('&'));
    if (glyph) {
        closeButton_->setIcon(Glyph(text.contains("OK") ? TGlyph::Ok : TGlyph::Close));
        closeButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        closeButton_->setLayoutDirection(Qt::RightToLeft); // the picture on the right
    }
    connect(closeButton_, &QToolButton::clicked, this, &QDialog::accept);
}

bool TDialogWindow::event(QEvent* e) {
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) {
        move(20, 20);
        Activated();
    }
    return handled;
}

} // namespace ondrex::window
