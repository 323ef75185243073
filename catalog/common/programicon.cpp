#include "common/programicon.h"

#include <QLinearGradient>
#include <QPainter>

QPixmap ObrazekProgramu(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a square of 96 units, whatever the size.
    p.scale(size / 96.0, size / 96.0);
    QLinearGradient shade(0, 0, 0, 96);
    shade.setColorAt(0, QColor(70, 110, 170));
    shade.setColorAt(1, QColor(30, 60, 110));
    p.setBrush(shade);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(4, 4, 88, 88), 12, 12);
    p.setBrush(QColor(250, 246, 232));
    // Edged by one device pixel, so that the cards stay three in the smallest sizes.
    QPen edge(QColor(60, 70, 95));
    edge.setCosmetic(true);
    edge.setWidthF(1.0);
    p.setPen(edge);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(18 + 6 * i, 22 + 10 * i, 52, 40));
    // The lines of the front card only where they can still be told apart.
    if (size >= 24) {
        p.setPen(QPen(QColor(120, 120, 120), 2));
        for (int line = 0; line < 3; ++line)
            p.drawLine(QPointF(38, 58 + 7 * line), QPointF(74, 58 + 7 * line));
    }
    return pixmap;
}

QIcon IkonaProgramu()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 96, 128, 256})
        icon.addPixmap(ObrazekProgramu(size));
    return icon;
}
