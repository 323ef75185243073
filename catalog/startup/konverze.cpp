#include "startup/konverze.h"

#include "common/Hlaska.h"
#include "common/files.h"
#include "common/globals.h"
#include "common/translation.h"
#include "common/utility.h"
#include "data/conversion.h"
#include "msgbox.h"
#include "vberror.h"

#include <QCoreApplication>

bool KonverzeDat()
{
    const QString title = PrelozText(QStringLiteral("265,Převod dat"));
    Hlaska wait;
    wait.Zprava(PrelozText(QStringLiteral("236,Probíhá převod dat z verze")) + QLatin1Char(' ') + VerzeDat + QLatin1Char(' ')
                + PrelozText(QStringLiteral("6,do")) + QLatin1Char(' ') + VerzeProgramu + QStringLiteral("..."));
    wait.show();
    QCoreApplication::processEvents();

    QString copy;
    try {
        copy = ZalohujData(Db->Name(), DocasnaSlozka());
    } catch (const VbError &e) {
        MsgBox(PrelozText(QStringLiteral("38,Během zálohy dat došlo k chybě.")) + QLatin1Char('\n') + e.Description(), vbCritical,
               title);
        Pipni(400, 150);
        MsgBox(PrelozText(QStringLiteral("256,Před převodem datových struktur se nepodařilo zálohovat data.")) + QLatin1Char('\n')
                   + PrelozText(QStringLiteral("117,Konverze dat nebude provedena.")),
               vbExclamation, title);
        return false;
    }

    bool rolledBack = false;
    try {
        qint16 major = -1;
        ignoreErrors([&] { major = HlavniVerze(VerzeDat); });
        PrevedKatalog(*Ws, *Db, major, VerzeProgramu, &rolledBack);
    } catch (const VbError &e) {
        Pipni(400, 150);
        // The safety copy stays, in a folder only this user can enter: the user must
        // learn where.
        MsgBox(PrelozText(QStringLiteral("37,Během převodu dat pro novou verzi programu došlo k chybě:")) + QLatin1Char('\n')
                   + e.Description() + QLatin1Char('\n')
                   + PrelozText(QStringLiteral("527,Kopie dat z doby před převodem zůstává v souboru:")) + QLatin1Char(' ') + copy,
               vbCritical, title);
        // The rolled-back transaction left the file as it was; only where it could not be
        // rolled back does the safety copy come in.
        if (rolledBack)
            return false;
        const QString restoreTitle = PrelozText(QStringLiteral("192,Obnovení dat"));
        try {
            ObnovZalohu(*Ws, Db, copy);
        } catch (const VbError &failure) {
            MsgBox(PrelozText(QStringLiteral("94,Chyba během obnovování dat ze zálohy:")) + QLatin1Char('\n') + failure.Description(),
                   vbCritical, restoreTitle);
            Pipni(400, 150);
            MsgBox(PrelozText(QStringLiteral("215,Po neúspěšném převodu dat pro novou verzi programu se nepodařilo obnovit původní datové soubory."))
                       + QLatin1Char('\n')
                       + PrelozText(QStringLiteral("149,Nainstalujte zpět minulou verzi programu a proveďte obnovení dat ze zálohy."))
                       + QLatin1Char('\n') + copy,
                   vbCritical, restoreTitle);
        }
        return false;
    }
    SmazZalohu(copy);
    SmazZalohyKatalogu(Db->Name(), DocasnaSlozka());
    return true;
}
