// Figures for publishing a release: the whole export (check pass, changed attachments,
// program files, compacted catalog, release list) of a catalog with many records and
// attachments, beside copying the same files with cp in the same run.
// bench_release [--records N] [--pictures N] [--upg PATH]
#include "dao.h"
#include "data/release.h"
#include "gencatalog.h"
#include "vberror.h"
#include "benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    GenOptions options;
    options.records = 100000;
    int pictures = 1000;
    QString upg = QStringLiteral(OSKAL_APP_DIR "/QIRData.upg");
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--records"))
            options.records = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--pictures"))
            pictures = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--upg"))
            upg = args[i + 1];
    }
    try {
        QTemporaryDir dir;
        const QString app_ = dir.path() + QLatin1Char('/');
        const QString catalog = app_ + QStringLiteral("QIRData.mdb");
        CreateCatalogFile(upg, catalog, options);
        QDir(app_).mkdir(QStringLiteral("img"));
        dao::Workspace ws;
        auto db = ws.OpenDatabase(catalog);
        GeneratePictures(*db, app_ + QStringLiteral("img"), pictures, options.records, 1);
        std::printf("records: %d\nattachments: %d\n", options.records, pictures);

        const QString folder = app_ + QStringLiteral("Internet/");
        const double run = seconds([&] {
            ZajistiIndexPriloh(*db);
            const auto missing = KontrolujPrilohy(*db, app_);
            QDir().mkpath(folder);
            const QString od = QStringLiteral("1.1.2000 00:00:00");
            ExportujPrilohy(*db, app_, folder, RazitkoVydani(od.toLatin1()), {});
            ExportujProgram(app_, folder, RazitkoVydani(od.toLatin1()));
            ExportujKatalog(*db, folder);
            ZapisSeznamVydani(folder, od);
            ZapisExport(*db, QDateTime::currentDateTime());
            if (!missing.empty())
                std::printf("missing: %zu\n", missing.size());
        });
        // The baseline: the same attachment files and the catalog file copied with cp.
        const QString target = app_ + QStringLiteral("cp");
        QDir().mkpath(target);
        QStringList files;
        for (const QString &name : QDir(app_ + QStringLiteral("img")).entryList(QDir::Files))
            files << app_ + QStringLiteral("img/") + name;
        files << catalog;
        const double cp = seconds([&] {
            QProcess process;
            process.start(QStringLiteral("cp"), files + QStringList{target});
            process.waitForFinished(-1);
        });
        print("export", run, "s");
        print("export_cp", cp, "s");
        print("export_to_cp_ratio", run / cp, "x");
    } catch (const VbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Description()));
        return 1;
    }
    return 0;
}
