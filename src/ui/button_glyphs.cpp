#include "ui/button_glyphs.h"

#include <QPainter>
#include <QPixmap>

namespace kalvera {

namespace {

QPixmap Blank() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QIcon PrintGlyph() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(6, 2, 11, 8);  // paper going in
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(2, 9, 19, 9);  // body
    p.setBrush(Qt::white);
    p.drawRect(6, 15, 11, 7);  // paper coming out
    p.setPen(QColor(0, 0, 128));
    p.drawLine(8, 18, 15, 18);
    p.drawLine(8, 20, 13, 20);
    p.setPen(Qt::green);
    p.drawPoint(18, 11);
    return QIcon(pixmap);
}

QIcon SaveGlyph() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(2, 2, 19, 19);  // disk
    p.setBrush(Qt::white);
    p.drawRect(6, 2, 11, 8);  // label
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(6, 14, 11, 7);  // shutter
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(8, 15, 3, 5);
    return QIcon(pixmap);
}

}  // namespace kalvera
