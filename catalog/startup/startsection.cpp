#include "startsection.h"

#include "data/infosettings.h"
#include "data/sqlliteral.h"
#include "globals.h"
#include "mainwindow/frmMain.h"
#include "msgbox.h"
#include "translation.h"
#include "variant.h"
#include "vberror.h"

#include <QLabel>

namespace {

void makeCurrent(QLabel *label, dao::Recordset &section)
{
    label->setText(section[QStringLiteral("nazev")].toString().toUpper());
    label->setProperty("Tag", section[QStringLiteral("sekce")].toString());
}

}  // namespace

void NastavSekci()
{
    frmMain *main = frmMain::Loaded();
    if (!main)
        return;
    QLabel *label = main->lblSekce;
    // The stored number reaches SQL only as a number; a setting that is none is as good
    // as a section that is gone, and the first section by name is taken.
    const QString stored = NactiInfo(QStringLiteral("Sekce"), QStringLiteral("0"));
    QString number;
    try {
        number = CSQL(stored, true);
    } catch (const VbError &) {
    }
    if (!number.isEmpty()) {
        auto remembered = Db->OpenRecordset(QStringLiteral("Select * from sekce where sekce=") + number);
        if (!remembered->Eof()) {
            makeCurrent(label, *remembered);
            return;
        }
    }
    auto byName = Db->OpenRecordset(QStringLiteral("Select * from sekce order by nazev"));
    if (!byName->Eof()) {
        makeCurrent(label, *byName);
        return;
    }
    label->setText(QString());
    label->setProperty("Tag", QStringLiteral("0"));
    main->NastavMenu();
    MsgBox(PrelozText(QStringLiteral("173,Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.")),
           vbInformation, PrelozText(QStringLiteral("408,Zobrazení přehledu")));
    // The sections window, where one can be made, opens here once it is built.
    if (frmMain *still = frmMain::Loaded())
        still->NactiSekce();
}
