#include "app/window/Tfrm_about.h"

#include <QLabel>

namespace ondrex::window {

Tfrm_about::Tfrm_about(QWidget* parent) : TDialogWindow(parent, "About Ondrex", QSize(375, 140)) {
    setFont(SansSerif8());
    auto label = [this](const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    label("Ondrex 2000", 112, 8);
    label("Made by the Ondrex project", 112, 32);
    QLabel* visit = label("For more information visit ", 112, 56);
    // Styled as a link, as it always was, and not clickable.
    QLabel* link = label("the Ondrex project", 240, 56);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    link->setPalette(palette);
    link->move(visit->x() + visit->width(), 56);
    link->adjustSize();
    AddCloseButton("&OK", QRect(320, 116, 49, 22), QRect(317, 114, 54, 26), true);
}

} // namespace ondrex::window
