#include "output/detailpage.h"

#include "common/globals.h"
#include "dao.h"
#include "data/attachments.h"
#include "data/currentoverview.h"
#include "printer.h"
#include "records/imagefit.h"
#include "vberror.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

using R = RozvrzeniDetailu;

constexpr double MillimetresPerInch = 25.4;
// A photo is decoded no finer than this, whatever the printer's resolution: finer
// detail does not show on paper and costs time with every copy.
constexpr double NejvyssiRozliseni = 300;

void pripravStranku(printer::Surface &s)
{
    s.ScaleMode(printer::vbMillimeters);
    s.FontName(QStringLiteral("Arial CE"));
    s.FontSize(R::PismoVelikost);
    s.FontBold(false);
}

void TiskniPolozku(printer::Surface &s, const QString &text, double x, double y, bool bold)
{
    s.FontBold(bold);
    s.CurrentX = x;
    s.CurrentY = y;
    s.Print(text);
}

// Older data keep CR LF, the edit window writes "\n"; both are one line break.
QString jednotneZlomy(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString bezMezer(const QString &text, bool zleva, bool zprava)
{
    qsizetype from = 0, to = text.size();
    while (zleva && from < to && (text[from] == QLatin1Char(' ') || text[from] == QLatin1Char('\t')))
        ++from;
    while (zprava && to > from && (text[to - 1] == QLatin1Char(' ') || text[to - 1] == QLatin1Char('\t')))
        --to;
    return text.mid(from, to - from);
}

}  // namespace

QRectF MistoFotografie(QSize pixely, double imgSize)
{
    if (pixely.isEmpty() || imgSize <= 0)
        return QRectF();
    const double r = double(pixely.width()) / double(pixely.height());
    // Landscape and square fill the width, portrait the height.
    const QSizeF size = r >= 1 ? QSizeF(imgSize, imgSize / r) : QSizeF(imgSize * r, imgSize);
    return QRectF(QPointF(R::Okraj, R::Okraj), size);
}

DetailZaznamu NactiDetail(dao::Database &db, qint32 inter, qint32 poradi)
{
    DetailZaznamu z;
    const AktualniPrehled &prehled = Prehled();
    const std::vector<SloupecPrehledu> &sloupce = prehled.SloupcePrehledu();
    for (int i = 1; i < int(prehled.PocetSloupcu()) && size_t(i) < sloupce.size(); ++i)
        z.Popisky << sloupce[size_t(i)].Titulek.trimmed();
    if (inter > 0) {
        auto record = db.OpenRecordset(DotazDetailu(prehled.SeznamPoli(), inter));
        if (!record->Eof()) {
            for (int i = 1; i <= z.Popisky.size() && i < record->FieldCount(); ++i)
                z.Hodnoty << TextBunky((*record)[i]);
            const Variant note = (*record)[QStringLiteral("poznamka")];
            if (!note.IsNull())
                z.Poznamka = jednotneZlomy(note.toString()).trimmed();
        }
    }
    while (z.Hodnoty.size() < z.Popisky.size())
        z.Hodnoty << QString();
    // A photo that cannot be had leaves the page without one.
    try {
        if (const std::optional<Priloha> priloha = NactiPrilohu(db, inter, poradi)) {
            const QString path = CestaPrilohy(AppPath, priloha->Soubor);
            if (!path.isEmpty() && QFileInfo(path).isFile()) {
                if (const std::optional<QSize> size = VelikostObrazku(path)) {
                    z.Fotografie = path;
                    z.Pixely = *size;
                }
            }
        }
    } catch (const VbError &) {
    }
    return z;
}

QStringList ZalomText(const printer::Surface &s, const QString &text, double sirka)
{
    QStringList lines;
    for (const QString &odstavec : jednotneZlomy(text).split(QLatin1Char('\n'))) {
        QString rest = bezMezer(odstavec, true, true);
        if (rest.isEmpty()) {
            lines << QString();
            continue;
        }
        while (!rest.isEmpty()) {
            if (s.TextWidth(rest) <= sirka) {
                lines << rest;
                break;
            }
            // The longest beginning that fits, at least one character.
            qsizetype low = 1, high = rest.size() - 1;
            while (low < high) {
                const qsizetype mid = (low + high + 1) / 2;
                if (s.TextWidth(rest.left(mid)) <= sirka)
                    low = mid;
                else
                    high = mid - 1;
            }
            qsizetype k = low;
            if (k < rest.size() && rest[k - 1].isHighSurrogate())
                k = k > 1 ? k - 1 : k + 1;
            // A blank right after the part that fits ends a whole word too.
            const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), k);
            if (blank > 0) {
                lines << bezMezer(rest.left(blank), false, true);
                rest = bezMezer(rest.mid(blank + 1), true, false);
            } else {
                lines << rest.left(k);
                rest = bezMezer(rest.mid(k), true, false);
            }
        }
    }
    return lines;
}

VysledekDetailu KresliDetail(const DetailZaznamu &zaznam, double imgSize, const Stranky &stranka)
{
    VysledekDetailu result;
    int page = 0;
    printer::Surface *s = &stranka(0);
    pripravStranku(*s);
    result.Stran = 1;
    const double width = s->ScaleWidth();
    const double bottom = s->ScaleHeight() - R::Dole;
    const double lineHeight = s->TextHeight();
    // Moves to the top of the next page when a block of this height does not fit below y.
    const auto misto = [&](double &y, double height) {
        if (y + height <= bottom || y <= R::Okraj)
            return;
        s = &stranka(++page);
        pripravStranku(*s);
        result.Stran = page + 1;
        y = R::Okraj;
    };

    // The photo, fitted into its square at the top left.
    double photoBottom = 0;
    const QRectF place = MistoFotografie(zaznam.Pixely, imgSize);
    if (!zaznam.Fotografie.isEmpty() && !place.isEmpty()) {
        const double dpi = std::min(s->Resolution(), NejvyssiRozliseni);
        const QSize pixels(std::max(1, int(std::lround(place.width() / MillimetresPerInch * dpi))),
                           std::max(1, int(std::lround(place.height() / MillimetresPerInch * dpi))));
        const QImage photo = NactiObrazek(zaznam.Fotografie, pixels);
        if (!photo.isNull()) {
            s->PaintPicture(photo, place.x(), place.y(), place.width(), place.height());
            photoBottom = std::round(place.bottom() + 5);
        }
    }

    // Captions at the right, each value beside its caption; both wrap within their
    // columns and a field keeps its lines together on one page.
    double widest = 0;
    for (const QString &caption : zaznam.Popisky)
        widest = std::max(widest, double(std::lround(s->TextWidth(caption))));
    const double right = width - R::Vpravo;
    const double captionWidth = std::max(1.0, std::min(widest, (right - R::Popisky - R::Mezera) / 2));
    const double valueX = R::Popisky + captionWidth + R::Mezera;
    const double valueWidth = std::max(1.0, right - valueX);
    double y = R::Okraj;
    double lastBottom = R::Okraj - R::RadekPoli + lineHeight;
    for (qsizetype i = 0; i < zaznam.Popisky.size(); ++i) {
        s->FontBold(false);
        const QStringList captions = ZalomText(*s, zaznam.Popisky[i], captionWidth);
        s->FontBold(true);
        const QStringList values = ZalomText(*s, zaznam.Hodnoty.value(i), valueWidth);
        const qsizetype rows = std::max<qsizetype>({1, captions.size(), values.size()});
        misto(y, double(rows - 1) * R::RadekPoli + lineHeight);
        for (qsizetype r = 0; r < captions.size(); ++r)
            TiskniPolozku(*s, captions[r], R::Popisky, y + double(r) * R::RadekPoli, false);
        for (qsizetype r = 0; r < values.size(); ++r)
            TiskniPolozku(*s, values[r], valueX, y + double(r) * R::RadekPoli, true);
        lastBottom = y + double(rows - 1) * R::RadekPoli + lineHeight;
        y += double(rows) * R::RadekPoli;
    }

    // The note below both the photo (on the first page) and the fields.
    const double notePosition = page == 0 && photoBottom > lastBottom + 5 ? photoBottom : lastBottom + 5;
    y = notePosition + R::RadekPoznamky;
    s->FontBold(false);
    const double noteWidth = std::max(1.0, std::min(R::SirkaPoznamky, right - R::Okraj));
    if (!zaznam.Poznamka.isEmpty()) {
        for (const QString &line : ZalomText(*s, zaznam.Poznamka, noteWidth)) {
            misto(y, lineHeight);
            TiskniPolozku(*s, line, R::Okraj, y, false);
            y += R::RadekPoznamky;
        }
    }
    result.PoziceY = y;
    return result;
}
