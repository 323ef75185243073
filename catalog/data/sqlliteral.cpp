#include "data/sqlliteral.h"

#include "common/translation.h"
#include "jetsql.h"
#include "vberror.h"


namespace {

[[noreturn]] void notConvertible(int kind, const QString &detail = QString())
{
    QString description = PrelozText(QStringLiteral("49,Data nelze konvertovat do SQL ( VarType="))
                          + QString::number(kind) + QStringLiteral(" )");
    if (!detail.isEmpty())
        description += QStringLiteral(": ") + detail;
    throw VbError(10000, QStringLiteral("Lib.CSQL"), description);
}

QString numericText(const QString &typed)
{
    if (const auto number = jet::numberLiteral(typed))
        return *number;
    notConvertible(vbString, QLatin1Char('"') + typed + QLatin1Char('"'));
}

}  // namespace

QString CSQL(const Variant &value, bool numeric)
{
    switch (value.VarType()) {
    case vbEmpty:
        return QStringLiteral("''");
    case vbNull:
        return QStringLiteral("null");
    case vbInteger: case vbLong: case vbByte:
        return QString::number(value.toLong());
    case vbSingle:
        return vbStr(value.toSingle(), 7).trimmed();
    case vbDouble: case vbCurrency: case vbDecimal:
        return vbStr(value.toDouble(), 15).trimmed();
    case vbDate:
        return QLatin1Char('\'') + value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('\'');
    case vbString:
        if (numeric)
            return numericText(value.stringValue());
        return QLatin1Char('\'') + QString(value.stringValue()).replace(QLatin1Char('\''), QLatin1String("''"))
               + QLatin1Char('\'');
    case vbBoolean:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        notConvertible(value.VarType());
    }
}
