#include "records/frmVyber.h"

#include "common/translation.h"

frmVyber::frmVyber()
{
    setObjectName(QStringLiteral("frmVyber"));
    setWindowTitle(QStringLiteral("55,Definice podmínky výběru"));
    PrelozFormular(*this, 0);
}

void frmVyber::Zobraz()
{
    ZobrazVOblasti(QSize(480, 320));
}

void frmVyber::NactiData()
{
}
