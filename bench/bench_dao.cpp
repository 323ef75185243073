// Figures for the data layer: writing records through Database::Execute, and reading
// them through a Recordset compared with the same loop on the bare SQLite API.
// bench_dao [--records N] [--sections K] [--upg PATH]
#include "gencatalog.h"
#include "jetsql.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kRuns = 3;

struct Figure {
    double min = 0;
    double median = 0;
};

// Runs the measurement kRuns times; each call returns its own time in ms, so that a run
// can leave its preparation out.
Figure measure(const std::function<double()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(run());
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

void print(const char *what, const Figure &f, int records)
{
    std::printf("  %-58s min %9.1f ms  median %9.1f ms  (%.2f us/record)\n", what, f.min, f.median,
                records ? f.median * 1000.0 / records : 0.0);
    std::fflush(stdout);
}

[[noreturn]] void fail(const QString &text)
{
    std::fprintf(stderr, "bench_dao: %s\n", qPrintable(text));
    std::exit(1);
}

void copyFresh(const QString &upg, const QString &target)
{
    QFile::remove(target);
    if (!QFile::copy(upg, target))
        fail(QStringLiteral("cannot copy %1 to %2").arg(upg, target));
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
}

sqlite3 *openRaw(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK)
        fail(QStringLiteral("sqlite3_open_v2 %1: %2").arg(path, QString::fromUtf8(sqlite3_errmsg(db))));
    return db;
}

void rawExec(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK)
        fail(QString::fromUtf8(message));
}

// ---------------------------------------------------------------- reading

const QString kStreamSql = QStringLiteral(
    "select Inter, Pol1c, Pol2c, Pol3c, Pol4c, Pol5n, Pol6n, Pol7n, Pol8d, Pol9d from Katalog order by Inter");

struct StreamResult {
    qint64 rows = 0;
    qint64 characters = 0;  // keeps the work from being optimised away
};

// Each record as the lists show it: the fields' texts joined by tabs, Null as nothing.
StreamResult streamLayer(dao::Database &db, const QString &sql, int type, QStringList *keep, int keepCount)
{
    StreamResult r;
    std::unique_ptr<dao::Recordset> rs = db.OpenRecordset(sql, type);
    const int fields = rs->FieldCount();
    while (!rs->Eof()) {
        QString row;
        for (int i = 0; i < fields; ++i) {
            if (i)
                row += QLatin1Char('\t');
            const Variant v = rs->Fields(i).Value();
            if (!v.IsNull())
                row += v.toString();
        }
        r.characters += row.size();
        if (keep && r.rows < keepCount)
            keep->append(row);
        ++r.rows;
        rs->MoveNext();
    }
    return r;
}

// The date text as the layer writes it, read as a raw-API program would: by hand for the
// usual form, the general reader otherwise.
Variant rawDate(const char *s, int n)
{
    const auto digits = [s](int at, int count) {
        int v = 0;
        for (int i = at; i < at + count; ++i) {
            if (s[i] < '0' || s[i] > '9')
                return -1;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    // Straight to the date number, as the quickest hand-written reader would (a local
    // QDateTime on the way would ask the time zone for every value).
    if ((n == 10 || n == 19) && s[4] == '-' && s[7] == '-') {
        const QDate d(digits(0, 4), digits(5, 2), digits(8, 2));
        const QTime t = n == 19 ? QTime(digits(11, 2), digits(14, 2), digits(17, 2)) : QTime(0, 0);
        if (d.isValid() && t.isValid()) {
            static const QDate epoch(1899, 12, 30);
            const double days = double(epoch.daysTo(d));
            const double fraction = t.msecsSinceStartOfDay() / 86400000.0;
            return Variant::fromDate(days >= 0 ? days + fraction : days - fraction);
        }
    }
    const QString text = QString::fromUtf8(s, n);
    if (const auto parsed = vbParseDate(text))
        return Variant(*parsed);
    return text;
}

StreamResult streamRaw(sqlite3 *db, QStringList *keep, int keepCount)
{
    StreamResult r;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = kStreamSql.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
    const int columns = sqlite3_column_count(stmt);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QString row;
        for (int i = 0; i < columns; ++i) {
            if (i)
                row += QLatin1Char('\t');
            if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
                continue;
            if (i == 0) {
                row += QString::number(sqlite3_column_int64(stmt, i));
            } else if (i <= 4) {
                row += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                                         sqlite3_column_bytes(stmt, i));
            } else if (i <= 7) {
                row += Variant(float(sqlite3_column_double(stmt, i))).toString();
            } else {
                const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                row += rawDate(text, sqlite3_column_bytes(stmt, i)).toString();
            }
        }
        r.characters += row.size();
        if (keep && r.rows < keepCount)
            keep->append(row);
        ++r.rows;
    }
    if (rc != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_finalize(stmt);
    return r;
}

// ---------------------------------------------------------------- writing

std::vector<QString> insertStatements(const GenOptions &o)
{
    std::vector<QString> statements;
    statements.reserve(size_t(o.records));
    RecordGenerator generator(o);
    while (!generator.atEnd())
        statements.push_back(generator.next());
    return statements;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    GenOptions options;
    options.records = 100000;
    QString upg = QStringLiteral(OSKAL_APP_DIR "/QIRData.upg");
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool ok = i + 1 < args.size();
        if (args[i] == QLatin1String("--records") && ok)
            options.records = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--sections") && ok)
            options.sections = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--upg") && ok)
            upg = args[++i];
        else
            ok = false;
        if (!ok || options.records < 1 || options.sections < 1 || options.sections > 255) {
            std::fprintf(stderr, "usage: bench_dao [--records N] [--sections K] [--upg PATH]\n");
            return 2;
        }
    }
    if (!QFile::exists(upg))
        fail(QStringLiteral("no fresh catalog at %1 (build the target oskal_data)").arg(upg));
    QTemporaryDir dir;
    if (!dir.isValid())
        fail(QStringLiteral("no temporary folder"));
    const int n = options.records;
    std::printf("bench_dao: %d records, %d sections, build %s, SQLite %s, %d runs each\n", n, options.sections,
                OSKAL_BUILD_TYPE, sqlite3_libversion(), kRuns);

    try {
        // ---- writing: the generator's record loop alone, in one transaction
        std::printf("writing\n");
        const QString writePath = dir.filePath(QStringLiteral("write.upg"));
        const auto freshWithSections = [&](dao::Workspace &ws) {
            copyFresh(upg, writePath);
            std::unique_ptr<dao::Database> db = ws.OpenDatabase(writePath);
            dao::Transaction trans(ws);
            GenerateSections(*db, options);
            trans.Commit();
            return db;
        };
        const Figure insert = measure([&] {
            dao::Workspace ws;
            std::unique_ptr<dao::Database> db = freshWithSections(ws);
            QElapsedTimer t;
            t.start();
            dao::Transaction trans(ws);
            GenerateRecords(*db, options);
            trans.Commit();
            const double ms = t.nsecsElapsed() / 1e6;
            db->Close();
            return ms;
        });
        print("a. GenerateRecords: Execute + CSQL, one transaction", insert, n);

        // Where that time goes: the statements' texts, then the same texts run by the layer
        // and by the bare API (prepare, step, finalize each).
        const Figure building = measure([&] {
            QElapsedTimer t;
            t.start();
            qint64 characters = 0;
            RecordGenerator generator(options);
            while (!generator.atEnd())
                characters += generator.next().size();
            const double ms = t.nsecsElapsed() / 1e6;
            if (characters == 0)
                fail(QStringLiteral("no statements"));
            return ms;
        });
        print("   of it: building the INSERT texts (RecordGenerator)", building, n);
        const std::vector<QString> statements = insertStatements(options);
        const Figure layerExec = measure([&] {
            dao::Workspace ws;
            std::unique_ptr<dao::Database> db = freshWithSections(ws);
            QElapsedTimer t;
            t.start();
            dao::Transaction trans(ws);
            for (const QString &sql : statements)
                db->Execute(sql);
            trans.Commit();
            const double ms = t.nsecsElapsed() / 1e6;
            db->Close();
            return ms;
        });
        print("   the same texts through Database::Execute", layerExec, n);
        const Figure rawExecFigure = measure([&] {
            {
                dao::Workspace ws;
                freshWithSections(ws)->Close();
            }
            sqlite3 *db = openRaw(writePath, SQLITE_OPEN_READWRITE);
            QElapsedTimer t;
            t.start();
            rawExec(db, "BEGIN");
            for (const QString &sql : statements) {
                const QByteArray utf8 = sql.toUtf8();
                sqlite3_stmt *stmt = nullptr;
                if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK
                    || sqlite3_step(stmt) != SQLITE_DONE)
                    fail(QString::fromUtf8(sqlite3_errmsg(db)));
                sqlite3_finalize(stmt);
            }
            rawExec(db, "COMMIT");
            const double ms = t.nsecsElapsed() / 1e6;
            sqlite3_close_v2(db);
            return ms;
        });
        print("   the same texts through sqlite3_prepare_v2/step", rawExecFigure, n);
        // The layer's share that SQLite does not have: the statement rewriting.
        const Figure rewriting = measure([&] {
            QElapsedTimer t;
            t.start();
            qint64 characters = 0;
            for (const QString &sql : statements)
                characters += jet::rewrite(sql).sql.size();
            const double ms = t.nsecsElapsed() / 1e6;
            if (characters == 0)
                fail(QStringLiteral("nothing rewritten"));
            return ms;
        });
        print("   of Execute: jet::rewrite of the same texts", rewriting, n);

        // ---- reading
        std::printf("reading\n");
        const QString readPath = dir.filePath(QStringLiteral("read.upg"));
        CreateCatalogFile(upg, readPath, options);
        dao::Workspace ws;
        std::unique_ptr<dao::Database> db = ws.OpenDatabase(readPath);
        sqlite3 *raw = openRaw(readPath, SQLITE_OPEN_READONLY);

        // Both loops must build the same rows before their times mean anything.
        QStringList layerRows, rawRows;
        const int compared = std::min(n, 1000);
        streamLayer(*db, kStreamSql, dao::dbOpenDynaset, &layerRows, compared);
        streamRaw(raw, &rawRows, compared);
        if (layerRows.size() != compared || layerRows != rawRows) {
            for (qsizetype i = 0; i < std::min(layerRows.size(), rawRows.size()); ++i)
                if (layerRows[i] != rawRows[i])
                    fail(QStringLiteral("rows differ at %1:\n  layer %2\n  raw   %3").arg(i).arg(layerRows[i], rawRows[i]));
            fail(QStringLiteral("row counts differ: layer %1, raw %2").arg(layerRows.size()).arg(rawRows.size()));
        }
        std::printf("  the first %d rows are the same both ways, e.g.\n    %s\n", compared,
                    qPrintable(QString(layerRows.front()).replace(QLatin1Char('\t'), QLatin1String(" | "))));

        const auto timed = [n](const std::function<StreamResult()> &f) {
            return [f, n] {
                QElapsedTimer t;
                t.start();
                const StreamResult r = f();
                const double ms = t.nsecsElapsed() / 1e6;
                if (r.rows != n || r.characters == 0)
                    fail(QStringLiteral("read %1 rows, not %2").arg(r.rows).arg(n));
                return ms;
            };
        };
        const Figure layer = measure(timed([&] { return streamLayer(*db, kStreamSql, dao::dbOpenDynaset, nullptr, 0); }));
        print("b. Recordset (dynaset), 10 fields to text, order by Inter", layer, n);
        const Figure rawRead = measure(timed([&] { return streamRaw(raw, nullptr, 0); }));
        print("   bare SQLite API, the same conversions", rawRead, n);
        std::printf("  ratio layer/raw (medians): %.2f (goal <= 1.5)\n", layer.median / rawRead.median);
        const Figure snapshot =
            measure(timed([&] { return streamLayer(*db, kStreamSql, dao::dbOpenSnapshot, nullptr, 0); }));
        print("   Recordset (snapshot), the same", snapshot, n);

        const QString sortSql = QStringLiteral(
            "select Inter, Pol1c, Pol2c, Pol3c, Pol4c, Pol5n, Pol6n, Pol7n, Pol8d, Pol9d from Katalog "
            "where sekce=1 order by Pol1c");
        qint64 sortedRows = 0;
        const Figure sorted = measure([&] {
            QElapsedTimer t;
            t.start();
            sortedRows = streamLayer(*db, sortSql, dao::dbOpenDynaset, nullptr, 0).rows;
            return t.nsecsElapsed() / 1e6;
        });
        std::printf("  sorted on a text column (Czech collation), section 1: %lld rows\n", sortedRows);
        print("   Recordset, where sekce=1 order by Pol1c", sorted, int(sortedRows));

        sqlite3_close_v2(raw);
        db->Close();
    } catch (const std::exception &e) {
        fail(QString::fromUtf8(e.what()));
    }
    return 0;
}
