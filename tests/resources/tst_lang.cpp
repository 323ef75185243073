// The language table against the code: every message the program uses has its row, with
// the code's Czech text and an English and a Chinese translation; rows are numbered
// without gaps, since messages are found by position. Also the literal scanner and the
// table builder's refusal of a source that would shift the messages.
#include "dao.h"
#include "messagescan.h"
#include "testsupport.h"

#include <QProcess>
#include <QtTest>

namespace {

struct LangRow {
    int id = 0;
    QString zaklad, us, chi;
};

QString text(const Variant &v)
{
    return v.IsNull() ? QString() : v.toString();
}

std::vector<LangRow> readLangDb(const QString &path)
{
    dao::Workspace ws(QStringLiteral("admin"));
    auto db = ws.OpenDatabase(path, false, true);
    auto rs = db->OpenRecordset(QStringLiteral("select id, zaklad, us, chi from Jazyky order by id"),
                                dao::dbOpenSnapshot);
    std::vector<LangRow> rows;
    for (; !rs->Eof(); rs->MoveNext())
        rows.push_back({(*rs)["id"].toLong(), text((*rs)["zaklad"]), text((*rs)["us"]), text((*rs)["chi"])});
    return rows;
}

// "240 at catalog/x.cpp:12", for failure lists.
QString firstUse(int number, const std::map<QString, std::vector<messagescan::Use>> &texts)
{
    return QStringLiteral("%1 at %2").arg(number).arg(messagescan::where(texts.begin()->second.front()));
}

QString describe(const std::vector<messagescan::Use> &uses)
{
    QStringList parts;
    for (const auto &use : uses)
        parts << QStringLiteral("%1:%2:%3").arg(use.line).arg(use.message.number).arg(use.message.text);
    return parts.join(QLatin1Char('|'));
}

}  // namespace

class TestLang : public QObject
{
    Q_OBJECT

    std::vector<LangRow> m_rows;
    messagescan::UsesByNumber m_code;

    // One block of a failure report: a heading and the offending messages, one a line.
    static QString listing(const QString &what, const QStringList &problems)
    {
        return problems.isEmpty() ? QString() : what + QStringLiteral(":\n  ") + problems.join(QStringLiteral("\n  ")) + u'\n';
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString path = testsupport::builtProgramFolder() + QStringLiteral("/Lang.mdb");
        QVERIFY2(QFile::exists(path), qPrintable(path));
        m_rows = readLangDb(path);
        m_code = messagescan::byNumber(messagescan::scanTree(QStringLiteral(OSKAL_SOURCE_DIR)));
        QVERIFY2(!m_code.empty(), "no message literal found in the program's sources");
    }

    void rowsNumberedWithoutGaps()
    {
        QStringList problems;
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].id != int(i) + 1)
                problems << QStringLiteral("row %1 has id %2").arg(i + 1).arg(m_rows[i].id);
        const QString report = listing(QStringLiteral("Jazyky must number its rows 1, 2, 3 ..."), problems.mid(0, 20));
        QVERIFY2(report.isEmpty(), qPrintable(report));
    }

    void everyMessageHasTranslatedRow()
    {
        QStringList missing, untranslated;
        for (const auto &[number, texts] : m_code) {
            if (number > int(m_rows.size()) || m_rows[size_t(number) - 1].id != number) {
                missing << firstUse(number, texts);
                continue;
            }
            const LangRow &row = m_rows[size_t(number) - 1];
            QStringList empty;
            if (row.zaklad.isEmpty())
                empty << QStringLiteral("zaklad");
            if (row.us.isEmpty())
                empty << QStringLiteral("us");
            if (row.chi.isEmpty())
                empty << QStringLiteral("chi");
            if (!empty.isEmpty())
                untranslated << firstUse(number, texts) + QStringLiteral(" (empty: %1)").arg(empty.join(QStringLiteral(", ")));
        }
        const QString report = listing(QStringLiteral("messages without a row in resources/lang/Jazyky.tsv"), missing)
                               + listing(QStringLiteral("messages whose row lacks a text"), untranslated);
        QVERIFY2(report.isEmpty(), qPrintable(report));
    }

    // The few numbers that the program writes with a second Czech text in one place (an
    // accelerator, a blank, a longer caption); the table holds the other, and the build
    // check keeps warning about them. Any other text that differs from the table fails.
    void codeCzechIsTableCzech()
    {
        static const std::multimap<int, QString> secondTexts = {
            {7, QStringLiteral("došlo k chybě")},        {17, QStringLiteral("&Konec")},
            {18, QStringLiteral("&OK")},                 {20, QStringLiteral("&Uložit")},
            {145, QStringLiteral("Náhledy a dokumenty")}, {274, QStringLiteral("Přidat náhled")},
            {305, QStringLiteral(" záznamů")},           {403, QStringLiteral("Změnit náhled")},
            {406, QStringLiteral("Zobrazení")},          {449, QStringLiteral("Vytištěno záznamů:")},
            {450, QStringLiteral("Strana")},
        };
        QStringList wrong;
        for (const auto &[number, texts] : m_code) {
            if (number > int(m_rows.size()))
                continue;  // reported as a missing row
            const QString &zaklad = m_rows[size_t(number) - 1].zaklad;
            for (const auto &[czech, uses] : texts) {
                const auto [first, last] = secondTexts.equal_range(number);
                if (czech == zaklad || std::any_of(first, last, [&](const auto &e) { return e.second == czech; }))
                    continue;
                wrong << QStringLiteral("%1 at %2: code \"%3\", table \"%4\"")
                             .arg(number).arg(messagescan::where(uses.front()), czech, zaklad);
            }
        }
        const QString report = listing(QStringLiteral("messages whose Czech text differs from zaklad"), wrong);
        QVERIFY2(report.isEmpty(), qPrintable(report));
    }

    void scanner_data()
    {
        QTest::addColumn<QString>("code");  // ` stands for "
        QTest::addColumn<QString>("found");  // line:number:text, joined by |
        QTest::newRow("plain") << "MsgBox(`240,Program již je spuštěn.`);" << "1:240:Program již je spuštěn.";
        QTest::newRow("Qt literal") << "QStringLiteral(`17,&Konec`)" << "1:17:&Konec";
        QTest::newRow("text with blanks kept") << "x(`450,Strana  `) + y(` 305, záznamů`)" << "1:450:Strana  ";
        QTest::newRow("leading blank or mark") << "a(`305, záznamů`); b(`454,- náhled`); c(`2,'  do'`)"
                                               << "1:305: záznamů|1:454:- náhled|1:2:'  do'";
        QTest::newRow("numbers are no messages") << "f(`1,5`); f(`0,00`); f(`1, 5x`); f(`0,Text`); f(`12345,Text`)"
                                                 << "";
        QTest::newRow("comma beyond four digits") << "f(`Text,1`); f(`abc,de`)" << "";
        QTest::newRow("escapes decoded") << "f(\"41,Cesta \\\"x\\\"\\tnenalezena\\\\\")" << "1:41:Cesta \"x\"\tnenalezena\\";
        QTest::newRow("comments skipped") << "// \"1,Jedna\"\n/* \"2,Dva\"\n */ f(\"3,Tri\");" << "3:3:Tri";
        QTest::newRow("char literal quote") << "c = '\"'; f(\"4,Ctyri\"); d = '\\'';" << "1:4:Ctyri";
        QTest::newRow("digit separator") << "n = 1'000; f(\"5,Pet\");" << "1:5:Pet";
        QTest::newRow("raw and prefixed") << "f(R\"x(6,Sest \"a\")x\"); g(u8\"7,Sedm\"); h(u\"8,Osm\");"
                                          << "1:6:Sest \"a\"|1:7:Sedm|1:8:Osm";
        QTest::newRow("line numbers") << "\n\nf(\"9,A\",\n  \"10,B\");" << "3:9:A|4:10:B";
    }

    void scanner()
    {
        QFETCH(QString, code);
        QFETCH(QString, found);
        code.replace(QLatin1Char('`'), QLatin1Char('"'));
        QCOMPARE(describe(messagescan::scanSource(code)), found);
    }

    void builderRefusesBadSource_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("line");  // where the builder must point
        const QByteArray head = "id\tzaklad\tus\tchi\n";
        QTest::newRow("gap") << head + "1\ta\tb\tc\n3\ta\tb\tc\n" << ":3:";
        QTest::newRow("repeat") << head + "1\ta\tb\tc\n2\ta\tb\tc\n2\ta\tb\tc\n" << ":4:";
        QTest::newRow("not from 1") << head + "2\ta\tb\tc\n" << ":2:";
        QTest::newRow("too few fields") << head + "1\ta\tb\n" << ":2:";
        QTest::newRow("too many fields") << head + "1\ta\tb\tc\td\n" << ":2:";
        QTest::newRow("empty line") << head + "1\ta\tb\tc\n\n2\ta\tb\tc\n" << ":3:";
        QTest::newRow("id not a number") << head + "x\ta\tb\tc\n" << ":2:";
        QTest::newRow("no header") << QByteArray("1\ta\tb\tc\n") << ":1:";
        QTest::newRow("unknown escape") << head + "1\ta\\q\tb\tc\n" << ":2:";
        QTest::newRow("not UTF-8") << head + "1\t\xe8\xed\tb\tc\n" << "UTF-8";
    }

    void builderRefusesBadSource()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const QString tsv = dir.filePath(QStringLiteral("Jazyky.tsv"));
        const QString target = dir.filePath(QStringLiteral("Lang.mdb"));
        QFile f(tsv);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(source);
        f.close();
        QProcess builder;
        builder.start(QStringLiteral(OSKAL_MKLANGDB), {tsv, target});
        QVERIFY(builder.waitForFinished());
        QCOMPARE_NE(builder.exitCode(), 0);
        QVERIFY2(QString::fromUtf8(builder.readAllStandardError()).contains(line), qPrintable(line));
        QVERIFY(!QFile::exists(target));
    }

    void builderKeepsTexts()
    {
        QTemporaryDir dir;
        const QString tsv = dir.filePath(QStringLiteral("Jazyky.tsv"));
        const QString target = dir.filePath(QStringLiteral("Lang.mdb"));
        QFile f(tsv);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("id\tzaklad\tus\tchi\r\n"
                "1\tStrana  \tPage  \t页  \r\n"
                "2\t\t\t\r\n"
                "3\tŘádek\\tčíslo\\\\ů\\n\tRow\tŘ行\r\n");
        f.close();
        QProcess builder;
        builder.start(QStringLiteral(OSKAL_MKLANGDB), {tsv, target});
        QVERIFY(builder.waitForFinished());
        QVERIFY2(builder.exitCode() == 0, builder.readAllStandardError().constData());
        const auto rows = readLangDb(target);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[0].zaklad, QStringLiteral("Strana  "));
        QCOMPARE(rows[0].chi, QStringLiteral("页  "));
        QCOMPARE(rows[1].zaklad, QString());
        QCOMPARE(rows[2].zaklad, QStringLiteral("Řádek\tčíslo\\ů\n"));
        QCOMPARE(rows[2].chi, QStringLiteral("Ř行"));
    }
};

QTEST_GUILESS_MAIN(TestLang)
#include "tst_lang.moc"
