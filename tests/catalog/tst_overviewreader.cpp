// The overview's reader: a section's rows read in a thread of its own, page by page, in
// the order and under the limit of the overview's query; cancelled reads say nothing
// more; the catalog's read lock is not held between pages; the index it makes serves the
// order.
#include "dao.h"
#include "data/overviewquery.h"
#include "data/overviewreader.h"
#include "data/schema.h"
#include "testsupport.h"

#include <QtTest>

#include <chrono>
#include <cstdio>
#include <thread>

class TestOverviewReader : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolder> m_folder;
    QString m_catalog;
    std::unique_ptr<dao::Workspace> m_ws;
    std::unique_ptr<dao::Database> m_db;

    struct Result {
        QStringList rows;
        QList<qint32> keys;
        int batches = 0;
        int total = -1;
        // When the rows ended: how many had come, and the count told by then.
        qsizetype rowsAtEnd = -1;
        int totalAtEnd = -1;
        bool finished = false;
        std::optional<VbError> error;
    };

    static void connectTo(OverviewReader &reader, Result &r)
    {
        connect(&reader, &OverviewReader::rowsRead, &reader, [&r](const QStringList &rows, const QList<qint32> &keys) {
            r.rows += rows;
            r.keys += keys;
            ++r.batches;
        });
        connect(&reader, &OverviewReader::rowsEnded, &reader, [&r] {
            r.rowsAtEnd = r.rows.size();
            r.totalAtEnd = r.total;
        });
        connect(&reader, &OverviewReader::counted, &reader, [&r](int total) { r.total = total; });
        connect(&reader, &OverviewReader::finished, &reader, [&r] { r.finished = true; });
        connect(&reader, &OverviewReader::failed, &reader, [&r](const VbError &e) { r.error = e; });
    }

    OverviewReader::Request request(const QString &order, const QString &condition, std::optional<qint32> limit,
                                    int section = 1) const
    {
        // Section 1 shows the ordering field first, then the others.
        std::vector<DefinicePole> d;
        const auto field = [](const QString &name) {
            return DefinicePole{name.chopped(1), name.right(1), QStringLiteral("x"), QStringLiteral("L"), true, false};
        };
        if (order != QLatin1String("Inter")) {
            d.push_back(field(order));
            for (const char *f : {"Pol1C", "Pol2N", "Pol3D"})
                if (order != QLatin1String(f))
                    d.push_back(field(QString::fromLatin1(f)));
        }
        OverviewReader::Request r;
        r.soubor = m_catalog;
        r.dotaz = SestavDotazPrehledu(section, d, condition, limit);
        r.prvniDavka = 3;
        r.davka = 40;
        return r;
    }

    // The rows as the overview's statement gives them, on the program's own connection.
    QStringList expected(const DotazPrehledu &q, int fields) const
    {
        auto rs = m_db->OpenRecordset(q.Select, dao::dbOpenSnapshot);
        QStringList rows;
        for (; !rs->Eof(); rs->MoveNext()) {
            QString row;
            for (int i = 0; i < fields; ++i)
                row += TextBunky((*rs)[i]) + QLatin1Char('\t');
            rows << row + QLatin1Char('X');
        }
        return rows;
    }

    static bool waitFor(const Result &r) { return QTest::qWaitFor([&r] { return r.finished || r.error; }, 20000); }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        m_catalog = m_folder->file(QStringLiteral("QIRData.mdb"));
        QVERIFY(QFile::copy(m_folder->file(QStringLiteral("QIRData.upg")), m_catalog));
        QFile::setPermissions(m_catalog, QFile::permissions(m_catalog) | QFile::WriteOwner);
        m_ws = std::make_unique<dao::Workspace>();
        m_db = m_ws->OpenDatabase(m_catalog);
        // Section 1: 600 records whose texts tie in runs, differ only in case or in Czech
        // letters, or are missing; numbers with a text that did not convert among them;
        // dates. Section 2: a few records of its own.
        m_ws->BeginTrans();
        const char *const titles[] = {"Chata", "hrad", "CHATA", "čaj", "Cukr", "cukr", "Ihned", "dům"};
        for (int i = 1; i <= 600; ++i) {
            const QString title = i % 9 == 0 ? QStringLiteral("null")
                                              : QStringLiteral("'%1'").arg(QString::fromUtf8(titles[i % 8]));
            const QString number = i % 50 == 0 ? QStringLiteral("'7 kg'") : i % 11 == 0 ? QStringLiteral("null") : QString::number(i % 13 + 0.5);
            const QString date = i % 7 == 0 ? QStringLiteral("null") : QStringLiteral("'20%1-03-0%2 00:00:00'").arg(10 + i % 5).arg(1 + i % 3);
            m_db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Pol3d, Sekce) values (%1, %2, %3, %4, 1)")
                              .arg(i).arg(title, number, date));
        }
        for (int i = 1; i <= 5; ++i)
            m_db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (%1, 'Jiná %1', 2)").arg(1000 + i));
        m_ws->CommitTrans();
    }

    void cleanup()
    {
        m_db.reset();
        m_ws.reset();
        m_folder.reset();
    }

    // The same rows in the same order as the overview's statement, batch after batch,
    // whatever column orders them, under a limit and a condition too: read first before
    // the order's index is there (it is made on the way), then along it.
    void sameRowsAsTheStatement_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("limit");  // 0: none
        QTest::newRow("text, ties, nulls") << "Pol1C" << QString() << 0;
        QTest::newRow("text under a limit") << "Pol1C" << QString() << 100;
        QTest::newRow("number with a text among") << "Pol2N" << QString() << 0;
        QTest::newRow("date") << "Pol3D" << QString() << 0;
        QTest::newRow("by key") << "Inter" << QString() << 0;
        QTest::newRow("condition") << "Pol1C" << "Pol2N > 5 or Pol1C like 'c*'" << 0;
        QTest::newRow("condition, limit") << "Pol3D" << "Pol1C like 'c*'" << 45;
    }
    void sameRowsAsTheStatement()
    {
        QFETCH(QString, order);
        QFETCH(QString, condition);
        QFETCH(int, limit);
        OverviewReader reader;
        const OverviewReader::Request req = request(order, condition, limit ? std::optional<qint32>(limit) : std::nullopt);
        for (const char *pass : {"without the index", "along the index"}) {
            qInfo("%s", pass);
            Result r;
            connectTo(reader, r);
            reader.start(req);
            QVERIFY(waitFor(r));
            QVERIFY2(!r.error, r.error ? r.error->what() : "");
            const QStringList want = expected(req.dotaz, req.dotaz.PocetSloupcu);
            QCOMPARE(r.rows.size(), want.size());
            QCOMPARE(r.rows, want);
            QVERIFY(r.batches > 2);
            for (qsizetype i = 0; i < r.rows.size(); ++i)
                QCOMPARE(QString::number(r.keys[i]), r.rows[i].section(QLatin1Char('\t'), 0, 0));
            // Every row is told before the count, which must not hold the last of them up.
            QCOMPARE(r.rowsAtEnd, want.size());
            QCOMPARE(r.totalAtEnd, -1);
            if (limit) {
                auto count = m_db->OpenRecordset(req.dotaz.Count);
                QCOMPARE(r.total, int(count->Fields(0).Value().toLong()));
            } else {
                QCOMPARE(r.total, -1);
            }
            QVERIFY(!reader.reading());
            reader.disconnect();
        }
    }

    // A read dropped halfway says nothing more; the read started after it reads its own.
    void cancelledReadSaysNothing()
    {
        OverviewReader reader;
        Result r;
        connectTo(reader, r);
        reader.start(request(QStringLiteral("Pol1C"), QString(), std::nullopt));
        QVERIFY(QTest::qWaitFor([&r] { return r.batches > 0; }, 20000));
        QVERIFY(!r.finished);
        reader.start(request(QStringLiteral("Pol1C"), QString(), std::nullopt, 2));
        const int before = int(r.rows.size());
        QVERIFY(waitFor(r));
        QCOMPARE(r.rows.size() - before, 5);
        for (qsizetype i = before; i < r.keys.size(); ++i)
            QVERIFY2(r.keys[i] > 1000, qPrintable(r.rows[i]));
        // And one cancelled outright leaves nothing behind it.
        r = Result();
        reader.start(request(QStringLiteral("Pol1C"), QString(), std::nullopt));
        reader.cancel();
        QTest::qWait(100);
        QCOMPARE(r.batches, 0);
        QVERIFY(!r.finished && !reader.reading());
    }

    // Between pages no lock is held: another connection that waits not at all writes
    // while the read has not ended (the reader waits for the window to take its rows).
    void othersWriteWhileItReads()
    {
        OverviewReader reader;
        Result r;
        connectTo(reader, r);
        reader.start(request(QStringLiteral("Pol1C"), QString(), std::nullopt));
        // No event runs here: the reader fills what it may hand over, and stops.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        dao::Workspace other;
        auto station = other.OpenDatabase(m_catalog);
        station->Execute(QStringLiteral("PRAGMA busy_timeout = 0"));
        try {
            station->Execute(QStringLiteral("update Katalog set Pol5C = 'Jinde' where Inter = 600"));
        } catch (const VbError &e) {
            QFAIL(e.what());
        }
        QVERIFY(!r.finished);
        QVERIFY(waitFor(r));
        QCOMPARE(r.rows.size(), 600);
    }

    // A condition the engine refuses is told, and nothing else; the next read reads.
    void refusedCondition()
    {
        OverviewReader reader;
        Result r;
        connectTo(reader, r);
        reader.start(request(QStringLiteral("Pol1C"), QStringLiteral("Pol1C = = 1"), std::nullopt));
        QVERIFY(waitFor(r));
        QVERIFY(r.error);
        QCOMPARE(r.error->Number(), dao::err::SyntaxError);
        QCOMPARE(r.batches, 0);
        QVERIFY(!reader.reading());
        r = Result();
        reader.start(request(QStringLiteral("Pol1C"), QString(), std::nullopt, 2));
        QVERIFY(waitFor(r));
        QVERIFY(!r.error);
        QCOMPARE(r.rows.size(), 5);
    }

    // One reader reads one catalog many times: what another connection wrote in between
    // is read, and so is a catalog put in the place of the one read before (a restore).
    void readsAgainWhatChangedMeanwhile()
    {
        OverviewReader reader;
        Result r;
        connectTo(reader, r);
        const OverviewReader::Request section2 = request(QStringLiteral("Pol1C"), QString(), std::nullopt, 2);
        reader.start(section2);
        QVERIFY(waitFor(r));
        QCOMPARE(r.rows.size(), 5);

        m_db->Execute(QStringLiteral("update Katalog set Pol1c = 'Změněná' where Inter = 1003"));
        m_db->Execute(QStringLiteral("delete from Katalog where Inter = 1005"));
        r = Result();
        reader.start(section2);
        QVERIFY(waitFor(r));
        QCOMPARE(r.rows, expected(section2.dotaz, section2.dotaz.PocetSloupcu));
        QCOMPARE(r.rows.size(), 4);
        QVERIFY(r.rows.join(QLatin1Char('\n')).contains(QStringLiteral("Změněná")));

        // Another catalog moved into the file's place: one record in section 2.
        const QString other = m_folder->file(QStringLiteral("other.mdb"));
        QVERIFY(QFile::copy(m_catalog, other));
        {
            dao::Workspace ws;
            auto db = ws.OpenDatabase(other);
            db->Execute(QStringLiteral("delete from Katalog where Sekce = 2 and Inter <> 1001"));
        }
        QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(m_catalog).constData()) == 0);
        r = Result();
        reader.start(section2);
        QVERIFY(waitFor(r));
        QVERIFY2(!r.error, r.error ? r.error->what() : "");
        QCOMPARE(r.rows.size(), 1);
        QCOMPARE(r.keys.value(0), 1001);
    }

    // A reader that goes while it reads (its window closed) stops, and says nothing.
    void goesWhileItReads()
    {
        Result r;
        {
            OverviewReader reader;
            connectTo(reader, r);
            reader.start(request(QStringLiteral("Pol1C"), QString(), std::nullopt));
            QVERIFY(QTest::qWaitFor([&r] { return r.batches > 0; }, 20000));
            // No event runs: the reader waits with its batches in hand.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        const int batches = r.batches;
        QTest::qWait(50);
        QCOMPARE(r.batches, batches);
        QVERIFY(!r.finished);
    }

    // Another workstation writing all the while: the index cannot be made, and every row
    // is read all the same, in order, without it; the other's write is kept.
    void readsWithoutTheIndexWhileAnotherWrites()
    {
        dao::Workspace other;
        auto station = other.OpenDatabase(m_catalog);
        other.BeginTrans();
        station->Execute(QStringLiteral("update Katalog set Pol5C = 'Jinde' where Inter = 600"));
        OverviewReader reader;
        Result r;
        connectTo(reader, r);
        OverviewReader::Request req = request(QStringLiteral("Pol1C"), QString(), std::nullopt);
        req.busyMs = 100;
        reader.start(req);
        QVERIFY(waitFor(r));
        QVERIFY2(!r.error, r.error ? r.error->what() : "");
        QCOMPARE(r.rows, expected(req.dotaz, req.dotaz.PocetSloupcu));
        auto index = station->OpenRecordset(
            QStringLiteral("select count(*) from sqlite_master where type='index' and name='Katalog_Prehled_Pol1C'"));
        QCOMPARE(index->Fields(0).Value().toLong(), 0);
        other.CommitTrans();
        auto kept = m_db->OpenRecordset(QStringLiteral("select Pol5C from Katalog where Inter = 600"));
        QCOMPARE(kept->Fields(0).Value().toString(), QStringLiteral("Jinde"));
    }

    // The index made for the order is there afterwards and serves it (tst_sqliteshell
    // checks the file with it in the shell).
    void makesAnIndexForTheOrder()
    {
        OverviewReader reader;
        Result r;
        connectTo(reader, r);
        reader.start(request(QStringLiteral("Pol2N"), QString(), std::nullopt));
        QVERIFY(waitFor(r));
        auto index = m_db->OpenRecordset(
            QStringLiteral("select count(*) from sqlite_master where type='index' and name='Katalog_Prehled_Pol2N'"));
        QCOMPARE(index->Fields(0).Value().toLong(), 1);
        for (const QString &step : m_db->QueryPlan(SestavDotazPrehledu(1, {DefinicePole{QStringLiteral("Pol2"), QStringLiteral("N"), QString(), QStringLiteral("L"), true, false}}).Select))
            QVERIFY2(!step.contains(QLatin1String("TEMP B-TREE")), qPrintable(step));

    }
};

QTEST_MAIN(TestOverviewReader)
#include "tst_overviewreader.moc"
