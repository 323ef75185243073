#include "startup/startsection.h"

#include "data/infosettings.h"
#include "data/sqlliteral.h"
#include "common/globals.h"
#include "data/currentoverview.h"
#include "mainwindow/frmMain.h"
#include "setup/frmSekce.h"
#include "msgbox.h"
#include "common/translation.h"
#include "variant.h"
#include "vberror.h"


namespace {

void makeCurrent(dao::Recordset &section)
{
    const Variant number = section[QStringLiteral("sekce")];
    NastavAktualniSekci(number.IsNull() ? std::nullopt : std::optional<qint32>(number.toLong()),
                        section[QStringLiteral("nazev")].toString().toUpper());
}

// The first section by name made current; false when the catalog has none.
bool makeFirstCurrent()
{
    auto byName = Db->OpenRecordset(QStringLiteral("Select * from sekce order by nazev"));
    if (byName->Eof())
        return false;
    makeCurrent(*byName);
    return true;
}

}  // namespace

void NastavSekci()
{
    frmMain *main = frmMain::Loaded();
    if (!main)
        return;
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
            makeCurrent(*remembered);
            return;
        }
    }
    if (makeFirstCurrent())
        return;
    NastavAktualniSekci(std::nullopt, QString());
    main->NastavMenu();
    MsgBox(PrelozText(QStringLiteral("173,Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.")),
           vbInformation, PrelozText(QStringLiteral("408,Zobrazení přehledu")));
    frmSekce::Form().Zobraz();
    frmMain *still = frmMain::Loaded();
    if (!still)
        return;
    still->NactiSekce();
    // A section made just now starts the catalog as a stored one does: the first by name
    // is current, and start-up goes on to show its overview.
    if (makeFirstCurrent())
        still->NastavMenu();
}
