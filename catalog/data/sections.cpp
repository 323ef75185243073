#include "data/sections.h"

#include "dao.h"
#include "data/sqlliteral.h"
#include "jetsql.h"
#include "variant.h"

namespace {

QString number(qint32 value)
{
    return CSQL(Variant(int(value)));
}

}  // namespace

qint32 VolneCisloSekce(dao::Database &db)
{
    // Records whose section is gone keep their number taken: a new section under it would
    // show them as its own.
    auto sections = db.OpenRecordset(
        QStringLiteral("select sekce from sekce union select sekce from katalog order by sekce"));
    qint32 candidate = 1;
    for (; !sections->Eof(); sections->MoveNext()) {
        const Variant used = (*sections)[QStringLiteral("sekce")];
        if (used.IsNull())
            continue;
        if (used.toLong() > candidate)
            break;
        // Only a number that is the candidate itself moves it on: a row below it (0, or
        // a number stored twice) takes nothing away.
        if (used.toLong() == candidate)
            ++candidate;
    }
    return candidate;
}

void VlozVychoziDefinice(dao::Database &db, qint32 sekce)
{
    db.Execute(QStringLiteral("Delete * from vychozidefinice where sekce=") + number(sekce));
    db.Execute(QStringLiteral("Delete * from definice where sekce=") + number(sekce));
    for (int k = 1; k <= 30; ++k) {
        const QString pol = CSQL(Variant(QStringLiteral("Pol%1").arg(k)));
        const QString values = QStringLiteral(" (poradi,pol, zobraz,vyber,detail,popis,nazev,typ,zarovnani,sekce) values (")
                               + number(k) + QStringLiteral(", ") + pol + QStringLiteral(", ")
                               + CSQL(Variant(true)) + QStringLiteral(", ") + CSQL(Variant(true)) + QStringLiteral(", ")
                               + CSQL(Variant(true)) + QStringLiteral(", ") + CSQL(Variant(k == 1)) + QStringLiteral(", ")
                               + pol + QStringLiteral(", ") + CSQL(Variant(QStringLiteral("C"))) + QStringLiteral(", ")
                               + CSQL(Variant(QStringLiteral("L"))) + QStringLiteral(", ") + number(sekce)
                               + QLatin1Char(')');
        db.Execute(QStringLiteral("Insert into vychozidefinice") + values);
        db.Execute(QStringLiteral("Insert into definice") + values);
    }
}

qint32 VlozSekci(dao::Workspace &ws, dao::Database &db, const QString &nazev)
{
    const qint32 sekce = VolneCisloSekce(db);
    // A section is written whole or not at all, so that a failed save leaves no
    // definitions without their section, nor a section without its definitions.
    dao::Transaction trans(ws);
    // The overview of a section that had this number kept its users' column layouts;
        // they would give the new section's columns the old captions and widths.
    db.Execute(QStringLiteral("Delete * from S_Grid where gridname=")
               + CSQL(Variant(QStringLiteral("frmPrehled_Sekce") + QString::number(sekce))));
    VlozVychoziDefinice(db, sekce);
    db.Execute(QStringLiteral("Insert into Sekce (sekce, nazev) values (") + number(sekce) + QStringLiteral(", ")
               + CSQL(Variant(nazev)) + QLatin1Char(')'));
    trans.Commit();
    return sekce;
}

void PrejmenujSekci(dao::Database &db, qint32 sekce, const QString &nazev)
{
    db.Execute(QStringLiteral("Update Sekce set nazev=") + CSQL(Variant(nazev)) + QStringLiteral(" where sekce=")
               + number(sekce));
}

void SmazSekci(dao::Workspace &ws, dao::Database &db, qint32 sekce)
{
    dao::Transaction trans(ws);
    db.Execute(QStringLiteral("delete from definice where sekce=") + number(sekce));
    db.Execute(QStringLiteral("delete from vychozidefinice where sekce=") + number(sekce));
    db.Execute(QStringLiteral("delete from Sekce  where sekce=") + number(sekce));
    trans.Commit();
}

bool SekceMaZaznamy(dao::Database &db, qint32 sekce)
{
    return !db.OpenRecordset(QStringLiteral("select inter from katalog where sekce=") + number(sekce)
                             + QStringLiteral(" limit 1"))->Eof();
}

std::vector<RadekSekce> SeznamSekci(dao::Database &db)
{
    std::vector<RadekSekce> sekce;
    for (auto rs = db.OpenRecordset(QStringLiteral("SELECT * FROM Sekce ORDER BY Nazev")); !rs->Eof(); rs->MoveNext())
        sekce.push_back({(*rs)[QStringLiteral("Sekce")], (*rs)[QStringLiteral("Nazev")]});
    return sekce;
}

bool JsouSekce(dao::Database &db)
{
    return !db.OpenRecordset(QStringLiteral("select * from sekce"))->Eof();
}

bool SekceMaDefinice(dao::Database &db, const Variant &sekce)
{
    return !db.OpenRecordset(QStringLiteral("select * from Definice where sekce=") + CSQL(sekce))->Eof();
}

std::optional<NerozlisenyNazev> NerozlisitelnyNazev(const std::vector<QString> &nazvy)
{
    for (size_t i = 0; i < nazvy.size(); ++i) {
        const QString name = nazvy[i].trimmed();
        if (name.isEmpty())
            return NerozlisenyNazev{NerozlisenyNazev::Prazdny, i};
        for (size_t j = 0; j < i; ++j)
            if (jet::collate(name, nazvy[j].trimmed()) == 0)
                return NerozlisenyNazev{NerozlisenyNazev::Stejny, i};
    }
    return std::nullopt;
}
