// Figures for the overview: loading a section of many records into its grid, with the
// record limit off and at 1000, beside the same rows built on the bare SQLite API on the
// same file (so with the same indexes).
// bench_overview [--records N[,N...]]; each figure on a line of its own, "name: value
// unit", named after the record count.
//
// The load lasts until its last row is in the grid; the first screen until the grid's
// cells paint with rows again after the section is loaded anew; the event wait is the longest gap between
// two ticks of a 1 ms timer meanwhile. Memory is the peak the process reached while it
// loaded every record, per record, beside the bare API's rows kept as texts.
#include "VarnexEditUni.h"
#include "benchmemory.h"
#include "benchsupport.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "data/currentoverview.h"
#include "data/infosettings.h"
#include "gencatalog.h"
#include "jetsql.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {

// Five of each: the figures of one run of a loaded machine vary by a tenth and more.
constexpr int kRuns = 5;

VarnexEditUni *grid()
{
    frmPrehled *w = frmPrehled::Loaded();
    return w ? w->findChild<VarnexEditUni *>(QStringLiteral("VEdit")) : nullptr;
}

// Calls back on every paint of the object it filters.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(std::function<void()> painted) : m_painted(std::move(painted)) {}
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            m_painted();
        return false;
    }

private:
    std::function<void()> m_painted;
};

struct Load {
    double ms = 0;           // until the last row is in
    double firstScreenMs = 0;  // until rows show
    qint64 longestWaitMs = 0;
};

// Loads section 1 anew and lets events run until `rows` rows are in the grid and drawn.
Load loadSection(int rows)
{
    Load result;
    EventLoopProbe probe;
    QElapsedTimer clock;
    bool shown = false;
    // The first screen is there when the grid's cells paint with a record in them.
    PaintWatch watch([&] {
        VarnexEditUni *g = grid();
        if (!shown && g && g->Rows() > 1 && !g->TMatrix(1, 0).isEmpty()) {
            shown = true;
            result.firstScreenMs = double(clock.nsecsElapsed()) / 1e6;
        }
    });
    NastavAktualniSekci(1, QStringLiteral("SEKCE"));
    frmPrehled &w = frmPrehled::Form();
    w.Zobraz();
    grid()->findChild<QTableView *>()->viewport()->installEventFilter(&watch);
    clock.start();
    probe.start();
    w.NactiData();
    // Until every row is in and the grid draws them.
    while (grid() && (grid()->Rows() - 1 < rows || !grid()->Redraw()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();  // the last rows painted
    probe.stop();
    result.ms = double(clock.nsecsElapsed()) / 1e6;
    result.longestWaitMs = probe.worstMs();
    return result;
}

int collateJetcz(void *, int aLen, const void *a, int bLen, const void *b)
{
    return jet::collateUtf8(static_cast<const char *>(a), aLen, static_cast<const char *>(b), bLen);
}

// The same rows on the bare API: the same query, the same regional texts, kept.
double rawRows(const QString &path, const QString &sql, double *peakBytes = nullptr)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_create_collation(db, "JETCZ", SQLITE_UTF8, nullptr, collateJetcz);
    const double before = residentMb();
    resetPeak();
    QElapsedTimer t;
    t.start();
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    const QLocale czech(QLocale::Czech);
    std::vector<QString> rows;
    QString row;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
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
    if (peakBytes && !rows.empty())
        *peakBytes = (peakMb() - before) * 1024.0 * 1024.0 / double(rows.size());
    sqlite3_close(db);
    return ms;
}

void figure(const char *name, int records, double value, const char *unit)
{
    const QByteArray full = QByteArray(name) + '_' + QByteArray::number(records);
    print(full.constData(), value, unit);
}

void measure(const QString &upg, int records)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QIRData.mdb"));
    GenOptions o;
    o.records = records;
    o.sections = 1;
    std::printf("bench_overview: %d records in one section (%s build)\n", records, OSKAL_BUILD_TYPE);
    CreateCatalogFile(upg, path, o);
    Ws = std::make_unique<dao::Workspace>();
    Db = Ws->OpenDatabase(path);
    frmMain::Form().show();

    for (const bool limited : {false, true}) {
        UlozInfo(QStringLiteral("chkAllRecords"), limited ? QStringLiteral("true") : QStringLiteral("false"));
        UlozInfo(QStringLiteral("txtAllRecords"), QStringLiteral("1000"));
        const int rows = limited ? std::min(records, 1000) : records;
        const char *suffix = limited ? "limit1000" : "nolimit";
        const auto name = [suffix](const char *what) { return QByteArray(what) + '_' + suffix; };

        // The first load of the program on this catalog, whatever it makes on the way.
        const double before = residentMb();
        resetPeak();
        const Load first = loadSection(rows);
        const double peak = peakMb();
        figure(name("overview_first_load").constData(), records, first.ms, "ms");
        if (!limited)
            figure("overview_peak_bytes_per_row_nolimit", records, (peak - before) * 1024.0 * 1024.0 / double(rows), "B");

        std::vector<double> times, screens;
        qint64 worst = first.longestWaitMs;
        for (int run = 0; run < kRuns; ++run) {
            const Load l = loadSection(rows);
            times.push_back(l.ms);
            screens.push_back(l.firstScreenMs);
            worst = std::max(worst, l.longestWaitMs);
        }
        const QString sql = QStringLiteral("select ") + Prehled().SeznamPoli() + QStringLiteral(" from Katalog where sekce=1 order by ")
                            + Prehled().SloupcePrehledu()[1].Jmeno + (limited ? QStringLiteral(" limit 1000") : QString());
        std::vector<double> raw;
        double rawPeak = 0;
        for (int run = 0; run < kRuns; ++run)
            raw.push_back(rawRows(path, sql, run == 0 ? &rawPeak : nullptr));
        frmPrehled::Unload();
        figure(name("overview_load").constData(), records, median(times), "ms");
        figure(name("bare_api_rows").constData(), records, median(raw), "ms");
        figure(name("overview_to_bare_ratio").constData(), records, median(times) / median(raw), "x");
        figure(name("overview_first_screen").constData(), records, median(screens), "ms");
        figure(name("overview_longest_event_wait").constData(), records, double(worst), "ms");
        if (!limited)
            figure("bare_api_peak_bytes_per_row_nolimit", records, rawPeak, "B");
    }
    frmMain::Unload();
    Db.reset();
    Ws.reset();
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    qInstallMessageHandler(quietPlatform);
    QList<int> sizes;
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf(QStringLiteral("--records")); i >= 0 && i + 1 < args.size())
        for (const QString &n : args[i + 1].split(QLatin1Char(',')))
            sizes << n.toInt();
    if (sizes.isEmpty())
        sizes << 100000;

    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.filePath(QStringLiteral("config")).toUtf8());
    for (const int records : sizes)
        measure(QStringLiteral(OSKAL_APP_DIR "/QIRData.upg"), records);
    return 0;
}
