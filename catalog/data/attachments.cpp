#include "data/attachments.h"

#include "common/messages.h"
#include "dao.h"
#include "data/sqlliteral.h"
#include "variant.h"
#include "vberror.h"

#include <QDirIterator>
#include <QFileInfo>

namespace {

QString key(qint32 inter)
{
    return CSQL(Variant(inter), true);
}

VbError limitError(const QString &message)
{
    return VbError(6, QStringLiteral("Oskal"), PrelozText(message));
}

// A record with attachment 255 takes no more.
VbError plnyZaznam()
{
    return limitError(QStringLiteral("481,Záznam již má 255 náhledů a dokumentů."));
}

Priloha current(dao::Recordset &rs)
{
    Priloha p;
    p.Poradi = rs[QStringLiteral("Poradi")].toLong();
    const Variant soubor = rs[QStringLiteral("Soubor")];
    const Variant popis = rs[QStringLiteral("Popis")];
    p.Soubor = soubor.IsNull() ? QString() : soubor.toString();
    p.Popis = popis.IsNull() ? QString() : popis.toString();
    return p;
}

}  // namespace

DruhSouboru DruhPrilohy(const QString &soubor)
{
    const QString end = soubor.right(3).toLower();
    if (end == QLatin1String("jpg") || end == QLatin1String("gif"))
        return DruhSouboru::Obrazek;
    if (end == QLatin1String("pdf"))
        return DruhSouboru::Pdf;
    return DruhSouboru::Dokument;
}

bool JeHolyNazev(const QString &soubor)
{
    return !soubor.isEmpty() && !soubor.contains(QLatin1Char('/')) && !soubor.contains(QLatin1Char('\\'))
           && soubor != QLatin1String(".") && soubor != QLatin1String("..") && !soubor.contains(QChar(0));
}

QString CestaPrilohy(const QString &appPath, const QString &soubor)
{
    if (!JeHolyNazev(soubor))
        return QString();
    const QString folder = appPath + QStringLiteral("img/");
    const QString exact = folder + soubor;
    if (QFileInfo::exists(exact))
        return exact;
    // Catalogs kept where names had no case name "FOTO.jpg" for foto.JPG.
    QDirIterator files(folder, QDir::Files | QDir::Hidden);
    while (files.hasNext()) {
        files.next();
        if (files.fileName().compare(soubor, Qt::CaseInsensitive) == 0)
            return files.filePath();
    }
    return exact;
}

QString DotazPriloh(qint32 inter)
{
    return QStringLiteral("select * from Obrazky where inter=") + key(inter) + QStringLiteral(" Order by poradi");
}

QString DotazPrilohy(qint32 inter, qint32 poradi)
{
    return QStringLiteral("select * from Obrazky where inter=") + key(inter) + QStringLiteral(" and poradi=") + key(poradi);
}

QString DotazPoznamky(qint32 inter)
{
    return QStringLiteral("Select poznamka from katalog where inter=") + key(inter);
}

std::vector<Priloha> NactiPrilohy(dao::Database &db, qint32 inter)
{
    std::vector<Priloha> list;
    for (auto rs = db.OpenRecordset(DotazPriloh(inter)); !rs->Eof(); rs->MoveNext())
        list.push_back(current(*rs));
    return list;
}

std::optional<Priloha> NactiPrilohu(dao::Database &db, qint32 inter, qint32 poradi)
{
    auto rs = db.OpenRecordset(DotazPrilohy(inter, poradi));
    if (rs->Eof())
        return std::nullopt;
    return current(*rs);
}

std::optional<QString> NactiPoznamku(dao::Database &db, qint32 inter)
{
    auto rs = db.OpenRecordset(DotazPoznamky(inter));
    if (rs->Eof())
        return std::nullopt;
    const Variant note = (*rs)[0];
    return note.IsNull() ? QString() : note.toString();
}

qint32 DalsiPoradi(dao::Database &db, qint32 inter)
{
    auto rs = db.OpenRecordset(QStringLiteral("Select max(poradi) from obrazky where inter=") + key(inter));
    const Variant highest = (*rs)[0];
    return highest.IsNull() ? 1 : highest.toLong() + 1;
}

int PocetJinychZaznamu(dao::Database &db, qint32 inter, const QString &soubor)
{
    auto rs = db.OpenRecordset(QStringLiteral("Select count(*) from (select distinct inter from obrazky where soubor=")
                               + CSQL(Variant(soubor)) + QStringLiteral(" and inter<>") + key(inter) + QLatin1Char(')'));
    return (*rs)[0].toLong();
}

void OverPrilohu(dao::Database &db, qint32 inter, qint32 poradi, const QString &soubor, const QString &popis)
{
    if (!JeHolyNazev(soubor) || soubor.size() > kDelkaSouboru)
        throw limitError(QStringLiteral("479,Název souboru musí být holé jméno souboru nejvýše o 50 znacích."));
    if (popis.size() > kDelkaPopisu)
        throw limitError(QStringLiteral("480,Popis náhledu může mít nejvýše 50 znaků."));
    if (!NactiPrilohu(db, inter, poradi) && DalsiPoradi(db, inter) > kNejvyssiPoradi)
        throw plnyZaznam();
}

qint32 UlozPrilohu(dao::Workspace &ws, dao::Database &db, qint32 inter, qint32 poradi, const QString &soubor,
                   const QString &popis, const QDateTime &now)
{
    OverPrilohu(db, inter, poradi, soubor, popis);
    dao::Transaction trans(ws);
    const QString values = QStringLiteral("soubor=") + CSQL(Variant(soubor)) + QStringLiteral(", popis=")
                           + CSQL(Variant(popis)) + QStringLiteral(", aktualizace=") + CSQL(Variant(now));
    qint32 number = poradi;
    if (poradi >= 1 && poradi <= kNejvyssiPoradi)
        db.Execute(QStringLiteral("update obrazky set ") + values + QStringLiteral(" where inter=") + key(inter)
                   + QStringLiteral(" and poradi=") + key(poradi));
    if (poradi < 1 || poradi > kNejvyssiPoradi || db.RecordsAffected() == 0) {
        number = DalsiPoradi(db, inter);
        if (number > kNejvyssiPoradi)
            throw plnyZaznam();
        db.Execute(QStringLiteral("Insert into obrazky (Inter, Poradi, Soubor, Popis, Aktualizace) values (") + key(inter)
                   + QStringLiteral(", ") + key(number) + QStringLiteral(", ") + CSQL(Variant(soubor))
                   + QStringLiteral(", ") + CSQL(Variant(popis)) + QStringLiteral(", ") + CSQL(Variant(now))
                   + QLatin1Char(')'));
    }
    trans.Commit();
    return number;
}

void OdeberPrilohu(dao::Workspace &ws, dao::Database &db, qint32 inter, qint32 poradi, const QDateTime &now)
{
    if (poradi < 1)
        return;
    dao::Transaction trans(ws);
    db.Execute(QStringLiteral("delete * from obrazky where inter=") + key(inter) + QStringLiteral(" and poradi=")
               + key(poradi));
    qint32 next = poradi;
    for (const Priloha &p : NactiPrilohy(db, inter)) {
        if (p.Poradi < poradi)
            continue;
        if (p.Poradi != next)
            db.Execute(QStringLiteral("Update obrazky set poradi=") + key(next) + QStringLiteral(", aktualizace=")
                       + CSQL(Variant(now)) + QStringLiteral(" where inter=") + key(inter)
                       + QStringLiteral(" and poradi=") + key(p.Poradi));
        ++next;
    }
    trans.Commit();
}

QString DotazDetailu(const QString &seznamPoli, qint32 inter)
{
    return QStringLiteral("select ") + seznamPoli + QStringLiteral(", poznamka from Katalog where inter=") + key(inter);
}
