#include "startup/oprava.h"

#include "common/Hlaska.h"
#include "common/globals.h"
#include "common/translation.h"
#include "data/repair.h"
#include "msgbox.h"
#include "vberror.h"

#include <QCoreApplication>

#include <optional>

void OpravDatabazi()
{
    if (MsgBox(PrelozText(QStringLiteral("203,Opravit systémovou databázi?")), vbYesNo) != vbYes)
        return;
    std::optional<VbError> failure;
    {
        Hlaska wait;
        wait.show();
        QCoreApplication::processEvents();
        try {
            OpravKatalog(AppPath + QStringLiteral("QIRData.mdb"), Ws, Db);
        } catch (const VbError &e) {
            failure = e;
        }
    }
    // A failure of a file copy is told too, not only the engine's.
    if (failure) {
        MsgBox(PrelozText(QStringLiteral("200,Oprava neúšpěšná!")) + QLatin1Char('\n') + PrelozText(QStringLiteral("43,Číslo chyby:"))
               + QLatin1Char(' ') + QString::number(failure->Number()) + QLatin1Char('\n') + failure->Description());
        return;
    }
    MsgBox(PrelozText(QStringLiteral("201,Oprava systémové databáze proběhla v pořádku!")));
}
