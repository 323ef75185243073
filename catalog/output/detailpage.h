#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

namespace dao { class Database; }
namespace printer { class Surface; }

// The detail print of one record: its photo at the top left, the captions and values of
// the overview's columns at the right and its note below, on A4 pages laid out in
// millimetres. A note or values longer than a page go on to further pages.

// What a detail page shows of a record.
struct DetailZaznamu {
    QStringList Popisky;  // the overview's captions, columns 1 .. n
    QStringList Hodnoty;  // the record's values as the overview shows them
    QString Poznamka;     // the note, its line breaks as "\n"
    QString Fotografie;   // the photo's file; empty when there is none
    QSize Pixely;         // the photo's size in pixels
};

// Reads the record (overview columns of the current section) and its attachment
// `poradi` as the photo. A key that is not positive reads nothing: the captions with
// empty values. An attachment that is no readable picture gives no photo. A failing
// query raises its VbError.
DetailZaznamu NactiDetail(dao::Database &db, qint32 inter, qint32 poradi);

// The surface of page i (0 first). The renderer asks for the pages in order; page 0 may
// be asked for more than once.
using Stranky = std::function<printer::Surface &(int)>;

// The geometry of the page, in millimetres.
struct RozvrzeniDetailu {
    static constexpr double Okraj = 10;        // photo and note from the left and the top
    static constexpr double Popisky = 135;     // captions
    static constexpr double Mezera = 2;        // between the widest caption and the values
    static constexpr double RadekPoli = 5;     // caption and value lines
    static constexpr double RadekPoznamky = 4; // note lines
    static constexpr double SirkaPoznamky = 190;
    static constexpr double Dole = 10;         // kept free at the bottom of a page
    static constexpr double Vpravo = 5;        // kept free at the right of the printable area
    static constexpr double PismoVelikost = 10;
};

// The place of the photo drawn into a square of `imgSize` millimetres at (10, 10),
// keeping its proportions; empty for an empty size.
QRectF MistoFotografie(QSize pixely, double imgSize);

// What a drawing did: its pages and where the last line ended (millimetres, on the last
// page).
struct VysledekDetailu {
    int Stran = 0;
    double PoziceY = 0;
};

// Draws the detail on the pages the supplier gives, photo fitted into `imgSize`
// millimetres. A printer that fails raises its VbError.
VysledekDetailu KresliDetail(const DetailZaznamu &zaznam, double imgSize, const Stranky &stranka);

// The lines of a text at most `sirka` wide in the surface's font: its own line breaks
// kept (an empty line stays empty), a line too long broken after its last blank that
// fits, a word longer than the width cut where it stops fitting.
QStringList ZalomText(const printer::Surface &s, const QString &text, double sirka);
