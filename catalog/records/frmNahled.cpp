#include "records/frmNahled.h"

#include "common/translation.h"

frmNahled::frmNahled()
{
    setObjectName(QStringLiteral("frmNahled"));
    setWindowTitle(QStringLiteral("145,Náhledy a dokumenty"));
    PrelozFormular(*this, 0);
}

void frmNahled::Zobraz()
{
    ZobrazVOblasti(QSize(480, 320));
}

void frmNahled::NactiZalozky()
{
}
