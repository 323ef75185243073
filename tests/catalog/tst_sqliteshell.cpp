// The catalog in the system's sqlite3 shell with libjetcz.so loaded: the file checks,
// sorts, matches and formats there as the program's own queries do.

#include "dao.h"
#include "data/overviewreader.h"
#include "gencatalog.h"
#include "testsupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class TestSqliteShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void withoutExtension();
    void integrityCheck_data();
    void integrityCheck();
    void integrityCheckWithTheOverviewIndex();
    void czechOrder();
    void sameAnswers_data();
    void sameAnswers();

private:
    struct Run {
        int exitCode = -1;
        QStringList lines;
        QString errors;
    };
    // The statements in the shell on a file, after loading the extension when asked.
    Run shell(const QString &file, const QString &sql, bool load = true) const;
    // The program's answer: the first column of each record, as text.
    QStringList program(const QString &sql) const;

    testsupport::ProgramFolder m_folder;
    QString m_shell;
    QString m_extension;
    QString m_catalog;
};

TestSqliteShell::Run TestSqliteShell::shell(const QString &file, const QString &sql, bool load) const
{
    QProcess p;
    p.start(m_shell, {QStringLiteral("-batch"), QStringLiteral("-bail"), file});
    if (!p.waitForStarted(10000))
        return {};
    QByteArray input;
    if (load)
        input += ".load " + QFile::encodeName(m_extension) + '\n';
    input += sql.toUtf8() + '\n';
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        p.kill();
    Run r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.errors = QString::fromUtf8(p.readAllStandardError());
    r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
    if (!r.lines.isEmpty() && r.lines.last().isEmpty())
        r.lines.removeLast();
    return r;
}

QStringList TestSqliteShell::program(const QString &sql) const
{
    dao::Workspace ws;
    auto db = ws.OpenDatabase(m_catalog);
    auto rs = db->OpenRecordset(sql, dao::dbOpenSnapshot);
    QStringList out;
    for (; !rs->Eof(); rs->MoveNext())
        out << rs->Fields(0).Value().toString();
    return out;
}

void TestSqliteShell::initTestCase()
{
    m_shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (m_shell.isEmpty())
        QSKIP("the sqlite3 shell is not installed (Debian package sqlite3)");
    m_extension = QDir(testsupport::builtProgramFolder()).filePath(QStringLiteral("libjetcz.so"));
    QVERIFY2(QFileInfo::exists(m_extension), qPrintable(m_extension));
    QVERIFY(m_folder.isValid());

    m_catalog = m_folder.file(QStringLiteral("QIRData.mdb"));
    GenOptions options;
    options.records = 400;
    options.sections = 2;
    CreateCatalogFile(m_folder.file(QStringLiteral("QIRData.upg")), m_catalog, options);
    // Texts where Czech order, case and the old patterns decide, beside the generated ones;
    // dates in the forms the old engine's format reads.
    dao::Workspace ws;
    auto db = ws.OpenDatabase(m_catalog);
    const char *const rows[] = {
        "1001, 'Chata', '5.3.2024'", "1002, 'hrad', '05/03/2024'", "1003, 'Ihned', '2024-03-05'",
        "1004, 'cibule', NULL",      "1005, 'Čaj', 'neděle'",      "1006, 'dům', NULL",
        "1007, 'CHLÉB', NULL",       "1008, 'ABC', NULL",          "1009, 'xabcx', NULL",
        "1010, 'XAbCy', NULL",       "1011, 'číslo 7', NULL",      "1012, 'Cukr', NULL",
    };
    for (const char *row : rows)
        db->Execute(QStringLiteral("INSERT INTO Katalog (Inter, Pol1c, Pol9d, Sekce) VALUES (%1, 1)")
                        .arg(QString::fromUtf8(row)));
}

void TestSqliteShell::withoutExtension()
{
    // What the extension is for: the shell alone cannot even check the file.
    const Run r = shell(m_catalog, QStringLiteral("PRAGMA integrity_check;"), false);
    QVERIFY(r.exitCode != 0 || r.lines != QStringList{QStringLiteral("ok")});
    QVERIFY2(r.errors.contains(QLatin1String("no such collation sequence: JETCZ")), qPrintable(r.errors));
}

void TestSqliteShell::integrityCheck_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("catalog") << QStringLiteral("QIRData.mdb");
    QTest::newRow("language") << QStringLiteral("Lang.mdb");
}

void TestSqliteShell::integrityCheck()
{
    QFETCH(QString, file);
    if (!QFileInfo::exists(m_folder.file(file)))
        QSKIP("the built program folder has no such file");
    const Run r = shell(m_folder.file(file), QStringLiteral("PRAGMA integrity_check;"));
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.lines, QStringList{QStringLiteral("ok")});
}

void TestSqliteShell::integrityCheckWithTheOverviewIndex()
{
    // The overview's reader makes the index of its order on the way.
    const QString copy = m_folder.file(QStringLiteral("prehled.mdb"));
    QVERIFY(QFile::copy(m_catalog, copy));
    OverviewReader reader;
    bool done = false;
    connect(&reader, &OverviewReader::finished, this, [&done] { done = true; });
    connect(&reader, &OverviewReader::failed, this, [](const VbError &e) { QFAIL(e.what()); });
    OverviewReader::Request request;
    request.soubor = copy;
    request.dotaz = SestavDotazPrehledu(
        1, {DefinicePole{QStringLiteral("Pol1"), QStringLiteral("C"), QString(), QStringLiteral("L"), true, false}});
    reader.start(request);
    QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
    const Run index = shell(copy, QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND substr(name, 1, 15) = 'Katalog_Prehled';"));
    QCOMPARE(index.lines, QStringList{QStringLiteral("Katalog_Prehled_Pol1C")});
    const Run r = shell(copy, QStringLiteral("PRAGMA integrity_check;"));
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors));
    QCOMPARE(r.lines, QStringList{QStringLiteral("ok")});
}

void TestSqliteShell::czechOrder()
{
    const QString sql = QStringLiteral("SELECT Pol1c FROM Katalog WHERE Pol1c IS NOT NULL ORDER BY Pol1c, Inter;");
    const Run r = shell(m_catalog, sql);
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors));
    QCOMPARE(r.lines, program(sql));
    QVERIFY(r.lines.size() > 400);

    // Czech, case-insensitive: c < Č < d, h < ch < i.
    const auto at = [&r](const char *text) { return r.lines.indexOf(QString::fromUtf8(text)); };
    QVERIFY(at("cibule") >= 0);
    QVERIFY(at("cibule") < at("Cukr"));
    QVERIFY(at("Cukr") < at("Čaj"));
    QVERIFY(at("Čaj") < at("číslo 7"));
    QVERIFY(at("číslo 7") < at("dům"));
    QVERIFY(at("dům") < at("hrad"));
    QVERIFY(at("hrad") < at("Chata"));
    QVERIFY(at("Chata") < at("CHLÉB"));
    QVERIFY(at("CHLÉB") < at("Ihned"));
}

void TestSqliteShell::sameAnswers_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("expectedRows");  // -1: the program's answer alone decides
    QTest::newRow("like contains") << QStringLiteral("SELECT Inter FROM Katalog WHERE Pol1c LIKE '*abc*' ORDER BY Inter;") << 3;
    QTest::newRow("like first letter") << QStringLiteral("SELECT Inter FROM Katalog WHERE Pol1c LIKE 'č*' ORDER BY Inter;") << -1;
    QTest::newRow("like digit") << QStringLiteral("SELECT Inter FROM Katalog WHERE Pol1c LIKE '*#' ORDER BY Inter;") << -1;
    QTest::newRow("like set") << QStringLiteral("SELECT Inter FROM Katalog WHERE Pol1c LIKE '[a-c]*' ORDER BY Inter;") << -1;
    QTest::newRow("like no percent") << QStringLiteral("SELECT Inter FROM Katalog WHERE Pol1c LIKE '%' ORDER BY Inter;") << 0;
    QTest::newRow("format yyyymmdd")
        << QStringLiteral("SELECT Inter || ' ' || ifnull(format(Pol8d, \"yyyymmdd\"), '-') FROM Katalog ORDER BY Inter;") << -1;
    QTest::newRow("format text dates")
        << QStringLiteral("SELECT format(Pol9d, \"yyyymmdd\") FROM Katalog WHERE Inter IN (1001, 1002, 1003, 1005) ORDER BY Inter;")
        << 4;
    QTest::newRow("format dd/mm/yyyy")
        << QStringLiteral("SELECT Inter || ' ' || ifnull(format(Pol9d, \"dd/mm/yyyy\"), '-') FROM Katalog ORDER BY Inter;") << -1;
    QTest::newRow("format number")
        << QStringLiteral("SELECT Inter || ' ' || ifnull(format(Pol5n, \"#\"), '-') FROM Katalog ORDER BY Inter;") << -1;
    QTest::newRow("val and str")
        << QStringLiteral("SELECT Inter || ' ' || ifnull(str(val(Pol1c)), '-') FROM Katalog ORDER BY Inter;") << -1;
}

void TestSqliteShell::sameAnswers()
{
    QFETCH(QString, sql);
    QFETCH(int, expectedRows);
    const Run r = shell(m_catalog, sql);
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors));
    QCOMPARE(r.exitCode, 0);
    const QStringList expected = program(sql);
    QCOMPARE(r.lines, expected);
    if (expectedRows >= 0)
        QCOMPARE(r.lines.size(), expectedRows);
    else
        QVERIFY(!r.lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestSqliteShell)
#include "tst_sqliteshell.moc"
