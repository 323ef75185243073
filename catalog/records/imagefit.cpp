#include "records/imagefit.h"

#include "common/mainframe.h"
#include "data/attachments.h"
#include "system.h"

#include <QImageReader>
#include <QLabel>
#include <cmath>

namespace {

// The centre of a picture of `size` in an area: only the directions in which it is
// smaller than the area are centred, the others start at the area's edge.
QRect centred(QSizeF size, QSizeF natural, QRectF area)
{
    const double left = natural.width() < area.width() ? area.width() / 2 - size.width() / 2 : 0;
    const double top = natural.height() < area.height() ? area.height() / 2 - size.height() / 2 : 0;
    return QRect(int(std::lround(area.left() + left)), int(std::lround(area.top() + top)), int(std::lround(size.width())),
                 int(std::lround(size.height())));
}

// Scales a picture that reaches the box's size into it, keeping its shape, and centres it.
QRect intoBox(QSize natural, QRect box, QPointF centre)
{
    QSizeF size(natural);
    if (natural.width() >= box.width() || natural.height() >= box.height()) {
        const float r = float(natural.width()) / float(std::max(1, natural.height()));
        if (r > 4.0f / 3.0f)
            size = QSizeF(box.width(), box.width() / double(r));
        else
            size = QSizeF(box.height() * double(r), box.height());
    }
    const double left = centre.x() - size.width() / 2;
    const double top = centre.y() - size.height() / 2;
    return QRect(int(std::lround(left)), int(std::lround(top)), int(std::lround(size.width())), int(std::lround(size.height())));
}

}  // namespace

QRect UmistiVNahledu(QSize natural, QSize frame, bool zoom, bool proporce)
{
    const int fw = frame.width();
    const int fh = frame.height();
    const QRectF area(0, 0, fw, fh - 300);
    if (!zoom)
        return centred(QSizeF(natural), QSizeF(natural), area);
    if (!proporce)
        return area.toRect();
    const float r = float(natural.width()) / float(std::max(1, natural.height()));
    QSizeF size;
    if (r <= float(fw) / float(std::max(1, fh)))
        size = QSizeF((fh - 300) * double(r), fh - 300);
    else
        size = QSizeF(fw, fw / double(r));
    return centred(size, size, area);
}

QRect UmistiVDetailu(QSize natural)
{
    return intoBox(natural, QRect(60, 60, 6975, 5235), QPointF(60 + 6975 / 2.0, 60 + 5235 / 2.0));
}

QRect UmistiVPrirazeni(QSize natural)
{
    // The design centres on half the area rounded up.
    return intoBox(natural, QRect(60, 510, 7995, 5985), QPointF(60 + 3998, 510 + 2993));
}

std::optional<QSize> VelikostObrazku(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    return size;
}

QImage NactiObrazek(const QString &path, QSize size, QRect visible)
{
    if (path.isEmpty() || size.isEmpty())
        return QImage();
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const bool part = !visible.isEmpty() && visible != QRect(QPoint(), size);
    if (reader.size() == size) {
        if (part)
            reader.setClipRect(visible);
    } else {
        reader.setScaledSize(size);
        if (part)
            reader.setScaledClipRect(visible);
    }
    return reader.read();
}

QRect VPixelech(const QRect &twips)
{
    return QRect(sys::toPixels(twips.left()), sys::toPixels(twips.top()), std::max(1, sys::toPixels(twips.width())),
                 std::max(1, sys::toPixels(twips.height())));
}

std::optional<ZobrazenaPriloha> NactiPrilohuDoBoxu(const QString &path, const QString &soubor,
                                                   const std::function<QRect(QSize)> &umisti)
{
    if (path.isEmpty())
        return std::nullopt;
    ZobrazenaPriloha shown;
    if (DruhPrilohy(soubor) == DruhSouboru::Obrazek) {
        const std::optional<QSize> size = VelikostObrazku(path);
        if (!size)
            return std::nullopt;
        shown.misto = VPixelech(umisti(QSize(sys::toTwips(size->width()), sys::toTwips(size->height()))));
        shown.obrazek = QPixmap::fromImage(NactiObrazek(path, shown.misto.size()));
    } else {
        shown.obrazek = ObrazekHlavnihoOkna(DruhPrilohy(soubor) == DruhSouboru::Pdf ? 5 : 4);
        shown.misto = VPixelech(umisti(QSize(sys::toTwips(shown.obrazek.width()), sys::toTwips(shown.obrazek.height()))));
    }
    if (shown.obrazek.isNull())
        return std::nullopt;
    return shown;
}
