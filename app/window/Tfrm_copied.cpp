#include "app/window/Tfrm_copied.h"

#include "platform/Font.h"

#include <QLabel>

namespace ondrex::window {

Tfrm_copied::Tfrm_copied(QWidget* parent)
    : TDialogWindow(parent, "Contents copied to clipboard", QSize(432, 142)) {
    auto* label = new QLabel("Contents are copied to the windows clipboard", this);
    QFont font(QString::fromStdString(ResolveFontFamily("Tahoma")));
    font.setPointSize(10);
    font.setBold(true);
    label->setFont(font);
    label->move(117, 11);
    label->adjustSize();
    AddCloseButton("&Close", QRect(359, 115, 65, 22), QRect(356, 113, 71, 26), true);
}

} // namespace ondrex::window
