// SQL literals, message translation and the program's settings.
#include "data/infosettings.h"
#include "data/sqlliteral.h"
#include "common/globals.h"
#include "common/translation.h"
#include "testsupport.h"
#include "vberror.h"

#include <QtTest>
#include <ctime>

Q_DECLARE_METATYPE(Variant)

class TestSqlLiteral : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    }
    void cleanup() { Preklady.reset(); }

    void literal_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<QString>("expected");
        QTest::newRow("apostrophe") << Variant("O'Brien") << false << "'O''Brien'";
        QTest::newRow("empty string") << Variant("") << false << "''";
        QTest::newRow("empty variant") << Variant() << false << "''";
        QTest::newRow("null") << Variant::Null() << false << "null";
        QTest::newRow("typed number") << Variant(QStringLiteral(" 1\u00a0234,5")) << true << "1234.5";
        QTest::newRow("typed nothing") << Variant("") << true << "0";
        QTest::newRow("typed negative") << Variant("-0,25") << true << "-0.25";
        QTest::newRow("single half") << Variant(0.5f) << false << ".5";
        QTest::newRow("single tenth") << Variant(0.1f) << false << ".1";
        QTest::newRow("long") << Variant(-3) << false << "-3";
        QTest::newRow("integer") << Variant(qint16(12)) << false << "12";
        QTest::newRow("byte") << Variant(quint8(255)) << false << "255";
        QTest::newRow("double") << Variant(-0.5) << false << "-.5";
        QTest::newRow("double large") << Variant(1e20) << false << "1E+20";
        QTest::newRow("double small") << Variant(1.5e-7) << false << "1.5E-07";
        QTest::newRow("currency") << Variant::fromCurrency(1234.5) << false << "1234.5";
        QTest::newRow("true") << Variant(true) << false << "1";
        QTest::newRow("false") << Variant(false) << false << "0";
        QTest::newRow("date") << Variant(QDate(2000, 1, 1)) << false << "'2000-01-01 00:00:00'";
        QTest::newRow("date and time") << Variant(QDateTime(QDate(2004, 3, 5), QTime(14, 7, 9))) << false
                                       << "'2004-03-05 14:07:09'";
        QTest::newRow("czech and chinese") << Variant(QStringLiteral("Žluťoučký kůň 中文\t'x'")) << false
                                           << QStringLiteral("'Žluťoučký kůň 中文\t''x'''");
    }
    void literal()
    {
        QFETCH(Variant, value);
        QFETCH(bool, numeric);
        QFETCH(QString, expected);
        QCOMPARE(CSQL(value, numeric), expected);
    }

    // A date has no zone: the hour that a local clock skips in spring is a date like any other.
    void dateInTheSkippedHour()
    {
        const QByteArray tz = qgetenv("TZ");
        qputenv("TZ", "Europe/Prague");
        tzset();
        const QString literal = CSQL(Variant(QDateTime(QDate(2026, 3, 29), QTime(2, 30), Qt::UTC)));
        const QString shown = Variant::fromDate(vbDateFromDateTime(QDateTime(QDate(2026, 3, 29), QTime(2, 30), Qt::UTC))).toString();
        tz.isNull() ? qunsetenv("TZ") : qputenv("TZ", tz);
        tzset();
        QCOMPARE(literal, QStringLiteral("'2026-03-29 02:30:00'"));
        QCOMPARE(shown, QStringLiteral("29.3.2026 2:30:00"));
    }

    void refused_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<QString>("inDescription");
        QTest::newRow("object") << Variant::fromObject(this) << false << "VarType=9 )";
        QTest::newRow("or clause") << Variant("1 or 1=1") << true << "1 or 1=1";
        QTest::newRow("second statement") << Variant("0; delete from Katalog") << true << "delete";
        QTest::newRow("letters") << Variant("abc") << true << "abc";
        QTest::newRow("two commas") << Variant("1,2,3") << true << "VarType=8 )";
        QTest::newRow("inner blank") << Variant("1 234") << true << "VarType=8 )";
    }
    void refused()
    {
        QFETCH(Variant, value);
        QFETCH(bool, numeric);
        QFETCH(QString, inDescription);
        try {
            CSQL(value, numeric);
            QFAIL("no error raised");
        } catch (const VbError &e) {
            QCOMPARE(e.Number(), 10000);
            QCOMPARE(e.Source(), QStringLiteral("Lib.CSQL"));
            QVERIFY2(e.Description().startsWith(QStringLiteral("Data nelze konvertovat do SQL ( VarType=")),
                     qPrintable(e.Description()));
            QVERIFY2(e.Description().contains(inDescription), qPrintable(e.Description()));
        }
    }

    void refusalIsTranslated()
    {
        Preklady = std::make_unique<MessageList>();
        for (int i = 1; i <= 49; ++i)
            Preklady->add(QString::number(i), i == 49 ? QStringLiteral("Cannot convert to SQL ( VarType=") : QString());
        try {
            CSQL(Variant::fromObject(this));
            QFAIL("no error raised");
        } catch (const VbError &e) {
            QCOMPARE(e.Description(), QStringLiteral("Cannot convert to SQL ( VarType=9 )"));
        }
    }

    // The literals go through the database and come back as they went in.
    void roundTripThroughTheDatabase()
    {
        testsupport::ProgramFolder folder;
        QVERIFY(QFile::copy(folder.file(QStringLiteral("QIRData.upg")), folder.file(QStringLiteral("t.mdb"))));
        dao::Workspace ws;
        auto db = ws.OpenDatabase(folder.file(QStringLiteral("t.mdb")));
        const QString text = QStringLiteral("O'Brien \"Čížek\" 中文\ttab");
        const QDateTime when(QDate(2004, 3, 5), QTime(14, 7, 9), Qt::UTC);
        db->Execute(QStringLiteral("insert into Katalog (Inter, Pol1c, Pol1n, Pol1d, Sekce) values (%1, %2, %3, %4, %5)")
                        .arg(CSQL(7), CSQL(text), CSQL(QStringLiteral("-1\u00a0234,5"), true), CSQL(when),
                             CSQL(quint8(2))));
        auto rs = db->OpenRecordset(QStringLiteral("select Pol1c, Pol1n, Pol1d, Sekce from Katalog where Inter=7"));
        QVERIFY(!rs->Eof());
        QCOMPARE((*rs)[0].toString(), text);
        QCOMPARE((*rs)[1].toDouble(), -1234.5);
        QCOMPARE((*rs)[2].VarType(), vbDate);
        QCOMPARE((*rs)[2].toDateTime(), when);
        QCOMPARE((*rs)[3].toLong(), 2);
    }

    void translation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("variableAfter");
        QTest::newRow("message, no list") << "240,Program již je spuštěn." << "Program již je spuštěn."
                                          << "Program již je spuštěn.";
        QTest::newRow("no comma") << "Konec" << "Konec" << "Konec";
        QTest::newRow("comma after six digits") << "123456,x" << "123456,x" << "123456,x";
        QTest::newRow("number 0") << "0,nic" << "0,nic" << "0,nic";
        QTest::newRow("comma at position 5") << "1234,abc" << "abc" << "abc";
    }
    void translation()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QString, variableAfter);
        QCOMPARE(PrelozText(text), shown);
        QCOMPARE(text, variableAfter);
    }

    void translationIsPositional()
    {
        // Ids 1, 2, 4: message 3 is the third row (id 4), message 4 has no row.
        Preklady = std::make_unique<MessageList>();
        Preklady->add(QStringLiteral("1"), QStringLiteral("one"));
        Preklady->add(QStringLiteral("2"), QString());
        Preklady->add(QStringLiteral("4"), QStringLiteral("four"));
        QVERIFY(!Preklady->add(QStringLiteral("4"), QStringLiteral("again")));
        QCOMPARE(PrelozText(QStringLiteral("1,jedna")), QStringLiteral("one"));
        QCOMPARE(PrelozText(QStringLiteral("2,dva")), QStringLiteral("dva"));  // empty entry
        QCOMPARE(PrelozText(QStringLiteral("3,tři")), QStringLiteral("four"));
        QCOMPARE(PrelozText(QStringLiteral("4,čtyři")), QStringLiteral("čtyři"));
    }

    void translationRefusesANonNumber()
    {
        QString text = QStringLiteral("abc,def");
        QVERIFY_THROWS_EXCEPTION(VbError, PrelozText(text));
    }

    void settings()
    {
        QCOMPARE(NactiInfo(QStringLiteral("Sekce"), QStringLiteral("0")), QStringLiteral("0"));
        UlozInfo(QStringLiteral("Sekce"), QStringLiteral("3"));
        QCOMPARE(NactiInfo(QStringLiteral("Sekce"), QStringLiteral("0")), QStringLiteral("3"));
        SmazInfo(QStringLiteral("Sekce"));
        QCOMPARE(NactiInfo(QStringLiteral("Sekce"), QStringLiteral("0")), QStringLiteral("0"));
        SmazInfo(QStringLiteral("NeverWritten"));  // no failure
        // The file is where the per-user settings of application Oskal belong.
        UlozInfo(QStringLiteral("Lang"), QStringLiteral("2"));
        QVERIFY(QFile::exists(m_config.filePath(QStringLiteral("Oskal/Oskal.ini"))));
    }

private:
    QTemporaryDir m_config;
};

QTEST_GUILESS_MAIN(TestSqlLiteral)
#include "tst_sqlliteral.moc"
