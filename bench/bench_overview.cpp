// Figures for the overview: loading a section of many records into its grid, with the
// record limit off and at 1000, beside the same rows built on the bare SQLite API.
// bench_overview [--records N]; each figure on a line of its own, "name: value unit".
#include "VarnexEditUni.h"
#include "data/currentoverview.h"
#include "data/infosettings.h"
#include "gencatalog.h"
#include "jetsql.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kRuns = 3;

// A load, with the longest the event loop waited during it.
double loadSection(EventLoopProbe &probe)
{
    NastavAktualniSekci(1, QStringLiteral("SEKCE"));
    QElapsedTimer t;
    t.start();
    probe.start();
    frmPrehled &w = frmPrehled::Form();
    w.Zobraz();
    w.NactiData();
    QCoreApplication::processEvents();  // the last rows painted
    const double ms = double(t.nsecsElapsed()) / 1e6;
    probe.stop();
    frmPrehled::Unload();
    return ms;
}

int collateJetcz(void *, int aLen, const void *a, int bLen, const void *b)
{
    return jet::collateUtf8(static_cast<const char *>(a), aLen, static_cast<const char *>(b), bLen);
}

// The same rows on the bare API: the same query, the same regional texts.
double rawRows(const QString &path, const QString &sql, int limit)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_create_collation(db, "JETCZ", SQLITE_UTF8, nullptr, collateJetcz);
    QElapsedTimer t;
    t.start();
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    const QLocale czech(QLocale::Czech);
    std::vector<QString> rows;
    QString row;
    while (sqlite3_step(stmt) == SQLITE_ROW && (limit <= 0 || int(rows.size()) < limit)) {
        row.clear();
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL: break;
            case SQLITE_INTEGER: row += QString::number(sqlite3_column_int64(stmt, i)); break;
            case SQLITE_FLOAT: row += czech.toString(float(sqlite3_column_double(stmt, i)), 'g', 7); break;
            default: {
                const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)));
                if (qstricmp(sqlite3_column_decltype(stmt, i), "Date") == 0)
                    row += QDate::fromString(text.left(10), Qt::ISODate).toString(QStringLiteral("d.M.yyyy"));
                else
                    row += text;
            }
            }
            row += QLatin1Char('\t');
        }
        row += QLatin1Char('X');
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    const double ms = double(t.nsecsElapsed()) / 1e6;
    sqlite3_close(db);
    return ms;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int records = recordsArgument(app.arguments(), 100000);

    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    const QString path = dir.filePath(QStringLiteral("QIRData.mdb"));
    GenOptions o;
    o.records = records;
    o.sections = 1;
    std::printf("bench_overview: %d records in one section (%s build)\n", records, OSKAL_BUILD_TYPE);
    CreateCatalogFile(QStringLiteral(OSKAL_APP_DIR "/QIRData.upg"), path, o);
    Ws = std::make_unique<dao::Workspace>();
    Db = Ws->OpenDatabase(path);
    frmMain::Form().show();

    for (const char *limit : {"false", "true"}) {
        UlozInfo(QStringLiteral("chkAllRecords"), QLatin1String(limit));
        UlozInfo(QStringLiteral("txtAllRecords"), QStringLiteral("1000"));
        std::vector<double> times;
        qint64 worst = 0;
        QString counter;
        for (int run = 0; run < kRuns; ++run) {
            EventLoopProbe probe;
            times.push_back(loadSection(probe));
            worst = std::max(worst, probe.worstMs());
        }
        std::vector<double> raw;
        for (int run = 0; run < kRuns; ++run)
            raw.push_back(rawRows(path, QStringLiteral("select ") + Prehled().SeznamPoli() + QStringLiteral(" from Katalog where sekce=1 order by ")
                                            + Prehled().SloupcePrehledu()[1].Jmeno
                                            + (QLatin1String(limit) == QLatin1String("true") ? QStringLiteral(" limit 1000") : QString()),
                                  0));
        const char *name = QLatin1String(limit) == QLatin1String("true") ? "limit1000" : "nolimit";
        std::printf("overview_load_%s: %.1f ms\n", name, median(times));
        std::printf("bare_api_rows_%s: %.1f ms\n", name, median(raw));
        std::printf("overview_to_bare_ratio_%s: %.2f x\n", name, median(times) / median(raw));
        std::printf("overview_longest_event_wait_%s: %lld ms\n", name, qint64(worst));
    }
    frmMain::Unload();
    Db.reset();
    Ws.reset();
    return 0;
}
