#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace dao { class Database; class Workspace; }

// A record's attachments (rows of Obrazky) and their files in the folder img/.

// What a file is, by the last three letters of its name in any case: "jpg" and "gif" are
// pictures, "pdf" a PDF document, anything else another document.
enum class DruhSouboru { Obrazek, Pdf, Dokument };
DruhSouboru DruhPrilohy(const QString &soubor);

// A name that stands for one file inside img/: not empty, no folder part, not "." or "..".
// A stored name that is not bare never reaches the file system.
bool JeHolyNazev(const QString &soubor);
// The attachment's file in img/ of the program folder, found in any letter case when the
// name's own case is not there; empty when the name is not bare.
QString CestaPrilohy(const QString &appPath, const QString &soubor);

// What the database would take but the catalog does not: Poradi is a byte, Soubor and
// Popis hold 50 characters.
inline constexpr int kNejvyssiPoradi = 255;
inline constexpr int kDelkaSouboru = 50;
inline constexpr int kDelkaPopisu = 50;

struct Priloha {
    qint32 Poradi = 0;
    QString Soubor;
    QString Popis;
};

// The statements the attachment windows run, as the tests see them.
QString DotazPriloh(qint32 inter);                  // all of a record's, in Poradi order
QString DotazPrilohy(qint32 inter, qint32 poradi);  // one
QString DotazPoznamky(qint32 inter);

std::vector<Priloha> NactiPrilohy(dao::Database &db, qint32 inter);
std::optional<Priloha> NactiPrilohu(dao::Database &db, qint32 inter, qint32 poradi);
// The record's note, an empty text for Null; none when the record is not there.
std::optional<QString> NactiPoznamku(dao::Database &db, qint32 inter);

// The number a new attachment of the record takes: the highest + 1, 1 for the first.
qint32 DalsiPoradi(dao::Database &db, qint32 inter);
// How many records other than `inter` have an attachment naming the file.
int PocetJinychZaznamu(dao::Database &db, qint32 inter, const QString &soubor);

// Checks what the database would take but the catalog does not: a bare name of at most
// 50 characters, a description of at most 50, and a number left for a new attachment.
// Raises a VbError saying which.
void OverPrilohu(dao::Database &db, qint32 inter, qint32 poradi, const QString &soubor, const QString &popis);

// Writes the attachment `poradi` of the record (a number without a row makes a new
// attachment, numbered after the highest) in one transaction; returns its number. Raises
// a VbError, having changed nothing, when a limit is exceeded or the database refuses.
qint32 UlozPrilohu(dao::Workspace &ws, dao::Database &db, qint32 inter, qint32 poradi, const QString &soubor,
                   const QString &popis, const QDateTime &now);
// Removes the attachment and closes the gap, all or nothing. The file stays in img/.
void OdeberPrilohu(dao::Workspace &ws, dao::Database &db, qint32 inter, qint32 poradi, const QDateTime &now);

// The record detail's query: the overview's columns and the note of one record.
QString DotazDetailu(const QString &seznamPoli, qint32 inter);
