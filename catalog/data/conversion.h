#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

namespace dao {
class Database;
class Workspace;
}

// The conversion of a catalog written by another version of the program to the tables of
// this one (data/schema.h), in place. Failures are VbErrors; start-up's KonverzeDat tells
// the user.
//
// Nothing of the data is lost, whichever version wrote them:
// - a table of the list keeps every row: its columns that this version does not know are
//   added to the new table after its own, with their declared types and their values;
// - a value whose column changed between text and number is stored as it stood and the
//   column's type takes it where that loses nothing ("1.5" becomes the number 1.5, 2.25
//   the text "2.25"); a text that is no number stays that text;
// - Katalog rows without a key get new keys after the highest one;
// - rows whose required key columns of S_CisA or S_CisB are empty stay in a table
//   <name>_nezarazeno beside the new one;
// - tables outside the list are not touched.

// A safety copy of the catalog file in a folder of its own that only this user can enter,
// made in the temporary folder `docasna` (DocasnaSlozka's); the folder's name tells which
// catalog the copy is of. Returns the copy's path.
QString ZalohujData(const QString &catalog, const QString &docasna);
// Deletes the safety copy and its folder; every failure is ignored.
void SmazZalohu(const QString &copy);
// After a conversion of catalog has succeeded: the safety copies of that catalog that
// conversions before it kept (failed ones, or ones cut short) in the temporary folder
// `docasna` go too. A folder holding anything but a safety copy stays. Every failure is
// ignored.
void SmazZalohyKatalogu(const QString &catalog, const QString &docasna);
// Writes the safety copy into the catalog db has open, in place (a symbolic link to the
// catalog stays a link), and opens it again in ws. The copy stays. Raises when it
// cannot; db is then open where the file allows it.
void ObnovZalohu(dao::Workspace &ws, std::unique_ptr<dao::Database> &db, const QString &copy);

// The whole conversion of db in one transaction of ws: the tables set aside as <name>_old,
// created anew, their rows copied, the record counter set, the type and alignment words
// of versions before 3 made codes, and the version set to programVersion in every
// S_Param row. On failure the transaction is rolled back, which leaves the file as it
// was, and the error is raised; rolledBack says whether that rollback itself succeeded.
void PrevedKatalog(dao::Workspace &ws, dao::Database &db, qint16 dataMajor, const QString &programVersion,
                   bool *rolledBack = nullptr);

// The steps, for the tables of the list by name.
// Tables <name>_old left by a conversion that was cut short: where the new table is
// missing or empty, the old one is the data and the new one goes; where both hold rows,
// nothing can tell which is right and the conversion is refused.
void UklidPrerusenyPrevod(dao::Database &db);
// Adds to the new table the columns of its old table that it does not have.
void PridejNezname(dao::Database &db, const QString &name);
void PovolPrazdneTexty(dao::Database &db, const QString &name);
// Copies the old table's rows into the new one and drops the old table.
void PrevedData(dao::Database &db, const QString &name);
// Raises the counter S_Param.Inter to the highest Katalog.Inter when it is lower or Null.
void NastavCitac(dao::Database &db);
bool TabulkaExistuje(dao::Database &db, const QString &name);
bool PoleExistuje(dao::Database &db, const QString &table, const QString &column);
