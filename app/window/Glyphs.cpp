#include "app/window/Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace ondrex::window {

namespace {

const char* themeName(TGlyph glyph) {
    switch (glyph) {
    case TGlyph::Open:
        return "document-open";
    case TGlyph::Parse:
        return "view-refresh";
    case TGlyph::Find:
        return "edit-find";
    case TGlyph::Print:
        return "document-print";
    case TGlyph::Copy:
        return "edit-copy";
    case TGlyph::Quit:
        return "application-exit";
    case TGlyph::Lock:
        return "changes-prevent";
    case TGlyph::Ok:
        return "dialog-ok";
    case TGlyph::Close:
        return "window-close";
    }
    return "";
}

// Each drawing fills a 32 x 32 square; QIcon scales it for smaller buttons.
void drawGlyph(QPainter& p, TGlyph glyph) {
    const QColor ink(40, 60, 90);
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (glyph) {
    case TGlyph::Open: { // a folder
        QPainterPath folder;
        folder.moveTo(3, 9);
        folder.lineTo(12, 9);
        folder.lineTo(15, 12);
        folder.lineTo(29, 12);
        folder.lineTo(29, 27);
        folder.lineTo(3, 27);
        folder.closeSubpath();
        p.setBrush(QColor(240, 200, 90));
        p.drawPath(folder);
        break;
    }
    case TGlyph::Parse: { // a circular arrow
        p.setPen(QPen(QColor(30, 120, 60), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
        p.setBrush(QColor(30, 120, 60));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(19, 2), QPointF(27, 8), QPointF(18, 12)}));
        break;
    }
    case TGlyph::Find: // a magnifier
        p.setBrush(QColor(210, 230, 250));
        p.drawEllipse(QRectF(4, 4, 17, 17));
        p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 19), QPointF(28, 28));
        break;
    case TGlyph::Print: // a printer with a sheet
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(150, 160, 175));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 20, 14, 9));
        break;
    case TGlyph::Copy: // two sheets
        p.setBrush(QColor(230, 235, 245));
        p.drawRect(QRectF(4, 3, 15, 19));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(12, 10, 15, 19));
        break;
    case TGlyph::Quit: // an open door and an arrow
        p.setBrush(QColor(200, 170, 130));
        p.drawRect(QRectF(4, 3, 14, 26));
        p.setPen(QPen(QColor(180, 40, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(14, 16), QPointF(28, 16));
        p.drawPolyline(QPolygonF({QPointF(23, 11), QPointF(28, 16), QPointF(23, 21)}));
        break;
    case TGlyph::Lock: // a padlock
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 3, 14, 16), 0, 180 * 16);
        p.drawLine(QPointF(9, 11), QPointF(9, 14));
        p.drawLine(QPointF(23, 11), QPointF(23, 14));
        p.setBrush(QColor(230, 180, 40));
        p.drawRoundedRect(QRectF(5, 14, 22, 15), 2, 2);
        break;
    case TGlyph::Ok: // a tick
        p.setPen(QPen(QColor(30, 130, 50), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(5, 17), QPointF(13, 25), QPointF(27, 7)}));
        break;
    case TGlyph::Close: // a cross
        p.setPen(QPen(QColor(180, 40, 40), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 7), QPointF(25, 25));
        p.drawLine(QPointF(25, 7), QPointF(7, 25));
        break;
    }
}

QPixmap transparent(int w, int h) {
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon OwnGlyph(TGlyph glyph) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap = transparent(size, size);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        drawGlyph(p, glyph);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon Glyph(TGlyph glyph) {
    return QIcon::fromTheme(QString::fromLatin1(themeName(glyph)), OwnGlyph(glyph));
}

QPixmap DialogPicture() {
    // A page of script with a located block marked yellow on blue.
    QPixmap pixmap(81, 113);
    pixmap.fill(QColor(245, 245, 240));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawRect(QRectF(6.5, 6.5, 68, 100));
    const int widths[] = {40, 52, 30, 46, 0, 38, 50, 44, 28, 0, 42, 34};
    for (int i = 0; i < 12; ++i) {
        const int y = 14 + i * 7;
        if (i == 5) p.fillRect(QRect(10, y - 3, 61, 7), QColor(0, 0, 255));
        if (!widths[i]) continue;
        p.setPen(QPen(i == 5 ? QColor(255, 255, 0) : QColor(60, 80, 120), 2));
        p.drawLine(QPointF(14 + (i % 3) * 4, y), QPointF(14 + (i % 3) * 4 + widths[i], y));
    }
    return pixmap;
}

QPixmap StateImage(int index) {
    static const struct {
        QColor fill;
        char letter;
    } kImages[] = {{QColor(70, 110, 200), 'D'},
                   {QColor(40, 150, 80), 'S'},
                   {QColor(150, 70, 180), 'F'},
                   {QColor(220, 130, 30), '?'}};
    const auto& image = kImages[std::clamp(index, 0, 3)];
    QPixmap pixmap = transparent(16, 16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(image.fill);
    p.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(QChar(image.letter)));
    return pixmap;
}

} // namespace ondrex::window
