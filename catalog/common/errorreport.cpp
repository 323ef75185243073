#include "common/errorreport.h"

#include "common/translation.h"
#include "dao.h"
#include "msgbox.h"
#include "vberror.h"

bool JeZamceno(const std::exception &error)
{
    const auto *vb = dynamic_cast<const VbError *>(&error);
    return vb && vb->Number() == dao::err::Locked;
}

QString TextZamceno()
{
    return PrelozText(QStringLiteral("505,Katalog právě zapisuje jiný program nebo jiná stanice. Zkuste to prosím za chvíli znovu."));
}

QString TextChyby(const std::exception &error)
{
    const auto *vb = dynamic_cast<const VbError *>(&error);
    if (!vb)
        return PrelozText(QStringLiteral("321,Systémová chyba:")) + QLatin1Char(' ') + QString::fromLocal8Bit(error.what());
    const QString busy = JeZamceno(error) ? TextZamceno() + QLatin1Char('\n') : QString();
    return busy + PrelozText(QStringLiteral("43,Číslo chyby:")) + QLatin1Char(' ') + QString::number(vb->Number())
           + QLatin1Char('\n') + vb->Description();
}

void ZobrazChybu(const std::exception &error, const QString &title)
{
    MsgBox(TextChyby(error), JeZamceno(error) ? vbExclamation : vbCritical,
           title.isEmpty() ? PrelozText(QStringLiteral("237,Oskal")) : title);
}
