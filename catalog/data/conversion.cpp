#include "data/conversion.h"

#include "common/messages.h"
#include "dao.h"
#include "data/archive.h"
#include "data/schema.h"
#include "data/sqlliteral.h"
#include "jetsql.h"
#include "vberror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <unistd.h>

namespace {

const QString kSource = QStringLiteral("Konverze");

QString oldName(const QString &name)
{
    return name.trimmed() + QStringLiteral("_old");
}

QString bracketed(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

bool isText(int type)
{
    return type == dao::dbText || type == dao::dbChar;
}

long rowCount(dao::Database &db, const QString &table)
{
    return db.OpenRecordset(QStringLiteral("select count(*) from ") + bracketed(table))->Fields(0).Value().toLong();
}

struct Column {
    QString name;
    QString declared;
};

// The old table's columns with their declarations as written, which the table
// definitions do not keep.
std::vector<Column> declaredColumns(dao::Database &db, const QString &table)
{
    std::vector<Column> columns;
    auto info = db.OpenRecordset(QStringLiteral("pragma table_info(") + bracketed(table) + QLatin1Char(')'), dao::dbOpenSnapshot);
    for (; !info->Eof(); info->MoveNext())
        columns.push_back({info->Fields(QStringLiteral("name")).Value().toString(),
                           info->Fields(QStringLiteral("type")).Value().toString()});
    return columns;
}

// Which catalog a safety copy belongs to, in its folder's name: the file the catalog is,
// wherever a link to it lies.
QString znackaKatalogu(const QString &catalog)
{
    const QFileInfo file(catalog);
    const QString path = file.canonicalFilePath().isEmpty() ? file.absoluteFilePath() : file.canonicalFilePath();
    return QString::fromLatin1(QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha1).toHex().left(12));
}

}  // namespace

QString ZalohujData(const QString &catalog, const QString &temp)
{
    // A folder of a name nobody can foresee, open to this user alone: no other user can
    // put a file in the copy's place or read the catalog from it.
    if (temp.isEmpty() || !QFileInfo(temp).isDir())
        throw VbError(76, kSource, QStringLiteral("The temporary folder cannot be found (TMPDIR)."));
    QTemporaryDir folder(temp + QStringLiteral("/Oskal-konverze-") + znackaKatalogu(catalog) + QStringLiteral("-XXXXXX"));
    if (!folder.isValid())
        throw VbError(75, kSource, folder.errorString() + QStringLiteral(" (") + temp + QLatin1Char(')'));
    folder.setAutoRemove(false);
    const QString copy = folder.filePath(QStringLiteral("QIRData.mdb"));
    try {
        dao::CopyDatabase(catalog, copy);
    } catch (const VbError &) {
        QDir(folder.path()).removeRecursively();
        throw;
    }
    return copy;
}

void SmazZalohu(const QString &copy)
{
    if (copy.isEmpty())
        return;
    QFile::remove(copy);
    QDir().rmdir(QFileInfo(copy).absolutePath());
}

void SmazZalohyKatalogu(const QString &catalog, const QString &temp)
{
    if (temp.isEmpty())
        return;
    const QRegularExpression name(QStringLiteral("^Oskal-konverze-") + znackaKatalogu(catalog) + QStringLiteral("-[A-Za-z0-9]{6}$"));
    const QStringList ours{QStringLiteral("QIRData.mdb"), QStringLiteral("QIRData.mdb-journal")};
    for (const QFileInfo &folder : QDir(temp).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        // Only this user's own folder, as ZalohujData makes it, that holds nothing but
        // the copy: the temporary folder is everybody's.
        if (!name.match(folder.fileName()).hasMatch() || folder.isSymLink() || folder.ownerId() != ::getuid())
            continue;
        const QFileInfoList files = QDir(folder.filePath()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        if (!std::all_of(files.begin(), files.end(),
                         [&](const QFileInfo &f) { return ours.contains(f.fileName()) && f.isFile() && !f.isSymLink(); }))
            continue;
        for (const QFileInfo &f : files)
            QFile::remove(f.filePath());
        QDir().rmdir(folder.filePath());
    }
}

void ObnovZalohu(dao::Workspace &ws, std::unique_ptr<dao::Database> &db, const QString &copy)
{
    const QString catalog = db->Name();
    db.reset();
    try {
        // Into the file the catalog is, wherever a link leads to it.
        dao::OverwriteDatabase(copy, catalog);
    } catch (const VbError &) {
        try {
            db = ws.OpenDatabase(catalog);
        } catch (const VbError &) {
        }
        throw;
    }
    db = ws.OpenDatabase(catalog);
}

bool TabulkaExistuje(dao::Database &db, const QString &name)
{
    try {
        db.TableDefs()[name].Name();
    } catch (const VbError &e) {
        return e.Number() != dao::err::ItemNotFound;
    }
    return true;
}

bool PoleExistuje(dao::Database &db, const QString &table, const QString &column)
{
    try {
        db.TableDefs()[table].Fields(column).Name();
    } catch (const VbError &e) {
        return e.Number() != dao::err::ItemNotFound;
    }
    return true;
}

void UklidPrerusenyPrevod(dao::Database &db)
{
    db.TableDefs().Refresh();
    for (const QString &name : SeznamTabulek()) {
        if (!TabulkaExistuje(db, oldName(name)) || !TabulkaExistuje(db, name))
            continue;
        if (rowCount(db, name) > 0 && rowCount(db, oldName(name)) > 0)
            throw VbError(dao::err::DatabaseExists, kSource,
                          PrelozText(QStringLiteral("478,Data obsahují tabulku z přerušeného převodu dat a vedle ní tabulku téhož jména s daty:"))
                              + QLatin1Char(' ') + oldName(name) + QStringLiteral(", ") + name);
        // An empty table beside the old one is what the cut-short run made: the old one
        // holds the data.
        if (rowCount(db, name) == 0)
            db.Execute(QStringLiteral("DROP TABLE ") + bracketed(name));
        else
            db.Execute(QStringLiteral("DROP TABLE ") + bracketed(oldName(name)));
    }
    db.TableDefs().Refresh();
}

void PridejNezname(dao::Database &db, const QString &name)
{
    if (!TabulkaExistuje(db, oldName(name)))
        return;
    dao::TableDef &old = db.TableDefs()[oldName(name)];
    bool added = false;
    for (const Column &column : declaredColumns(db, oldName(name))) {
        if (PoleExistuje(db, name, column.name))
            continue;
        // Its texts sort and compare as every text column of the catalog does.
        const bool text = isText(old.Fields(column.name).Type()) || old.Fields(column.name).Type() == dao::dbMemo;
        db.Execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3%4")
                       .arg(bracketed(name), bracketed(column.name), column.declared,
                            text ? QStringLiteral(" COLLATE ") + QLatin1String(jet::kCollationName) : QString()));
        added = true;
    }
    if (added)
        db.TableDefs().Refresh();
}

void PovolPrazdneTexty(dao::Database &db, const QString &name)
{
    dao::TableDef &table = db.TableDefs()[name];
    if (!TabulkaExistuje(db, oldName(name))) {
        for (int i = 0; i < table.FieldCount(); ++i)
            if (isText(table.Fields(i).Type()))
                table.Fields(i).SetAllowZeroLength(true);
        return;
    }
    dao::TableDef &old = db.TableDefs()[oldName(name)];
    for (int i = 0; i < old.FieldCount(); ++i)
        if (old.Fields(i).AllowZeroLength() && PoleExistuje(db, name, old.Fields(i).Name()))
            table.Fields(old.Fields(i).Name()).SetAllowZeroLength(true);
    for (int i = old.FieldCount(); i < table.FieldCount(); ++i)
        if (isText(table.Fields(i).Type()))
            table.Fields(i).SetAllowZeroLength(true);
}

void PrevedData(dao::Database &db, const QString &name)
{
    const QString old = oldName(name);
    if (!TabulkaExistuje(db, old))
        return;  // the data have no such table: the new one stays empty
    dao::TableDef &table = db.TableDefs()[name.trimmed()];
    QStringList columns, required;
    for (int i = 0; i < table.FieldCount(); ++i) {
        const dao::Field field = table.Fields(i);
        if (!PoleExistuje(db, old, field.Name()))
            continue;  // new in this version: empty in every copied row
        columns << bracketed(field.Name());
        if (field.Required())
            required << bracketed(field.Name()) + QStringLiteral(" is null");
    }
    // Records without a key take new ones after the highest, instead of being left out.
    if (name.trimmed().compare(QLatin1String("Katalog"), Qt::CaseInsensitive) == 0 && PoleExistuje(db, old, QStringLiteral("Inter"))) {
        auto keyless = db.OpenRecordset(QStringLiteral("select _rowid_ from ") + bracketed(old) + QStringLiteral(" where Inter is null"),
                                        dao::dbOpenSnapshot);
        if (!keyless->Eof()) {
            qint64 next = db.OpenRecordset(QStringLiteral("select max(Inter) from ") + bracketed(old))->Fields(0).Value().toDouble();
            for (keyless->MoveFirst(); !keyless->Eof(); keyless->MoveNext())
                db.Execute(QStringLiteral("update %1 set Inter=%2 where _rowid_=%3")
                               .arg(bracketed(old)).arg(++next).arg(keyless->Fields(0).Value().toDouble(), 0, 'f', 0));
        }
    }
    const QString list = columns.join(QLatin1Char(','));
    const QString condition = required.join(QStringLiteral(" or "));
    if (!condition.isEmpty()) {
        // Rows that the new table's required columns refuse are kept apart, not lost.
        if (db.OpenRecordset(QStringLiteral("select count(*) from %1 where %2").arg(bracketed(old), condition))->Fields(0).Value().toLong() > 0)
            db.Execute(QStringLiteral("SELECT * INTO %1 FROM %2 WHERE %3")
                           .arg(bracketed(name.trimmed() + QStringLiteral("_nezarazeno")), bracketed(old), condition));
    }
    if (!list.isEmpty())
        db.Execute(QStringLiteral("INSERT INTO %1(%2) SELECT %2 FROM %3").arg(bracketed(name.trimmed()), list, bracketed(old))
                   + (condition.isEmpty() ? QString() : QStringLiteral(" WHERE NOT (") + condition + QLatin1Char(')')));
    db.Execute(QStringLiteral("DROP TABLE ") + bracketed(old));
}

void NastavCitac(dao::Database &db)
{
    const Variant highest = db.OpenRecordset(QStringLiteral("SELECT max(inter) as MI FROM katalog"))->Fields(QStringLiteral("MI")).Value();
    const double mi = highest.IsNull() ? 0 : highest.toDouble();
    auto param = db.OpenRecordset(QStringLiteral("Select inter from s_param"));
    if (param->Eof())
        return;
    const Variant counter = param->Fields(QStringLiteral("inter")).Value();
    param->Close();
    // A Null counter would give the next record no key at all.
    if (counter.IsNull() || counter.toDouble() < mi)
        db.Execute(QStringLiteral("Update s_param set inter=") + CSQL(Variant(mi)));
}

void PrevedKatalog(dao::Workspace &ws, dao::Database &db, qint16 dataMajor, const QString &programVersion, bool *rolledBack)
{
    if (rolledBack)
        *rolledBack = false;
    dao::Transaction trans(ws);
    try {
        UklidPrerusenyPrevod(db);
        const QStringList tables = SeznamTabulek();
        PrejmenujTabulky(db);
        db.TableDefs().Refresh();
        VytvorTabulky(db);
        db.TableDefs().Refresh();
        for (const QString &name : tables)
            PridejNezname(db, name);
        for (const QString &name : tables)
            PovolPrazdneTexty(db, name);
        for (const QString &name : tables)
            PrevedData(db, name);
        NastavCitac(db);
        if (dataMajor < 3) {
            for (const char *table : {"definice", "vychozidefinice"}) {
                const QString t = QLatin1String(table);
                db.Execute(QStringLiteral("update %1 set zarovnani='L' where zarovnani='Vlevo'").arg(t));
                db.Execute(QStringLiteral("update %1 set zarovnani='C' where zarovnani='Na střed'").arg(t));
                db.Execute(QStringLiteral("update %1 set zarovnani='R' where zarovnani='Vpravo'").arg(t));
                db.Execute(QStringLiteral("update %1 set typ='C' where typ='Text'").arg(t));
                db.Execute(QStringLiteral("update %1 set typ='N' where typ='Číslo'").arg(t));
                db.Execute(QStringLiteral("update %1 set typ='D' where typ='Datum'").arg(t));
            }
        }
        db.Execute(QStringLiteral("UPDATE S_Param SET Verze = ") + CSQL(Variant(programVersion)));
        trans.Commit();
    } catch (const VbError &) {
        const bool undone = trans.Rollback();
        if (rolledBack)
            *rolledBack = undone;
        db.TableDefs().Refresh();
        throw;
    }
}
