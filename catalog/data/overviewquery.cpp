#include "data/overviewquery.h"

#include "dao.h"
#include "data/sqlliteral.h"
#include "variant.h"

#include <QRegularExpression>
#include <algorithm>

bool JePoleKatalogu(const QString &jmeno)
{
    static const QRegularExpression field(QStringLiteral("^Pol([1-9]|[12][0-9]|30)[CND]$"),
                                          QRegularExpression::CaseInsensitiveOption);
    return field.match(jmeno).hasMatch();
}

std::vector<DefinicePole> NactiDefinice(dao::Database &db, qint32 sekce)
{
    auto records = db.OpenRecordset(QStringLiteral("select * from Definice where sekce=") + CSQL(sekce)
                                    + QStringLiteral(" order by poradi"));
    std::vector<DefinicePole> definitions;
    for (dao::Recordset &d = *records; !d.Eof(); d.MoveNext()) {
        const auto text = [&d](const char *name) {
            const Variant v = d[QLatin1String(name)];
            return v.IsNull() ? QString() : v.toString();
        };
        const auto flag = [&d](const char *name) {
            const Variant v = d[QLatin1String(name)];
            return !v.IsNull() && v.toBool();
        };
        definitions.push_back({text("Pol"), text("Typ"), text("Nazev"), text("Zarovnani"), flag("Zobraz"), flag("Popis")});
    }
    return definitions;
}

DotazPrehledu SestavDotazPrehledu(qint32 sekce, const std::vector<DefinicePole> &definice, const QString &podminka,
                                  std::optional<qint32> limit)
{
    // The name goes into the statement as it stands: only a field of the catalog may
    // (definitions also come with catalog releases from outside).
    DotazPrehledu q;
    q.SeznamPoli = QStringLiteral("Inter");
    for (const DefinicePole &d : definice) {
        SloupecPrehledu column;
        column.Typ = d.Typ.toUpper();
        column.Jmeno = d.Pol + column.Typ;
        column.Titulek = d.Nazev;
        column.Zarovnani = d.Zarovnani.toUpper();
        const bool shown = d.Zobraz && JePoleKatalogu(column.Jmeno);
        // A description field that is not shown has no column of its own: the strip
        // stays empty rather than show the next column's value.
        if (d.Popis) {
            q.TitulekPopisu = column.Titulek;
            q.SloupecPopisu = shown ? int(q.Sloupce.size()) : -1;
        }
        if (shown) {
            q.SeznamPoli += QStringLiteral(", ") + column.Jmeno;
            q.Sloupce.push_back(column);
        }
    }
    q.PocetSloupcu = quint8(q.Sloupce.size());

    QString from = QStringLiteral(" from Katalog where sekce=") + CSQL(sekce);
    if (!podminka.trimmed().isEmpty())
        from += QStringLiteral(" AND (") + podminka + QLatin1Char(')');
    // With no field shown there is no first column to order by: the records come by key.
    const QString order = q.Sloupce.size() > 1 ? q.Sloupce[1].Jmeno : QStringLiteral("Inter");
    // Under a limit the engine keeps only the first records of its sort instead of
    // sorting the whole section; the count still tells how many there are.
    q.Select = QStringLiteral("select ") + q.SeznamPoli + from + QStringLiteral(" order by ") + order;
    if (limit)
        q.Select += QStringLiteral(" limit ") + QString::number(std::max(*limit, 1));
    q.Count = QStringLiteral("select count(*)") + from;
    q.Odkud = from;
    q.Poradi = order;
    if (limit)
        q.Limit = std::max(*limit, 1);
    return q;
}

QString IndexPrehleduSql(const QString &poradi)
{
    if (!JePoleKatalogu(poradi))
        return QString();
    // Named after its column, so that every section ordered by it shares it.
    return QStringLiteral("create index if not exists Katalog_Prehled_%1 on Katalog (Sekce, %1)").arg(poradi);
}

QString IndexPrehleduExistujeSql(const QString &poradi)
{
    return QStringLiteral("select count(*) from sqlite_master where type='index' and name=")
           + CSQL(QStringLiteral("Katalog_Prehled_") + poradi);
}

QString TextBunky(const Variant &value)
{
    if (value.IsNull() || value.IsEmpty())
        return QString();
    QString text = value.toString();
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

QString PolSloupce(const QString &jmeno)
{
    // The type letter follows the field's number.
    return jmeno.chopped(1);
}

QString VychoziHlavickaSql(qint32 sekce, const QString &jmeno)
{
    return QStringLiteral("select * from vychozidefinice where sekce=") + CSQL(sekce) + QStringLiteral(" AND pol=")
           + CSQL(PolSloupce(jmeno));
}

QString ZmenaHlavickySql(qint32 sekce, const QString &jmeno, const QString &nazev, const QString &zarovnani)
{
    return QStringLiteral("Update definice set nazev=") + CSQL(nazev) + QStringLiteral(", zarovnani=") + CSQL(zarovnani)
           + QStringLiteral(" where sekce=") + CSQL(sekce) + QStringLiteral(" AND pol=") + CSQL(PolSloupce(jmeno));
}

QString ZrusZarovnaniPrehleduSql(qint32 sekce)
{
    return QStringLiteral("Update S_Grid set zarovnani='N' where gridname=")
           + CSQL(QStringLiteral("frmPrehled_Sekce") + QString::number(sekce));
}
