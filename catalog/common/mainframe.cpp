#include "common/mainframe.h"

#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>

namespace {
QPointer<QMdiArea> area;
QPointer<QLabel> statusPanel;
std::function<void()> konecHlavnihoOkna;
QPointer<QMenu> popupNahledy;
std::function<QPixmap(int)> obrazkyHlavnihoOkna;
}  // namespace

void RegistrujHlavniOkno(QMdiArea *mdiArea, QLabel *panel, std::function<void()> konec)
{
    area = mdiArea;
    statusPanel = panel;
    konecHlavnihoOkna = std::move(konec);
}

QMdiArea *MdiOblast()
{
    return area.data();
}

void ZpravaStavu(const QString &text)
{
    if (statusPanel)
        statusPanel->setText(text);
}

void UkonciProgram()
{
    // The area goes with the main window: what ends the program is gone with it.
    if (area && konecHlavnihoOkna)
        konecHlavnihoOkna();
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
