#pragma once

#include <QString>
#include <memory>

namespace dao {
class Database;
class Workspace;
}

// The copies of the catalog: the backup in the folder zaloha/ and the copies kept beside
// the catalog on the way back from a repair or a restore. Every copy of a database is
// its last committed state (dao::CopyDatabase), complete on the disk before it takes a
// name that another step relies on. Failures are VbErrors with words for the user.

// Beside the catalog: the catalog as it was before the last repair or restore, and the
// one that was kept before that.
QString SouborZalohyOpravy(const QString &catalog);   // QIRData.zal
QString SouborPredchoziZalohy(const QString &catalog);  // QIRData.zdb

// A backup of the catalog db has open into folder/QIRData.mdb (folder made when
// missing). The backup that was there is kept as folder/QIRData.zal, unless it is no
// database; the new one takes its name only once it is complete.
void ZalohujKatalog(const dao::Database &db, const QString &folder);

// Raises unless file is a catalog (its ten tables) whose data this program uses as they
// stand (the version rule gives no conversion).
void OverKatalog(const QString &file, int programMajor, int programMinor);

// The first step of a restore, while the catalog is still in use: a copy of backup
// beside catalog under a name of its own, checked by OverKatalog. Returns its path;
// nothing of the catalog is changed.
QString PripravObnovu(const QString &backup, const QString &catalog, int programMajor, int programMinor);

// Writes the prepared copy into the catalog that db has open, in place (a symbolic link
// to the catalog stays a link, and every workstation of a shared catalog goes on in the
// restored one), and opens it in ws as db. The catalog it replaces is kept
// (UschovejKatalog's way), unless it holds the prepared copy's data already: then
// nothing is written and the copies stay as they are. Any failure puts the catalog and
// the copies back as they were, opens it again as db where it can, and raises.
void VymenKatalog(dao::Workspace &ws, std::unique_ptr<dao::Database> &db, const QString &prepared);

// Keeps a copy of the closed catalog file as QIRData.zal beside it (beside a symbolic
// link to it: in the program folder); the QIRData.zal that was there becomes QIRData.zdb,
// so that one repair or restore after another never takes away the way back of the one
// before.
void UschovejKatalog(const QString &catalog);

// A name in folder that no file has, for a file base being written (FileSystemObject's
// TemporaryName), so that what a run cut short leaves can be told from every other file.
QString VolnyNazev(const QString &folder, const QString &base);
// Renames a file over whatever has the new name, atomically, and puts the rename on the disk.
void Prejmenuj(const QString &from, const QString &to);

// What backups, restores, repairs and release exports of this computer that were cut
// short left in the program folder appPath, in zaloha/ and in Internet/: the copies they
// were writing under VolnyNazev's names. For the start, before any of them runs.
void SmazDocasneKopie(const QString &appPath);
