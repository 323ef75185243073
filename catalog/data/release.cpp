#include "data/release.h"

#include "dao.h"
#include "data/archive.h"
#include "data/attachments.h"
#include "data/sqlliteral.h"
#include "variant.h"
#include "vberror.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace {

const QString kSource = QStringLiteral("Export");
const QChar kNbsp(0x00A0);

QString key(qint32 value)
{
    return CSQL(Variant(value), true);
}

std::optional<QDateTime> parseDate(const QString &text)
{
    const QString t = text.simplified();
    for (const char *pattern : {"d.M.yyyy H:m:s", "d.M.yyyy H:m", "d.M.yyyy"}) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(pattern));
        if (dt.isValid())
            return dt;
    }
    return std::nullopt;
}

// Copies over whatever has the name, a read-only copy included.
void copyOver(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to)) {
        QFile::setPermissions(to, QFile::permissions(to) | QFile::WriteOwner);
        if (!QFile::remove(to))
            throw VbError(70, kSource, QStringLiteral("'%1': permission denied.").arg(to));
    }
    QFile source(from);
    if (!source.copy(to))
        throw VbError(75, kSource, QStringLiteral("'%1' -> '%2': %3").arg(from, to, source.errorString()));
}

QString latestFileStamp(const QFileInfo &info)
{
    const QString born = Razitko(info.birthTime());
    const QString changed = Razitko(info.lastModified());
    return born < changed ? changed : born;
}

// The later of the file's birth and change times, to the second: the stored time must
// give the same stamp as the file's.
QDateTime latestFileTime(const QFileInfo &info)
{
    const QDateTime born = info.birthTime(), changed = info.lastModified();
    QDateTime later = !born.isValid() || Razitko(born) < Razitko(changed) ? changed : born;
    later.setTime(QTime(later.time().hour(), later.time().minute(), later.time().second()));
    return later;
}

// The attachment rows of the catalog's records, in record and then Poradi order, one
// query for the whole catalog; `each` sees every row, `next` each record done.
template <class Row, class Record>
void overAttachments(dao::Database &db, const Row &each, const Record &next)
{
    auto records = db.OpenRecordset(QStringLiteral("select Inter from Katalog order by Inter"));
    auto rows = db.OpenRecordset(QStringLiteral(
        "select o.Inter, o.Poradi, o.Soubor, o.Aktualizace from Obrazky o inner join Katalog k on k.Inter=o.Inter "
        "order by o.Inter, o.Poradi"));
    // A fresh recordset counts only the records read so far: the bar needs them all.
    const int count = records->QueryRowCount();
    int done = 0;
    while (!records->Eof()) {
        const Variant inter = (*records)[0];
        while (!rows->Eof() && !inter.IsNull() && !(*rows)[0].IsNull() && (*rows)[0].toLong() < inter.toLong())
            rows->MoveNext();
        while (!rows->Eof() && !inter.IsNull() && !(*rows)[0].IsNull() && (*rows)[0].toLong() == inter.toLong()) {
            each(*rows);
            rows->MoveNext();
        }
        next(++done, count);
        records->MoveNext();
    }
}

}  // namespace

QString Razitko(const QDateTime &datum)
{
    return datum.isValid() ? datum.toString(QStringLiteral("yyyyMMddhhmmss")) : QString();
}

QString TextDataExportu(const std::optional<QDateTime> &export_)
{
    return export_ ? export_->toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) : QStringLiteral("1.1.2000 00:00:00");
}

std::optional<QDateTime> NactiDatumExportu(dao::Database &db)
{
    auto rs = db.OpenRecordset(QStringLiteral("select * from S_Param"));
    if (rs->Eof())
        return std::nullopt;
    const Variant value = (*rs)[QStringLiteral("Export")];
    if (value.IsNull() || value.IsEmpty())
        return std::nullopt;
    return value.toDateTime();
}

QString UpravDatumExportu(const QString &text, const QDateTime &loaded, QDate today)
{
    QString t = text.trimmed();
    if (t.size() < 3) {
        bool ok = false;
        const int day = t.toInt(&ok);
        const QDate date(today.year(), today.month(), ok ? day : 0);
        t = ok && day >= 1 && day <= 31 && date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
    }
    const std::optional<QDateTime> parsed = parseDate(t);
    return (parsed ? *parsed : loaded).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

void ZajistiIndexPriloh(dao::Database &db)
{
    db.Execute(QStringLiteral("create index if not exists Obrazky_Inter on Obrazky (Inter)"));
}

std::vector<PrilohaRadek> KontrolujPrilohy(dao::Database &db, const QString &appPath, const Prubeh &prubeh)
{
    std::vector<PrilohaRadek> missing;
    std::vector<std::pair<PrilohaRadek, QDateTime>> later;
    overAttachments(
        db,
        [&](dao::Recordset &row) {
            PrilohaRadek r{row[0].toLong(), row[1].toLong(), row[2].IsNull() ? QString() : row[2].toString()};
            if (!JeHolyNazev(r.Soubor))
                return;
            const QFileInfo file(CestaPrilohy(appPath, r.Soubor));
            if (!file.exists()) {
                missing.push_back(r);
                return;
            }
            const Variant recorded = row[3];
            if (recorded.IsNull() || recorded.IsEmpty())
                return;
            if (Razitko(recorded.toDateTime()) < latestFileStamp(file))
                later.emplace_back(r, latestFileTime(file));
        },
        [&](int done, int count) {
            if (prubeh)
                prubeh(done, count);
        });
    for (const auto &[r, time] : later)
        db.Execute(QStringLiteral("Update obrazky set aktualizace=") + CSQL(Variant(time)) + QStringLiteral(" where inter=")
                   + key(r.Inter) + QStringLiteral(" and poradi=") + key(r.Poradi));
    return missing;
}

void SmazPrilohy(dao::Workspace &ws, dao::Database &db, const std::vector<PrilohaRadek> &radky)
{
    dao::Transaction trans(ws);
    for (const PrilohaRadek &r : radky)
        db.Execute(QStringLiteral("Delete * from obrazky where inter=") + key(r.Inter) + QStringLiteral(" and poradi=")
                   + key(r.Poradi));
    trans.Commit();
}

bool JeExportovatelnyNazev(const QString &soubor)
{
    if (!JeHolyNazev(soubor))
        return false;
    for (const char *own : {kSeznamVydani, kKatalog, kJazyky, kProgram, kAktualizator, "QIRData.zal"})
        if (soubor.compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
            return false;
    // The release's working copies take names that begin so.
    return !soubor.startsWith(QStringLiteral("QIRData."), Qt::CaseInsensitive);
}

QStringList ExportujPrilohy(dao::Database &db, const QString &appPath, const QString &folder, const QString &od,
                            const Prubeh &prubeh)
{
    QStringList refused;
    std::vector<QString> names;
    overAttachments(
        db,
        [&](dao::Recordset &row) {
            const Variant recorded = row[3];
            if (recorded.IsNull() || recorded.IsEmpty() || !(Razitko(recorded.toDateTime()) > od))
                return;
            const QString soubor = row[2].IsNull() ? QString() : row[2].toString();
            if (!JeExportovatelnyNazev(soubor))
                refused << soubor;
            else
                names.push_back(soubor);
        },
        [&](int done, int count) {
            if (prubeh)
                prubeh(done, count);
        });
    QStringList copied;
    for (const QString &soubor : names) {
        // Rows of several records may name one file: it goes once.
        if (copied.contains(soubor, Qt::CaseInsensitive))
            continue;
        const QString source = CestaPrilohy(appPath, soubor);
        if (!QFileInfo::exists(source))
            continue;  // gone since the check pass: nothing to publish
        copyOver(source, folder + soubor);
        copied << soubor;
    }
    refused.removeDuplicates();
    return refused;
}

void ExportujProgram(const QString &appPath, const QString &folder, const QString &od)
{
    const QFileInfo program(appPath + QLatin1String(kProgram));
    if (program.exists() && (Razitko(program.birthTime()) > od || Razitko(program.lastModified()) > od))
        copyOver(program.filePath(), folder + QLatin1String(kProgram));
    const QString updater = appPath + QLatin1String(kAktualizator);
    if (QFileInfo::exists(updater))
        copyOver(updater, folder + QLatin1String(kAktualizator));
}

void ExportujKatalog(const dao::Database &db, const QString &folder)
{
    const QString copy = folder + QStringLiteral("QIRData.zal");
    const QString compacted = VolnyNazev(folder, QLatin1String(kKatalog));
    QFile::remove(copy);
    try {
        dao::CopyDatabase(db.Name(), copy);
        dao::CompactDatabase(copy, compacted, QStringLiteral(";LANGID=0x0405;CP=1250;COUNTRY=0"), 2);
        Prejmenuj(compacted, folder + QLatin1String(kKatalog));
    } catch (const VbError &) {
        QFile::remove(compacted);
        QFile::remove(copy);
        throw;
    }
    QFile::remove(copy);
}

void ZapisSeznamVydani(const QString &folder, const QString &od)
{
    QSaveFile file(folder + QLatin1String(kSeznamVydani));
    if (!file.open(QIODevice::WriteOnly) || file.write(od.toLatin1() + "\r\n") < 0 || !file.commit())
        throw VbError(75, kSource, QStringLiteral("'%1': %2").arg(file.fileName(), file.errorString()));
}

void ZapisExport(dao::Database &db, const QDateTime &now)
{
    db.Execute(QStringLiteral("Update s_param set export=") + CSQL(Variant(now)));
}

QString RazitkoVydani(const QByteArray &obsah)
{
    QString last;
    for (const QString &line : QString::fromLatin1(obsah).split(QLatin1Char('\n')))
        for (const QString &item : line.split(QLatin1Char(',')))
            if (!item.trimmed().isEmpty())
                last = item.trimmed();
    const std::optional<QDateTime> date = parseDate(last);
    return date ? Razitko(*date) : QString();
}

QString RazitkoVydaniSouboru(const QString &soubor)
{
    QFile file(soubor);
    return file.open(QIODevice::ReadOnly) ? RazitkoVydani(file.readAll()) : QString();
}

bool JeNovejsi(const QString &vydani, const QString &pouzite)
{
    return !vydani.isEmpty() && vydani > pouzite;
}

QString NormalizujAdresu(const QString &adresa)
{
    QString a = adresa.trimmed();
    if (a.endsWith(QLatin1Char('/')) || a.endsWith(QLatin1Char('\\')))
        a.chop(1);
    if (a.startsWith(QStringLiteral("www"), Qt::CaseInsensitive))
        a.prepend(QStringLiteral("http://"));
    // Scheme and host know no case; a server's path may.
    const int scheme = a.indexOf(QStringLiteral("://"));
    if (scheme > 0) {
        const int path = a.indexOf(QLatin1Char('/'), scheme + 3);
        const int end = path < 0 ? a.size() : path;
        a = a.left(end).toLower() + a.mid(end);
    }
    return a;
}

bool JeAdresaPlatna(const QString &adresa)
{
    return adresa.startsWith(QStringLiteral("http://www.")) || adresa.startsWith(QStringLiteral("https://www."));
}

void VyprazdniSlozku(const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw VbError(76, kSource, QStringLiteral("'%1': the folder cannot be made.").arg(folder));
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (files.hasNext()) {
        const QString file = files.next();
        QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
        QFile::remove(file);
    }
}

QString StahniVydani(const QString &adresa, const QString &folder,
                     const std::function<bool(const QString &adresa, const QString &cil)> &stahni,
                     const std::function<void(int n, const QString &nazev)> &pred)
{
    int n = 0;
    for (const SouborVydani &soubor : kSouboryVydani) {
        const QString name = QLatin1String(soubor.Nazev);
        if (pred)
            pred(++n, name);
        if (!stahni(adresa + QLatin1Char('/') + name, folder + name) && soubor.Povinny)
            return name;
    }
    return QString();
}

QString ParametryAktualizace(const QString &appPath, const QString &zdroj, const QString &adresa)
{
    return appPath + kNbsp + zdroj + kNbsp + adresa;
}

QString PripravAktualizator(const QString &appPath, const QString &zdroj)
{
    const QString source = zdroj + QLatin1String(kAktualizator);
    const QString target = appPath + QLatin1String(kAktualizator);
    if (QFileInfo::exists(source) && QFileInfo(source).canonicalFilePath() != QFileInfo(target).canonicalFilePath()) {
        copyOver(source, target);
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner | QFile::ExeUser);
    }
    return QFileInfo::exists(target) ? target : QString();
}
