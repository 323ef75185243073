#include "common/progressbar.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBar(0x00, 0x00, 0x80);  // dark blue
const QColor kBack(Qt::white);

}  // namespace

int ProcentaPrubehu(double fraction, bool showEnds)
{
    int p = int(std::floor(std::clamp(fraction, 0.0, 1.0) * 100 + 0.5));
    if (!showEnds) {
        if (p == 0)
            p = 1;
        else if (p == 100)
            p = 99;
    }
    return p;
}

void KresliPrubeh(QLabel &picture, float fraction, bool showEnds)
{
    const QSize size = picture.size();
    if (size.isEmpty())
        return;
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBack);
    QPainter painter(&image);
    // Smoothed edges would come out of the not-xor in odd colours.
    QFont font = picture.font();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    const QString label = QString::number(ProcentaPrubehu(fraction, showEnds)) + QLatin1Char('%');
    const QFontMetrics metrics(font);
    const QSize text(metrics.horizontalAdvance(label), metrics.height());
    const QPoint at(size.width() / 2 - text.width() / 2, size.height() / 2 - text.height() / 2);
    painter.fillRect(QRect(at, text), kBack);
    painter.setPen(kBar);
    painter.drawText(QRect(at, text), Qt::AlignLeft | Qt::AlignTop, label);
    // Not-xor: the bar turns white into dark blue and the dark blue text inside it white.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    if (fraction > 0)
        painter.fillRect(QRectF(0, 0, size.width() * std::min(double(fraction), 1.0), size.height()), kBar);
    painter.end();
    picture.setPixmap(QPixmap::fromImage(image));
    // A picture says nothing to a screen reader: its name is the percentage drawn.
    picture.setAccessibleName(label);
    picture.repaint();
}
