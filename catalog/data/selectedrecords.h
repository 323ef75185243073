#pragma once

#include <QString>
#include <QStringList>

namespace dao { class Database; class Workspace; }

// Moving and deleting the selected records: the records of a section meeting the
// selection condition (all of the section's for an empty or blank one). Each command is
// one transaction; a failure rolls the whole of it back and is passed on.

// How many records the statements will touch.
QString PocetVybranychSql(qint32 sekce, const QString &podminka);
// The records, then every attachment row whose record is gone (in any section, those
// orphaned earlier too).
QStringList SmazaniVybranychSql(qint32 sekce, const QString &podminka);
// The records into section `cil`; their attachments follow them by their key.
QString PresunVybranychSql(qint32 sekce, qint32 cil, const QString &podminka);

qint32 PocetVybranych(dao::Database &db, qint32 sekce, const QString &podminka);
// The number of records deleted.
long SmazVybrane(dao::Workspace &ws, dao::Database &db, qint32 sekce, const QString &podminka);
// One record of the overview and its attachment rows; the files stay in the folder.
QStringList SmazaniZaznamuSql(qint32 inter);
// Deletes them in one transaction; the number of records deleted (0 or 1).
long SmazZaznam(dao::Workspace &ws, dao::Database &db, qint32 inter);
// The number of records moved.
long PresunVybrane(dao::Workspace &ws, dao::Database &db, qint32 sekce, qint32 cil, const QString &podminka);
