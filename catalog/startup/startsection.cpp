#include "startup/startsection.h"

#include "data/infosettings.h"
#include "data/sqlliteral.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "mainwindow/frmMain.h"
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
    auto byName = Db->OpenRecordset(QStringLiteral("Select * from sekce order by nazev"));
    if (!byName->Eof()) {
        makeCurrent(*byName);
        return;
    }
    NastavAktualniSekci(std::nullopt, QString());
    main->NastavMenu();
    MsgBox(PrelozText(QStringLiteral("173,Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu.")),
           vbInformation, PrelozText(QStringLiteral("408,Zobrazení přehledu")));
    // The sections window, where one can be made, opens here once it is built.
    if (frmMain *still = frmMain::Loaded())
        still->NactiSekce();
}
