#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace dao { class Database; class Workspace; }

// A catalog release: the export writes it into Internet/ of the program folder, the
// update reads one from a web address or a folder and hands it to the updater. Both sides
// name the files alike. Failures are VbErrors with words for the user.

inline constexpr char kSlozkaVydani[] = "Internet/";
inline constexpr char kSlozkaStahovani[] = "dnload/";
inline constexpr char kSeznamVydani[] = "download.inf";
inline constexpr char kKatalog[] = "QIRData.mdb";
inline constexpr char kJazyky[] = "Lang.mdb";
inline constexpr char kProgram[] = "Oskal";
inline constexpr char kAktualizator[] = "update";

// "yyyymmddhhmmss", compared as text to the second; empty for no date.
QString Razitko(const QDateTime &datum);

// The changes-since text of the date box: the last export "dd.mm.yyyy hh:mm:ss", or
// "1.1.2000 00:00:00" when none was recorded.
QString TextDataExportu(const std::optional<QDateTime> &export_);
// The last export recorded in S_Param, none when empty.
std::optional<QDateTime> NactiDatumExportu(dao::Database &db);
// The date box's text once it is left: a day number of 1 to 31 stands for that day of
// today's month; anything that is no date gives back the loaded date.
QString UpravDatumExportu(const QString &text, const QDateTime &loaded, QDate today);

// Progress of a pass: done of count.
using Prubeh = std::function<void(int done, int count)>;

struct PrilohaRadek {
    qint32 Inter = 0;
    qint32 Poradi = 0;
    QString Soubor;
};

// Makes the attachment query of a record use an index, in new and older catalogs alike.
void ZajistiIndexPriloh(dao::Database &db);

// Brings the recorded times of the attachments up to date with their files in img/ (the
// later of the file's birth and change times, when later than the row's). Answers the
// rows whose file is missing; nothing is deleted here. A name that is not bare is left
// alone and not answered.
std::vector<PrilohaRadek> KontrolujPrilohy(dao::Database &db, const QString &appPath, const Prubeh &prubeh = {});
// Deletes the given rows, all or none.
void SmazPrilohy(dao::Workspace &ws, dao::Database &db, const std::vector<PrilohaRadek> &radky);

// A name that may be exported: bare, and none of the release's own files.
bool JeExportovatelnyNazev(const QString &soubor);

// Copies into folder every attachment file whose recorded time is later than the stamp
// `od`. Answers the names that were refused (not bare, or a release file's name). Raises
// on a copy that fails.
QStringList ExportujPrilohy(dao::Database &db, const QString &appPath, const QString &folder, const QString &od,
                            const Prubeh &prubeh = {});
// The program when it changed after `od`, and the updater, into folder; either is skipped
// when the program folder lacks it. Raises on a copy that fails.
void ExportujProgram(const QString &appPath, const QString &folder, const QString &od);
// A compacted copy of the catalog db has open, as folder/QIRData.mdb. Raises on failure,
// leaving the release's earlier copy in place.
void ExportujKatalog(const dao::Database &db, const QString &folder);
// Writes the release list: the changes-since text and CR LF.
void ZapisSeznamVydani(const QString &folder, const QString &od);
// Records the time of the run as the next default changes-since date.
void ZapisExport(dao::Database &db, const QDateTime &now);

// The release stamp of a release list's content: its last item read as a day.month.year
// date; empty when it holds none.
QString RazitkoVydani(const QByteArray &obsah);
QString RazitkoVydaniSouboru(const QString &soubor);
// Newer when greater as text; equal is not newer.
bool JeNovejsi(const QString &vydani, const QString &pouzite);

// The update address as the update uses it: trimmed, one trailing "/" or "\" removed,
// "http://" put before "www"; scheme and host in lower case, the path as written.
QString NormalizujAdresu(const QString &adresa);
// Whether it begins with "http://www." or "https://www.".
bool JeAdresaPlatna(const QString &adresa);

// Makes folder exist and empty of files.
void VyprazdniSlozku(const QString &folder);

// The release files a web update fetches, in order, and whether a release must have it.
struct SouborVydani {
    const char *Nazev;
    bool Povinny;
};
inline constexpr SouborVydani kSouboryVydani[] = {
    {kAktualizator, false}, {kKatalog, true}, {kJazyky, false}, {kProgram, false}};

// Fetches the release files from the address into folder with `stahni` (StahniSoubor:
// the address and the target file, true when the file arrived), telling each before its
// fetch. Answers the name of a required file that did not arrive, empty when all did.
QString StahniVydani(const QString &adresa, const QString &folder,
                     const std::function<bool(const QString &adresa, const QString &cil)> &stahni,
                     const std::function<void(int n, const QString &nazev)> &pred = {});

// The updater's one argument: the program folder, the source folder and the address,
// joined by the no-break space.
QString ParametryAktualizace(const QString &appPath, const QString &zdroj, const QString &adresa);
// Puts the source's updater into the program folder (when the source has one). Answers
// the updater's path, empty when there is none to start.
QString PripravAktualizator(const QString &appPath, const QString &zdroj);
