// Moving and deleting the selected records: the records of the current section that the
// overview's selection shows, all of them when no selection is in force.
#include "mainwindow/frmMain.h"

#include "common/globals.h"
#include "common/translation.h"
#include "common/utility.h"
#include "data/currentoverview.h"
#include "data/selectedrecords.h"
#include "msgbox.h"
#include "records/frmVyber.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QAction>

namespace {

// What the commands work on: the current section and the overview's condition. Without
// an overview there is no selection to read, and the commands refuse, saying why, rather
// than take the whole section behind the user's back.
struct Vybrane {
    qint32 sekce = 0;
    QString podminka;
};

std::optional<Vybrane> vybrane(const QString &title)
{
    std::optional<qint32> section;
    ignoreErrors([&] { section = AktualniSekce(); });
    if (!section) {
        Pipni(400, 150);
        return std::nullopt;
    }
    if (!PrehledOtevren()) {
        const QString why = QStringLiteral(
            "515,Přehled je zavřený, a proto neplatí žádný výběr. Otevřete přehled (Zobrazit, Přehled) a příkaz opakujte.");
        MsgBox(PrelozText(why), vbExclamation, title);
        return std::nullopt;
    }
    return Vybrane{*section, Prehled().Podminka()};
}

// The count in the question: the records the statement will touch, not the grid's rows
// (the overview may list fewer under its record limit). Nothing when it cannot be read.
std::optional<qint32> pocet(const Vybrane &v, const QString &title)
{
    try {
        return PocetVybranych(*Db, v.sekce, v.podminka);
    } catch (const VbError &e) {
        MsgBox(e.Description(), vbCritical, title);
        return std::nullopt;
    }
}

// Afterwards the overview shows the whole section again with no condition in force,
// whether or not the selection window is open.
void zrusVyber()
{
    if (frmVyber *selection = frmVyber::Loaded())
        selection->cmdZrusVyber_Click();
    else
        Prehled().ZobrazVyber(QString(), QString());
    Prehled().ZrusPodminku();
}

}  // namespace

void frmMain::mnuDeleteAll_Click()
{
    const QString title = PrelozText(QStringLiteral("293,Rušení záznamů"));
    const std::optional<Vybrane> v = vybrane(title);
    if (!v)
        return;
    const std::optional<qint32> count = pocet(*v, title);
    if (!count)
        return;
    if (MsgBox(PrelozText(QStringLiteral("306,Smazat vybrané záznamy?")) + QStringLiteral("\r\n")
                   + PrelozText(QStringLiteral("219,Počet záznamů ")) + QString::number(*count),
               vbYesNo | vbExclamation, title)
        != vbYes)
        return;
    try {
        const WaitCursor wait;
        SmazVybrane(*Ws, *Db, v->sekce, v->podminka);
    } catch (const VbError &e) {
        MsgBox(e.Description(), vbCritical, title);
        return;
    }
    Prehled().OznamZmenu(AktualniPrehled::Zmena::Smazan, 0);
    zrusVyber();
}

void frmMain::mnuSekceM_Click(int Index)
{
    if (Index < 0 || Index >= int(mnuSekceM.size()))
        return;
    QAction *chosen = mnuSekceM[size_t(Index)];
    const QString title = PrelozText(QStringLiteral("262,Přesun záznamů do jiné sekce"));
    const qint32 target = chosen->data().toInt();
    std::optional<qint32> section;
    ignoreErrors([&] { section = AktualniSekce(); });
    if (section && *section == target) {
        MsgBox(PrelozText(QStringLiteral("261,Přesun do stejné sekce nemá význam")), vbInformation | vbOKOnly, title);
        return;
    }
    const std::optional<Vybrane> v = vybrane(title);
    if (!v)
        return;
    const std::optional<qint32> count = pocet(*v, title);
    if (!count)
        return;
    if (MsgBox(PrelozText(QStringLiteral("264,Přesunout vybrané záznamy do sekce '")) + chosen->text() + QStringLiteral("' ?\r\n")
                   + PrelozText(QStringLiteral("219,Počet záznamů ")) + QString::number(*count) + QStringLiteral("\r\n\r\n")
                   + PrelozText(QStringLiteral("230,Pozor! Pokud má sekce do níž přesunujete záznamy jinou definici, mohou být některá data ztracena.")),
               vbYesNo | vbInformation, title)
        != vbYes)
        return;
    try {
        const WaitCursor wait;
        PresunVybrane(*Ws, *Db, v->sekce, target, v->podminka);
    } catch (const VbError &e) {
        MsgBox(e.Description(), vbCritical, title);
        return;
    }
    Prehled().OznamZmenu(AktualniPrehled::Zmena::Presunut, 0);
    zrusVyber();
}
