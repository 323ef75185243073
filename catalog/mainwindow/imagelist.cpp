#include "mainwindow/imagelist.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

QPolygonF star(QPointF centre, double outer, double rotation = 0)
{
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? outer * 0.382 : outer;
        const double a = rotation + qDegreesToRadians(-90.0 + i * 36.0);
        points << centre + QPointF(r * std::cos(a), r * std::sin(a));
    }
    return points;
}

QPixmap flagCzech()
{
    QPixmap p(25, 16);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.fillRect(0, 0, 25, 8, Qt::white);
    g.fillRect(0, 8, 25, 8, QColor(0xD7, 0x14, 0x1A));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0x11, 0x45, 0x7E));
    g.drawPolygon(QPolygonF{QPointF(0, 0), QPointF(12.5, 8), QPointF(0, 16)});
    return p;
}

QPixmap flagEnglish()
{
    QPixmap p(25, 16);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const double stripe = 16.0 / 13.0;
    for (int i = 0; i < 13; ++i)
        g.fillRect(QRectF(0, i * stripe, 25, stripe), i % 2 ? Qt::white : QColor(0xB2, 0x22, 0x34));
    g.fillRect(QRectF(0, 0, 11, 7 * stripe), QColor(0x3C, 0x3B, 0x6E));
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            g.drawEllipse(QPointF(1.6 + col * 2.6 + (row % 2) * 1.3, 1.2 + row * 2.0), 0.45, 0.45);
    return p;
}

QPixmap flagChinese()
{
    QPixmap p(25, 16);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.fillRect(0, 0, 25, 16, QColor(0xDE, 0x29, 0x10));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0xFF, 0xDE, 0x00));
    g.drawPolygon(star(QPointF(4.2, 4.2), 3.0));
    const QPointF small[] = {{8.4, 1.6}, {10.0, 3.2}, {10.0, 5.6}, {8.4, 7.2}};
    for (const QPointF &c : small)
        g.drawPolygon(star(c, 1.0, 0.4));
    return p;
}

// A sheet of paper with a folded corner, the base of both attachment icons.
QPainterPath sheet(const QRectF &r, double fold)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    return path;
}

QPixmap documentIcon()
{
    QPixmap p(191, 235);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QRectF page(12, 8, 166, 218);
    g.setPen(QPen(QColor(0x55, 0x55, 0x55), 3));
    g.setBrush(Qt::white);
    g.drawPath(sheet(page, 40));
    g.setBrush(QColor(0xDD, 0xDD, 0xDD));
    g.drawPolygon(QPolygonF{QPointF(page.right() - 40, page.top()), QPointF(page.right() - 40, page.top() + 40),
                            QPointF(page.right(), page.top() + 40)});
    g.setPen(QPen(QColor(0x44, 0x66, 0xAA), 6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 9; ++i) {
        const double y = page.top() + 65 + i * 17;
        const double right = page.right() - 22 - (i % 3 == 2 ? 45 : 0);
        g.drawLine(QPointF(page.left() + 22, y), QPointF(right, y));
    }
    return p;
}

QPixmap pdfIcon()
{
    QPixmap p(175, 175);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QRectF page(30, 6, 115, 163);
    g.setPen(QPen(QColor(0x55, 0x55, 0x55), 3));
    g.setBrush(Qt::white);
    g.drawPath(sheet(page, 30));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0xC8, 0x1E, 0x1E));
    g.drawRoundedRect(QRectF(12, 92, 151, 52), 8, 8);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(40);
    font.setBold(true);
    g.setFont(font);
    g.setPen(Qt::white);
    g.drawText(QRectF(12, 92, 151, 52), Qt::AlignCenter, QStringLiteral("PDF"));
    return p;
}

}  // namespace

ImageList::ImageList()
    : m_pictures{flagCzech(), flagEnglish(), flagChinese(), documentIcon(), pdfIcon()}
{
}

QPixmap ImageList::ListImages(int index) const
{
    return index >= 1 && index <= Count() ? m_pictures[size_t(index - 1)] : QPixmap();
}
