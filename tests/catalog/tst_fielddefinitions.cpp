// A section's field definitions in the database: what a save writes, how it converts the
// stored values of a field whose type changed, that a failed save or copy leaves every
// table as it was, and the copy to another section.
#include "catalogfixture.h"
#include "data/fielddefinitions.h"
#include "data/sections.h"
#include "vberror.h"

#include <QRegularExpression>
#include <QtTest>
#include <algorithm>
#include <functional>

using testsupport::scalar;

class TestFieldDefinitions : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::CatalogFolder> m_folder;

    // Every row of a table, in a stable order, as text: what "unchanged" is compared on.
    static QStringList dump(const QString &table)
    {
        QStringList rows;
        auto rs = Db->OpenRecordset(QStringLiteral("select * from ") + table, dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList cells;
            for (int i = 0; i < rs->FieldCount(); ++i) {
                const Variant v = rs->Fields(i).Value();
                cells << (v.IsNull() ? QStringLiteral("<null>") : v.toString());
            }
            rows << cells.join(QLatin1Char('|'));
        }
        rows.sort();
        return rows;
    }

    static QStringList dumpAll()
    {
        QStringList all;
        for (const char *table : {"Definice", "VychoziDefinice", "Katalog"})
            all << QLatin1String(table) << dump(QLatin1String(table));
        return all;
    }

    // A column's stored value as the engine holds it, "null" for none.
    static QString stored(const QString &column, int inter)
    {
        return scalar(QStringLiteral("select coalesce('' || %1, 'null') from katalog where inter=%2").arg(column).arg(inter))
            .toString();
    }

    // Section s with its 30 definitions saved, field 3 of type `typ`.
    static std::vector<RadekDefinice> section(int s, const QString &typ)
    {
        Db->Execute(QStringLiteral("insert into Sekce values (%1, 'Sekce %1')").arg(s));
        std::vector<RadekDefinice> rows = VychoziRadkyDefinice();
        rows[2].Typ = typ;
        UlozDefiniceSekce(*Ws, *Db, s, rows);
        return rows;
    }

    static void record(int inter, int s, const QString &assignments)
    {
        Db->Execute(QStringLiteral("insert into Katalog (Inter, Sekce) values (%1, %2)").arg(inter).arg(s));
        Db->Execute(QStringLiteral("update Katalog set %1 where inter=%2").arg(assignments).arg(inter));
    }

private Q_SLOTS:
    void init() { m_folder = std::make_unique<testsupport::CatalogFolder>(); }
    void cleanup() { m_folder.reset(); }

    // A type change converts every value that converts, from the column of the old type
    // into the column of the new one, where that column does not hold the value already;
    // an empty value, or one that does not convert, leaves the record as it was. Both
    // the values left behind and the values replaced are counted beforehand.
    void conversion_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("value");     // SQL literal in the old column
        QTest::addColumn<QString>("prior");     // SQL literal in the new column; empty: 99, 'dřív' or 9.9.1999
        QTest::addColumn<QString>("expected");  // the new column afterwards
        QTest::addColumn<int>("kept");          // counted as not converting
        QTest::addColumn<int>("replaced");      // counted as replacing a stored value
        QTest::newRow("C-N whole") << "C" << "N" << "'12'" << "" << "12" << 0 << 1;
        QTest::newRow("C-N point") << "C" << "N" << "'2.5'" << "" << "2.5" << 0 << 1;
        QTest::newRow("C-N comma") << "C" << "N" << "'2,5'" << "" << "2.5" << 0 << 1;
        QTest::newRow("C-N grouped") << "C" << "N" << "' 1 250,5 '" << "" << "1250.5" << 0 << 1;
        QTest::newRow("C-N into empty") << "C" << "N" << "'12'" << "null" << "12" << 0 << 0;
        QTest::newRow("C-N held") << "C" << "N" << "'2,5'" << "2.5" << "2.5" << 0 << 0;
        QTest::newRow("C-N word") << "C" << "N" << "'abc'" << "" << "99" << 1 << 0;
        QTest::newRow("C-N unit") << "C" << "N" << "'7 kg'" << "" << "99" << 1 << 0;
        QTest::newRow("C-N beyond a Single") << "C" << "N" << "'1e39'" << "" << "99" << 1 << 0;
        QTest::newRow("C-N empty") << "C" << "N" << "''" << "" << "99" << 0 << 0;
        QTest::newRow("C-N blank") << "C" << "N" << "'  '" << "" << "99" << 0 << 0;
        QTest::newRow("C-N null") << "C" << "N" << "null" << "" << "99" << 0 << 0;
        QTest::newRow("N-C whole") << "N" << "C" << "12" << "" << "12" << 0 << 1;
        QTest::newRow("N-C fraction") << "N" << "C" << "2.5" << "" << "2.5" << 0 << 1;
        QTest::newRow("N-C single") << "N" << "C" << QString::number(double(0.1f), 'g', 17) << "" << ".1" << 0 << 1;
        QTest::newRow("N-C held as typed") << "N" << "C" << "2.5" << "'2,5'" << "2,5" << 0 << 0;
        QTest::newRow("N-C held long") << "N" << "C" << "99999999999" << "'99999999999'" << "99999999999" << 0 << 0;
        QTest::newRow("N-C into blank") << "N" << "C" << "2.5" << "' '" << "2.5" << 0 << 0;
        QTest::newRow("N-C null") << "N" << "C" << "null" << "" << "dřív" << 0 << 0;
        QTest::newRow("C-D day first") << "C" << "D" << "'1.2.2020'" << "" << "2020-02-01 00:00:00" << 0 << 1;
        QTest::newRow("C-D with time") << "C" << "D" << "'1.2.2020 13:45'" << "" << "2020-02-01 13:45:00" << 0 << 1;
        QTest::newRow("C-D slashes") << "C" << "D" << "'01/02/2020'" << "" << "2020-02-01 00:00:00" << 0 << 1;
        QTest::newRow("C-D held") << "C" << "D" << "'1.2.2020'" << "'2020-02-01 00:00:00'" << "2020-02-01 00:00:00" << 0 << 0;
        QTest::newRow("C-D no date") << "C" << "D" << "'31.2.2020'" << "" << "1999-09-09 00:00:00" << 1 << 0;
        QTest::newRow("C-D empty") << "C" << "D" << "''" << "" << "1999-09-09 00:00:00" << 0 << 0;
        QTest::newRow("D-C date") << "D" << "C" << "'2020-02-01 00:00:00'" << "" << "01/02/2020" << 0 << 1;
        QTest::newRow("D-C with time") << "D" << "C" << "'2020-02-01 13:45:07'" << "" << "01/02/2020 13:45:07" << 0 << 1;
        QTest::newRow("D-C held as typed") << "D" << "C" << "'2020-02-01 00:00:00'" << "'1.2.2020'" << "1.2.2020" << 0 << 0;
        QTest::newRow("D-C null") << "D" << "C" << "null" << "" << "dřív" << 0 << 0;
        QTest::newRow("N-D number") << "N" << "D" << "5" << "" << "1999-09-09 00:00:00" << 1 << 0;
        QTest::newRow("N-D null") << "N" << "D" << "null" << "" << "1999-09-09 00:00:00" << 0 << 0;
        QTest::newRow("D-N date") << "D" << "N" << "'2020-02-01 00:00:00'" << "" << "99" << 1 << 0;
        QTest::newRow("D-N null") << "D" << "N" << "null" << "" << "99" << 0 << 0;
    }
    void conversion()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, value);
        QFETCH(QString, prior);
        QFETCH(QString, expected);
        QFETCH(int, kept);
        QFETCH(int, replaced);
        const QHash<QString, QString> usual{{"N", "99"}, {"C", "'dřív'"}, {"D", "'1999-09-09 00:00:00'"}};
        if (prior.isEmpty())
            prior = usual[to];
        std::vector<RadekDefinice> rows = section(1, from);
        section(2, from);
        const QString oldColumn = QStringLiteral("pol3") + from.toLower();
        const QString newColumn = QStringLiteral("pol3") + to.toLower();
        record(1, 1, QStringLiteral("%1=%2, %3=%4").arg(oldColumn, value, newColumn, prior));
        // The same value in another section: not this section's to convert.
        record(2, 2, QStringLiteral("%1=%2, %3=%4").arg(oldColumn, value, newColumn, usual[to]));
        const QString before = stored(oldColumn, 1);
        const QString otherBefore = stored(newColumn, 2);

        rows[2].Typ = to;
        rows[2].Nazev = QStringLiteral("Rok");
        const std::vector<ZmenaTypu> plan = PlanKonverze(*Db, 1, rows);
        QCOMPARE(int(plan.size()), 1);
        QCOMPARE(plan[0].Nazev, QStringLiteral("Rok"));
        const std::vector<DopadKonverze> counts = DopadKonverzi(*Db, 1, plan);
        QCOMPARE(int(counts.size()), kept || replaced ? 1 : 0);
        if (!counts.empty()) {
            QCOMPARE(counts[0].Zmena.Pole, 3);
            QCOMPARE(counts[0].Neprevedene, qint64(kept));
            QCOMPARE(counts[0].Prepsane, qint64(replaced));
        }
        UlozDefiniceSekce(*Ws, *Db, 1, rows);

        QCOMPARE(stored(newColumn, 1), expected);
        QCOMPARE(stored(oldColumn, 1), before);
        QCOMPARE(stored(newColumn, 2), otherBefore);
        QCOMPARE(scalar(QStringLiteral("select typ from definice where sekce=1 and pol='Pol3'")).toString(), to);
    }

    // A type changed and changed back costs nothing: every value comes back into its
    // column exactly as it was stored (typed), whether it converted on the way or not,
    // and the way back writes nothing at all.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("via");
        QTest::addColumn<QStringList>("values");  // SQL literals in the column of `from`, one a record
        QTest::newRow("C-D-C") << "C" << "D"
                               << QStringList{"'Kniha 1'", "'1.2.2020'", "'01/02/2020 13:45'", "'12'", "''", "'  '",
                                              "null", "'31.2.2020'"};
        QTest::newRow("N-D-N") << "N" << "D" << QStringList{"1883", "2.5", "0", "-7", "null"};
        QTest::newRow("C-N-C") << "C" << "N"
                               << QStringList{"'2,5'", "'2.50'", "'99999999999'", "'abc'", "'7 kg'", "''", "'  '",
                                              "'12'", "' 1 250,5 '", "'0,1'", "null"};
        QTest::newRow("D-C-D") << "D" << "C"
                               << QStringList{"'2020-02-01 00:00:00'", "'2020-02-01 13:45:07'", "'1883-12-31 00:00:00'",
                                              "null"};
        QTest::newRow("N-C-N") << "N" << "C"
                               << QStringList{"2.5", QString::number(double(0.1f), 'g', 17), "99999999999",
                                              "16777217", "0", "null"};
        QTest::newRow("D-N-D") << "D" << "N" << QStringList{"'2020-02-01 00:00:00'", "'2020-02-01 13:45:07'", "null"};
    }
    void roundTrip()
    {
        QFETCH(QString, from);
        QFETCH(QString, via);
        QFETCH(QStringList, values);
        std::vector<RadekDefinice> rows = section(1, from);
        section(2, from);
        const QString column = QStringLiteral("pol3") + from.toLower();
        for (int i = 0; i < values.size(); ++i)
            record(i + 1, 1, QStringLiteral("%1=%2").arg(column, values[i]));
        record(100, 2, QStringLiteral("%1=%2").arg(column, values[0]));
        QStringList before;
        for (int i = 0; i < values.size(); ++i)
            before << stored(column, i + 1);

        rows[2].Typ = via;
        UlozDefiniceSekce(*Ws, *Db, 1, rows);
        const QStringList between = dump(QStringLiteral("Katalog"));
        rows[2].Typ = from;
        QVERIFY(DopadKonverzi(*Db, 1, PlanKonverze(*Db, 1, rows)).empty());
        UlozDefiniceSekce(*Ws, *Db, 1, rows);

        QStringList after;
        for (int i = 0; i < values.size(); ++i)
            after << stored(column, i + 1);
        QCOMPARE(after, before);
        QCOMPARE(dump(QStringLiteral("Katalog")), between);
    }

    // The stored types are read before any row is rewritten: a field moved further down
    // and given another type is converted like any other.
    void movedFieldIsConverted()
    {
        std::vector<RadekDefinice> rows = section(1, QStringLiteral("C"));
        rows[0].Typ = QStringLiteral("N");
        record(1, 1, QStringLiteral("pol1c='5', pol2c='7'"));
        // Field 1 moved to the fifth place, the four below it up by one.
        std::rotate(rows.begin(), rows.begin() + 1, rows.begin() + 5);
        QCOMPARE(rows[4].Pol, QStringLiteral("Pol1"));
        UlozDefiniceSekce(*Ws, *Db, 1, rows);
        QCOMPARE(stored(QStringLiteral("pol1n"), 1), QStringLiteral("5"));
        QCOMPARE(stored(QStringLiteral("pol2n"), 1), QStringLiteral("null"));
        for (const char *table : {"definice", "vychozidefinice"}) {
            QCOMPARE(scalar(QStringLiteral("select pol || typ from %1 where sekce=1 and poradi=5").arg(QLatin1String(table)))
                         .toString(),
                     QStringLiteral("Pol1N"));
            QCOMPARE(scalar(QStringLiteral("select pol from %1 where sekce=1 and poradi=1").arg(QLatin1String(table)))
                         .toString(),
                     QStringLiteral("Pol2"));
            QCOMPARE(scalar(QStringLiteral("select count(*) from %1 where sekce=1").arg(QLatin1String(table))).toLong(), 30);
        }
    }

    // What a save writes: the row's place as its order, both flags Vyber and Detail,
    // the caption as typed; a stored type in lower case is the same type.
    void savedRows()
    {
        std::vector<RadekDefinice> rows = section(1, QStringLiteral("C"));
        Db->Execute(QStringLiteral("update definice set typ='n', vyber=0, detail=0 where sekce=1 and pol='Pol4'"));
        Db->Execute(QStringLiteral("update definice set typ='D' where sekce=1 and pol='Pol5'"));
        Db->Execute(QStringLiteral("delete from definice where sekce=1 and pol='Pol6'"));
        rows[3].Typ = QStringLiteral("N");
        rows[5].Typ = QStringLiteral("N");
        rows[1].Nazev = QStringLiteral("O'Brien");
        rows[1].Zobraz = false;
        const std::vector<ZmenaTypu> plan = PlanKonverze(*Db, 1, rows);
        QCOMPARE(int(plan.size()), 1);  // Pol5 D to C; Pol4 was n, Pol6 has no stored row
        QCOMPARE(plan[0].Pole, 5);
        QCOMPARE(plan[0].Stary, QStringLiteral("D"));
        UlozDefiniceSekce(*Ws, *Db, 1, rows);
        QCOMPARE(scalar(QStringLiteral("select nazev from vychozidefinice where sekce=1 and poradi=2")).toString(),
                 QStringLiteral("O'Brien"));
        QCOMPARE(scalar(QStringLiteral("select zobraz from definice where sekce=1 and poradi=2")).toBool(), false);
        QCOMPARE(scalar(QStringLiteral("select count(*) from definice where sekce=1 and vyber<>0 and detail<>0")).toLong(), 30);
        QCOMPARE(dump(QStringLiteral("Definice")), dump(QStringLiteral("VychoziDefinice")));
    }

    // A save that fails half-way (a row the database refuses) leaves every table as it
    // was: no definition row gone or changed, no value converted.
    void failedSaveChangesNothing()
    {
        std::vector<RadekDefinice> rows = section(1, QStringLiteral("C"));
        section(2, QStringLiteral("C"));
        record(1, 1, QStringLiteral("pol3c='12', pol3n=4"));
        record(2, 2, QStringLiteral("pol3c='13'"));
        Db->Execute(QStringLiteral("create trigger boom before insert on definice when new.poradi = 20 "
                                   "begin select raise(abort, 'refused'); end"));
        const QStringList before = dumpAll();
        rows[2].Typ = QStringLiteral("N");
        rows[0].Nazev = QStringLiteral("Jiný");
        QVERIFY_THROWS_EXCEPTION(VbError, UlozDefiniceSekce(*Ws, *Db, 1, rows));
        QCOMPARE(dumpAll(), before);
        // The workspace is out of its transaction: the next save goes through.
        Db->Execute(QStringLiteral("drop trigger boom"));
        UlozDefiniceSekce(*Ws, *Db, 1, rows);
        QCOMPARE(stored(QStringLiteral("pol3n"), 1), QStringLiteral("12"));
    }

    // The copy makes the target's rows in both tables equal to the source's saved rows;
    // the source stays; the scratch table keeps the copied rows for the next copy to drop.
    void copy()
    {
        std::vector<RadekDefinice> rows = section(1, QStringLiteral("N"));
        section(2, QStringLiteral("C"));
        Db->Execute(QStringLiteral("insert into Sekce values (3, 'Třetí')"));
        Db->Execute(QStringLiteral("update definice set nazev='Jen v Definice' where sekce=1 and poradi=1"));
        const QStringList source = dump(QStringLiteral("VychoziDefinice")).filter(QRegularExpression(QStringLiteral("\\|1$")));
        QCOMPARE(source.size(), 30);
        const auto asSection = [](QStringList rows, int s) {
            for (QString &r : rows)
                r = r.left(r.lastIndexOf(QLatin1Char('|')) + 1) + QString::number(s);
            return rows;
        };
        for (int target : {2, 3}) {
            ZkopirujDefinice(*Ws, *Db, 1, target);
            const QString suffix = QStringLiteral("\\|%1$").arg(target);
            for (const char *table : {"Definice", "VychoziDefinice"})
                QCOMPARE(dump(QLatin1String(table)).filter(QRegularExpression(suffix)), asSection(source, target));
            QCOMPARE(dump(QStringLiteral("tmpDefinice")), asSection(source, target));
        }
        QCOMPARE(dump(QStringLiteral("VychoziDefinice")).filter(QRegularExpression(QStringLiteral("\\|1$"))), source);
        QCOMPARE(scalar(QStringLiteral("select nazev from definice where sekce=1 and poradi=1")).toString(),
                 QStringLiteral("Jen v Definice"));
    }

    // A copy that fails leaves the target's definitions, and the scratch table of the copy
    // before, as they were.
    void failedCopyChangesNothing()
    {
        section(1, QStringLiteral("N"));
        section(2, QStringLiteral("C"));
        Db->Execute(QStringLiteral("insert into Sekce values (3, 'Třetí')"));
        ZkopirujDefinice(*Ws, *Db, 1, 3);
        Db->Execute(QStringLiteral("create trigger boom before insert on definice when new.sekce = 2 "
                                   "begin select raise(abort, 'refused'); end"));
        const QStringList before = dumpAll() + dump(QStringLiteral("tmpDefinice"));
        QVERIFY_THROWS_EXCEPTION(VbError, ZkopirujDefinice(*Ws, *Db, 1, 2));
        QCOMPARE(dumpAll() + dump(QStringLiteral("tmpDefinice")), before);
    }

    // A failure after which the engine has ended the transaction by itself (as a full
    // disk makes it do) during a save of the definitions, a copy of them or a new
    // section: the failure is what is reported, not the rollback that then finds no
    // transaction; every table stays as it was, and afterwards the same step goes through.
    void endedByTheEngine_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("save") << 0;
        QTest::newRow("copy") << 1;
        QTest::newRow("new section") << 2;
    }
    void endedByTheEngine()
    {
        QFETCH(int, step);
        std::vector<RadekDefinice> rows = section(1, QStringLiteral("C"));
        Db->Execute(QStringLiteral("insert into Sekce values (2, 'Druhá')"));
        const std::function<void()> steps[] = {
            [&] { UlozDefiniceSekce(*Ws, *Db, 1, rows); },
            [&] { ZkopirujDefinice(*Ws, *Db, 1, 2); },
            [&] { VlozSekci(*Ws, *Db, QStringLiteral("Nová")); },
        };
        const QStringList before = dumpAll() + dump(QStringLiteral("Sekce"));
        Db->Execute(QStringLiteral("create trigger ended before insert on definice "
                                   "begin select raise(rollback, 'ended by the engine'); end"));
        try {
            steps[step]();
            QFAIL("written");
        } catch (const VbError &e) {
            QCOMPARE(e.Description(), QStringLiteral("ended by the engine"));
        }
        QCOMPARE(dumpAll() + dump(QStringLiteral("Sekce")), before);
        Db->Execute(QStringLiteral("drop trigger ended"));
        steps[step]();
    }

    void sectionWithRecords()
    {
        section(1, QStringLiteral("C"));
        section(2, QStringLiteral("C"));
        record(1, 2, QStringLiteral("pol1c='x'"));
        QVERIFY(!SekceMaZaznamy(*Db, 1));
        QVERIFY(SekceMaZaznamy(*Db, 2));
    }

    // The default rows show every field, the generated ones the first twenty; both make
    // field 1 the description field, every field a text aligned left, captioned by its slot.
    void defaultAndGeneratedRows()
    {
        for (const auto &[rows, shown] : {std::pair{VychoziRadkyDefinice(), 30}, std::pair{GenerovaneRadkyDefinice(), 20}}) {
            QCOMPARE(int(rows.size()), 30);
            for (int i = 0; i < 30; ++i) {
                const QString pol = QStringLiteral("Pol%1").arg(i + 1);
                QCOMPARE(rows[size_t(i)].Pol, pol);
                QCOMPARE(rows[size_t(i)].Nazev, pol);
                QCOMPARE(rows[size_t(i)].Zobraz, i < shown);
                QCOMPARE(rows[size_t(i)].Popis, i == 0);
                QCOMPARE(rows[size_t(i)].Typ, QStringLiteral("C"));
                QCOMPARE(rows[size_t(i)].Zarovnani, QStringLiteral("L"));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFieldDefinitions)
#include "tst_fielddefinitions.moc"
