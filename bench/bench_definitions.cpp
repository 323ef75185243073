// Figures for the field definitions save: one field's type changed from text to number on
// a section of many records, through the save itself (definitions of both tables and the
// conversion of every record's value, in one transaction), beside one bare UPDATE of the
// same column on the raw SQLite API.
// bench_definitions [--records N]; each figure on a line of its own, "name: value unit".
#include "benchsupport.h"
#include "common/globals.h"
#include "data/fielddefinitions.h"
#include "gencatalog.h"
#include "jetsql.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kRuns = 3;

int collateJetcz(void *, int aLen, const void *a, int bLen, const void *b)
{
    return jet::collateUtf8(static_cast<const char *>(a), aLen, static_cast<const char *>(b), bLen);
}

// Field 11 back to an unconverted text field.
void reset(dao::Database &db)
{
    for (const char *table : {"Definice", "VychoziDefinice"})
        db.Execute(QStringLiteral("update %1 set typ='C' where pol='Pol11'").arg(QLatin1String(table)));
    db.Execute(QStringLiteral("update katalog set pol11n=null"));
}

double bareUpdate(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_create_collation(db, "JETCZ", SQLITE_UTF8, nullptr, collateJetcz);
    QElapsedTimer t;
    t.start();
    char *error = nullptr;
    if (sqlite3_exec(db, "UPDATE Katalog SET Pol11n = CAST(replace(Pol11c, ',', '.') AS REAL) WHERE Sekce = 1", nullptr,
                     nullptr, &error)
        != SQLITE_OK) {
        std::fprintf(stderr, "bare update: %s\n", error);
        sqlite3_free(error);
    }
    const double ms = msSince(t);
    sqlite3_close(db);
    return ms;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int records = recordsArgument(app.arguments(), 100000);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QIRData.mdb"));
    GenOptions o;
    o.records = records;
    o.sections = 1;
    o.extraFields = {0};  // Pol11C, its own value for each record
    std::printf("bench_definitions: %d records in one section (%s build)\n", records, OSKAL_BUILD_TYPE);
    CreateCatalogFile(QStringLiteral(OSKAL_APP_DIR "/QIRData.upg"), path, o);
    Ws = std::make_unique<dao::Workspace>();
    Db = Ws->OpenDatabase(path);
    // Numbers as users type them: a decimal comma, and every tenth value a word.
    Db->Execute(QStringLiteral("update katalog set pol11c = case when inter % 10 = 0 then 'neuvedeno' "
                               "else (inter % 1000) || ',' || (inter % 7) end"));

    std::vector<double> saves;
    std::vector<double> bare;
    for (int run = 0; run < kRuns; ++run) {
        reset(*Db);
        std::vector<RadekDefinice> rows = NactiUlozeneDefinice(*Db, 1);
        rows[10].Typ = QStringLiteral("N");
        QElapsedTimer t;
        t.start();
        UlozDefiniceSekce(*Ws, *Db, 1, rows);
        saves.push_back(msSince(t));
        reset(*Db);
        bare.push_back(bareUpdate(path));
    }
    print("definitions_type_change_c_to_n", median(saves), "ms");
    print("bare_sql_update_c_to_n", median(bare), "ms");
    print("definitions_to_bare_ratio", median(saves) / median(bare), "x");
    Db.reset();
    Ws.reset();
    return 0;
}
