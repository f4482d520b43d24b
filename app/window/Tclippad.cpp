#include "app/window/Tclippad.h"

#include "platform/Clipboard.h"

#include <QFrame>
#include <QPlainTextEdit>

namespace ondrex::window {

Tclippad::Tclippad(QWidget* parent)
    : TDialogWindow(parent, "Contents of clippad", QSize(486, 224)) {
    setFont(SansSerif8());
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(112, 8, 369, 209);
    memo_ = new QPlainTextEdit(panel);
    memo_->setGeometry(8, 8, 353, 193);
    memo_->setFrameShape(QFrame::NoFrame);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // long lines wrap
    memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo_->setAccessibleName("Clipboard contents");
    AddCloseButton("&Close Window", QRect(10, 194, 93, 21), QRect(8, 192, 97, 25), false);
}

void Tclippad::Activated() {
    memo_->clear();
    memo_->setPlainText(QString::fromStdString(Clipboard().AsText()));
}

} // namespace ondrex::window
