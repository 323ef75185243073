#include "data/version.h"

#include "variant.h"

#include <QStringList>

VersionRule PorovnejVerze(const QString &verzeDat, int programMajor, int programMinor)
{
    const QStringList parts = verzeDat.split(QLatin1Char('.'));
    if (parts.size() < 2)
        return VersionRule::Unreadable;
    if (vbVal(parts[0]) != programMajor)
        return vbVal(parts[0]) < 3 ? VersionRule::Incompatible : VersionRule::Convert;
    if (parts.size() < 3)
        return VersionRule::Unreadable;
    return vbVal(parts[1]) != programMinor ? VersionRule::Convert : VersionRule::Same;
}
