// A record of the edit window written into the catalog, and the entry rules of its boxes,
// without any window.
#include "catalogfixture.h"
#include "cellentry.h"
#include "data/recordsave.h"
#include "vberror.h"

#include <QtTest>

using testsupport::scalar;

class TestRecordSave : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;
    const QDateTime m_now{QDate(2026, 12, 15), QTime(14, 30, 5)};

    static void setCounter(const QString &value)
    {
        Db->Execute(QStringLiteral("update S_Param set Inter=") + value);
    }

    static int count(const QString &where)
    {
        return scalar(QStringLiteral("select count(*) from Katalog where ") + where).toLong();
    }

    // A record of section 1 as the window holds it: a text, a number and a date box.
    static UkladanyZaznam record(qint32 key, const QString &text, const QString &number, const QString &date)
    {
        return {key, false, 1,
                {{QStringLiteral("Pol1C"), QStringLiteral("C"), text}, {QStringLiteral("Pol2N"), QStringLiteral("N"), number},
                 {QStringLiteral("Pol3D"), QStringLiteral("D"), date}},
                QStringLiteral("poznámka")};
    }

    qint32 save(const UkladanyZaznam &r) { return UlozZaznamDoKatalogu(*Ws, *Db, r, m_now); }

private Q_SLOTS:
    void init() { m_folder = std::make_unique<testsupport::CatalogFolder>(); }
    void cleanup() { m_folder.reset(); }

    void dateRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("shown");
        const QDate december(2026, 12, 15);
        QTest::newRow("bare day") << "7" << december << "7.12.2026";
        QTest::newRow("bare day with blanks") << " 7 " << december << "7.12.2026";
        QTest::newRow("31 in December") << "31" << december << "31.12.2026";
        QTest::newRow("31 in November") << "31" << QDate(2026, 11, 3) << "";
        QTest::newRow("32") << "32" << december << "";
        QTest::newRow("0") << "0" << december << "";
        QTest::newRow("-5") << "-5" << december << "";
        QTest::newRow("empty") << "" << december << "";
        QTest::newRow("no day in February") << "31.2.2026" << december << "";
        QTest::newRow("leap day") << "29.2.2024" << december << "29.2.2024";
        QTest::newRow("leading zeros go") << "05.03.2026" << december << "5.3.2026";
        QTest::newRow("day and month") << "5.3." << december << "5.3.2026";
        QTest::newRow("no date") << "abc" << december << "";
    }
    void dateRule()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, today);
        QFETCH(QString, shown);
        QCOMPARE(UpravDatum(typed, today), shown);
    }

    // A typed date is read alike by the edit window's boxes and by the control's date
    // cells: the same date, or no date (which a box empties and a cell refuses unless
    // nothing or a day outside 1 to 31 was typed); each writes it in its own form.
    void typedDateAgrees_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("readable");
        const QDate april(2026, 4, 14), december(2026, 12, 15);
        QTest::newRow("bare day") << "7" << december << QDate(2026, 12, 7) << true;
        QTest::newRow("bare day with blanks") << " 30 " << april << QDate(2026, 4, 30) << true;
        QTest::newRow("day 0") << "0" << december << QDate() << true;
        QTest::newRow("day 32") << "32" << december << QDate() << true;
        QTest::newRow("day -5") << "-5" << december << QDate() << true;
        QTest::newRow("nothing") << "  " << december << QDate() << true;
        QTest::newRow("31 in a month of 30 days, day alone") << "31" << april << QDate() << false;
        QTest::newRow("day and month") << "5.3" << december << QDate(2026, 3, 5) << true;
        QTest::newRow("day and month with a point") << "5.3." << december << QDate(2026, 3, 5) << true;
        QTest::newRow("blanks after the points") << "5. 3. 2026" << december << QDate(2026, 3, 5) << true;
        QTest::newRow("full date") << "5.3.2026" << december << QDate(2026, 3, 5) << true;
        QTest::newRow("leading zeros") << "05.03.2026" << december << QDate(2026, 3, 5) << true;
        QTest::newRow("two-digit year, this century") << "5.3.26" << december << QDate(2026, 3, 5) << true;
        QTest::newRow("two-digit year 29") << "5.3.29" << december << QDate(2029, 3, 5) << true;
        QTest::newRow("two-digit year 30, last century") << "5.3.30" << december << QDate(1930, 3, 5) << true;
        QTest::newRow("slashes") << "05/03/2026" << december << QDate(2026, 3, 5) << true;
        QTest::newRow("ISO") << "2026-03-05" << december << QDate(2026, 3, 5) << true;
        QTest::newRow("leap day") << "29.2.2028" << december << QDate(2028, 2, 29) << true;
        QTest::newRow("no 29 February") << "29.2.2026" << december << QDate() << false;
        QTest::newRow("no 31 February") << "31.2.2026" << december << QDate() << false;
        QTest::newRow("month 13") << "1.13.2026" << december << QDate() << false;
        QTest::newRow("three digits are no day") << "123" << december << QDate() << false;
        QTest::newRow("digits alone") << "050326" << december << QDate() << false;
        QTest::newRow("words") << "zítra" << december << QDate() << false;
    }
    void typedDateAgrees()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, today);
        QFETCH(QDate, date);
        QFETCH(bool, readable);
        tabulix::setToday([today] { return today; });
        const auto clock = qScopeGuard([] { tabulix::setToday({}); });
        const std::optional<QString> cell = tabulix::dateEntry(typed);
        QCOMPARE(cell.has_value(), readable);
        if (cell)
            QCOMPARE(*cell, date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString());
        QCOMPARE(UpravDatum(typed, today), date.isValid() ? date.toString(QStringLiteral("d.M.yyyy")) : QString());
    }

    // Where they part: a box reads generously what a cell refuses, for a box empties what
    // it cannot read and shows a stored date with its time of day.
    void typedDateDiffers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::newRow("mixed separators") << "5.3/2026" << "5.3.2026";
        QTest::newRow("blank before a point") << "5 .3.2026" << "5.3.2026";
        QTest::newRow("tab after a point") << "5.\t3.2026" << "5.3.2026";
        QTest::newRow("one-digit year") << "5.3.7" << "5.3.2007";
        QTest::newRow("time of day") << "12.3.2025 20:39:20" << "12.3.2025";
        QTest::newRow("ISO with a time of day") << "2025-03-12T20:39" << "12.3.2025";
        QTest::newRow("no such time") << "12.3.2025 25:00" << "";
        QTest::newRow("a time without a year") << "12.3. 20:39" << "";
    }
    void typedDateDiffers()
    {
        QFETCH(QString, typed);
        QFETCH(QString, box);
        const QDate today(2026, 12, 15);
        tabulix::setToday([today] { return today; });
        const auto clock = qScopeGuard([] { tabulix::setToday({}); });
        QVERIFY(!tabulix::dateEntry(typed));
        QCOMPARE(UpravDatum(typed, today), box);
    }

    void numberRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("decimal comma") << "1,5" << "1.5";
        QTest::newRow("no leading zero") << "0,5" << ".5";
        QTest::newRow("negative") << "-2,25" << "-2.25";
        QTest::newRow("letters") << "abc" << "0";
        QTest::newRow("empty") << "" << "0";
        QTest::newRow("leading number only") << "12abc" << "12";
        QTest::newRow("blanks between digits") << "1 000" << "1000";
        QTest::newRow("regional grouping") << QStringLiteral("1\u00A0234,5") << "1234.5";
        QTest::newRow("statement behind a number") << "0 where 1=1 --" << "0";
        QTest::newRow("very large") << "100000000000000000000" << "1E+20";
        QTest::newRow("hexadecimal is no number") << "&H10" << "0";
    }
    void numberRule()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(UpravCislo(typed), shown);
    }

    // Every box's text reaches the statement as a literal of its type, whatever was typed.
    void literals_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        QTest::newRow("apostrophe") << "C" << "O'Neil" << "'O''Neil'";
        QTest::newRow("text that looks like a date") << "C" << "7" << "'7'";
        QTest::newRow("bare day") << "D" << "7" << "'2026-12-07 00:00:00'";
        QTest::newRow("date") << "D" << "5.3.2026" << "'2026-03-05 00:00:00'";
        QTest::newRow("empty date") << "D" << "" << "null";
        QTest::newRow("unreadable date") << "D" << "31.2.2026" << "null";
        QTest::newRow("empty number") << "N" << "" << "0";
        QTest::newRow("decimal comma") << "N" << "1,5" << "1.5";
        QTest::newRow("statement behind a number") << "N" << "0 where 1=1 --" << "0";
        QTest::newRow("lower-case type") << "n" << "2'" << "2";
    }
    void literals()
    {
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(QString, literal);
        QCOMPARE(HodnotaPole({QStringLiteral("Pol1X"), type, text}, QDate(2026, 12, 15)), literal);
    }

    // A new record takes the counter as its key and starts blank: the fields the window
    // does not show hold '', 0 and Null.
    void createsABlankRecord()
    {
        setCounter(QStringLiteral("41"));
        QCOMPARE(save(record(0, QStringLiteral("O'Neil"), QStringLiteral("1,5"), QStringLiteral("7"))), 41);
        QCOMPARE(scalar(QStringLiteral("select Inter from S_Param")).toLong(), 42);
        auto rs = Db->OpenRecordset(QStringLiteral("select * from Katalog where Inter=41"));
        QVERIFY(!rs->Eof());
        QCOMPARE((*rs)[QStringLiteral("Pol1c")].toString(), QStringLiteral("O'Neil"));
        QCOMPARE((*rs)[QStringLiteral("Pol2n")].toDouble(), 1.5);
        QCOMPARE((*rs)[QStringLiteral("Pol3d")].toDateTime(), QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
        QCOMPARE((*rs)[QStringLiteral("Poznamka")].toString(), QStringLiteral("poznámka"));
        QCOMPARE((*rs)[QStringLiteral("Aktualizace")].toDateTime(), m_now);
        QCOMPARE((*rs)[QStringLiteral("Sekce")].toLong(), 1);
        for (int i : {5, 30}) {
            QCOMPARE((*rs)[QStringLiteral("Pol%1c").arg(i)], Variant(QString()));
            QCOMPARE((*rs)[QStringLiteral("Pol%1n").arg(i)].toDouble(), 0.0);
            QVERIFY((*rs)[QStringLiteral("Pol%1d").arg(i)].IsNull());
        }
        rs.reset();
        // Dates go in as the database's dates, never as the text the box shows.
        QCOMPARE(scalar(QStringLiteral("select typeof(Pol3d) from Katalog where Inter=41")).toString(), QStringLiteral("text"));
        QCOMPARE(count(QStringLiteral("Inter=41 and Pol3d='2026-12-07 00:00:00'")), 1);
    }

    // Empty boxes: a date is Null (never ''), a number 0.
    void emptyBoxes()
    {
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Pol3d, Sekce) "
                                   "values (5, 'a', 3, '2026-03-05 00:00:00', 1)"));
        QCOMPARE(save(record(5, QString(), QString(), QString())), 5);
        QCOMPARE(count(QStringLiteral("Inter=5 and Pol1c='' and Pol2n=0 and Pol3d is null")), 1);
        // An unreadable date is no date either.
        save(record(5, QString(), QString(), QStringLiteral("31.2.2026")));
        QCOMPARE(count(QStringLiteral("Inter=5 and Pol3d is null")), 1);
    }

    // An edit writes its own record and leaves the counter and the others alone; a
    // statement typed into a number box is a 0.
    void editTouchesItsRecordOnly()
    {
        setCounter(QStringLiteral("10"));
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Sekce) values (5, 'a', 3, 1)"));
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol2n, Sekce) values (6, 'b', 4, 1)"));
        QCOMPARE(save(record(5, QStringLiteral("A"), QStringLiteral("0 where 1=1 --"), QString())), 5);
        QCOMPARE(scalar(QStringLiteral("select Inter from S_Param")).toLong(), 10);
        QCOMPARE(count(QStringLiteral("Inter=5 and Pol1c='A' and Pol2n=0")), 1);
        QCOMPARE(count(QStringLiteral("Inter=6 and Pol1c='b' and Pol2n=4 and Poznamka is null")), 1);
        QCOMPARE(count(QStringLiteral("1=1")), 2);
    }

    // A copy creates a record at every save, each with the next key.
    void copyCreatesEachTime()
    {
        setCounter(QStringLiteral("7"));
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (5, 'a', 1)"));
        UkladanyZaznam copy = record(5, QStringLiteral("a"), QStringLiteral("1"), QString());
        copy.Kopie = true;
        copy.Sekce = 2;
        QCOMPARE(save(copy), 7);
        copy.Klic = 7;
        QCOMPARE(save(copy), 8);
        QCOMPARE(count(QStringLiteral("Pol1c='a' and Sekce=2")), 2);
        QCOMPARE(count(QStringLiteral("Inter=5 and Sekce=1")), 1);
        QCOMPARE(scalar(QStringLiteral("select Inter from S_Param")).toLong(), 9);
    }

    // The counter is taken as it is unless it would give a key that is taken already.
    void nextKey_data()
    {
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("next");
        QTest::newRow("counter ahead") << "20" << QList<int>{5, 9} << 20;
        QTest::newRow("counter at the next key") << "10" << QList<int>{5, 9} << 10;
        QTest::newRow("counter behind") << "3" << QList<int>{5, 9} << 10;
        QTest::newRow("counter on a key") << "9" << QList<int>{5, 9} << 10;
        QTest::newRow("counter Null") << "null" << QList<int>{5, 9} << 10;
        QTest::newRow("counter Null, no records") << "null" << QList<int>{} << 1;
        QTest::newRow("fresh catalog") << "0" << QList<int>{} << 1;
    }
    void nextKey()
    {
        QFETCH(QString, counter);
        QFETCH(QList<int>, keys);
        QFETCH(int, next);
        setCounter(counter);
        for (int key : keys)
            Db->Execute(QStringLiteral("insert into Katalog (Inter, Sekce) values (%1, 1)").arg(key));
        QCOMPARE(DalsiKlic(*Db), next);
        QCOMPARE(save(record(0, QStringLiteral("nový"), QString(), QString())), next);
        QCOMPARE(scalar(QStringLiteral("select Inter from S_Param")).toLong(), next + 1);
        QCOMPARE(count(QStringLiteral("1=1")), keys.size() + 1);
    }

    // The database refusing the fields, or a disk that is full (the engine then ends the
    // transaction itself): nothing stays, not the counter, not the new record, and the
    // engine's own words for the cause come out, not those of a rollback after it.
    void failureLeavesNothing_data()
    {
        QTest::addColumn<QString>("breaking");
        QTest::addColumn<QString>("mending");
        QTest::addColumn<QString>("cause");
        QTest::newRow("refused") << "create trigger refuse before update on Katalog "
                                    "begin select raise(abort, 'Zamčeno zkouškou'); end"
                                 << "drop trigger refuse" << "Zamčeno zkouškou";
        // The file may grow by no page: the long note needs several.
        QTest::newRow("full disk") << "PRAGMA max_page_count=1" << "PRAGMA max_page_count=1000000"
                                   << "database or disk is full";
    }
    void failureLeavesNothing()
    {
        QFETCH(QString, breaking);
        QFETCH(QString, mending);
        QFETCH(QString, cause);
        setCounter(QStringLiteral("41"));
        UkladanyZaznam r = record(0, QStringLiteral("nový"), QString(), QString());
        r.Poznamka = QString(200000, QLatin1Char('p'));
        Db->Execute(breaking);
        try {
            save(r);
            QFAIL("saved");
        } catch (const VbError &e) {
            QCOMPARE(e.Description(), cause);
        }
        QCOMPARE(scalar(QStringLiteral("select Inter from S_Param")).toLong(), 41);
        QCOMPARE(count(QStringLiteral("1=1")), 0);
        // The transaction is over: the next save after the cause is gone goes through.
        Db->Execute(mending);
        QCOMPARE(save(r), 41);
    }

    // An edited record that was deleted meanwhile is saved nowhere: that is an error.
    void editedRecordGone()
    {
        setCounter(QStringLiteral("41"));
        QVERIFY_THROWS_EXCEPTION(VbError, save(record(9, QStringLiteral("x"), QString(), QString())));
        QCOMPARE(count(QStringLiteral("1=1")), 0);
        QCOMPARE(scalar(QStringLiteral("select Inter from S_Param")).toLong(), 41);
    }

    // A field name goes into the statement bare: anything that is no catalog field is refused
    // before the database is touched.
    void foreignFieldName()
    {
        setCounter(QStringLiteral("41"));
        UkladanyZaznam r = record(0, QStringLiteral("x"), QString(), QString());
        r.Pole[0].Jmeno = QStringLiteral("Pol1C=Pol1C, Sekce");
        QVERIFY_THROWS_EXCEPTION(VbError, save(r));
        QCOMPARE(count(QStringLiteral("1=1")), 0);
        QCOMPARE(scalar(QStringLiteral("select Inter from S_Param")).toLong(), 41);
    }
};

QTEST_MAIN(TestRecordSave)
#include "tst_recordsave.moc"
