#include "common/messages.h"

#include "common/globals.h"
#include "dao.h"
#include "messagelist.h"
#include "variant.h"
#include "vberror.h"

QString PrelozText(QString &text)
{
    const qsizetype comma = text.left(5).indexOf(QLatin1Char(','));
    if (comma < 0)
        return text;
    const qint16 number = Variant(text.left(comma)).toInteger();
    if (number == 0)
        return text;
    text = text.mid(comma + 1);
    return MessageText(Preklady.get(), number, text);
}

QString PrelozText(const QString &text)
{
    QString copy = text;
    return PrelozText(copy);
}

int NactenyJazyk(const QString &jazyk)
{
    const double number = vbVal(jazyk);
    return number == 1 ? 1 : number == 2 ? 2 : 3;
}

void NactiPreklady(const QString &languageDatabase, const QString &jazyk, MessageList &list)
{
    const int number = NactenyJazyk(jazyk);
    const QString column = number == 1 ? QStringLiteral("zaklad") : number == 2 ? QStringLiteral("us") : QStringLiteral("chi");
    try {
        dao::Workspace ws(QStringLiteral("admin"));
        auto db = ws.OpenDatabase(languageDatabase, false, false, QStringLiteral(";pwd="));
        auto rs = db->OpenRecordset(
            QStringLiteral("Select id, us, %1 as popis From Jazyky Order by id").arg(column));
        for (; !rs->Eof(); rs->MoveNext()) {
            const Variant popis = (*rs)[QStringLiteral("popis")];
            const Variant us = (*rs)[QStringLiteral("us")];
            // A row with neither text gives an empty entry, so that its Czech default shows.
            const QString text = !popis.IsNull() ? popis.toString() : us.IsNull() ? QString() : us.toString();
            list.add((*rs)[QStringLiteral("id")].toString(), text);
        }
    } catch (const VbError &) {
        // What was read stays; the rest shows its Czech defaults.
    }
}
