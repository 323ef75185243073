#include "data/archive.h"

#include "common/translation.h"
#include "dao.h"
#include "data/schema.h"
#include "data/version.h"
#include "vberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

const QString kSource = QStringLiteral("Archivace");

QString sibling(const QString &catalog, const QString &name)
{
    return QFileInfo(catalog).absolutePath() + QLatin1Char('/') + name;
}

bool isDatabase(const QString &file)
{
    try {
        dao::Workspace ws;
        ws.OpenDatabase(file, false, true);
        return true;
    } catch (const VbError &) {
        return false;
    }
}

// The kept copy moves on to QIRData.zdb, so that a new one may take its name.
// True when there was one to move.
bool moveKeptCopyOn(const QString &catalog)
{
    const QString kept = SouborZalohyOpravy(catalog);
    if (!QFileInfo::exists(kept))
        return false;
    Prejmenuj(kept, SouborPredchoziZalohy(catalog));
    return true;
}

}  // namespace

QString SouborZalohyOpravy(const QString &catalog)
{
    return sibling(catalog, QStringLiteral("QIRData.zal"));
}

QString SouborPredchoziZalohy(const QString &catalog)
{
    return sibling(catalog, QStringLiteral("QIRData.zdb"));
}

QString VolnyNazev(const QString &folder, const QString &base)
{
    QString name;
    do {
        name = QDir(folder).filePath(base + QLatin1Char('.') + QString::number(QRandomGenerator::global()->generate(), 36));
    } while (QFileInfo::exists(name));
    return name;
}

void Prejmenuj(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        const int code = errno;
        throw VbError(code == ENOENT ? 53 : code == EACCES || code == EPERM ? 70 : 75, QStringLiteral("FileSystemObject"),
                      QStringLiteral("'%1' -> '%2': %3").arg(from, to, QString::fromLocal8Bit(std::strerror(code))));
    }
    dao::SyncFile(to);
}

void ZalohujKatalog(const dao::Database &db, const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw VbError(76, kSource, QStringLiteral("'%1': the folder cannot be made.").arg(folder));
    const QString backup = QDir(folder).filePath(QStringLiteral("QIRData.mdb"));
    const QString previous = QDir(folder).filePath(QStringLiteral("QIRData.zal"));
    const QString fresh = VolnyNazev(folder, QStringLiteral("QIRData.mdb"));
    dao::CopyDatabase(db.Name(), fresh);
    try {
        // The last backup keeps a second name before the new one takes its own, so that
        // the backup name is never without a complete file. A damaged file is no backup
        // to keep: the one kept before it stays.
        if (QFileInfo::exists(backup) && isDatabase(backup)) {
            QFile::remove(previous);
            if (::link(QFile::encodeName(backup).constData(), QFile::encodeName(previous).constData()) != 0
                && !QFile::copy(backup, previous))
                throw VbError(75, kSource, QStringLiteral("'%1': the last backup cannot be kept.").arg(previous));
        }
        Prejmenuj(fresh, backup);
    } catch (const VbError &) {
        QFile::remove(fresh);
        throw;
    }
}

void OverKatalog(const QString &file, int programMajor, int programMinor)
{
    const QString notACatalog = PrelozText(QStringLiteral("476,Soubor není katalogem programu:")) + QLatin1Char(' ') + file;
    dao::Workspace ws;
    std::unique_ptr<dao::Database> db;
    try {
        db = ws.OpenDatabase(file, false, true);
    } catch (const VbError &e) {
        throw VbError(e.Number(), e.Source(), notACatalog + QLatin1Char('\n') + e.Description());
    }
    for (const QString &table : SeznamTabulek()) {
        try {
            db->TableDefs()[table];
        } catch (const VbError &e) {
            throw VbError(e.Number(), kSource, notACatalog + QStringLiteral(" (") + table + QLatin1Char(')'));
        }
    }
    QString verze;
    try {
        auto param = db->OpenRecordset(QStringLiteral("select Verze from S_Param"));
        if (!param->Eof())
            verze = param->Fields(0).Value().toString();
    } catch (const VbError &) {
    }
    if (PorovnejVerze(verze.isEmpty() ? QStringLiteral("0.0.0") : verze, programMajor, programMinor) != VersionRule::Same)
        throw VbError(dao::err::General, kSource,
                      PrelozText(QStringLiteral("477,Verze dat v záloze neodpovídá verzi programu:")) + QLatin1Char(' ')
                          + (verze.isEmpty() ? QStringLiteral("?") : verze));
}

QString PripravObnovu(const QString &backup, const QString &catalog, int programMajor, int programMinor)
{
    const QString prepared = VolnyNazev(QFileInfo(catalog).absolutePath(), QStringLiteral("QIRData.mdb"));
    dao::CopyDatabase(backup, prepared);
    try {
        OverKatalog(prepared, programMajor, programMinor);
    } catch (const VbError &) {
        QFile::remove(prepared);
        throw;
    }
    return prepared;
}

void VymenKatalog(dao::Workspace &ws, std::unique_ptr<dao::Database> &db, const QString &prepared)
{
    const QString catalog = db->Name();
    const QString kept = SouborZalohyOpravy(catalog);
    db.reset();
    bool movedOn = false, keptAside = false, placed = false;
    try {
        // A journal left beside the closed catalog is another program's write in progress.
        if (QFileInfo::exists(catalog + QStringLiteral("-journal")))
            throw VbError(dao::err::Locked, kSource, QStringLiteral("'%1' is being written by another program.").arg(catalog));
        movedOn = moveKeptCopyOn(catalog);
        Prejmenuj(catalog, kept);
        keptAside = true;
        Prejmenuj(prepared, catalog);
        placed = true;
        db = ws.OpenDatabase(catalog);
    } catch (const VbError &) {
        db.reset();
        const auto back = [](const QString &from, const QString &to) {
            std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData());
        };
        if (placed)
            QFile::remove(catalog);
        if (keptAside)
            back(kept, catalog);
        if (movedOn)
            back(SouborPredchoziZalohy(catalog), kept);
        QFile::remove(prepared);
        try {
            db = ws.OpenDatabase(catalog);
        } catch (const VbError &) {
        }
        throw;
    }
}

void UschovejKatalog(const QString &catalog)
{
    const QString copy = VolnyNazev(QFileInfo(catalog).absolutePath(), QStringLiteral("QIRData.zal"));
    dao::CopyDatabase(catalog, copy);
    const QString kept = SouborZalohyOpravy(catalog);
    bool movedOn = false;
    try {
        movedOn = moveKeptCopyOn(catalog);
        Prejmenuj(copy, kept);
    } catch (const VbError &) {
        QFile::remove(copy);
        if (movedOn && !QFileInfo::exists(kept))
            std::rename(QFile::encodeName(SouborPredchoziZalohy(catalog)).constData(), QFile::encodeName(kept).constData());
        throw;
    }
}
