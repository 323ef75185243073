#include "translation.h"

#include "globals.h"
#include "variant.h"

QString PrelozText(QString &text)
{
    const qsizetype comma = text.left(5).indexOf(QLatin1Char(','));
    if (comma < 0)
        return text;
    const qint16 number = Variant(text.left(comma)).toInteger();
    if (number == 0)
        return text;
    text = text.mid(comma + 1);
    if (!Preklady || text.isEmpty())
        return text;
    const QString *entry = Preklady->item(number);
    if (!entry || entry->isEmpty())
        return text;
    return *entry;
}

QString PrelozText(const QString &text)
{
    QString copy = text;
    return PrelozText(copy);
}
