#include "common/mainframe.h"

#include "vberror.h"

#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>

namespace {
QPointer<QMdiArea> area;
QPointer<QLabel> sectionLabel;
QPointer<QMenu> popupNahledy;
std::function<QPixmap(int)> obrazkyHlavnihoOkna;
}  // namespace

void RegistrujHlavniOkno(QMdiArea *mdiArea, QLabel *label)
{
    area = mdiArea;
    sectionLabel = label;
}

QMdiArea *MdiOblast()
{
    return area.data();
}

std::optional<qint32> AktualniSekce()
{
    if (!sectionLabel)
        return std::nullopt;
    const QString tag = sectionLabel->property("Tag").toString().trimmed();
    if (tag.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint32 number = tag.toInt(&ok);
    if (!ok)
        throw VbError(13, QStringLiteral("Oskal"), QStringLiteral("Type mismatch: section \"") + tag + QLatin1Char('"'));
    if (number == 0)
        return std::nullopt;
    return number;
}

void NastavAktualniSekci(std::optional<qint32> sekce, const QString &caption)
{
    if (!sectionLabel)
        return;
    sectionLabel->setText(caption);
    sectionLabel->setProperty("Tag", sekce ? QString::number(*sekce) : QStringLiteral("0"));
}

void RegistrujNahledy(QMenu *popup, std::function<QPixmap(int)> obrazky)
{
    popupNahledy = popup;
    obrazkyHlavnihoOkna = std::move(obrazky);
}

QMenu *PopupNahledy()
{
    return popupNahledy.data();
}

QPixmap ObrazekHlavnihoOkna(int index)
{
    return popupNahledy && obrazkyHlavnihoOkna ? obrazkyHlavnihoOkna(index) : QPixmap();
}
