#include "data/recordsave.h"

#include "dao.h"
#include "data/sqlliteral.h"
#include "typeddate.h"
#include "variant.h"
#include "vberror.h"

#include <QRegularExpression>
#include <QStringList>

QString UpravDatum(const QString &text, const QDate &today)
{
    // The control's date cells read typed dates the same way, but refuse what they cannot
    // read for certain; a box empties it, so it reads generously, and a stored date it
    // shows with its time of day is read with the time dropped.
    const TypedDate read = readTypedDate(text, today, TypedDateRules{.looseForms = true, .timeOfDay = true});
    if (read.kind != TypedDate::Date)
        return QString();
    const QDate d = read.date;
    return QStringLiteral("%1.%2.%3").arg(d.day()).arg(d.month()).arg(d.year());
}

QString UpravCislo(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    t.remove(QChar(0x00A0));  // the regional grouping of the overview's numbers
    // The leading number alone, as the old runtime read it; hexadecimal and octal forms
    // are no numbers a user types into a catalog field.
    if (t.trimmed().startsWith(QLatin1Char('&')))
        return QStringLiteral("0");
    return vbStr(vbVal(t)).trimmed();
}

QString HodnotaPole(const PoleZaznamu &pole, const QDate &today)
{
    if (pole.Dana)
        return CSQL(*pole.Dana);
    const QString type = pole.Typ.toUpper();
    if (type == QLatin1String("C"))
        return CSQL(pole.Text);
    if (type == QLatin1String("D")) {
        const QString date = UpravDatum(pole.Text, today);
        if (date.isEmpty())
            return CSQL(Variant::Null());
        return CSQL(Variant(*vbParseDate(date)));
    }
    return CSQL(UpravCislo(pole.Text), true);
}

qint32 DalsiKlic(dao::Database &db)
{
    const Variant counter = db.OpenRecordset(QStringLiteral("select inter from s_param"))->Fields(0).Value();
    const Variant highest = db.OpenRecordset(QStringLiteral("select max(inter) from katalog"))->Fields(0).Value();
    qint32 key = counter.IsNull() || counter.IsEmpty() ? 1 : counter.toLong();
    if (!highest.IsNull() && !highest.IsEmpty())
        key = std::max(key, highest.toLong() + 1);
    return std::max(key, 1);
}

namespace {

QString blankRecord(qint32 key, qint32 section)
{
    QStringList columns{QStringLiteral("inter")};
    QStringList values{CSQL(key)};
    for (const auto &[letter, blank] : {std::pair{"c", "''"}, std::pair{"n", "0"}, std::pair{"d", "null"}})
        for (int i = 1; i <= 30; ++i) {
            columns << QStringLiteral("pol%1%2").arg(i).arg(QLatin1String(letter));
            values << QLatin1String(blank);
        }
    columns << QStringLiteral("poznamka") << QStringLiteral("aktualizace") << QStringLiteral("sekce");
    values << QStringLiteral("''") << QStringLiteral("null") << CSQL(section);
    return QStringLiteral("Insert into Katalog (") + columns.join(QLatin1Char(',')) + QStringLiteral(") values (")
           + values.join(QLatin1Char(',')) + QLatin1Char(')');
}

}  // namespace

QString DotazRadkuZaznamu(const QString &seznamPoli, qint32 inter)
{
    return QStringLiteral("select ") + seznamPoli + QStringLiteral(" from Katalog where inter=") + CSQL(inter);
}

qint32 UlozZaznamDoKatalogu(dao::Workspace &ws, dao::Database &db, const UkladanyZaznam &zaznam, const QDateTime &now)
{
    // A name goes into the statement as it stands: only a field of the catalog may.
    static const QRegularExpression field(QStringLiteral("^Pol([1-9]|[12][0-9]|30)[CND]$"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList assignments;
    for (const PoleZaznamu &pole : zaznam.Pole) {
        if (!field.match(pole.Jmeno).hasMatch())
            throw VbError(3265, QStringLiteral("Oskal"), QStringLiteral("Item not found in this collection: ") + pole.Jmeno);
        assignments << pole.Jmeno + QLatin1Char('=') + HodnotaPole(pole, now.date());
    }

    dao::Transaction trans(ws);
    qint32 key = zaznam.Klic;
    if (key == 0 || zaznam.Kopie) {
        key = DalsiKlic(db);
        db.Execute(QStringLiteral("Update s_param set inter=") + CSQL(key + 1));
        db.Execute(blankRecord(key, zaznam.Sekce));
    }
    const QString where = QStringLiteral(" where inter=") + CSQL(key);
    if (!assignments.isEmpty())
        db.Execute(QStringLiteral("Update katalog set ") + assignments.join(QStringLiteral(", ")) + where);
    db.Execute(QStringLiteral("Update katalog set poznamka=") + CSQL(zaznam.Poznamka) + QStringLiteral(",  aktualizace=")
               + CSQL(Variant(now)) + where);
    // An edited record that is gone (deleted meanwhile) would be saved nowhere.
    if (db.RecordsAffected() == 0)
        throw VbError(3021, QStringLiteral("Oskal"), QStringLiteral("No current record."));
    trans.Commit();
    return key;
}
