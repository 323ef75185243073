#include "data/fielddefinitions.h"

#include "dao.h"
#include "data/sqlliteral.h"
#include "variant.h"
#include "vberror.h"

#include <QHash>
#include <QRegularExpression>
#include <set>

namespace {

QString text(dao::Recordset &rs, const char *name)
{
    const Variant v = rs[QLatin1String(name)];
    return v.IsNull() ? QString() : v.toString();
}

bool flag(dao::Recordset &rs, const char *name)
{
    const Variant v = rs[QLatin1String(name)];
    return !v.IsNull() && v.toBool();
}

std::vector<RadekDefinice> radky(int shown)
{
    std::vector<RadekDefinice> rows;
    for (int i = 1; i <= 30; ++i) {
        const QString pol = QStringLiteral("Pol") + QString::number(i);
        rows.push_back({pol, i <= shown, i == 1, pol, QStringLiteral("C"), QStringLiteral("L")});
    }
    return rows;
}

bool znamyTyp(const QString &typ)
{
    return typ == QLatin1String("C") || typ == QLatin1String("N") || typ == QLatin1String("D");
}

// The Katalog column of a slot for a type letter.
QString sloupec(int pole, const QString &typ)
{
    return QStringLiteral("pol") + QString::number(pole) + typ.toLower();
}

// A column's value in the kind that both types of a change share, written the same way
// for either column, so that a value and its conversion compare equal: a number as the
// text of its Single (the column's precision), a date as the layer's ISO text. Null
// where the column holds no such value; a number and a date share no kind.
QString spolecna(const QString &column, const QString &pair)
{
    if (pair.contains(QLatin1Char('N')) && pair.contains(QLatin1Char('C')))
        return QStringLiteral("case when isnumeric(%1) then case when abs(cdbl(%1)) <= 3.4028234663852886e38 "
                              "then trim(str(csng(%1))) end end")
            .arg(column);
    if (pair.contains(QLatin1Char('D')) && pair.contains(QLatin1Char('C')))
        return QStringLiteral("case when isdate(%1) then cdate(%1) end").arg(column);
    return QStringLiteral("null");
}

QString prazdna(const QString &o)
{
    return QStringLiteral("(%1 is null or trim(%1) = '')").arg(o);
}

// The SQL of one field's conversion: which values convert, whether the new column
// already holds a value's conversion, and the converted value.
struct Prevod {
    QString lze;       // the old column holds a value that converts
    QString stejna;    // the new column holds that value already, in its own form
    QString hodnota;   // the converted value, where it converts
};

Prevod prevod(const ZmenaTypu &z)
{
    const QString o = sloupec(z.Pole, z.Stary);
    const QString n = sloupec(z.Pole, z.Novy);
    const QString pair = z.Stary + z.Novy;
    const QString value = spolecna(o, pair);
    Prevod p;
    p.lze = QStringLiteral("(not %1 and %2 is not null)").arg(prazdna(o), value);
    p.stejna = QStringLiteral("coalesce(%1 = %2, 0)").arg(spolecna(n, pair), value);
    if (pair == QLatin1String("CN"))
        p.hodnota = QStringLiteral("cdbl(%1)").arg(o);
    else if (pair == QLatin1String("CD"))
        p.hodnota = QStringLiteral("cdate(%1)").arg(o);
    else if (pair == QLatin1String("NC"))
        p.hodnota = value;  // written with a Single's digits, not the double's
    else if (pair == QLatin1String("DC"))  // a date keeps its time when it has one
        p.hodnota = QStringLiteral("case when substr(cdate(%1), 12) = '00:00:00' then format(cdate(%1), 'dd/mm/yyyy') "
                                   "else format(cdate(%1), 'dd/mm/yyyy hh:nn:ss') end")
                        .arg(o);
    return p;
}

QString vlozDefinici(const char *tabulka, int poradi, const RadekDefinice &r, qint32 sekce)
{
    return QStringLiteral("Insert into %1 (poradi,pol, zobraz,vyber,detail,popis,nazev,typ,zarovnani,sekce) values (")
               .arg(QLatin1String(tabulka))
           + QStringList{CSQL(poradi), CSQL(r.Pol), CSQL(r.Zobraz), CSQL(true), CSQL(true), CSQL(r.Popis),
                         CSQL(r.Nazev), CSQL(r.Typ), CSQL(r.Zarovnani), CSQL(sekce)}
                 .join(QStringLiteral(", "))
           + QLatin1Char(')');
}

}  // namespace

std::vector<RadekDefinice> NactiUlozeneDefinice(dao::Database &db, qint32 sekce)
{
    std::vector<RadekDefinice> rows;
    auto rs = db.OpenRecordset(QStringLiteral("select * from vychozidefinice where sekce=") + CSQL(sekce)
                               + QStringLiteral(" order by poradi"));
    for (; !rs->Eof(); rs->MoveNext())
        rows.push_back({text(*rs, "pol"), flag(*rs, "zobraz"), flag(*rs, "popis"), text(*rs, "nazev").trimmed(),
                        text(*rs, "typ").trimmed(), text(*rs, "zarovnani").trimmed()});
    return rows;
}

std::vector<RadekDefinice> GenerovaneRadkyDefinice()
{
    return radky(20);
}

std::vector<RadekDefinice> VychoziRadkyDefinice()
{
    return radky(30);
}

int CisloPole(const QString &pol)
{
    static const QRegularExpression slot(QStringLiteral("^Pol([1-9]|[12][0-9]|30)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = slot.match(pol.trimmed());
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

std::vector<ZmenaTypu> PlanKonverze(dao::Database &db, qint32 sekce, const std::vector<RadekDefinice> &radky)
{
    // Every stored type first: the save rewrites the rows in the grid's order, and a
    // field moved down would otherwise find its stored row gone.
    QHash<int, QString> stored;
    auto rs = db.OpenRecordset(QStringLiteral("select pol, typ from definice where sekce=") + CSQL(sekce)
                               + QStringLiteral(" order by poradi"));
    for (; !rs->Eof(); rs->MoveNext())
        if (const int pole = CisloPole(text(*rs, "pol")); pole && !stored.contains(pole))
            stored.insert(pole, text(*rs, "typ").trimmed().toUpper());
    rs->Close();

    std::vector<ZmenaTypu> plan;
    std::set<int> seen;
    for (const RadekDefinice &r : radky) {
        const int pole = CisloPole(r.Pol);
        if (!pole || !stored.contains(pole) || !seen.insert(pole).second)
            continue;
        const QString stary = stored.value(pole);
        const QString novy = r.Typ.trimmed().toUpper();
        if (stary != novy && znamyTyp(stary) && znamyTyp(novy))
            plan.push_back({pole, stary, novy, r.Nazev});
    }
    return plan;
}

QString KonverzeSql(qint32 sekce, const ZmenaTypu &z)
{
    const Prevod p = prevod(z);
    if (p.hodnota.isEmpty())
        return {};
    return QStringLiteral("Update katalog set %1 = %2 where sekce=%3 and %4 and not %5")
        .arg(sloupec(z.Pole, z.Novy), p.hodnota, CSQL(sekce), p.lze, p.stejna);
}

std::vector<DopadKonverze> DopadKonverzi(dao::Database &db, qint32 sekce, const std::vector<ZmenaTypu> &plan)
{
    std::vector<DopadKonverze> dopad;
    for (const ZmenaTypu &z : plan) {
        const Prevod p = prevod(z);
        auto rs = db.OpenRecordset(
            QStringLiteral("select count(case when not %1 and not %2 then 1 end), "
                           "count(case when %2 and not %3 and not %4 then 1 end) from katalog where sekce=%5")
                .arg(prazdna(sloupec(z.Pole, z.Stary)), p.lze, prazdna(sloupec(z.Pole, z.Novy)), p.stejna, CSQL(sekce)),
            dao::dbOpenSnapshot);
        const auto count = [&](int i) { return qint64(rs->Fields(i).Value().toDouble()); };
        if (const DopadKonverze d{z, count(0), count(1)}; d.Neprevedene || d.Prepsane)
            dopad.push_back(d);
    }
    return dopad;
}

void UlozDefiniceSekce(dao::Workspace &ws, dao::Database &db, qint32 sekce, const std::vector<RadekDefinice> &radky)
{
    const std::vector<ZmenaTypu> plan = PlanKonverze(db, sekce, radky);
    dao::Transaction trans(ws);
    // Every row of the section goes: a stray row left beside the new ones would show its
    // field twice.
    for (const char *table : {"vychozidefinice", "definice"})
        db.Execute(QStringLiteral("Delete * from %1 where sekce=").arg(QLatin1String(table)) + CSQL(sekce));
    for (const ZmenaTypu &z : plan)
        if (const QString sql = KonverzeSql(sekce, z); !sql.isEmpty())
            db.Execute(sql);
    for (size_t i = 0; i < radky.size(); ++i)
        for (const char *table : {"definice", "vychozidefinice"})
            db.Execute(vlozDefinici(table, int(i) + 1, radky[i], sekce));
    trans.Commit();
}

void ZkopirujDefinice(dao::Workspace &ws, dao::Database &db, qint32 zdroj, qint32 cil)
{
    dao::Transaction trans(ws);
    // Left by the copy before, or never made: inside the transaction, so that a failed
    // copy keeps the one before too.
    try {
        db.Execute(QStringLiteral("Drop table tmpDefinice"));
    } catch (const VbError &) {
    }
    db.Execute(QStringLiteral("Select * into tmpDefinice from vychozidefinice where sekce=") + CSQL(zdroj));
    db.Execute(QStringLiteral("Update tmpDefinice set sekce=") + CSQL(cil));
    db.Execute(QStringLiteral("Delete * from vychozidefinice where sekce=") + CSQL(cil));
    db.Execute(QStringLiteral("Delete * from definice where sekce=") + CSQL(cil));
    db.Execute(QStringLiteral("Insert into vychozidefinice select * from tmpDefinice"));
    db.Execute(QStringLiteral("Insert into definice select * from tmpDefinice"));
    trans.Commit();
}
