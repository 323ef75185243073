// Workspaces, databases, table definitions and recordsets over SQLite, answering the old
// engine's statements as that engine did.
#include "dao.h"
#include "variant.h"
#include "vberror.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>

Q_DECLARE_METATYPE(Variant)

char *toString(const Variant &v)
{
    QString text;
    try {
        text = v.IsNull() ? QStringLiteral("Null") : v.toString();
    } catch (const VbError &) {
        text = QStringLiteral("<no text>");
    }
    return qstrdup(qPrintable(QStringLiteral("VarType %1 '%2'").arg(int(v.VarType())).arg(text)));
}

namespace {

std::optional<VbError> failure(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VbError &e) {
        return e;
    }
    return std::nullopt;
}

int errorOf(const std::function<void()> &f)
{
    const auto e = failure(f);
    return e ? e->Number() : 0;
}

// The first column of every row, as text ("Null" for Null).
QStringList column(dao::Database &db, const QString &sql)
{
    QStringList out;
    auto rs = db.OpenRecordset(sql, dao::dbOpenSnapshot);
    for (; !rs->Eof(); rs->MoveNext()) {
        const Variant v = (*rs)[0];
        out << (v.IsNull() ? QStringLiteral("Null") : v.toString());
    }
    return out;
}

Variant scalar(dao::Database &db, const QString &sql)
{
    auto rs = db.OpenRecordset(sql, dao::dbOpenSnapshot);
    return (*rs)[0];
}

int count(dao::Database &db, const QString &table)
{
    return scalar(db, QStringLiteral("SELECT count(*) FROM ") + table).toLong();
}

// A reading through a connection of its own, as another program would see the file.
int countElsewhere(const QString &path, const QString &table)
{
    dao::Workspace other;
    auto db = other.OpenDatabase(path);
    return count(*db, table);
}

QString sqlText(QString s)
{
    return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

}  // namespace

class TestDao : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<dao::Workspace> m_ws;
    std::unique_ptr<dao::Database> m_db;

    QString path(const QString &name = QStringLiteral("test.db")) const { return m_dir->filePath(name); }
    dao::Database &db() { return *m_db; }
    void exec(const QString &sql) { m_db->Execute(sql); }

    // Definice: one column of each kind the catalog uses.
    void createDefinice()
    {
        exec("CREATE TABLE Definice (id Integer PRIMARY KEY, sekce Byte, Nazev VarChar(50) NOT NULL, Kod Char(5), "
             "Popis LongChar, Cena Single, Platne Bit, Datum Date)");
        const char *rows[] = {
            "1, 1, 'ivan', 'I', 'x', 1.5, 1, '2004-03-05 10:20:30'",
            "2, 1, 'chata', 'CH', 'y', 0.1, 0, '2004-03-06 00:00:00'",
            "3, 2, 'zámek', 'Z', 'z', 2, 1, NULL",
            "4, 1, 'hrad', 'H', '', 3, -1, '1.2.2000'",
            "5, 1, 'čaj', 'Č', NULL, 4, 0, ''",
            "6, 1, 'cukr', 'C', 'w', 5, 1, '2004-03-05'",
            "7, 1, 'Dům', 'D', 'v', 6, 0, NULL",
        };
        for (const char *row : rows)
            exec(QStringLiteral("INSERT INTO Definice VALUES (%1)").arg(QString::fromUtf8(row)));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_ws = std::make_unique<dao::Workspace>();
        m_db = m_ws->CreateDatabase(path());
    }
    void cleanup()
    {
        m_db.reset();
        m_ws.reset();
        m_dir.reset();
    }

    // ---------------------------------------------------------------- the engine's rules in SQL

    void textColumnsCompareCaseInsensitively()
    {
        exec("CREATE TABLE t (Nazev VarChar(50), Popis LongChar)");
        exec("INSERT INTO t VALUES ('ABC', 'ČAJ')");
        exec("INSERT INTO t VALUES ('abd', 'čaj')");
        QCOMPARE(column(db(), "SELECT Nazev FROM t WHERE Nazev='abc'"), QStringList{"ABC"});
        QCOMPARE(column(db(), "SELECT Nazev FROM t WHERE 'aBc'=Nazev"), QStringList{"ABC"});
        QCOMPARE(column(db(), "SELECT Nazev FROM t WHERE Nazev IN ('x', 'ABD')"), QStringList{"abd"});
        QCOMPARE(count(db(), "t WHERE Popis='Čaj'"), 2);
    }

    void orderBySortsCzech_data()
    {
        QTest::addColumn<QString>("type");
        QTest::newRow("VarChar") << "VarChar(50)";
        QTest::newRow("Char") << "Char(10)";
        QTest::newRow("LongChar") << "LongChar";
        QTest::newRow("Text") << "Text";
    }
    void orderBySortsCzech()
    {
        QFETCH(QString, type);
        exec(QStringLiteral("CREATE TABLE t (Nazev %1)").arg(type));
        for (const char *word : {"ivan", "chata", "hrad", "dům", "čaj", "cukr"})
            exec(QStringLiteral("INSERT INTO t VALUES ('%1')").arg(QString::fromUtf8(word)));
        QCOMPARE(column(db(), "SELECT Nazev FROM t ORDER BY Nazev"),
                 (QStringList{"cukr", "čaj", "dům", "hrad", "chata", "ivan"}));
        QCOMPARE(column(db(), "SELECT Nazev FROM t WHERE Nazev > 'h' AND Nazev < 'i' ORDER BY Nazev DESC"),
                 (QStringList{"chata", "hrad"}));
    }

    void likeThroughSql_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("ch*") << "'ch*'" << QStringList{"Chalupa", "chata"};
        QTest::newRow("?b*") << "'?b*'" << QStringList{"abc", "ebb"};
        QTest::newRow("#*") << "'#*'" << QStringList{"100%", "1abc", "42"};
        QTest::newRow("[a-c]*") << "'[a-c]*'" << QStringList{"a_b", "abc", "axb", "bod", "cukr", "Chalupa", "chata"};
        QTest::newRow("[!a-z]*") << "'[!a-z]*'" << QStringList{"100%", "1abc", "42", "Čaj", "čepice"};
        QTest::newRow("č*") << "'č*'" << QStringList{"Čaj", "čepice"};
        QTest::newRow("Č* double-quoted") << "\"Č*\"" << QStringList{"Čaj", "čepice"};
        QTest::newRow("% literal") << "'%'" << QStringList{};
        QTest::newRow("*% literal") << "'*%'" << QStringList{"100%"};
        QTest::newRow("_ literal") << "'a_b'" << QStringList{"a_b"};
    }
    void likeThroughSql()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        exec("CREATE TABLE t (Nazev VarChar(50))");
        for (const char *word : {"chata", "Chalupa", "hrad", "abc", "ebb", "1abc", "42", "bod", "Čaj", "čepice",
                                 "cukr", "100%", "a_b", "axb"})
            exec(QStringLiteral("INSERT INTO t VALUES ('%1')").arg(QString::fromUtf8(word)));
        QCOMPARE(column(db(), "SELECT Nazev FROM t WHERE Nazev LIKE " + pattern + " ORDER BY Nazev"), expected);
    }

    void formatInSql()
    {
        exec("CREATE TABLE Katalog (Pol1d Date, n Double)");
        exec("INSERT INTO Katalog VALUES ('2004-03-05 00:00:00', 12.5)");
        exec("INSERT INTO Katalog VALUES ('6.3.2004', -2.5)");
        exec("INSERT INTO Katalog VALUES (NULL, 0)");
        QCOMPARE(column(db(), "SELECT format(Pol1d,\"yyyymmdd\") FROM Katalog"),
                 (QStringList{"20040305", "20040306", "Null"}));
        QCOMPARE(column(db(), "SELECT format(n,'#') FROM Katalog"), (QStringList{"13", "-3", ""}));
        QCOMPARE(scalar(db(), "SELECT format(12.5,'#')"), Variant("13"));
        QCOMPARE(scalar(db(), "SELECT format(1.5,'0.00')"), Variant("1,50"));
        QCOMPARE(count(db(), "Katalog WHERE format(Pol1d,'yyyymmdd') >= '20040306'"), 1);
    }

    void valAndStrInSql()
    {
        exec("CREATE TABLE old (c VarChar(20))");
        for (const char *value : {"'12abc'", "'  1 2 3'", "'&H1F'", "''", "NULL", "'1.5e2'"})
            exec(QStringLiteral("INSERT INTO old VALUES (%1)").arg(QLatin1String(value)));
        exec("CREATE TABLE t (n Integer)");
        exec("INSERT INTO t(n) SELECT val(c) FROM old");
        QCOMPARE(column(db(), "SELECT n FROM t"), (QStringList{"12", "123", "31", "0", "Null", "150"}));
        QCOMPARE(scalar(db(), "SELECT n FROM t WHERE n=150").VarType(), vbLong);
        QCOMPARE(column(db(), "SELECT str(n) FROM t WHERE n < 100 ORDER BY n"), (QStringList{" 0", " 12", " 31"}));
        QCOMPARE(scalar(db(), "SELECT str(-0.5)"), Variant("-.5"));
        QCOMPARE(scalar(db(), "SELECT str(NULL)").VarType(), vbNull);
    }

    // The runtime's conversions in a statement: a text read as the program reads what a
    // user typed, a date given in the form the layer stores, and a value that does not
    // convert failing the statement unless IsNumeric or IsDate kept it out.
    void conversionsInSql_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("expected");  // "error" when the statement fails
        const auto row = [](const char *e, const char *x) { QTest::newRow(e) << QString::fromUtf8(e) << QString::fromUtf8(x); };
        row("isnumeric('12')", "1");
        row("isnumeric('2,5')", "1");
        row("isnumeric('1 000,5')", "1");
        row("isnumeric(2.5)", "1");
        row("isnumeric('7 kg')", "0");
        row("isnumeric('abc')", "0");
        row("isnumeric('')", "0");
        row("isnumeric(NULL)", "0");
        row("isnumeric('1.2.2020')", "0");
        row("cdbl('12')", "12");
        row("cdbl('2,5')", "2,5");
        row("cdbl('2.5')", "2,5");
        row("cdbl(' -1 000,25 ')", "-1000,25");
        row("cdbl('7 kg')", "error");
        row("cdbl(NULL)", "error");
        row("isdate('1.2.2020 13:45')", "1");
        row("isdate('01/02/2020')", "1");
        row("isdate('2020-02-01 13:45:00')", "1");
        row("isdate('31.2.2020')", "0");
        row("isdate('12')", "0");
        row("isdate(12)", "0");
        row("isdate(NULL)", "0");
        row("cdate('1.2.2020 13:45')", "2020-02-01 13:45:00");
        row("cdate('01/02/2020')", "2020-02-01 00:00:00");
        row("cdate('2020-02-01 13:45:07')", "2020-02-01 13:45:07");
        row("cdate('abc')", "error");
        row("cdate(NULL)", "error");
        row("str(csng(0.1))", " .1");
        row("trim(str(csng('2,5')))", "2.5");
        row("trim(str(csng(16384.25)))", "16384.25");
        row("str(0.1)", " .1");
        row("csng('x')", "error");
        row("csng(1e300)", "error");
    }
    void conversionsInSql()
    {
        QFETCH(QString, expression);
        QFETCH(QString, expected);
        QStringList result;
        const int error = errorOf([&] { result = column(db(), QStringLiteral("SELECT ") + expression); });
        if (expected == QLatin1String("error")) {
            QCOMPARE(error, dao::err::General);
            return;
        }
        QCOMPARE(error, 0);
        QCOMPARE(result, QStringList{expected});
    }

    // A Single stored from its own precision reads back through csng as the number it was,
    // not as the double nearest to it.
    void singleWrittenWithItsDigits()
    {
        exec("CREATE TABLE t (n Single)");
        exec(QStringLiteral("INSERT INTO t VALUES (%1)").arg(double(0.1f), 0, 'g', 17));
        QCOMPARE(scalar(db(), "SELECT trim(str(n)) FROM t"), Variant(".100000001490116"));
        QCOMPARE(scalar(db(), "SELECT trim(str(csng(n))) FROM t"), Variant(".1"));
    }

    // The old engine read double quotes as a string, never as a column's name.
    void doubleQuotedStrings()
    {
        exec("CREATE TABLE t (Nazev VarChar(50), abc VarChar(50))");
        exec("INSERT INTO t VALUES (\"abc\", \"first\")");
        exec("INSERT INTO t VALUES ('first', 'first')");
        QCOMPARE(column(db(), "SELECT abc FROM t WHERE Nazev=\"abc\""), QStringList{"first"});
        QCOMPARE(count(db(), "t WHERE Nazev=\"Nazev\""), 0);
        QCOMPARE(count(db(), "t WHERE abc=\"FIRST\""), 2);
        exec("UPDATE t SET abc=\"it's\" WHERE Nazev=\"first\"");
        QCOMPARE(column(db(), "SELECT abc FROM t WHERE Nazev='first'"), QStringList{"it's"});
    }

    void deleteStarAndRecordsAffected()
    {
        exec("CREATE TABLE t (n Integer)");
        for (int i = 1; i <= 5; ++i)
            exec(QStringLiteral("INSERT INTO t VALUES (%1)").arg(i));
        QCOMPARE(db().RecordsAffected(), 1L);
        exec("DELETE * FROM t WHERE n > 3");
        QCOMPARE(db().RecordsAffected(), 2L);
        exec("delete t.* from t where n = 3");
        QCOMPARE(db().RecordsAffected(), 1L);
        QCOMPARE(column(db(), "SELECT n FROM t"), (QStringList{"1", "2"}));
        exec("DELETE * FROM t WHERE n > 100");
        QCOMPARE(db().RecordsAffected(), 0L);
        exec("UPDATE t SET n = n + 10");
        QCOMPARE(db().RecordsAffected(), 2L);
        exec("UPDATE t SET n = 0 WHERE n < 0");
        QCOMPARE(db().RecordsAffected(), 0L);
        exec("UPDATE t SET n = n + 10");
        exec("CREATE TABLE u (a Integer)");  // changes no record
        QCOMPARE(db().RecordsAffected(), 0L);
    }

    void selectInto()
    {
        createDefinice();
        exec("SELECT * INTO tmpD FROM Definice WHERE sekce=1");
        QCOMPARE(db().RecordsAffected(), 6L);
        dao::TableDefList &defs = db().TableDefs();
        defs.Refresh();
        dao::TableDef &source = defs["Definice"];
        dao::TableDef &copy = defs["tmpD"];
        QCOMPARE(copy.FieldCount(), source.FieldCount());
        for (int i = 0; i < source.FieldCount(); ++i) {
            QCOMPARE(copy.Fields(i).Name(), source.Fields(i).Name());
            QCOMPARE(copy.Fields(i).Type(), source.Fields(i).Type());
            QCOMPARE(copy.Fields(i).Size(), source.Fields(i).Size());
        }
        QCOMPARE(column(db(), "SELECT Nazev FROM tmpD ORDER BY Nazev"),
                 (QStringList{"cukr", "čaj", "Dům", "hrad", "chata", "ivan"}));
        QCOMPARE(count(db(), "tmpD WHERE Nazev='CHATA'"), 1);
        auto rs = db().OpenRecordset("SELECT Cena, Platne, Datum FROM tmpD WHERE id=2");
        QCOMPARE((*rs)[0].VarType(), vbSingle);
        QCOMPARE((*rs)[1].VarType(), vbBoolean);
        QCOMPARE((*rs)[2], Variant(QDate(2004, 3, 6)));
    }

    // ---------------------------------------------------------------- reading the column kinds

    void bitColumns_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("5") << "5" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("0.5") << "0.5" << true;
        QTest::newRow("text True") << "'True'" << true;
        QTest::newRow("text 0") << "'0'" << false;
    }
    void bitColumns()
    {
        QFETCH(QString, stored);
        QFETCH(bool, expected);
        exec("CREATE TABLE t (b Bit)");
        exec("INSERT INTO t VALUES (" + stored + ")");
        QCOMPARE(scalar(db(), "SELECT b FROM t"), Variant(expected));
    }

    void dateColumns_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QDateTime>("expected");  // invalid: Null
        QTest::newRow("iso") << "'2004-03-05 10:20:30'" << QDateTime(QDate(2004, 3, 5), QTime(10, 20, 30));
        QTest::newRow("iso midnight") << "'2004-03-05 00:00:00'" << QDateTime(QDate(2004, 3, 5), QTime(0, 0));
        QTest::newRow("iso date only") << "'2004-03-05'" << QDateTime(QDate(2004, 3, 5), QTime(0, 0));
        QTest::newRow("iso before 1899") << "'1850-07-01 06:00:00'" << QDateTime(QDate(1850, 7, 1), QTime(6, 0));
        QTest::newRow("d.m.yyyy") << "'5.3.2004'" << QDateTime(QDate(2004, 3, 5), QTime(0, 0));
        QTest::newRow("d.m.yyyy time") << "'5.3.2004 7:08'" << QDateTime(QDate(2004, 3, 5), QTime(7, 8));
        QTest::newRow("dd/mm/yyyy") << "'05/03/2004'" << QDateTime(QDate(2004, 3, 5), QTime(0, 0));
        QTest::newRow("number") << "38051.5" << QDateTime(QDate(2004, 3, 5), QTime(12, 0));
        QTest::newRow("empty text") << "''" << QDateTime();
        QTest::newRow("blank text") << "'  '" << QDateTime();
        QTest::newRow("null") << "NULL" << QDateTime();
    }
    void dateColumns()
    {
        QFETCH(QString, stored);
        QFETCH(QDateTime, expected);
        exec("CREATE TABLE t (d Date)");
        exec("INSERT INTO t VALUES (" + stored + ")");
        const Variant v = scalar(db(), "SELECT d FROM t");
        if (!expected.isValid()) {
            QCOMPARE(v.VarType(), vbNull);
            return;
        }
        QCOMPARE(v.VarType(), vbDate);
        QCOMPARE(std::pair(v.toDateTime().date(), v.toDateTime().time()), std::pair(expected.date(), expected.time()));
    }

    void singleColumns()
    {
        exec("CREATE TABLE t (id Integer, s Single)");
        exec("INSERT INTO t VALUES (1, 0.1)");
        exec("INSERT INTO t VALUES (2, 3)");
        auto rs = db().OpenRecordset("SELECT * FROM t");
        rs->AddNew();
        rs->Fields("id").SetValue(3);
        rs->Fields("s").SetValue(Variant(1.0 / 3));
        rs->Update();
        // A single is stored as its seven digits read, as CSQL writes it into statements.
        const QList<double> expected{double(0.1f), 3.0, double(0.3333333f)};
        rs = db().OpenRecordset("SELECT s FROM t ORDER BY id");
        for (double e : expected) {
            const Variant v = (*rs)[0];
            QCOMPARE(v.VarType(), vbSingle);
            QCOMPARE(v.toDouble(), e);
            rs->MoveNext();
        }
        QCOMPARE(scalar(db(), "SELECT s FROM t WHERE id=1").toString(), QStringLiteral("0,1"));
    }

    void varTypeOfColumn_data()
    {
        QTest::addColumn<QString>("declared");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("varType");
        QTest::newRow("Integer is 32-bit") << "Integer" << "100000" << 3;
        QTest::newRow("Long") << "Long" << "7" << 3;
        QTest::newRow("Smallint") << "Smallint" << "7" << 2;
        QTest::newRow("Byte") << "Byte" << "200" << 17;
        QTest::newRow("VarChar") << "VarChar(10)" << "'x'" << 8;
        QTest::newRow("VarChar digits") << "VarChar(10)" << "'007'" << 8;
        QTest::newRow("Char") << "Char(5)" << "'x'" << 8;
        QTest::newRow("LongChar") << "LongChar" << "'x'" << 8;
        QTest::newRow("Double") << "Double" << "2" << 5;
        QTest::newRow("Single") << "Single" << "2" << 4;
        QTest::newRow("Currency") << "Currency" << "2.5" << 6;
        QTest::newRow("Bit") << "Bit" << "1" << 11;
        QTest::newRow("Date") << "Date" << "'2004-03-05'" << 7;
        QTest::newRow("Null") << "Integer" << "NULL" << 1;
    }
    void varTypeOfColumn()
    {
        QFETCH(QString, declared);
        QFETCH(QString, stored);
        QFETCH(int, varType);
        exec("CREATE TABLE t (c " + declared + ")");
        exec("INSERT INTO t VALUES (" + stored + ")");
        QCOMPARE(int(scalar(db(), "SELECT c FROM t").VarType()), varType);
        QCOMPARE(int(scalar(db(), "SELECT * FROM t").VarType()), varType);
    }

    // ---------------------------------------------------------------- table definitions

    void tableDefs()
    {
        exec("CREATE TABLE T1 (b Byte, i Integer NOT NULL, s Single, f Bit, d Date, v VarChar(50), c Char(5), "
             "m LongChar)");
        dao::TableDefList &defs = db().TableDefs();
        QCOMPARE(defs.Count(), 1);
        dao::TableDef &t = defs["t1"];
        QCOMPARE(&defs[0], &t);
        struct Expected { const char *name; int type; int size; bool required; };
        const Expected expected[] = {
            {"b", dao::dbByte, 1, false},   {"i", dao::dbLong, 4, true},     {"s", dao::dbSingle, 4, false},
            {"f", dao::dbBoolean, 1, false}, {"d", dao::dbDate, 8, false},    {"v", dao::dbText, 50, false},
            {"c", dao::dbChar, 5, false},    {"m", dao::dbMemo, 0, false},
        };
        QCOMPARE(t.FieldCount(), int(std::size(expected)));
        for (int i = 0; i < t.FieldCount(); ++i) {
            const dao::Field f = t.Fields(i);
            QCOMPARE(f.Name(), QLatin1String(expected[i].name));
            QCOMPARE(f.Type(), expected[i].type);
            QCOMPARE(f.Required(), expected[i].required);
            if (f.Type() == dao::dbText || f.Type() == dao::dbChar)
                QCOMPARE(f.Size(), expected[i].size);
        }
        QCOMPARE(dao::dbByte, 2);
        QCOMPARE(dao::dbLong, 4);
        QCOMPARE(dao::dbText, 10);
        QCOMPARE(dao::dbChar, 18);
        QCOMPARE(dao::dbMemo, 12);
        QCOMPARE(t.Fields("V").Type(), dao::dbText);
        QCOMPARE(errorOf([&] { defs["nope"]; }), 3265);
        QCOMPARE(errorOf([&] { defs[1]; }), 3265);
        QCOMPARE(errorOf([&] { t.Fields("nope"); }), 3265);
        QCOMPARE(errorOf([&] { t.Fields(8); }), 3265);
        QCOMPARE(errorOf([&] { t.Fields(0).Value(); }), 3000);
    }

    // The engine's own bookkeeping tables are no tables of the catalog.
    void tableDefsListOnlyOwnTables()
    {
        exec("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, n Text)");
        exec("INSERT INTO t (n) VALUES ('a')");
        exec("ANALYZE");
        QStringList names;
        for (int i = 0; i < db().TableDefs().Count(); ++i)
            names << db().TableDefs()[i].Name();
        QCOMPARE(names, QStringList{"t"});
    }

    void tableDefRename()
    {
        exec("CREATE TABLE Stara (n Integer)");
        exec("INSERT INTO Stara VALUES (1)");
        db().TableDefs()["stara"].SetName("Nova");
        QCOMPARE(db().TableDefs()["NOVA"].Name(), QStringLiteral("Nova"));
        QCOMPARE(errorOf([&] { db().TableDefs()["Stara"]; }), 3265);
        QCOMPARE(errorOf([&] { db().OpenRecordset("SELECT * FROM Stara"); }), 3078);
        QCOMPARE(count(db(), "Nova"), 1);
        db().TableDefs().Refresh();
        QCOMPARE(db().TableDefs()[0].Name(), QStringLiteral("Nova"));
    }

    void tableDefsKeepPositionsAfterDrop()
    {
        for (const char *name : {"A", "B", "C"})
            exec(QStringLiteral("CREATE TABLE %1 (n Integer)").arg(QLatin1String(name)));
        dao::TableDefList &defs = db().TableDefs();
        QStringList dropped;
        for (int i = 0; i < defs.Count(); ++i) {
            dropped << defs[i].Name();
            exec("DROP TABLE " + defs[i].Name());
        }
        QCOMPARE(dropped, (QStringList{"A", "B", "C"}));
        QCOMPARE(defs.Count(), 3);
        defs.Refresh();
        QCOMPARE(defs.Count(), 0);
    }

    // ---------------------------------------------------------------- what Execute refuses

    void executeRefusesSecondStatement_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("update then delete") << "UPDATE t SET a=1; DELETE FROM t";
        QTest::newRow("typed number then delete") << "UPDATE t SET a=0; delete from t";
        QTest::newRow("where then delete") << "DELETE FROM t WHERE a=0; delete from t";
        QTest::newRow("delete star then drop") << "DELETE * FROM t WHERE a=0;DROP TABLE t";
        QTest::newRow("select into then delete") << "SELECT * INTO x FROM t; DELETE FROM t";
        QTest::newRow("open string") << "UPDATE t SET a='1";
        QTest::newRow("open double-quoted string") << "UPDATE t SET a=\"1";
    }
    void executeRefusesSecondStatement()
    {
        QFETCH(QString, sql);
        exec("CREATE TABLE t (a Integer)");
        exec("INSERT INTO t VALUES (5)");
        exec("INSERT INTO t VALUES (6)");
        const auto e = failure([&] { exec(sql); });
        QVERIFY(e);
        QVERIFY(!e->Description().isEmpty());
        QCOMPARE(column(db(), "SELECT a FROM t"), (QStringList{"5", "6"}));
        db().TableDefs().Refresh();
        QCOMPARE(db().TableDefs().Count(), 1);
    }

    void executeAcceptsTrailingSemicolon()
    {
        exec("CREATE TABLE t (a Integer);");
        exec("INSERT INTO t VALUES (1) ; ");
        exec("UPDATE t SET a=a+1;\n");
        QCOMPARE(column(db(), "SELECT a FROM t;"), QStringList{"2"});
    }

    void executeRefusesSelect()
    {
        exec("CREATE TABLE t (a Integer)");
        QCOMPARE(errorOf([&] { exec("SELECT * FROM t"); }), dao::err::CannotExecuteSelect);
        QCOMPARE(errorOf([&] { exec("  select a from t;"); }), dao::err::CannotExecuteSelect);
    }

    void engineErrors_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("asRecordset");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("inDescription");
        QTest::newRow("unknown table") << "DELETE FROM nope" << false << 3078 << "nope";
        QTest::newRow("unknown table select") << "SELECT * FROM nope" << true << 3078 << "nope";
        QTest::newRow("unknown column") << "UPDATE t SET a='x' WHERE nope=1" << false << 3061 << "nope";
        QTest::newRow("unknown column select") << "SELECT nope FROM t" << true << 3061 << "nope";
        QTest::newRow("syntax error") << "UPDAT t SET a='x'" << false << 3075 << "syntax";
        QTest::newRow("syntax error select") << "SELECT * FROM t WHERE" << true << 3075 << "incomplete";
        QTest::newRow("cut short") << "DELETE FROM t WHERE id=" << false << 3075 << "incomplete";
        QTest::newRow("open string") << "DELETE FROM t WHERE a='x" << false << 3075 << "unrecognized";
        QTest::newRow("not null") << "INSERT INTO t (id, a) VALUES (2, NULL)" << false << 3314 << "NOT NULL";
        QTest::newRow("not null update") << "UPDATE t SET a=NULL" << false << 3314 << "t.a";
        QTest::newRow("duplicate key") << "INSERT INTO t (id, a) VALUES (1, 'y')" << false << 3022 << "t.id";
        QTest::newRow("second statement") << "DELETE FROM t; DELETE FROM t" << false << 3142 << "after";
    }
    void engineErrors()
    {
        QFETCH(QString, sql);
        QFETCH(bool, asRecordset);
        QFETCH(int, number);
        QFETCH(QString, inDescription);
        exec("CREATE TABLE t (id Integer PRIMARY KEY, a VarChar(10) NOT NULL)");
        exec("INSERT INTO t VALUES (1, 'x')");
        const auto e = failure([&] {
            if (asRecordset)
                db().OpenRecordset(sql);
            else
                exec(sql);
        });
        QVERIFY(e);
        QVERIFY2(e->Description().contains(inDescription, Qt::CaseInsensitive), qPrintable(e->Description()));
        QCOMPARE(e->Number(), number);
        QCOMPARE(dao::Errors().size(), 1);
        QCOMPARE(dao::Errors().first().Number(), number);
        QCOMPARE(column(db(), "SELECT a FROM t"), QStringList{"x"});
    }

    // ---------------------------------------------------------------- opening files

    void openMissingFile()
    {
        QCOMPARE(errorOf([&] { m_ws->OpenDatabase(path("nope.db")); }), dao::err::FileNotFound);
        QCOMPARE(errorOf([&] { m_ws->OpenDatabase(m_dir->path()); }), dao::err::FileNotFound);
        QCOMPARE(errorOf([&] { m_ws->CreateDatabase(path()); }), dao::err::DatabaseExists);
    }

    void openFileThatIsNoDatabase_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("short text") << QByteArray("this is no database");
        QTest::newRow("empty file") << QByteArray();
        QByteArray noise(8192, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("noise") << noise;
    }
    void openFileThatIsNoDatabase()
    {
        QFETCH(QByteArray, content);
        QFile f(path("garbage.db"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QCOMPARE(errorOf([&] { m_ws->OpenDatabase(f.fileName()); }), dao::err::UnrecognizedFormat);
        QCOMPARE(f.size(), qint64(content.size()));  // and left as it was
    }

    void lockedDatabase()
    {
        exec("CREATE TABLE t (a Integer)");
        exec("INSERT INTO t VALUES (1)");
        sqlite3 *other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path()).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        const auto within = [](const std::function<void()> &f) {
            QElapsedTimer timer;
            timer.start();
            const int number = errorOf(f);
            return std::make_pair(number, timer.elapsed() < 10000);
        };
        dao::Workspace ws2;
        QCOMPARE(within([&] { ws2.OpenDatabase(path()); }), std::make_pair(3218, true));
        QCOMPARE(within([&] { exec("UPDATE t SET a=2"); }), std::make_pair(3218, true));
        QCOMPARE(within([&] { db().OpenRecordset("SELECT * FROM t"); }), std::make_pair(3218, true));
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        exec("UPDATE t SET a=2");
        QCOMPARE(column(db(), "SELECT a FROM t"), QStringList{"2"});
    }

    // ---------------------------------------------------------------- transactions

    void transactionsSpanDatabases()
    {
        auto second = m_ws->CreateDatabase(path("second.db"));
        exec("CREATE TABLE t (a Integer)");
        second->Execute("CREATE TABLE u (b Integer)");

        m_ws->BeginTrans();
        exec("INSERT INTO t VALUES (1)");
        second->Execute("INSERT INTO u VALUES (1)");
        QCOMPARE(count(db(), "t"), 1);
        m_ws->Rollback();
        QCOMPARE(count(db(), "t"), 0);
        QCOMPARE(count(*second, "u"), 0);

        m_ws->BeginTrans();
        exec("INSERT INTO t VALUES (2)");
        second->Execute("INSERT INTO u VALUES (2)");
        m_ws->CommitTrans();
        QCOMPARE(countElsewhere(path(), "t"), 1);
        QCOMPARE(countElsewhere(path("second.db"), "u"), 1);
    }

    // A database opened while a transaction is open is part of it.
    void databaseOpenedInsideATransaction()
    {
        exec("CREATE TABLE t (a Integer)");
        {
            auto other = m_ws->CreateDatabase(path("other.db"));
            other->Execute("CREATE TABLE u (b Integer)");
        }
        m_ws->BeginTrans();
        auto other = m_ws->OpenDatabase(path("other.db"));
        m_ws->BeginTrans();
        other->Execute("INSERT INTO u VALUES (1)");
        m_ws->CommitTrans();
        QCOMPARE(countElsewhere(path("other.db"), "u"), 0);  // the outer level holds it still
        m_ws->Rollback();
        QCOMPARE(count(*other, "u"), 0);
        QCOMPARE(errorOf([&] { m_ws->CommitTrans(); }), dao::err::NoTransaction);
    }

    // A workspace that goes away inside a transaction takes it back, and its databases
    // write to the file again.
    void workspaceGoneInsideATransaction()
    {
        exec("CREATE TABLE t (a Integer)");
        m_ws->BeginTrans();
        exec("INSERT INTO t VALUES (1)");
        m_ws.reset();
        QCOMPARE(count(db(), "t"), 0);
        exec("INSERT INTO t VALUES (2)");
        QCOMPARE(countElsewhere(path(), "t"), 1);
    }

    void nestedTransactions()
    {
        exec("CREATE TABLE t (a Integer)");
        m_ws->BeginTrans();
        exec("INSERT INTO t VALUES (1)");
        m_ws->BeginTrans();
        exec("INSERT INTO t VALUES (2)");
        m_ws->Rollback();
        m_ws->BeginTrans();
        exec("INSERT INTO t VALUES (3)");
        m_ws->CommitTrans();
        QCOMPARE(countElsewhere(path(), "t"), 0);  // nothing reaches the file before the outer commit
        m_ws->CommitTrans();
        QCOMPARE(column(db(), "SELECT a FROM t ORDER BY a"), (QStringList{"1", "3"}));
        QCOMPARE(countElsewhere(path(), "t"), 2);
    }

    void transactionEndWithoutBegin()
    {
        QCOMPARE(errorOf([&] { m_ws->CommitTrans(); }), dao::err::NoTransaction);
        QCOMPARE(errorOf([&] { m_ws->Rollback(); }), dao::err::NoTransaction);
        m_ws->BeginTrans();
        m_ws->CommitTrans();
        QCOMPARE(errorOf([&] { m_ws->CommitTrans(); }), dao::err::NoTransaction);
    }

    void failedStatementThenRollback()
    {
        auto second = m_ws->CreateDatabase(path("second.db"));
        exec("CREATE TABLE t (id Integer PRIMARY KEY, a VarChar(10) NOT NULL)");
        second->Execute("CREATE TABLE u (b Integer)");
        m_ws->BeginTrans();
        exec("INSERT INTO t VALUES (1, 'x')");
        second->Execute("INSERT INTO u VALUES (1)");
        QCOMPARE(errorOf([&] { exec("INSERT INTO t VALUES (1, 'y')"); }), 3022);
        QCOMPARE(errorOf([&] { exec("INSERT INTO t SELECT 2, NULL"); }), 3314);
        m_ws->Rollback();
        QCOMPARE(count(db(), "t"), 0);
        QCOMPARE(count(*second, "u"), 0);
        QCOMPARE(countElsewhere(path(), "t"), 0);
        exec("INSERT INTO t VALUES (1, 'z')");  // and the file takes writes again
        QCOMPARE(countElsewhere(path(), "t"), 1);
    }

    // The transaction as a scope: left by an error it takes its writes back, nested in
    // another only its own; kept by Commit, it reaches the file; either way the workspace
    // is left with no transaction of it open.
    void transactionScope()
    {
        exec("CREATE TABLE t (a Integer)");
        QCOMPARE(errorOf([&] {
                     dao::Transaction trans(*m_ws);
                     exec("INSERT INTO t VALUES (1)");
                     exec("INSERT INTO nowhere VALUES (1)");
                     trans.Commit();
                 }),
                 dao::err::TableNotFound);
        QCOMPARE(count(db(), "t"), 0);
        QCOMPARE(errorOf([&] { m_ws->Rollback(); }), dao::err::NoTransaction);

        {
            dao::Transaction outer(*m_ws);
            exec("INSERT INTO t VALUES (1)");
            {
                dao::Transaction inner(*m_ws);
                exec("INSERT INTO t VALUES (2)");
            }
            {
                dao::Transaction inner(*m_ws);
                exec("INSERT INTO t VALUES (3)");
                inner.Commit();
            }
            QCOMPARE(countElsewhere(path(), "t"), 0);
            outer.Commit();
        }
        QCOMPARE(column(db(), "SELECT a FROM t ORDER BY a"), (QStringList{"1", "3"}));
        QCOMPARE(countElsewhere(path(), "t"), 2);
        QCOMPARE(errorOf([&] { m_ws->CommitTrans(); }), dao::err::NoTransaction);

        dao::Transaction early(*m_ws);
        exec("INSERT INTO t VALUES (4)");
        QVERIFY(early.Rollback());
        QVERIFY(!early.Rollback());
        QCOMPARE(count(db(), "t"), 2);
        QCOMPARE(errorOf([&] { m_ws->Rollback(); }), dao::err::NoTransaction);
    }

    // A full disk makes the engine end the transaction by itself: the rollback then finds
    // none, yet the full disk stays the error reported, and the workspace begins anew.
    void transactionEndedByTheEngine()
    {
        exec("CREATE TABLE t (a LongChar)");
        exec("PRAGMA max_page_count=1");  // the file may grow no further
        const QString big = QStringLiteral("INSERT INTO t VALUES (hex(randomblob(20000)))");
        {
            dao::Transaction trans(*m_ws);
            QVERIFY(failure([&] { exec(big); }));
            QVERIFY(!trans.Rollback());
        }
        const std::optional<VbError> e = failure([&] {
            dao::Transaction trans(*m_ws);
            exec("INSERT INTO t VALUES ('x')");
            exec(big);
            trans.Commit();
        });
        QVERIFY(e);
        QCOMPARE(e->Description(), QStringLiteral("database or disk is full"));
        QCOMPARE(errorOf([&] { m_ws->Rollback(); }), dao::err::NoTransaction);
        QCOMPARE(count(db(), "t"), 0);

        exec("PRAGMA max_page_count=1000000");
        dao::Transaction trans(*m_ws);
        exec(big);
        trans.Commit();
        QCOMPARE(countElsewhere(path(), "t"), 1);
    }

    // A commit the engine refuses while another connection reads: the error is the lock,
    // and the transaction is over in the engine too: its writes are not in the file, the
    // file is not held against the others, and the next transaction reaches the file.
    void refusedCommit()
    {
        exec("CREATE TABLE t (a Integer)");
        exec("INSERT INTO t VALUES (0)");
        sqlite3 *other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path()).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN; SELECT * FROM t;", nullptr, nullptr, nullptr), SQLITE_OK);
        {
            dao::Transaction trans(*m_ws);
            exec("INSERT INTO t VALUES (1)");
            QCOMPARE(errorOf([&] { trans.Commit(); }), dao::err::Locked);
        }
        QCOMPARE(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "INSERT INTO t VALUES (5)", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
        QCOMPARE(column(db(), "SELECT a FROM t ORDER BY a"), (QStringList{"0", "5"}));
        dao::Transaction trans(*m_ws);
        exec("INSERT INTO t VALUES (2)");
        trans.Commit();
        QCOMPARE(countElsewhere(path(), "t"), 3);
    }

    // ---------------------------------------------------------------- recordsets

    // An unfinished read must not hold a later write back from the file.
    void openRecordsetDoesNotHoldBackExecute()
    {
        exec("CREATE TABLE t (id Integer, v Integer)");
        m_ws->BeginTrans();
        for (int i = 0; i < 1000; ++i)
            exec(QStringLiteral("INSERT INTO t VALUES (%1, 0)").arg(i));
        m_ws->CommitTrans();
        auto rs = db().OpenRecordset("SELECT * FROM t ORDER BY id");
        QCOMPARE((*rs)["id"], Variant(0));
        exec("UPDATE t SET v=1");
        QCOMPARE(db().RecordsAffected(), 1000L);
        {
            dao::Workspace other;
            auto db2 = other.OpenDatabase(path());
            QCOMPARE(count(*db2, "t WHERE v=1"), 1000);
            db2->Execute("UPDATE t SET v=2 WHERE id=999");  // and the file is free for others
        }
        int rows = 0;
        for (; !rs->Eof(); rs->MoveNext()) {
            QCOMPARE((*rs)["id"], Variant(rows));
            ++rows;
        }
        QCOMPARE(rows, 1000);
    }

    void emptyRecordset()
    {
        exec("CREATE TABLE t (a Integer)");
        auto rs = db().OpenRecordset("SELECT * FROM t");
        QVERIFY(rs->Eof());
        QVERIFY(rs->Bof());
        QCOMPARE(rs->RecordCount(), 0);
        QCOMPARE(errorOf([&] { (*rs)[0]; }), dao::err::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->MoveNext(); }), dao::err::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->MoveFirst(); }), dao::err::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->MoveLast(); }), dao::err::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->Edit(); }), dao::err::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->Delete(); }), dao::err::NoCurrentRecord);
    }

    void navigation()
    {
        exec("CREATE TABLE t (Id Integer, Name VarChar(10))");
        for (int i = 1; i <= 5; ++i)
            exec(QStringLiteral("INSERT INTO t VALUES (%1, 'n%1')").arg(i));
        auto rs = db().OpenRecordset("SELECT * FROM t ORDER BY Id");
        QVERIFY(!rs->Eof());
        QVERIFY(!rs->Bof());
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->FieldCount(), 2);  // the row id the layer reads along is no field
        QCOMPARE(rs->Fields(0).Name(), QStringLiteral("Id"));
        QCOMPARE((*rs)["id"], Variant(1));
        QCOMPARE(rs->Fields("NAME").Value(), Variant("n1"));
        QCOMPARE((*rs)[1], Variant("n1"));
        rs->MoveNext();
        QCOMPARE((*rs)[0], Variant(2));
        rs->MovePrevious();
        QCOMPARE((*rs)[0], Variant(1));
        rs->MovePrevious();
        QVERIFY(rs->Bof());
        QVERIFY(!rs->Eof());
        QCOMPARE(errorOf([&] { (*rs)[0]; }), dao::err::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->MovePrevious(); }), dao::err::NoCurrentRecord);
        rs->MoveNext();
        QCOMPARE((*rs)[0], Variant(1));
        rs->MoveLast();
        QCOMPARE((*rs)[0], Variant(5));
        QCOMPARE(rs->RecordCount(), 5);
        rs->MoveNext();
        QVERIFY(rs->Eof());
        QCOMPARE(errorOf([&] { (*rs)["Id"]; }), dao::err::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->MoveNext(); }), dao::err::NoCurrentRecord);
        rs->MovePrevious();
        QCOMPARE((*rs)[0], Variant(5));
        rs->MoveFirst();
        QCOMPARE((*rs)[0], Variant(1));
        QCOMPARE(errorOf([&] { (*rs)["nope"]; }), dao::err::ItemNotFound);
        QCOMPARE(errorOf([&] { rs->Fields("nope"); }), dao::err::ItemNotFound);
        QCOMPARE(errorOf([&] { rs->Fields(2); }), dao::err::ItemNotFound);
        QCOMPARE(errorOf([&] { (*rs)[-1]; }), dao::err::ItemNotFound);
    }

    void addNewEditUpdateDelete()
    {
        exec("CREATE TABLE t (id Integer, n VarChar(20), d Date)");
        exec("INSERT INTO t VALUES (1, 'twin', NULL)");
        exec("INSERT INTO t VALUES (1, 'twin', NULL)");
        exec("INSERT INTO t VALUES (2, 'last', NULL)");
        auto rs = db().OpenRecordset("SELECT * FROM t");
        QVERIFY(rs->Updatable());
        QCOMPARE(errorOf([&] { rs->Update(); }), dao::err::UpdateWithoutEdit);
        QCOMPARE(errorOf([&] { rs->Fields("n").SetValue("x"); }), dao::err::UpdateWithoutEdit);

        rs->Edit();
        rs->Fields("n").SetValue("changed");
        QCOMPARE((*rs)["n"], Variant("changed"));
        rs->Update();
        QCOMPARE((*rs)["n"], Variant("changed"));
        QCOMPARE(column(db(), "SELECT n FROM t ORDER BY id, n"), (QStringList{"changed", "twin", "last"}));

        rs->Edit();
        rs->Fields("n").SetValue("cancelled");
        rs->CancelUpdate();
        QCOMPARE((*rs)["n"], Variant("changed"));

        const QDateTime when(QDate(2004, 3, 5), QTime(10, 20, 30));
        rs->AddNew();
        rs->Fields("id").SetValue(3);
        rs->Fields("n").SetValue("new");
        rs->Fields("d").SetValue(when);
        QCOMPARE((*rs)["d"], Variant(when));
        rs->Update();
        QCOMPARE(column(db(), "SELECT d FROM t WHERE id=3"), QStringList{"5.3.2004 10:20:30"});
        QCOMPARE(column(db(), "SELECT n FROM t WHERE d='2004-03-05 10:20:30'"), QStringList{"new"});

        rs->MoveFirst();
        rs->MoveNext();  // the second twin
        QCOMPARE((*rs)["n"], Variant("twin"));
        rs->Delete();
        QCOMPARE(errorOf([&] { (*rs)["n"]; }), dao::err::RecordDeleted);
        QCOMPARE(errorOf([&] { rs->Edit(); }), dao::err::RecordDeleted);
        QCOMPARE(column(db(), "SELECT n FROM t ORDER BY id, n"), (QStringList{"changed", "last", "new"}));
        rs->MoveNext();
        QCOMPARE((*rs)["n"], Variant("last"));
        rs->MovePrevious();  // steps over the deleted record
        QCOMPARE((*rs)["n"], Variant("changed"));
        rs->MoveLast();
        rs->Delete();
        rs->MovePrevious();
        QCOMPARE((*rs)["n"], Variant("changed"));
        QCOMPARE(column(db(), "SELECT n FROM t ORDER BY id, n"), (QStringList{"changed", "new"}));
    }

    // Edit and Delete find their row by its row id, never by its values.
    void changesReachOnlyTheirRow()
    {
        exec("CREATE TABLE t (id Integer, n VarChar(20))");
        for (const char *row : {"1, 'twin'", "1, 'twin'", "2, 'a'", "3, 'b'", "3, 'b'"})
            exec(QStringLiteral("INSERT INTO t VALUES (%1)").arg(QLatin1String(row)));
        auto rs = db().OpenRecordset("SELECT * FROM t ORDER BY id");
        rs->MoveNext();
        rs->Edit();
        rs->Fields("n").SetValue("second");
        rs->Update();
        rs->MoveNext();
        rs->MoveNext();
        rs->Edit();
        rs->Fields(1).SetValue("B");
        rs->Update();
        rs->MoveNext();
        rs->Delete();
        QCOMPARE(column(db(), "SELECT n FROM t ORDER BY _rowid_"), (QStringList{"twin", "second", "a", "B"}));
    }

    void notUpdatable_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("type");
        QTest::newRow("join") << "SELECT a.id, b.n FROM a INNER JOIN b ON a.id=b.id" << int(dao::dbOpenDynaset);
        QTest::newRow("join one side") << "SELECT a.* FROM a, b WHERE a.id=b.id" << int(dao::dbOpenDynaset);
        QTest::newRow("count") << "SELECT count(*) FROM a" << int(dao::dbOpenDynaset);
        QTest::newRow("group by") << "SELECT n FROM a GROUP BY n" << int(dao::dbOpenDynaset);
        QTest::newRow("group by lower case") << "select n from a where id>0 group  by n" << int(dao::dbOpenDynaset);
        QTest::newRow("distinct") << "SELECT DISTINCT n FROM a" << int(dao::dbOpenDynaset);
        QTest::newRow("union") << "SELECT n FROM a UNION SELECT n FROM b" << int(dao::dbOpenDynaset);
        QTest::newRow("expression") << "SELECT id + 1 FROM a" << int(dao::dbOpenDynaset);
        QTest::newRow("snapshot") << "SELECT * FROM a" << int(dao::dbOpenSnapshot);
    }
    void notUpdatable()
    {
        QFETCH(QString, sql);
        QFETCH(int, type);
        exec("CREATE TABLE a (id Integer, n VarChar(10))");
        exec("CREATE TABLE b (id Integer, n VarChar(10))");
        exec("INSERT INTO a VALUES (1, 'x')");
        exec("INSERT INTO a VALUES (2, 'x')");
        exec("INSERT INTO b VALUES (1, 'y')");
        auto rs = db().OpenRecordset(sql, type);
        QVERIFY(!rs->Eof());
        QVERIFY(!rs->Updatable());
        QCOMPARE(errorOf([&] { rs->Edit(); }), dao::err::ReadOnly);
        QCOMPARE(errorOf([&] { rs->AddNew(); }), dao::err::ReadOnly);
        QCOMPARE(errorOf([&] { rs->Delete(); }), dao::err::ReadOnly);
        QCOMPARE(column(db(), "SELECT n FROM a"), (QStringList{"x", "x"}));
    }

    void groupedSubqueryStaysUpdatable()
    {
        exec("CREATE TABLE a (id Integer, n VarChar(10))");
        exec("INSERT INTO a VALUES (1, 'x')");
        auto rs = db().OpenRecordset("SELECT * FROM a WHERE n IN (SELECT n FROM a GROUP BY n) AND n <> 'group by'");
        QVERIFY(rs->Updatable());
    }

    // A change through the recordset reaches its row, or says it could not.
    void editAfterTheKeyChanged()
    {
        exec("CREATE TABLE k (Inter Integer NOT NULL, Nazev VarChar(20), CONSTRAINT k_PK PRIMARY KEY (Inter))");
        exec("INSERT INTO k VALUES (1, 'a')");
        exec("INSERT INTO k VALUES (2, 'b')");
        auto rs = db().OpenRecordset("SELECT * FROM k ORDER BY Inter");
        rs->Edit();
        rs->Fields("Inter").SetValue(10);
        rs->Update();
        rs->Edit();
        rs->Fields("Nazev").SetValue(QStringLiteral("changed"));
        rs->Update();
        QCOMPARE(scalar(db(), "SELECT Nazev FROM k WHERE Inter=10").toString(), QStringLiteral("changed"));

        rs->MoveNext();
        exec("DELETE FROM k WHERE Inter=2");
        rs->Edit();
        rs->Fields("Nazev").SetValue(QStringLiteral("lost"));
        QCOMPARE(errorOf([&] { rs->Update(); }), dao::err::RecordDeleted);
    }

    void valuesTakeTheColumnType()
    {
        exec("CREATE TABLE v (id Integer, d Double, dt Date, b Bit, n Integer, c VarChar(10))");
        exec("INSERT INTO v (id) VALUES (1)");
        auto rs = db().OpenRecordset("SELECT * FROM v");
        rs->Edit();
        rs->Fields("d").SetValue(QStringLiteral("1,5"));
        rs->Fields("dt").SetValue(QStringLiteral("1.2.2020"));
        rs->Fields("b").SetValue(QStringLiteral("True"));
        rs->Fields("n").SetValue(QStringLiteral(""));
        rs->Fields("c").SetValue(12);
        rs->Update();
        QCOMPARE(scalar(db(), "SELECT sum(d) FROM v").toDouble(), 1.5);
        QCOMPARE(scalar(db(), "SELECT count(*) FROM v WHERE dt >= '2020-02-01 00:00:00'").toLong(), 1);
        QCOMPARE(scalar(db(), "SELECT count(*) FROM v WHERE b = 1").toLong(), 1);
        QVERIFY(scalar(db(), "SELECT n FROM v").IsNull());
        QCOMPARE(scalar(db(), "SELECT typeof(c) FROM v").toString(), QStringLiteral("text"));
        rs->Edit();
        rs->Fields("n").SetValue(QStringLiteral("abc"));
        QCOMPARE(errorOf([&] { rs->Update(); }), dao::err::ConversionError);
    }

    void closeEndsRecordsets()
    {
        exec("CREATE TABLE t (a Integer)");
        exec("INSERT INTO t VALUES (1)");
        exec("INSERT INTO t VALUES (2)");
        auto rs = db().OpenRecordset("SELECT * FROM t");
        auto read = db().OpenRecordset("SELECT * FROM t");
        read->MoveLast();
        dao::TableDef &def = db().TableDefs()["t"];
        db().Close();
        QVERIFY(!db().IsOpen());
        for (dao::Recordset *r : {rs.get(), read.get()}) {
            QCOMPARE(errorOf([&] { (*r)[0]; }), dao::err::ObjectInvalid);
            QCOMPARE(errorOf([&] { r->MoveNext(); }), dao::err::ObjectInvalid);
            QCOMPARE(errorOf([&] { r->MoveFirst(); }), dao::err::ObjectInvalid);
            QCOMPARE(errorOf([&] { r->Fields(0); }), dao::err::ObjectInvalid);
            QCOMPARE(errorOf([&] { r->Edit(); }), dao::err::ObjectInvalid);
            QCOMPARE(errorOf([&] { r->AddNew(); }), dao::err::ObjectInvalid);
        }
        QCOMPARE(errorOf([&] { exec("DELETE FROM t"); }), dao::err::ObjectInvalid);
        QCOMPARE(errorOf([&] { db().OpenRecordset("SELECT * FROM t"); }), dao::err::ObjectInvalid);
        QCOMPARE(errorOf([&] { def.SetName("u"); }), dao::err::ObjectInvalid);
        rs->Close();
        rs.reset();
        db().Close();  // twice is harmless
        QCOMPARE(countElsewhere(path(), "t"), 2);
    }

    void tableDefsSurviveRefresh()
    {
        exec("CREATE TABLE a (x Integer)");
        exec("CREATE TABLE b (y Integer)");
        dao::TableDef &a = db().TableDefs()["a"];
        dao::TableDef &b = db().TableDefs()["b"];
        dao::Field x = a.Fields("x");
        exec("DROP TABLE b");
        exec("CREATE TABLE c (z Integer)");
        db().TableDefs().Refresh();
        QCOMPARE(&db().TableDefs()["a"], &a);
        QCOMPARE(x.Name(), QStringLiteral("x"));
        QCOMPARE(b.Name(), QStringLiteral("b"));
        QCOMPARE(errorOf([&] { b.SetName("bb"); }), dao::err::ObjectInvalid);
        QCOMPARE(db().TableDefs().Count(), 2);
    }

    void textTypesKeepTexts()
    {
        exec("CREATE TABLE m (a Memo, b String(10), c Note, d VarChar(5))");
        exec("INSERT INTO m VALUES ('007', '1e3', '0123', '08')");
        auto rs = db().OpenRecordset("SELECT * FROM m");
        QCOMPARE((*rs)[0].toString(), QStringLiteral("007"));
        QCOMPARE((*rs)[1].toString(), QStringLiteral("1e3"));
        QCOMPARE((*rs)[2].toString(), QStringLiteral("0123"));
        QCOMPARE((*rs)[3].toString(), QStringLiteral("08"));
        dao::TableDef &m = db().TableDefs()["m"];
        QCOMPARE(m.Fields("a").Type(), int(dao::dbMemo));
        QCOMPARE(m.Fields("b").Type(), int(dao::dbText));
        QCOMPARE(m.Fields("b").Size(), 10);
    }

    void bareTableName()
    {
        exec("CREATE TABLE Sekce (Sekce Byte, Nazev VarChar(30))");
        exec("INSERT INTO Sekce VALUES (1, 'Knihy')");
        auto rs = db().OpenRecordset("Sekce");
        QCOMPARE((*rs)["nazev"].toString(), QStringLiteral("Knihy"));
        QVERIFY(rs->Updatable());
        QCOMPARE(errorOf([&] { db().OpenRecordset("Sekce; DROP TABLE Sekce"); }), dao::err::SyntaxError);
    }

    void closingTheWorkspaceClosesItsDatabases()
    {
        exec("CREATE TABLE t (a Integer)");
        m_ws->Close();
        QVERIFY(!db().IsOpen());
        QCOMPARE(errorOf([&] { exec("INSERT INTO t VALUES (1)"); }), dao::err::ObjectInvalid);
    }

    void recordsetOutlivesItsDatabase()
    {
        exec("CREATE TABLE t (a Integer)");
        exec("INSERT INTO t VALUES (1)");
        exec("INSERT INTO t VALUES (2)");
        auto rs = db().OpenRecordset("SELECT * FROM t");
        m_db.reset();
        QCOMPARE(errorOf([&] { rs->MoveNext(); }), dao::err::ObjectInvalid);
        QCOMPARE(errorOf([&] { (*rs)[0]; }), dao::err::ObjectInvalid);
        rs.reset();

        // and a database that outlives its workspace
        m_db = m_ws->OpenDatabase(path());
        auto rs2 = db().OpenRecordset("SELECT * FROM t");
        m_ws.reset();
        QCOMPARE((*rs2)[0], Variant(1));
        exec("INSERT INTO t VALUES (3)");
        QCOMPARE(count(db(), "t"), 3);
    }

    // ---------------------------------------------------------------- texts and dates kept as they were

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophes") << "O'Brien's ''quoted'' '";
        QTest::newRow("double quotes") << "say \"hi\" \"\"";
        QTest::newRow("czech") << "Příliš žluťoučký kůň úpěl ďábelské ódy ŘŠČŽÝÁÍÉŮÚŤĎŇ";
        QTest::newRow("chinese") << "中文字符 汉字";
        QTest::newRow("tabs") << "a\tb\t\tc\t";
        QTest::newRow("mixed") << "'Č'\t中 \"x\" ; DELETE FROM t";
        QTest::newRow("looks like a number") << "007";
        QTest::newRow("looks like a date") << "5.3.2004";
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        exec("CREATE TABLE t (id Integer, n VarChar(100), m LongChar)");
        exec(QStringLiteral("INSERT INTO t VALUES (1, %1, %1)").arg(sqlText(text)));
        auto rs = db().OpenRecordset("SELECT * FROM t");
        rs->AddNew();
        rs->Fields("id").SetValue(2);
        rs->Fields("n").SetValue(text);
        rs->Fields("m").SetValue(text);
        rs->Update();
        rs->Edit();
        rs->Fields("m").SetValue(text + text);
        rs->Update();
        QCOMPARE((*rs)["m"], Variant(text + text));
        rs = db().OpenRecordset("SELECT n, m FROM t ORDER BY id");
        QCOMPARE((*rs)[0], Variant(text));
        QCOMPARE((*rs)[1], Variant(text + text));
        rs->MoveNext();
        QCOMPARE((*rs)[0], Variant(text));
        QCOMPARE((*rs)[1], Variant(text));
        QCOMPARE(count(db(), "t WHERE n=" + sqlText(text)), 2);
    }

    // A time that the local clock skips (spring forward in Prague) is still a time of the
    // catalog and must be stored as it is.
    void dateInClockChangeGap()
    {
        const QByteArray savedTz = qgetenv("TZ");
        qputenv("TZ", "Europe/Prague");
        tzset();
        const double ole = 38074 + 2.5 / 24;  // 28.3.2004 2:30
        exec("CREATE TABLE t (d Date)");
        auto rs = db().OpenRecordset("SELECT * FROM t");
        rs->AddNew();
        rs->Fields(0).SetValue(Variant::fromDate(ole));
        rs->Update();
        const QStringList stored = column(db(), "SELECT d || '' FROM t");
        const Variant back = scalar(db(), "SELECT d FROM t");
        if (savedTz.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", savedTz);
        tzset();
        QCOMPARE(stored, QStringList{"2004-03-28 02:30:00"});
        QCOMPARE(back.VarType(), vbDate);
        QCOMPARE(back.toDate(), ole);
    }

    // ---------------------------------------------------------------- compacting

    void compactDatabase()
    {
        createDefinice();
        m_db->Close();
        dao::CompactDatabase(path(), path("copy.db"));
        auto copy = m_ws->OpenDatabase(path("copy.db"));
        QCOMPARE(column(*copy, "SELECT Nazev FROM Definice ORDER BY Nazev"),
                 (QStringList{"cukr", "čaj", "Dům", "hrad", "chata", "ivan", "zámek"}));
        QCOMPARE(column(*copy, "SELECT Datum FROM Definice ORDER BY id"),
                 (QStringList{"5.3.2004 10:20:30", "6.3.2004", "Null", "1.2.2000", "Null", "5.3.2004", "Null"}));
        copy->Close();
        QCOMPARE(errorOf([&] { dao::CompactDatabase(path(), path("copy.db")); }), dao::err::DatabaseExists);
        QCOMPARE(errorOf([&] { dao::CompactDatabase(path("nope.db"), path("copy2.db")); }), dao::err::FileNotFound);
        QVERIFY(!QFile::exists(path("copy2.db")));
    }

    // A copy of an open database holds what was committed, not what another connection
    // has begun to write; errors as for compacting.
    void copyDatabase()
    {
        createDefinice();
        dao::Workspace other;
        auto writer = other.OpenDatabase(path());
        other.BeginTrans();
        writer->Execute(QStringLiteral("DELETE FROM Definice WHERE id > 1"));
        dao::CopyDatabase(path(), path("copy.db"));
        other.Rollback();
        auto copy = m_ws->OpenDatabase(path("copy.db"));
        QCOMPARE(column(*copy, "SELECT count(*) FROM Definice"), QStringList{"7"});
        copy->Close();
        QCOMPARE(errorOf([&] { dao::CopyDatabase(path(), path("copy.db")); }), dao::err::DatabaseExists);
        QCOMPARE(errorOf([&] { dao::CopyDatabase(path("nope.db"), path("copy2.db")); }), dao::err::FileNotFound);
        {
            QFile text(path("text.db"));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write(QByteArray("no database\n").repeated(400));
        }
        QCOMPARE(errorOf([&] { dao::CopyDatabase(path("text.db"), path("copy2.db")); }), dao::err::UnrecognizedFormat);
        QVERIFY(!QFile::exists(path("copy2.db")));
    }

    // A database written over another: the target stays the file it was, so a connection
    // open on it reads the new content; a writer that holds on refuses it, with the
    // target as it was; a source that is no database is refused before anything is written.
    void overwriteDatabase()
    {
        createDefinice();
        m_db->Close();
        dao::CopyDatabase(path(), path("source.db"));
        {
            auto source = m_ws->OpenDatabase(path("source.db"));
            source->Execute(QStringLiteral("DELETE FROM Definice WHERE id > 2"));
            source->Execute(QStringLiteral("CREATE TABLE Nova (x Integer)"));
        }
        dao::Workspace other;
        auto reader = other.OpenDatabase(path());
        QCOMPARE(column(*reader, "SELECT count(*) FROM Definice"), QStringList{"7"});
        const auto inode = [](const QString &file) {
            struct stat st {};
            return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? st.st_ino : ino_t(0);
        };
        const auto born = inode(path());

        other.BeginTrans();
        reader->Execute(QStringLiteral("UPDATE Definice SET Nazev='drží' WHERE id=1"));
        QCOMPARE(errorOf([&] { dao::OverwriteDatabase(path("source.db"), path()); }), dao::err::Locked);
        other.Rollback();
        QCOMPARE(column(*reader, "SELECT count(*) FROM Definice"), QStringList{"7"});

        {
            QFile text(path("text.db"));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write(QByteArray("no database\n").repeated(400));
        }
        QCOMPARE(errorOf([&] { dao::OverwriteDatabase(path("text.db"), path()); }), dao::err::UnrecognizedFormat);
        QCOMPARE(errorOf([&] { dao::OverwriteDatabase(path("nope.db"), path()); }), dao::err::FileNotFound);
        QCOMPARE(errorOf([&] { dao::OverwriteDatabase(path("source.db"), path("nope.db")); }), dao::err::FileNotFound);
        QCOMPARE(column(*reader, "SELECT count(*) FROM Definice"), QStringList{"7"});

        dao::OverwriteDatabase(path("source.db"), path());
        QCOMPARE(column(*reader, "SELECT count(*) FROM Definice"), QStringList{"2"});
        QCOMPARE(column(*reader, "SELECT count(*) FROM Nova"), QStringList{"0"});
        QCOMPARE(inode(path()), born);
        QVERIFY(!QFile::exists(path() + QStringLiteral("-journal")));
    }

    // The same content, whatever the files' layout and counters; any row, value or kind
    // of value that differs makes them differ, but in a table left out.
    void sameContent_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("same");
        QTest::newRow("copied") << "" << true;
        QTest::newRow("compacted after writes undone") << "vacuum" << true;
        QTest::newRow("a value") << "UPDATE Definice SET Nazev='Hrad' WHERE id=4" << false;
        QTest::newRow("a letter in another case") << "UPDATE Definice SET Nazev='Ivan' WHERE id=1" << false;
        QTest::newRow("the same bytes as a blob") << "UPDATE Definice SET Popis=x'78' WHERE id=1" << false;
        QTest::newRow("a row more") << "INSERT INTO Definice (id, Nazev) VALUES (8, 'nový')" << false;
        QTest::newRow("an index") << "CREATE INDEX ix ON Definice (Kod)" << false;
        QTest::newRow("in a table left out") << "INSERT INTO S_Grid VALUES ('x')" << true;
        QTest::newRow("a table more") << "CREATE TABLE Dalsi (x Integer)" << false;
    }
    void sameContent()
    {
        QFETCH(QString, change);
        QFETCH(bool, same);
        createDefinice();
        exec("CREATE TABLE S_Grid (a VarChar(10))");
        m_db->Close();
        dao::CopyDatabase(path(), path("copy.db"));
        {
            auto copy = m_ws->OpenDatabase(path("copy.db"));
            if (change == QLatin1String("vacuum")) {
                copy->Execute(QStringLiteral("UPDATE Definice SET Nazev='jiný' WHERE id=1"));
                copy->Execute(QStringLiteral("UPDATE Definice SET Nazev='ivan' WHERE id=1"));
                copy->Execute(QStringLiteral("VACUUM"));
            } else if (!change.isEmpty()) {
                copy->Execute(change);
            }
        }
        QCOMPARE(dao::SameContent(path(), path("copy.db"), {QStringLiteral("s_grid")}), same);
        QCOMPARE(dao::SameContent(path("copy.db"), path(), {QStringLiteral("s_grid")}), same);
    }

    // Rolling the outermost transaction back leaves the file byte for byte as it was.
    void rollbackLeavesTheFileAsItWas()
    {
        createDefinice();
        const auto bytes = [&] {
            QFile f(path());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray before = bytes();
        m_ws->BeginTrans();
        exec("ALTER TABLE Definice RENAME TO Definice_old");
        exec("CREATE TABLE Definice (x Integer)");
        m_ws->BeginTrans();
        exec("INSERT INTO Definice VALUES (1)");
        m_ws->CommitTrans();
        m_ws->Rollback();
        QCOMPARE(bytes(), before);
        QCOMPARE(column(db(), "SELECT count(*) FROM Definice"), QStringList{"7"});
    }
};

QTEST_GUILESS_MAIN(TestDao)
#include "tst_dao.moc"
