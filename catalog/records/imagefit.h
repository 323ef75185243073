#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

// Where the record windows put a picture of a given natural size (all in twips).

// The preview window: in a frame of `frame`, whose lowest 300 twips hold the strip of
// check boxes; zoom fits the picture to the area, proportions keep its shape then.
QRect UmistiVNahledu(QSize natural, QSize frame, bool zoom, bool proporce);
// The record detail: a box of 6975 × 5235 at 60, 60; a picture as large as the box in
// either direction is scaled down into it, any picture centred.
QRect UmistiVDetailu(QSize natural);
// The attachment window: an area of 7995 × 5985 at 60, 510, by the same rule.
QRect UmistiVPrirazeni(QSize natural);

// A picture file's size in pixels without decoding it; none when it cannot be read as one.
std::optional<QSize> VelikostObrazku(const QString &path);
// Decodes the file straight at `size` pixels, keeping to the part `visible` of that
// (empty: all of it), so that a large photo costs only what is shown. A null image when
// the file cannot be read.
QImage NactiObrazek(const QString &path, QSize size, QRect visible = QRect());

// A place in twips as pixels, at least one each way.
QRect VPixelech(const QRect &twips);

// An attachment as a record window shows it in a fixed box: the picture decoded at the
// size `umisti` gives its natural size (twips), or the main window's icon of a document;
// the place in pixels. None for a picture that cannot be read.
struct ZobrazenaPriloha {
    QPixmap obrazek;
    QRect misto;
};
std::optional<ZobrazenaPriloha> NactiPrilohuDoBoxu(const QString &path, const QString &soubor,
                                                   const std::function<QRect(QSize)> &umisti);
