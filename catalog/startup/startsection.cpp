#include "startsection.h"

#include "data/infosettings.h"
#include "data/sqlliteral.h"
#include "globals.h"
#include "mainwindow/frmMain.h"
#include "msgbox.h"
#include "translation.h"
#include "variant.h"

#include <QLabel>

namespace {

void makeCurrent(dao::Recordset &section)
{
    QLabel *label = frmMain::Form().lblSekce;
    label->setText(section[QStringLiteral("nazev")].toString().toUpper());
    label->setProperty("Tag", section[QStringLiteral("sekce")].toString());
}

}  // namespace

void NastavSekci()
{
    // The stored number reaches SQL only as a number: a setting that is none fails here,
    // as a broken query would, and leaves the label as it was.
    const QString stored = NactiInfo(QStringLiteral("Sekce"), QStringLiteral("0"));
    auto remembered = Db->OpenRecordset(QStringLiteral("Select * from sekce where sekce=") + CSQL(stored, true));
    if (!remembered->Eof()) {
        makeCurrent(*remembered);
        return;
    }
    auto byName = Db->OpenRecordset(QStringLiteral("Select * from sekce order by nazev"));
    if (!byName->Eof()) {
        makeCurrent(*byName);
        return;
    }
    QLabel *label = frmMain::Form().lblSekce;
    label->setText(QString());
    label->setProperty("Tag", QStringLiteral("0"));
    frmMain::Form().NastavMenu();
    MsgBox(PrelozText(QStringLiteral("173,Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.")),
           vbInformation, PrelozText(QStringLiteral("408,Zobrazení přehledu")));
    // The sections window, where one can be made, opens here once it is built.
    frmMain::Form().NactiSekce();
}
