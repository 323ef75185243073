// Figures for the catalog's copies: a backup to zaloha/ and a restore from it, each beside
// copying the file with cp in the same run, and the conversion of a catalog that version
// 3.1.0 wrote. bench_archive [--records N] [--upg PATH]
#include "common/files.h"
#include "dao.h"
#include "data/archive.h"
#include "data/conversion.h"
#include "gencatalog.h"
#include "vberror.h"
#include "benchsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 3;

// The median of kRuns runs, in seconds; each run returns its own time.
double median(const std::function<double()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(run());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double copyWithCp(const QString &from, const QString &to)
{
    QFile::remove(to);
    return seconds([&] {
        QProcess cp;
        cp.start(QStringLiteral("cp"), {from, to});
        cp.waitForFinished(-1);
    });
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    GenOptions options;
    options.records = 100000;
    QString upg = QStringLiteral(OSKAL_APP_DIR "/QIRData.upg");
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--records"))
            options.records = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--upg"))
            upg = args[i + 1];
    }
    try {
        QTemporaryDir dir;
        const QString catalog = dir.filePath(QStringLiteral("QIRData.mdb"));
        CreateCatalogFile(upg, catalog, options);
        std::printf("records: %d\ncatalog_size: %.1f MB\n", options.records, double(QFileInfo(catalog).size()) / 1e6);

        dao::Workspace ws;
        auto db = ws.OpenDatabase(catalog);
        const QString folder = dir.filePath(QStringLiteral("zaloha"));
        const double backup = median([&] { return seconds([&] { ZalohujKatalog(*db, folder); }); });
        const double cpBackup = median([&] { return copyWithCp(catalog, dir.filePath(QStringLiteral("cp.mdb"))); });
        print("backup", backup, "s");
        print("backup_cp", cpBackup, "s");
        print("backup_to_cp_ratio", backup / cpBackup, "x");

        const QString backupFile = folder + QStringLiteral("/QIRData.mdb");
        const auto restoreOnce = [&] {
            return seconds([&] {
                const QString prepared = PripravObnovu(backupFile, catalog, OSKAL_VERSION_MAJOR, OSKAL_VERSION_MINOR);
                VymenKatalog(ws, db, prepared);
            });
        };
        // A record changed since the backup: the restore keeps the catalog and writes it.
        const double restore = median([&] {
            db->Execute(QStringLiteral("update Katalog set Pol1c='Změněno' where Inter=(select max(Inter) from Katalog)"));
            return restoreOnce();
        });
        // The catalog holds the backup's data already: compared, nothing written.
        const double restoreSame = median(restoreOnce);
        const double cpRestore = median([&] { return copyWithCp(backupFile, dir.filePath(QStringLiteral("cp.mdb"))); });
        print("restore", restore, "s");
        print("restore_of_the_same_data", restoreSame, "s");
        print("restore_cp", cpRestore, "s");
        print("restore_to_cp_ratio", restore / cpRestore, "x");

        // A catalog that the newer version wrote, with a column of its own.
        db->Execute(QStringLiteral("update S_Param set Verze='3.1.0'"));
        db->Execute(QStringLiteral("alter table Katalog add column Hodnoceni Double"));
        db->Execute(QStringLiteral("update Katalog set Hodnoceni = Inter / 4.0"));
        const double conversion = seconds([&] {
            const QString copy = ZalohujData(catalog, DocasnaSlozka());
            PrevedKatalog(ws, *db, 3, QStringLiteral("3.0.4"));
            SmazZalohu(copy);
        });
        print("conversion_3_1_0", conversion, "s");
        auto check = db->OpenRecordset(QStringLiteral("select count(*), count(Hodnoceni) from Katalog"));
        if (check->Fields(0).Value().toLong() != options.records || check->Fields(1).Value().toLong() != options.records) {
            std::fprintf(stderr, "bench_archive: the conversion lost records or values\n");
            return 1;
        }
        db.reset();
    } catch (const VbError &e) {
        std::fprintf(stderr, "bench_archive: %s\n", qPrintable(e.Description()));
        return 1;
    }
    return 0;
}
